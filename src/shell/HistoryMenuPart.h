// THistoryMenuPart: the remembered documents at the end of the file menu, and what a click on
// one of them does.
#pragma once

#include "shell/WindowPart.h"

#include <string>

namespace vorn {

class TEditorWindow;

class THistoryMenuPart : public TWindowPart {
public:
  explicit THistoryMenuPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher&) override {}
  void MenusBuilt() override;

  // Rebuilds the entries when the menu opens after the history changed.
  void Rebuild();

private:
  TEditorWindow& window_;
};

}  // namespace vorn
