// TLayoutPart: the window's layout commands — the second pane, the focus from pane to pane, a
// new window, the splitter, vertical maximisation, and the tool-bar and status-bar switches.
#pragma once

#include "shell/WindowPart.h"

#include <string>

namespace vorn {

class TEditorWindow;

class TLayoutPart : public TWindowPart {
public:
  explicit TLayoutPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;
  bool RunNamedCommand(const std::string& name) override;

private:
  void WriteBarStates();

  TEditorWindow& window_;
};

}  // namespace vorn
