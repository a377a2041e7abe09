// TWindowPart: one group of an editor window's commands with the state only they need. A
// window is built from its parts: each sets the handlers of its functions on the window's
// dispatcher and reaches the document, the panes and the services through the window, so a
// new group of commands is a new part and nothing else in the window changes: the part's
// class in files of its own, and one line in TEditorWindow::BuildCommands (EditorCommands.cpp).
// What the process's windows share (the document, the services, the histories) is on
// TEditorProcess, reached through TEditorWindow::Process().
#pragma once

#include "shellcore/CommandDispatcher.h"

#include <string>

namespace vorn {

class TWindowPart {
public:
  virtual ~TWindowPart() = default;
  // Sets the handlers of the part's functions; called once, while the window is built.
  virtual void AddCommands(TCommandDispatcher& dispatcher) = 0;
  // The window's menus exist now: a part that fills a menu at run time connects to it here.
  virtual void MenusBuilt() {}
  // Runs an extra command (one without a function number) when it is the part's; false otherwise.
  virtual bool RunNamedCommand(const std::string& /*name*/) { return false; }
};

}  // namespace vorn
