// Which lines of a replace all's piece its substitutions changed, so that only those are written.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "regex/BregexpUtil.h"

namespace vorn {

// Lines [FirstLine, EndLine) of a piece and the output bytes [OutStart, OutEnd) that replace
// them. A stretch from line 0 also takes the piece's bytes before the search start first.
struct TChangedLines {
  int FirstLine = 0;
  int EndLine = 0;
  std::size_t OutStart = 0;
  std::size_t OutEnd = 0;
};

// The piece: lines joined by LF (lineStarts are their offsets, searched its length, the search
// started at from); subs: every substitution made, in order; output: the text from `from` on
// with them made. The stretches are in order, each ends with an LF of the output but at the
// piece's last line, and every line outside them came back exactly as it was. Stretches fewer
// than mergeGapLines apart are joined. Empty, with sound false, when subs cannot be what a
// substitution of this piece made (the caller then writes the piece whole).
std::vector<TChangedLines> ChangedLineStretches(const std::vector<int>& lineStarts, std::size_t searched, int from,
                                                const std::vector<TSubstitution>& subs, std::string_view output,
                                                int mergeGapLines, bool& sound);

// Joins neighbouring stretches, those closest first, until at most `most` are left (at least
// one): each becomes an undo record, and the undo list keeps only so many.
void JoinStretches(std::vector<TChangedLines>& stretches, std::size_t most);

}  // namespace vorn
