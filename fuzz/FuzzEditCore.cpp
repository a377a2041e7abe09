// Fuzzes the editor core: any bytes as text, any script of moves, queries, edits, copies and
// pastes, NUL bytes included; the caret must stay on a character start inside the text, offsets
// must map back to the caret, rows never hold a line break or a NUL, and undoing every edit
// restores the text.
#include "editcore/EditCore.h"
#include "store/FixedGeometry.h"
#include "editcore/TextBreaks.h"
#include "layout/StoreWrap.h"
#include "store/Undo.h"
#include "base/sjis.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace vorn;

namespace {

// A clipboard in memory; the script can also fill it with bytes of its own.
class TMemoryClipboard : public TVornClipboard {
public:
  void SetText(std::string_view sjis, bool box) override { content_ = TClipboardText{std::string(sjis), box}; }
  void Clear() override { content_.reset(); }
  std::optional<TClipboardText> Text() const override { return content_; }

private:
  std::optional<TClipboardText> content_;
};

void Paste(TVornEditCore& core, TMemoryClipboard& clipboard, uint8_t arg) {
  switch (arg % 4) {
    case 0: core.CopyToClipboard(); break;
    case 1: core.CutToClipboard(); break;
    case 2: core.InyouPaste(); break;
    default: {
      // NUL, a lone break and a lead byte without its trail, as other programs may hand over.
      const char bytes[] = {'\0', static_cast<char>(arg), '\r', '\x82', '\0', '\n'};
      clipboard.SetText(std::string_view(bytes, 1 + arg % 6), (arg & 0x40) != 0);
      core.PasteFromClipboard();
    }
  }
}

void Edit(TVornEditCore& core, TMemoryClipboard& clipboard, uint8_t op, uint8_t arg) {
  const char typed[] = {static_cast<char>(arg), static_cast<char>(arg ^ 0x5A)};
  if (op % 32 >= 16) {
    Paste(core, clipboard, arg);
    return;
  }
  switch (op % 16) {
    case 0: core.TypeText(std::string_view(typed, 1 + (arg & 1))); break;
    case 1: core.InsertText(std::string_view(typed, 2)); break;
    case 2: core.BackSpace(); break;
    case 3: core.DeleteChar(); break;
    case 4: core.InsertLineBreak(); break;
    case 5: core.InsertTab(arg & 1); break;
    case 6: core.SetOverwriteMode(arg & 1); break;
    case 7: core.SetBoxMode(arg & 1); break;
    case 8: core.BoxPaste(std::string_view(typed, 2)); break;
    case 9: core.DeleteSelection(); break;
    case 10: core.DeleteLine(); break;
    case 11: core.ChangeCase(static_cast<TVornEditCore::TCaseMapping>(arg % 3)); break;
    case 12: arg & 1 ? core.TabToSpace() : core.SpaceToTab(); break;
    case 13: arg & 1 ? core.InsertIndent() : core.ReverseIndent(); break;
    case 14: core.Undo(); break;
    default: core.Redo(); break;
  }
}

void Step(TVornEditCore& core, TMemoryClipboard& clipboard, uint8_t op, uint8_t arg) {
  const TMoveFlags f{.KeepSelection = false, .Shift = (arg & 1) != 0};
  if (op >= 128) {
    Edit(core, clipboard, op, arg);
    return;
  }
  switch (op % 16) {
    case 0: core.CursorUp(f); break;
    case 1: core.CursorDown(f); break;
    case 2: core.CursorLeft(f); break;
    case 3: core.CursorRight(f); break;
    case 4: core.WordLeft(f); break;
    case 5: core.WordRight(f); break;
    case 6: core.MoveLogicalLineEnd(f); break;
    case 7: core.MoveFileEnd(f); break;
    case 8: core.NextPage(f); break;
    case 9: core.PrevPage(f); break;
    case 10: core.SetCaretPos(arg % 64, arg); break;
    case 11: core.SetCaretOffset(arg * 3); break;
    case 12: core.EmSetSel(arg, static_cast<int8_t>(arg)); break;
    case 13: core.NavigationKey(static_cast<TNavKey>(arg % 8), arg & 8, arg & 16); break;
    case 14: core.LineDown(f); break;
    default: core.SetTopRow(arg % 64); break;
  }
}

std::string JoinedText(const TVornEditCore& core) {
  std::string text;
  for (int r = 0; r < core.RowCount(); ++r) {
    const std::string row = core.GetRowText(r);
    if (row.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
    text += row;
    if (core.RowKind(r) == reLineEnd) text += "\r\n";
  }
  return text;
}

void Check(const TVornEditCore& core, bool inTab, bool freeCaret) {
  const int row = core.CaretRow(), col = core.CaretCol();
  if (row < 0 || row > core.LastCaretRow()) std::abort();
  const std::string map = core.ColumnMapOf(row);
  const int width = static_cast<int>(map.size());
  if (col < width && (map[col] == '5' || (!inTab && map[col] == '3'))) std::abort();
  if (!freeCaret && !core.BoxMode() && col > width) std::abort();
  const int offset = core.GetCaretOffset();
  if (offset < 0 || offset > core.TextLength()) std::abort();
  const TRowCol at = core.OffsetToPos(offset);
  const std::string text = core.GetRowText(at.Row);
  const int byte = std::min(core.ColToByte(at.Row, at.Col), static_cast<int>(text.size()));
  if (!sjis::IsCharBoundary(text, static_cast<std::size_t>(byte))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  TFixedGeometry geometry;
  geometry.Rows = data[0] % 8;
  geometry.Cols = 1 + data[0] / 8;
  auto store = NewWrappedStore();
  TVornEditCore core(store, geometry);
  TMemoryClipboard clipboard;
  core.SetClipboard(&clipboard);
  TVornEditCaretValues caret;
  caret.TabSpaceCount = 1 + data[1] % 16;
  caret.FreeCaret = data[1] & 0x10;
  caret.InTab = data[1] & 0x20;
  caret.KeepCaret = data[1] & 0x40;
  caret.NextLine = data[1] & 0x80;
  core.SetCaretOptions(caret);
  if (data[2] & 1) {
    WrapOptionOf(*store).SetWrapByte(10 + data[2] / 2);
    store->SetWordWrap(true);
  }
  core.SetFocused(data[3] & 1);
  const std::size_t textSize = (size - 4) / 2;
  const std::string loaded(reinterpret_cast<const char*>(data + 4), textSize);
  store->ReplaceRows(0, 0, loaded);
  store->UndoObj().SetLimit(1 << 20);
  core.ClearUndo();
  const std::string original = JoinedText(core);
  for (std::size_t i = 4 + textSize; i + 1 < size; i += 2) {
    Step(core, clipboard, data[i], data[i + 1]);
    Check(core, caret.InTab, caret.FreeCaret);
  }
  // Lone CRs and LFs put straight into the store make rows no edit can; files and the core
  // hand it CR LF only, and only then must undo give back every byte. NUL bytes are spaces in
  // the store from the start, so they are part of the text undo must give back.
  if (loaded != WithCrLfBreaks(loaded)) return 0;
  while (core.CanUndo()) core.Undo();
  if (JoinedText(core) != original) std::abort();
  return 0;
}
