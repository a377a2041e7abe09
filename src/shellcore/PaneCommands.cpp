// The pane functions as one table from function name to the core operation.
#include "shellcore/PaneCommands.h"

#include <string_view>

namespace vorn {
namespace {

using TCase = TVornEditCore::TCaseMapping;

struct TPaneFunction {
  std::string_view name;
  void (*run)(TVornEditCore& core, bool shift);
};

// Movements extend the selection while Shift is held; everything else ignores Shift.
constexpr TPaneFunction kPaneFunctions[] = {
    {"CursorUp", [](TVornEditCore& c, bool s) { c.CursorUp({false, s}); }},
    {"CursorDown", [](TVornEditCore& c, bool s) { c.CursorDown({false, s}); }},
    {"CursorRight", [](TVornEditCore& c, bool s) { c.CursorRight({false, s}); }},
    {"CursorLeft", [](TVornEditCore& c, bool s) { c.CursorLeft({false, s}); }},
    {"WordRight", [](TVornEditCore& c, bool s) { c.WordRight({false, s}); }},
    {"WordLeft", [](TVornEditCore& c, bool s) { c.WordLeft({false, s}); }},
    {"MoveLineStart", [](TVornEditCore& c, bool s) { c.MoveLineStart({false, s}); }},
    {"MoveLineEnd", [](TVornEditCore& c, bool s) { c.MoveLineEnd({false, s}); }},
    {"MoveLogicalLineStart", [](TVornEditCore& c, bool s) { c.MoveLogicalLineStart({false, s}); }},
    {"MoveLogicalLineEnd", [](TVornEditCore& c, bool s) { c.MoveLogicalLineEnd({false, s}); }},
    {"MoveFileStart", [](TVornEditCore& c, bool s) { c.MoveFileStart({false, s}); }},
    {"MoveFileEnd", [](TVornEditCore& c, bool s) { c.MoveFileEnd({false, s}); }},
    {"NextPage", [](TVornEditCore& c, bool s) { c.NextPage({false, s}); }},
    {"PrevPage", [](TVornEditCore& c, bool s) { c.PrevPage({false, s}); }},
    {"MoveWindowStart", [](TVornEditCore& c, bool s) { c.MoveWindowStart({false, s}); }},
    {"MoveWindowEnd", [](TVornEditCore& c, bool s) { c.MoveWindowEnd({false, s}); }},
    {"LineDown", [](TVornEditCore& c, bool s) { c.LineDown({false, s}); }},
    {"LineUp", [](TVornEditCore& c, bool s) { c.LineUp({false, s}); }},
    {"SelectAll", [](TVornEditCore& c, bool) { c.SelectAll(); }},
    {"Copy", [](TVornEditCore& c, bool) { c.CopyToClipboard(); }},
    {"InyouCopy", [](TVornEditCore& c, bool) { c.InyouCopy(); }},
    {"Paste", [](TVornEditCore& c, bool) { c.PasteFromClipboard(); }},
    {"Cut", [](TVornEditCore& c, bool) { c.CutToClipboard(); }},
    {"SelectWord", [](TVornEditCore& c, bool) { c.SelectWord(); }},
    {"SelectLine", [](TVornEditCore& c, bool) { c.SelectLine(c.CaretRow()); }},
    {"CopyWord", [](TVornEditCore& c, bool) { c.CopyWord(); }},
    {"CopyLine", [](TVornEditCore& c, bool) { c.CopyLine(); }},
    {"InyouPaste", [](TVornEditCore& c, bool) { c.InyouPaste(); }},
    {"BoxSelection", [](TVornEditCore& c, bool) { c.SetBoxMode(!c.BoxMode()); }},
    {"Delete", [](TVornEditCore& c, bool) { c.DeleteChar(); }},
    {"DeleteLine", [](TVornEditCore& c, bool) { c.DeleteLine(); }},
    {"DeleteLineEnd", [](TVornEditCore& c, bool) { c.DeleteLineEnd(); }},
    {"DeleteLineStart", [](TVornEditCore& c, bool) { c.DeleteLineStart(); }},
    {"DeleteWord", [](TVornEditCore& c, bool) { c.DeleteWord(); }},
    {"BackSpace", [](TVornEditCore& c, bool) { c.BackSpace(); }},
    {"Enter", [](TVornEditCore& c, bool) { c.InsertLineBreak(); }},
    {"Tab", [](TVornEditCore& c, bool) { c.TabKey(false, false); }},
    {"InsertEmptyLine", [](TVornEditCore& c, bool) { c.InsertEmptyLine(); }},
    {"Undo", [](TVornEditCore& c, bool) { c.Undo(); }},
    {"Redo", [](TVornEditCore& c, bool) { c.Redo(); }},
    {"ExchangeUpperLower", [](TVornEditCore& c, bool) { c.ChangeCase(TCase::Exchange); }},
    {"ChangeUpperCase", [](TVornEditCore& c, bool) { c.ChangeCase(TCase::Upper); }},
    {"ChangeLowerCase", [](TVornEditCore& c, bool) { c.ChangeCase(TCase::Lower); }},
    {"TabToSpace", [](TVornEditCore& c, bool) { c.TabToSpace(); }},
    {"SpaceToTab", [](TVornEditCore& c, bool) { c.SpaceToTab(); }},
    {"InsertIndent", [](TVornEditCore& c, bool) { c.InsertIndent(); }},
    {"ReverseIndent", [](TVornEditCore& c, bool) { c.ReverseIndent(); }},
    {"CenterAlign", [](TVornEditCore& c, bool) { c.CenterAlign(); }},
    {"LeftAlign", [](TVornEditCore& c, bool) { c.LeftAlign(); }},
    {"RightAlign", [](TVornEditCore& c, bool) { c.RightAlign(); }},
    {"ToggleInsertMode", [](TVornEditCore& c, bool) { c.SetOverwriteMode(!c.OverwriteMode()); }},
};

}  // namespace

void AddPaneCommands(TCommandDispatcher& dispatcher, std::function<TVornEditCore&()> current) {
  for (const TPaneFunction& f : kPaneFunctions)
    dispatcher.Set(FunctionNumber(f.name), [run = f.run, current](bool shift) { run(current(), shift); });
}

const TFunctionSet& PaneCommandFunctions() {
  static const TFunctionSet set = [] {
    TFunctionSet s;
    for (const TPaneFunction& f : kPaneFunctions) s.set(static_cast<std::size_t>(FunctionNumber(f.name)));
    return s;
  }();
  return set;
}

}  // namespace vorn
