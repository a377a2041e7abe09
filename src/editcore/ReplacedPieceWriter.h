// Writes a replace all's piece back into the store: only the lines its substitutions changed,
// and for a piece the size of the whole text, in steps while it is still being searched.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editcore/LineSearchText.h"
#include "editcore/ReplacedLines.h"
#include "regex/BregexpUtil.h"
#include "store/ScreenStrings.h"

namespace vorn {

struct TPieceWriteLimits {
  // Store writes the piece may take in all: each is an undo record of the replace all's step.
  std::size_t MostWrites = 1;
  // Once this much of the piece lies between the written lines and a new substitution, the
  // lines before it are written (0: only at the end). Each such write takes one of MostWrites,
  // and a fifth of them (at least one) are kept for the end.
  std::size_t WriteEvery = 0;

  std::size_t WritesWhileSearching() const {
    return MostWrites - std::min(MostWrites, std::max<std::size_t>(MostWrites / 5, 1));
  }
  // For a piece of this many bytes searched as one: the writes while searching are spread
  // over it, so that a stop leaves at most one such stretch to write.
  static TPieceWriteLimits ForWholeText(std::size_t bytes, std::size_t mostWrites);
};

class TReplacedPieceWriter {
public:
  // run: the piece's lines as searched (its LF-joined text, line starts and rows); the search
  // started at byte from of its first line. Writes record caret() as where they began, and
  // written() is called after each batch of them.
  TReplacedPieceWriter(TVornEditScreenStrings& store, const TLineRun& run, std::size_t searched, int from,
                       std::function<TRowCol()> caret, TPieceWriteLimits limits, std::function<void()> written = {});

  // Told of each substitution as it is made, with the output so far.
  void Add(const TSubstitution& made, std::string_view output);
  // After the search: output holds the piece from `from` on with all count substitutions
  // made; writes what is not written yet. lastBroken: the piece's last line has its line end.
  void Finish(int count, std::string_view output, bool lastBroken);

  // Substitutions already in the store.
  int WrittenCount() const { return writtenCount_; }

private:
  bool WriteBefore(const TSubstitution& next, std::string_view output);
  std::vector<TChangedLines> Stretches(int endLine, std::size_t subs, std::string_view output, std::size_t outEnd,
                                       bool& sound) const;
  int WriteStretch(const TChangedLines& c, std::string_view output);
  void WriteUnchecked(std::string_view output, bool lastBroken);
  void AcceptUpTo(int line, std::size_t inputAt, std::size_t outputAt, std::size_t subs);

  TVornEditScreenStrings& store_;
  const TLineRun& run_;
  std::size_t searched_;
  int from_;
  std::string head_;
  std::function<TRowCol()> caret_;
  std::function<void()> written_;
  TPieceWriteLimits limits_;
  // Lines before firstLine_ are written; input byte inputStart_ (its start, or `from`) stands
  // at output byte outputStart_.
  int firstLine_ = 0;
  std::size_t inputStart_ = 0;
  std::size_t outputStart_ = 0;
  std::size_t nextTry_ = 0;
  int rowShift_ = 0;
  std::size_t writes_ = 0;
  std::vector<TSubstitution> pending_;
  int told_ = 0;
  int writtenCount_ = 0;
  bool inOrder_ = true;
};

}  // namespace vorn
