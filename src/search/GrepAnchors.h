// Finding the lines a grep pattern may match by byte strings every match must contain.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TBregexpObj;

// The alternatives for each character every match must hold: for a fuzzy pattern, the members
// of the character's fuzzy row (each match holds one of them); otherwise the required literal
// as one alternative. Empty when no character is sure.
std::vector<std::vector<std::string>> RequiredAlternatives(const TBregexpObj& pattern);

// Finds the next occurrence of any of a few byte strings, with foldCase in either case of the
// ASCII letters (every byte, trail bytes too: the finder only has to miss nothing). Each
// string's next occurrence is remembered, so a text is scanned about once per string however
// many lines are asked for.
class TAnyOfFinder {
public:
  TAnyOfFinder() = default;
  explicit TAnyOfFinder(std::vector<std::string> needles, bool foldCase = false);

  bool Empty() const { return needles_.empty(); }
  // Starts a new text; offsets given to Find refer to it.
  void Reset(std::string_view text);
  // The first offset at or after from where any needle starts, or npos. from must not go back.
  std::size_t Find(std::size_t from);

private:
  std::vector<std::string> needles_;  // lower-cased when folding
  std::vector<std::size_t> next_;     // per needle: its next occurrence at or after the last from
  std::string_view text_;
  bool foldCase_ = false;
};

// How often the alternatives occur in text, together: the rarest character is the best anchor.
std::size_t CountOccurrences(const std::vector<std::string>& alternatives, std::string_view text,
                             bool foldCase = false);

}  // namespace vorn
