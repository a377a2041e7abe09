// Changed lines of a replace all's piece, found from where its substitutions were made.
#include "editcore/ReplacedLines.h"

#include <algorithm>

namespace vorn {
namespace {

class TStretchFinder {
public:
  TStretchFinder(const std::vector<int>& lineStarts, std::size_t searched, int from, const std::vector<TSubstitution>& subs,
                 std::string_view output)
      : starts_(lineStarts), searched_(searched), from_(from), subs_(subs), output_(output) {}

  // Where input byte x (unsearched, or kept as it was after substitution `after`; -1: before the
  // first) stands in the output.
  std::size_t OutputAt(std::size_t x, int after) const {
    if (after < 0) return x - static_cast<std::size_t>(from_);
    const TSubstitution& s = subs_[static_cast<std::size_t>(after)];
    return s.OutputEnd + (x - static_cast<std::size_t>(s.End));
  }

  // The line holding offset, for offsets that never go back: a walk, as the substitutions of a
  // piece are as many as its lines.
  int LineAt(std::size_t offset) {
    const auto lines = starts_.size();
    while (line_ + 1 < lines && static_cast<std::size_t>(starts_[line_ + 1]) <= offset) ++line_;
    return static_cast<int>(line_);
  }

  std::size_t LineEnd(int line) const {
    return line + 1 < Lines() ? static_cast<std::size_t>(starts_[static_cast<std::size_t>(line) + 1]) : searched_;
  }

  int Lines() const { return static_cast<int>(starts_.size()); }

  // The stretch's end after its last substitution, moved on by whole lines until the output
  // before it is a line break (the kept line after it must start a line).
  void Close(TChangedLines& c, int lastSub) const {
    for (;;) {
      c.OutEnd = OutputAt(LineEnd(c.EndLine - 1), lastSub);
      if (c.EndLine >= Lines() || (c.OutEnd > 0 && c.OutEnd <= output_.size() && output_[c.OutEnd - 1] == '\n')) return;
      ++c.EndLine;
    }
  }

  // Every substitution lies after the one before, inside the piece, with its output after the
  // kept bytes before it; the last leaves the rest of the piece as the output's end.
  bool Sound() const {
    std::size_t end = static_cast<std::size_t>(from_), out = 0;
    for (const TSubstitution& s : subs_) {
      if (s.Start < 0 || static_cast<std::size_t>(s.Start) < end || s.End < s.Start ||
          static_cast<std::size_t>(s.End) > searched_)
        return false;
      const std::size_t replacementAt = out + (static_cast<std::size_t>(s.Start) - end);
      if (s.OutputEnd < replacementAt || s.OutputEnd > output_.size()) return false;
      end = static_cast<std::size_t>(s.End);
      out = s.OutputEnd;
    }
    return out + (searched_ - end) == output_.size();
  }

private:
  const std::vector<int>& starts_;
  std::size_t searched_;
  int from_;
  const std::vector<TSubstitution>& subs_;
  std::string_view output_;
  std::size_t line_ = 0;
};

}  // namespace

std::vector<TChangedLines> ChangedLineStretches(const std::vector<int>& lineStarts, std::size_t searched, int from,
                                                const std::vector<TSubstitution>& subs, std::string_view output,
                                                int mergeGapLines, bool& sound) {
  std::vector<TChangedLines> stretches;
  TStretchFinder f(lineStarts, searched, from, subs, output);
  sound = !lineStarts.empty() && lineStarts.front() == 0 && f.Sound();
  if (!sound) return stretches;
  TChangedLines current;
  int lastSub = -1;
  for (int i = 0; i < static_cast<int>(subs.size()); ++i) {
    const TSubstitution& s = subs[static_cast<std::size_t>(i)];
    const int first = f.LineAt(static_cast<std::size_t>(s.Start));
    const int last = f.LineAt(static_cast<std::size_t>(std::max(s.End - 1, s.Start)));
    if (lastSub >= 0 && first < current.EndLine + mergeGapLines) {
      current.EndLine = std::max(current.EndLine, last + 1);
    } else {
      if (lastSub >= 0) stretches.push_back(current);
      current.FirstLine = first;
      current.EndLine = last + 1;
      current.OutStart = first == 0 ? 0 : f.OutputAt(static_cast<std::size_t>(lineStarts[static_cast<std::size_t>(first)]), i - 1);
    }
    lastSub = i;
    f.Close(current, lastSub);
  }
  if (lastSub >= 0) stretches.push_back(current);
  return stretches;
}

void JoinStretches(std::vector<TChangedLines>& stretches, std::size_t most) {
  most = std::max<std::size_t>(most, 1);
  if (stretches.size() <= most) return;
  // Cut only at the widest gaps: the lines between the joined ones are written unchanged.
  std::vector<std::size_t> gaps(stretches.size() - 1);
  for (std::size_t i = 0; i + 1 < stretches.size(); ++i) gaps[i] = i;
  const auto width = [&](std::size_t i) { return stretches[i + 1].FirstLine - stretches[i].EndLine; };
  std::nth_element(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(most - 1), gaps.end(),
                   [&](std::size_t a, std::size_t b) { return width(a) > width(b); });
  std::vector<bool> cut(stretches.size(), false);
  for (std::size_t i = 0; i + 1 < most; ++i) cut[gaps[i]] = true;
  std::vector<TChangedLines> joined;
  joined.reserve(most);
  for (std::size_t i = 0; i < stretches.size(); ++i) {
    if (i == 0 || cut[i - 1]) {
      joined.push_back(stretches[i]);
    } else {
      joined.back().EndLine = stretches[i].EndLine;
      joined.back().OutEnd = stretches[i].OutEnd;
    }
  }
  stretches = std::move(joined);
}

}  // namespace vorn
