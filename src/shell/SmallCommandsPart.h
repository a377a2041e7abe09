// TSmallCommandsPart: the window's small commands — the last-edit jump, free caret, the macro
// string of a selection, date and time input, and the commands only macros use.
#pragma once

#include "shell/WindowPart.h"

#include <string_view>

namespace vorn {

class TEditorWindow;

class TSmallCommandsPart : public TWindowPart {
public:
  explicit TSmallCommandsPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

private:
  void EncodeQuoteCommand();
  void InsertDateTime(std::string_view which);

  TEditorWindow& window_;
};

}  // namespace vorn
