// THelpPart: the help menu's entries, and handing the document's file to the desktop.
#pragma once

#include "shell/WindowPart.h"

#include <string>

namespace vorn {

class TEditorWindow;

class THelpPart : public TWindowPart {
public:
  explicit THelpPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher&) override {}
  bool RunNamedCommand(const std::string& name) override;

private:
  void OpenHelpPage(const std::string& page);

  TEditorWindow& window_;
};

// Shows the document's file in the file manager, or opens it with its program; the services'
// desktop opener stands in for the desktop when a test sets one.
void OpenInDesktop(TEditorWindow& window, bool showInFolder);

}  // namespace vorn
