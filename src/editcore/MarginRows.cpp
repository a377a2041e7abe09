// The left margin's decisions per row: numbering, modified and difference colours, marks.
#include "editcore/MarginRows.h"

namespace vorn {
namespace {

bool LineModified(const TVornEditScreenStrings& store, int first) {
  for (int r = first, n = store.Count(); r < n; ++r) {
    const TRowWord w = store.Word(r);
    if (w.Modified()) return true;
    if (w.EndsLine()) break;
  }
  return false;
}

int BookmarkOnLine(const TVornEditLineMark& marks, int line) {
  int found = -1;
  for (int i = 0; i < marks.EntryCount(); ++i) {
    if (marks.Entry(i) != line) continue;
    if (i < TVornEditLineMark::NumberedCount) return i;
    found = TVornEditLineMark::NumberedCount;
  }
  return found;
}

}  // namespace

TMarginRow MarginRowOf(const TVornEditScreenStrings& store, const TMarginSetup& setup, int row) {
  TMarginRow m;
  const int count = store.Count();
  if (row < 0 || row > count) return m;
  const int line = store.RowToLine(row);
  const bool startsLine = row == 0 || store.Word(row - 1).EndsLine();
  if (setup.Find && setup.Find->RangeStart() >= 0 && line >= setup.Find->RangeStart() &&
      line < setup.Find->RangeEnd())
    m.FindRange = true;
  if (row == count) {
    m.DiffMark = setup.LastLineInfo >= 0 && setup.LastLineInfo <= 5 ? setup.LastLineInfo : 0;
    return m;
  }
  const TRowWord word = store.Word(row);
  m.DiffMark = word.DiffKind() <= 5 ? word.DiffKind() : 0;
  if (startsLine) m.Bookmark = BookmarkOnLine(store.LineMarkTable(), line);
  if (!startsLine && !setup.PhysicalLineNum) return m;
  const std::string digits = std::to_string((setup.PhysicalLineNum ? row : line) + 1);
  m.Number = digits.size() > 5 ? digits.substr(digits.size() - 5) : digits;
  if (m.DiffMark >= 1 && m.DiffMark <= 3)
    m.NumberEntry = 32 + m.DiffMark;
  else if (LineModified(store, store.FirstRowOfLine(row)))
    m.NumberEntry = 39;
  return m;
}

std::string DumpMarginRow(const TMarginRow& m) {
  std::string out = (m.Number.empty() ? std::string("-") : m.Number) + "/" + std::to_string(m.NumberEntry);
  if (m.DiffMark) out += " diff" + std::to_string(m.DiffMark);
  if (m.Bookmark >= 0) out += m.Bookmark < 10 ? " mark" + std::to_string(m.Bookmark) : std::string(" mark");
  if (m.FindRange) out += " find";
  return out;
}

}  // namespace vorn
