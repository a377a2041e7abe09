// Searching the lines of one piece of Shift_JIS text for grep: hit counting per line and a
// whole-piece scan that skips lines without a match.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/BregexpUtil.h"
#include "search/GrepAnchors.h"
#include "search/GrepRequiredLiteral.h"

namespace vorn {

// Whether a search of the whole piece finds, at or before it, every match that a search of each
// single line finds: true for regular expressions without anchors, look-around, atomic groups,
// possessive quantifiers, quotes or callouts, whose matches cannot depend on where a line
// ends, nor on "\O", which the module treats as able to reach the end of the whole piece.
bool RegexPrefilterSafe(std::string_view regex);

// The number of line breaks (CR LF, CR or LF) in [p, end), which must not split a CR LF.
std::size_t CountLineBreaks(const char* p, const char* end);

// Walks a text from hit to hit, numbering each hit's line (from 0) by counting only the breaks
// between hits: splitting every line first costs more than the search on texts with few hits.
class THitLineWalk {
public:
  struct TLine {
    std::size_t Begin, End;  // End before the line's break
  };
  explicit THitLineWalk(std::string_view text) : text_(text) {}
  // The line holding offset `at`, which must not lie before the walk's line; it becomes the
  // walk's line. A hit on a line's break belongs to that line, the LF of a CR LF included.
  TLine LineOf(std::size_t at);
  // Where the line after `line` starts (the text's end when none); it becomes the walk's line.
  std::size_t Next(const TLine& line);
  std::int64_t Index() const { return index_; }
  std::size_t LineStart() const { return start_; }
  // The lines of the whole text, the walk's line and those after it included.
  std::size_t LineCount() const;

private:
  std::string_view text_;
  std::size_t start_ = 0;  // where the walk's line starts
  std::int64_t index_ = 0;
};

// A called-back matching line: its number, its text (with NUL bytes as read; for a multi-line
// pattern the line and the lines that follow, joined by CR LF) and the hits counted on it.
using TGrepLineHit = std::function<void(std::int64_t lineNumber, std::string_view text, int hits)>;

// One per worker thread: owns a compiled copy of the pattern and its own match record.
class TGrepLineSearcher {
public:
  explicit TGrepLineSearcher(const TBregexpObj& pattern);
  ~TGrepLineSearcher();
  TGrepLineSearcher(const TGrepLineSearcher&) = delete;
  TGrepLineSearcher& operator=(const TGrepLineSearcher&) = delete;

  // Compiles; on failure message holds the engine's text (Shift_JIS).
  bool Compile(std::string& message);
  int LineBreakCount() const { return lineBreaks_; }
  // For each character every match holds, its alternatives (Shift_JIS): any line with a match
  // holds one alternative of each, with RequiredFoldsCase in either case of the ASCII letters.
  // Empty when nothing is sure, as with a multi-line pattern or case folded by the engine.
  const std::vector<std::vector<std::string>>& RequiredCharacters() const { return certain_; }
  bool RequiredFoldsCase() const { return foldCase_; }

  // Searches the lines of text, numbering the first firstLine. The last keepTail lines are left
  // unsearched (a multi-line pattern needs the lines after them); returns the byte offset where
  // they start. Stops early, returning text.size(), when cancel is set. currentLine follows the
  // search for the progress window.
  std::size_t SearchPiece(std::string_view text, std::int64_t firstLine, std::size_t keepTail,
                          const TGrepLineHit& onHit, const std::atomic<bool>& cancel,
                          std::atomic<std::int64_t>& currentLine);

  // Lines the last SearchPiece searched (or skipped as matchless), from its first line on.
  std::size_t LinesDone() const { return linesDone_; }

  // Hits of the pattern in T whose start lies before limit (a zero-length match advances by one).
  int CountHits(const char* begin, const char* end, std::size_t limit);

private:
  struct TLine {
    std::size_t begin, end;
  };
  enum TCandidate { caNone, caLine, caFallBack };
  std::size_t SearchLines(std::string_view text, std::int64_t firstLine, std::size_t keepTail, bool prefilter,
                          const TGrepLineHit& onHit, const std::atomic<bool>& cancel,
                          std::atomic<std::int64_t>& currentLine);
  std::size_t SearchLazily(std::string_view text, std::int64_t firstLine, const TGrepLineHit& onHit,
                           const std::atomic<bool>& cancel, std::atomic<std::int64_t>& currentLine);
  std::size_t FallBackFrom(std::string_view text, std::size_t lineStart, std::int64_t firstLine, std::int64_t index,
                           const TGrepLineHit& onHit, const std::atomic<bool>& cancel,
                           std::atomic<std::int64_t>& currentLine);
  void SplitLines(std::string_view text);
  void SearchLine(std::string_view text, std::size_t i, std::int64_t number, const TGrepLineHit& onHit);
  TCandidate NextCandidate(std::string_view text, std::size_t from, std::size_t stop, std::size_t& line);
  bool ScanFrom(const char* begin, const char* end, std::size_t& pos, std::size_t& len, bool& failed);

  std::unique_ptr<TBregexpObj> pattern_;
  bool prefilter_ = false;
  void ChooseAnchor(std::string_view text);
  // Candidate lines are found by the alternatives of one character every match holds: the
  // rarest in the first text searched, so that few lines reach the pattern.
  std::vector<std::vector<std::string>> required_;
  std::vector<std::vector<std::string>> certain_;  // required_, or a plain pattern as itself
  bool foldCase_ = false;                          // required_ and certain_ fold ASCII case
  std::vector<std::size_t> occurrences_;  // per required character, in the text sampled so far
  std::size_t sampled_ = 0;
  TAnyOfFinder anchor_;
  int lineBreaks_ = 0;
  TResultRecord* scanRecord_ = nullptr;
  std::vector<TLine> lines_;
  std::string joined_;
  std::size_t linesDone_ = 0;
};

}  // namespace vorn
