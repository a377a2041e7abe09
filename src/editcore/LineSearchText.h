// The texts the in-control search looks at: one logical line (with the lines a multi-line pattern
// needs after it), runs of lines joined for a fast scan, and the backward match of a line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "regex/BregexpUtil.h"
#include "store/ScreenStrings.h"

namespace vorn {

// The rows of logical line starting at row, with `following` lines after it, each after an LF
// when the line before it ends with a break. A line of one row with nothing appended is viewed
// in place: a search of a 50 MB row copies nothing. An empty text is searched as one LF.
class TLineSearchText {
public:
  TLineSearchText(const TVornEditScreenStrings& store, int row, int following);
  std::string_view Text() const { return text_; }
  // Bytes of the line's own text; matches starting after its break belong to later lines.
  int OwnLength() const { return ownLength_; }
  // Rows the line itself takes.
  int RowCount() const { return rowCount_; }

private:
  std::string joined_;
  std::string_view text_;
  int ownLength_ = 0;
  int rowCount_ = 1;
};

// Logical lines joined by LF into one text of about `budget` bytes, with where each starts.
struct TLineRun {
  std::string Text;
  std::vector<int> LineStarts;  // offset of each line in Text
  std::vector<int> FirstRows;   // first row of each line, then the row after the run
  int FirstLine = 0;
  // Index of the line holding offset.
  int LineAt(int offset) const;
};
// Lines from firstRow on (at most lineLimit of them), stopping once budget bytes are collected,
// and with untilBorrowed before a later line whose bytes lie in a loaded buffer (those are
// scanned where they lie). keepGoing, when given, is asked every megabyte; false from it ends the
// collecting and is answered (the run then holds only the lines collected so far).
bool CollectLineRun(const TVornEditScreenStrings& store, int firstRow, int firstLine, int lineLimit,
                    std::size_t budget, TLineRun& run, bool untilBorrowed = false,
                    const std::function<bool()>& keepGoing = {});

// Logical lines read in place from the store's loaded buffer: their bytes with CR LF after each
// line, starting at row FirstRow of line FirstLine and ending at a line end.
struct TInPlaceRun {
  std::string_view Text;
  int FirstRow = 0;
  int FirstLine = 0;
  int Rows = 0;
};
// The run from firstRow (a line's first row) up to endRow, or none (Rows 0) when too little of
// it lies in place to be worth scanning there.
TInPlaceRun InPlaceLines(const TVornEditScreenStrings& store, int firstRow, int firstLine, int endRow);

// Whether a scan of many lines joined finds, at or before it, every match a search of each line
// alone finds, so lines the joined scan passes over need no search of their own.
bool JoinedScanSafe(const TBregexpObj& pattern, int lineBreakCount);

// Every match start a backward search found in [From, Stop) of one text with one pattern,
// ascending, as (start, length): a later search of the same text and pattern with its limit in
// that stretch answers from them instead of running the pattern over it again.
struct TMatchStarts {
  int From = 0;
  int Stop = -1;  // -1: nothing known
  std::vector<std::pair<int, int>> Starts;
  void Forget() {
    Stop = -1;
    Starts.clear();
  }
};

// The match of pattern in text that starts last before limit, on a character start. Searches
// back from limit rather than forward from the line start, so repeated upward searches along a
// long line cost what lies between their matches. known, when given, holds what an earlier
// call on the same text and pattern found and is left holding what this one found.
bool LastMatchBefore(TBregexpObj& pattern, std::string_view text, int limit, int& pos, int& len,
                     TMatchStarts* known = nullptr);

// Number of LFs in text[from, from + n): line ends a match crossed, each two bytes in the text.
int CountLineFeeds(std::string_view text, int from, int n);

// text with each LF made CR LF (the CRs a replacement text brings stay as they are).
std::string LfToCrLf(std::string_view text);

}  // namespace vorn
