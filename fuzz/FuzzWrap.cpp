// Fuzzes word wrap: any bytes under any options must cut into rows that rejoin the text,
// count as they are cut, and survive a whole-store re-wrap, unwrap and edit/undo round trip.
#include "layout/StoreWrap.h"
#include "store/HeadlessView.h"
#include "store/ScreenStrings.h"
#include "store/Undo.h"
#include "layout/Wrap.h"
#include "layout/WrapOption.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  TVornEditWrapOption opt;
  opt.SetWrapByte(10 + data[0] % 60);
  opt.SetFollowPunctuation(data[1] & 1);
  opt.SetLeading(data[1] & 2);
  opt.SetWordBreak(data[1] & 4);
  opt.SetFollowRetMark(data[1] & 8);
  const int tab = 2 + data[2] % 12;
  const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

  TWordWrapper w(opt, tab);
  std::vector<TWrapRow> rows;
  w.TextToRows(text, true, rows);
  std::vector<TWrapRow> flat;
  w.TextToRows(text, false, flat);
  // Rows of each line rejoin it, and counting agrees with cutting.
  std::size_t r = 0;
  for (const TWrapRow& line : flat) {
    std::string joined;
    int n = 0;
    do {
      joined.append(text, rows[r].Offset, rows[r].Length);
      ++n;
    } while (rows[r++].End == reWrapped);
    std::string_view original(text.data() + line.Offset, line.Length);
    if (joined != original || w.CountRowsOfLine(original) != n) std::abort();
  }
  if (r != rows.size()) std::abort();

  // The store: wrap on and off, one edit in the middle and its undo.
  TVornEditHeadlessView view{NewWrappedStore()};
  TVornEditScreenStrings& s = *view.Store();
  WrapOptionOf(s).Assign(opt);
  view.Lines().SetTextStr(text);
  const std::string before = view.Lines().GetTextStr();
  s.SetWordWrap(true);
  if (view.Lines().GetTextStr() != before) std::abort();
  if (s.Count() > 0) {
    const int row = s.Count() / 2;
    s.ReplaceRows(row, 1, std::string(s.Row(row)) + "x\t\x81\x41");
    s.UndoEdit();
    if (view.Lines().GetTextStr() != before) std::abort();
  }
  s.SetWordWrap(false);
  if (view.Lines().GetTextStr() != before) std::abort();
  return 0;
}
