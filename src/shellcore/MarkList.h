// The mark list's rows and button states, read from a document's line marks.
#pragma once

#include <string>
#include <vector>

namespace vorn {

class TVornEditScreenStrings;

// One set mark as the list shows it.
struct TMarkListEntry {
  int Entry = 0;     // index in the mark table (0-9 numbered, 10 on unnumbered)
  int Number = -1;   // 0-9, or -1 for an unnumbered mark
  int Line = 0;      // logical line, from 0
  std::string Text;  // the line's text (Shift_JIS), without its line break
  // The picture in the first column: its index in the window's mark images (a numbered mark
  // shows image number + 1), or -1 for none.
  int Image() const { return Number >= 0 ? Number + 1 : -1; }
  // The "行数" column: the line as the margin numbers it, from 1.
  int LineNumber() const { return Line + 1; }
};

// Every set mark of the store, ordered by line (marks of one line in table order).
std::vector<TMarkListEntry> MarkListEntries(const TVornEditScreenStrings& store);

// Which of the list's buttons can be pressed.
struct TMarkListButtons {
  bool Jump = false;
  bool Delete = false;
  bool ClearAll = false;
  bool ClearNumbered = false;
  bool ClearUnnumbered = false;
};
TMarkListButtons MarkListButtonStates(const std::vector<TMarkListEntry>& entries, bool entrySelected);

}  // namespace vorn
