// TMarksPart: the window's line marks and jumps: toggle, numbered marks, the jumps to marks,
// clearing, the mark list and the line-jump dialog.
#pragma once

#include "shell/WindowPart.h"

namespace vorn {

class TEditorWindow;
class TVornEditCore;

class TMarksPart : public TWindowPart {
public:
  explicit TMarksPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

private:
  TVornEditCore& Core() const;
  void ShowMarkList();
  void JumpRow();

  TEditorWindow& window_;
};

}  // namespace vorn
