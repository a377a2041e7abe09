// Fuzzes the editor core: any bytes as text, any script of moves and queries; the caret must stay
// on a character start inside the text and offsets must map back to the caret.
#include "editcore/EditCore.h"
#include "layout/StoreWrap.h"
#include "base/sjis.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace vorn;

namespace {

void Step(TVornEditCore& core, uint8_t op, uint8_t arg) {
  const TMoveFlags f{.KeepSelection = false, .Shift = (arg & 1) != 0};
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

void Check(const TVornEditCore& core, bool inTab, bool freeCaret) {
  const int row = core.CaretRow(), col = core.CaretCol();
  if (row < 0 || row > core.LastCaretRow()) std::abort();
  const std::string map = core.ColumnMapOf(row);
  const int width = static_cast<int>(map.size());
  if (col < width && (map[col] == '5' || (!inTab && map[col] == '3'))) std::abort();
  if (!freeCaret && col > width) std::abort();
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
  TFixedEditGeometry geometry;
  geometry.Rows = data[0] % 8;
  geometry.Cols = 1 + data[0] / 8;
  auto store = NewWrappedStore();
  TVornEditCore core(store, geometry);
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
  store->ReplaceRows(0, 0, std::string(reinterpret_cast<const char*>(data + 4), textSize));
  for (std::size_t i = 4 + textSize; i + 1 < size; i += 2) {
    Step(core, data[i], data[i + 1]);
    Check(core, caret.InTab, caret.FreeCaret);
  }
  return 0;
}
