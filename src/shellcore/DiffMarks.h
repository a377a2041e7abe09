// The difference marks of a window: the normal-format output of a comparison read into the
// row words of its store, the marker after the last row, and the moves between differences.
#pragma once

#include <string_view>
#include <vector>

namespace vorn {

class TPointerStringList;
class TVornEditScreenStrings;

// The kinds a row can carry, as the margin shows them.
enum TDiffKind : int {
  dkNone = 0,
  dkAdded = 1,         // new side: the added lines
  dkChanged = 2,       // both sides
  dkDeleted = 3,       // old side: the deleted lines
  dkAddedBelow = 4,    // old side: the line after where the other side has lines added
  dkDeletedBelow = 5,  // new side: the line after where lines were deleted
};

// Which text of the comparison a window holds: the unchanged one or the changed one.
enum class TDiffSide { dsOld, dsNew };

// One hunk as one side sees it: lines First..Last (1-based, of the compared text).
struct TDiffRange {
  int First = 0;
  int Last = 0;
  TDiffKind Kind = dkNone;
  int Hunk = 0;
  friend bool operator==(const TDiffRange&, const TDiffRange&) = default;
};

// Every hunk of a normal-format output ("2a3,4", "5,7c5,6", "9d8") in output order, as side
// sees it. Lines that do not start with a digit (the quoted text, "---", "\ No newline") are
// not hunks; a line that starts with a digit but is not a well-formed hunk head is skipped.
std::vector<TDiffRange> ParseDiffOutput(std::string_view output, TDiffSide side);

// The position just after the last row, which a hunk beyond the end of the text marks.
struct TDiffEndMarker {
  TDiffKind Kind = dkNone;
  int Hunk = 0;
  bool Set() const { return Kind != dkNone; }
};

// Clears every row's mark, then marks the rows of the ranges, their lines shifted by
// lineOffset (the first compared line's index when only a selection was compared). A range
// that reaches the end of the text puts its kind on the end marker and ends the marking.
// Returns the number of hunks marked.
int ApplyDiffMarks(TVornEditScreenStrings& store, const std::vector<TDiffRange>& ranges, int lineOffset,
                   TDiffEndMarker& end);
// Every row's kind and hunk back to 0.
void ClearDiffMarks(TPointerStringList& rows);

// Where a move between differences goes: a row, the end of the text, or nowhere.
struct TDiffTarget {
  bool Found = false;
  bool AtEnd = false;  // the end marker: the caret goes to the end of the text
  int Row = 0;
};

TDiffTarget FindNextDiff(const TPointerStringList& rows, const TDiffEndMarker& end, int caretRow);
TDiffTarget FindPreviousDiff(const TPointerStringList& rows, const TDiffEndMarker& end, int caretRow);
// The first row of hunk; the end of the text when only the end marker carries it.
TDiffTarget FindDiffHunk(const TPointerStringList& rows, const TDiffEndMarker& end, int hunk);
// The hunk at the caret row (the end marker's at the end); -1 when the row is not marked.
int DiffHunkAt(const TPointerStringList& rows, const TDiffEndMarker& end, int caretRow);

}  // namespace vorn
