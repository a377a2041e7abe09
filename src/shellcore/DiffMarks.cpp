// Reading the normal diff format into row marks, and the moves between the marked rows.
#include "shellcore/DiffMarks.h"

#include "store/ScreenStrings.h"

#include <algorithm>
#include <optional>

namespace vorn {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "n" or "n,m"; nullopt for anything else.
std::optional<std::pair<int, int>> ParseRange(std::string_view text) {
  auto number = [](std::string_view s) -> std::optional<int> {
    if (s.empty() || s.size() > 9) return std::nullopt;
    int v = 0;
    for (char c : s) {
      if (!IsDigit(c)) return std::nullopt;
      v = v * 10 + (c - '0');
    }
    return v;
  };
  const std::size_t comma = text.find(',');
  const auto first = number(text.substr(0, comma));
  if (!first) return std::nullopt;
  if (comma == std::string_view::npos) return std::pair{*first, *first};
  const auto last = number(text.substr(comma + 1));
  if (!last || *last < *first) return std::nullopt;
  return std::pair{*first, *last};
}

TDiffKind KindOf(char command, TDiffSide side) {
  const bool old = side == TDiffSide::dsOld;
  switch (command) {
    case 'a': return old ? dkAddedBelow : dkAdded;
    case 'c': return dkChanged;
    case 'd': return old ? dkDeleted : dkDeletedBelow;
    default: return dkNone;
  }
}

bool Marked(TRowWord w) { return w.DiffKind() != dkNone; }

}  // namespace

std::vector<TDiffRange> ParseDiffOutput(std::string_view output, TDiffSide side) {
  std::vector<TDiffRange> ranges;
  int hunk = 0;
  while (!output.empty()) {
    const std::size_t eol = output.find('\n');
    std::string_view line = output.substr(0, eol);
    output = eol == std::string_view::npos ? std::string_view() : output.substr(eol + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || !IsDigit(line.front())) continue;
    std::size_t at = 0;
    while (at < line.size() && (IsDigit(line[at]) || line[at] == ',')) ++at;
    if (at >= line.size()) continue;
    const TDiffKind kind = KindOf(line[at], side);
    const auto before = ParseRange(line.substr(0, at));
    const auto after = ParseRange(line.substr(at + 1));
    if (kind == dkNone || !before || !after) continue;
    auto [first, last] = side == TDiffSide::dsOld ? *before : *after;
    // The line after the insertion or deletion point carries the arrow.
    if (kind == dkAddedBelow || kind == dkDeletedBelow) first = last = last + 1;
    ranges.push_back(TDiffRange{first, last, kind, hunk++});
  }
  return ranges;
}

void ClearDiffMarks(TPointerStringList& rows) {
  rows.ForEachWord(0, rows.Count(), [](TRowWord& w) {
    w.SetDiffKind(dkNone);
    w.SetDiffIndex(0);
  });
}

int ApplyDiffMarks(TVornEditScreenStrings& store, const std::vector<TDiffRange>& ranges, int lineOffset,
                   TDiffEndMarker& end) {
  ClearDiffMarks(store);
  end = TDiffEndMarker{};
  const int count = store.Count();
  const int lines = store.LineCount();
  int marked = 0;
  for (const TDiffRange& r : ranges) {
    const int firstLine = r.First - 1 + lineOffset;
    const int lastLine = r.Last - 1 + lineOffset;
    const int firstRow = firstLine >= lines ? count : store.LineToRow(std::max(0, firstLine));
    const int lastRow = lastLine >= lines ? count : store.LineToRow(std::max(0, lastLine));
    ++marked;
    if (lastRow >= count) {
      if (firstRow < count) store.ForEachWord(firstRow, count - firstRow, [&](TRowWord& w) {
          w.SetDiffKind(r.Kind);
          w.SetDiffIndex(r.Hunk);
        });
      end = TDiffEndMarker{r.Kind, r.Hunk};
      break;
    }
    store.ForEachWord(firstRow, lastRow - firstRow + 1, [&](TRowWord& w) {
      w.SetDiffKind(r.Kind);
      w.SetDiffIndex(r.Hunk);
    });
  }
  return marked;
}

int DiffHunkAt(const TPointerStringList& rows, const TDiffEndMarker& end, int caretRow) {
  if (caretRow >= rows.Count()) return end.Set() ? end.Hunk : -1;
  if (caretRow < 0) return -1;
  const TRowWord w = rows.Word(caretRow);
  return Marked(w) ? w.DiffIndex() : -1;
}

TDiffTarget FindNextDiff(const TPointerStringList& rows, const TDiffEndMarker& end, int caretRow) {
  const int count = rows.Count();
  const int h = DiffHunkAt(rows, end, caretRow);
  int start = std::max(0, caretRow);
  if (h >= 0)
    while (start < count && Marked(rows.Word(start)) && rows.Word(start).DiffIndex() == h) ++start;
  for (int r = start; r < count; ++r) {
    const TRowWord w = rows.Word(r);
    if (Marked(w) && w.DiffIndex() != h) return TDiffTarget{true, false, r};
  }
  if (end.Set() && end.Hunk != h && caretRow < count) return TDiffTarget{true, true, count};
  return {};
}

TDiffTarget FindPreviousDiff(const TPointerStringList& rows, const TDiffEndMarker& end, int caretRow) {
  const int count = rows.Count();
  if (count == 0) return {};
  // At the end, the marker's hunk is the one the caret stands in.
  const int h = caretRow >= count ? (end.Set() ? end.Hunk : -1) : DiffHunkAt(rows, end, caretRow);
  int r = std::min(caretRow, count - 1);
  auto inHunk = [&](int row, int hunk) { return Marked(rows.Word(row)) && rows.Word(row).DiffIndex() == hunk; };
  if (h >= 0)
    while (r >= 0 && inHunk(r, h)) --r;
  for (; r >= 0; --r) {
    const TRowWord w = rows.Word(r);
    if (!Marked(w) || static_cast<int>(w.DiffIndex()) == h) continue;
    const int k = w.DiffIndex();
    while (r > 0 && inHunk(r - 1, k)) --r;
    return TDiffTarget{true, false, r};
  }
  return {};
}

TDiffTarget FindDiffHunk(const TPointerStringList& rows, const TDiffEndMarker& end, int hunk) {
  const int count = rows.Count();
  for (int r = 0; r < count; ++r) {
    const TRowWord w = rows.Word(r);
    if (Marked(w) && w.DiffIndex() == hunk) return TDiffTarget{true, false, r};
  }
  if (end.Set() && end.Hunk == hunk) return TDiffTarget{true, true, count};
  return {};
}

}  // namespace vorn
