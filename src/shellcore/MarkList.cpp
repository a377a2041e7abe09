// The mark list's rows and button states.
#include "shellcore/MarkList.h"

#include <algorithm>

#include "store/ScreenStrings.h"

namespace vorn {

std::vector<TMarkListEntry> MarkListEntries(const TVornEditScreenStrings& store) {
  std::vector<TMarkListEntry> entries;
  const TVornEditLineMark& marks = store.LineMarkTable();
  for (int i = 0; i < marks.EntryCount(); ++i) {
    const int line = marks.Entry(i);
    if (line < 0) continue;
    std::string text = store.GetRowsText(store.LineToRow(line), -1);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    entries.push_back({i, i < TVornEditLineMark::NumberedCount ? i : -1, line, std::move(text)});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TMarkListEntry& a, const TMarkListEntry& b) { return a.Line < b.Line; });
  return entries;
}

TMarkListButtons MarkListButtonStates(const std::vector<TMarkListEntry>& entries, bool entrySelected) {
  TMarkListButtons b;
  b.Jump = b.Delete = entrySelected && !entries.empty();
  b.ClearAll = !entries.empty();
  b.ClearNumbered = std::any_of(entries.begin(), entries.end(), [](const TMarkListEntry& e) { return e.Number >= 0; });
  b.ClearUnnumbered = std::any_of(entries.begin(), entries.end(), [](const TMarkListEntry& e) { return e.Number < 0; });
  return b;
}

}  // namespace vorn
