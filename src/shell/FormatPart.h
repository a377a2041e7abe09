// TFormatPart: paragraph formatting and line division on the window's editor.
#pragma once

#include "shell/WindowPart.h"

namespace vorn {

class TEditorWindow;

class TFormatPart : public TWindowPart {
public:
  explicit TFormatPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

private:
  TEditorWindow& window_;
};

}  // namespace vorn
