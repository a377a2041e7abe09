// A replace all's piece written back as its substitutions are made.
#include "editcore/ReplacedPieceWriter.h"

#include <algorithm>
#include <utility>

namespace vorn {
namespace {

// Lines fewer apart than this are written as one: a write of its own costs more than the copy.
constexpr int kMergeGapLines = 8;
constexpr std::size_t kLeastWriteEvery = std::size_t{1} << 20;

// How many lines at the end of the run's lines from `first` on came back unchanged in replaced
// (their text after the substitutions, LF after each line but a last one without a break), and
// where in replaced they start. At least the first of them counts as changed, and the lines
// before the kept ones always end with their LF.
int UnchangedTailLines(const TVornEditScreenStrings& store, const TLineRun& run, int first, int rowShift,
                       bool lastBroken, std::string_view replaced, std::size_t& tailStart) {
  const int lines = static_cast<int>(run.LineStarts.size());
  std::size_t end = replaced.size();
  std::vector<std::size_t> starts{end};
  for (int i = lines - 1; i > first; --i) {
    std::size_t at = end;
    bool same = true;
    if (i < lines - 1 || lastBroken) same = at > 0 && replaced[--at] == '\n';
    const auto line = static_cast<std::size_t>(i);
    for (int r = run.FirstRows[line + 1] - 1; same && r >= run.FirstRows[line]; --r) {
      const std::string_view row = store.Row(r + rowShift);
      same = at >= row.size() && replaced.compare(at - row.size(), row.size(), row) == 0;
      if (same) at -= row.size();
    }
    if (!same) break;
    end = at;
    starts.push_back(end);
  }
  // The written lines must end with their own line break for the kept rows to follow them.
  int kept = static_cast<int>(starts.size()) - 1;
  while (kept > 0 && (starts.back() == 0 || replaced[starts.back() - 1] != '\n')) {
    starts.pop_back();
    --kept;
  }
  tailStart = starts.back();
  return kept;
}

}  // namespace

TPieceWriteLimits TPieceWriteLimits::ForWholeText(std::size_t bytes, std::size_t mostWrites) {
  TPieceWriteLimits limits;
  limits.MostWrites = std::max<std::size_t>(mostWrites, 1);
  limits.WriteEvery = std::max(kLeastWriteEvery, bytes / std::max<std::size_t>(limits.WritesWhileSearching(), 1) + 1);
  return limits;
}

TReplacedPieceWriter::TReplacedPieceWriter(TVornEditScreenStrings& store, const TLineRun& run, std::size_t searched,
                                           int from, std::function<TRowCol()> caret, TPieceWriteLimits limits,
                                           std::function<void()> written)
    : store_(store),
      run_(run),
      searched_(searched),
      from_(from),
      head_(run.Text, 0, static_cast<std::size_t>(from)),
      caret_(std::move(caret)),
      written_(std::move(written)),
      limits_(limits),
      inputStart_(static_cast<std::size_t>(from)),
      nextTry_(inputStart_ + limits.WriteEvery) {}

void TReplacedPieceWriter::Add(const TSubstitution& made, std::string_view output) {
  inOrder_ = inOrder_ && made.Count == told_ + 1;
  told_ = made.Count;
  if (inOrder_ && limits_.WriteEvery > 0 && !pending_.empty() && writes_ < limits_.WritesWhileSearching() &&
      made.Start >= 0 && static_cast<std::size_t>(made.Start) >= nextTry_) {
    const auto at = static_cast<std::size_t>(made.Start);
    // When nothing could be written (one stretch running on through every line), it is tried
    // again only after as much again is searched: the stretches are found anew each time.
    nextTry_ = WriteBefore(made, output) ? inputStart_ + limits_.WriteEvery
                                         : at + std::max(limits_.WriteEvery, at - inputStart_);
  }
  pending_.push_back(made);
}

// Writes the lines before the one holding next's match, and before any match that runs on into
// that line: no later substitution can change them.
bool TReplacedPieceWriter::WriteBefore(const TSubstitution& next, std::string_view output) {
  int w = run_.LineAt(next.Start);
  std::size_t m = pending_.size();
  for (;;) {
    const auto wStart = static_cast<std::size_t>(run_.LineStarts[static_cast<std::size_t>(w)]);
    while (m > 0 && static_cast<std::size_t>(pending_[m - 1].End) > wStart) --m;
    const int runOn = m < pending_.size() ? run_.LineAt(pending_[m].Start) : w;
    if (runOn >= w) break;
    w = runOn;
  }
  if (w <= firstLine_ || m == 0) return false;
  const auto wStart = static_cast<std::size_t>(run_.LineStarts[static_cast<std::size_t>(w)]);
  const TSubstitution& lastMade = pending_[m - 1];
  const std::size_t outEnd = lastMade.OutputEnd + (wStart - static_cast<std::size_t>(lastMade.End));
  bool sound = outEnd <= output.size();
  std::vector<TChangedLines> stretches = sound ? Stretches(w, m, output, outEnd, sound) : std::vector<TChangedLines>{};
  if (!sound) {
    inOrder_ = false;
    return false;
  }
  if (stretches.empty()) return false;
  // A last stretch whose line break a substitution took goes on into the next line: it waits.
  const TChangedLines last = stretches.back();
  const bool open = last.EndLine == w && (outEnd == 0 || output[outEnd - 1] != '\n');
  if (open) {
    if (stretches.size() == 1) return false;
    stretches.pop_back();
  }
  JoinStretches(stretches, 1);
  rowShift_ += WriteStretch(stretches.front(), output);
  ++writes_;
  if (written_) written_();
  if (!open) {
    AcceptUpTo(w, wStart, outEnd, m);
    return true;
  }
  const auto lastStart = static_cast<std::size_t>(run_.LineStarts[static_cast<std::size_t>(last.FirstLine)]);
  const auto before = std::partition_point(pending_.begin(), pending_.end(), [lastStart](const TSubstitution& s) {
    return static_cast<std::size_t>(s.Start) < lastStart;
  });
  AcceptUpTo(last.FirstLine, lastStart, last.OutStart, static_cast<std::size_t>(before - pending_.begin()));
  return true;
}

void TReplacedPieceWriter::AcceptUpTo(int line, std::size_t inputAt, std::size_t outputAt, std::size_t subs) {
  writtenCount_ += static_cast<int>(subs);
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(subs));
  firstLine_ = line;
  inputStart_ = inputAt;
  outputStart_ = outputAt;
}

// The changed stretches of the lines from firstLine_ to endLine, made by the first `subs` of
// pending_, whose output ends at outEnd; in the piece's lines and output offsets.
std::vector<TChangedLines> TReplacedPieceWriter::Stretches(int endLine, std::size_t subs, std::string_view output,
                                                           std::size_t outEnd, bool& sound) const {
  const int lines = static_cast<int>(run_.LineStarts.size());
  if (outEnd < outputStart_ || outEnd > output.size() || endLine > lines) {
    sound = false;
    return {};
  }
  const std::string_view window = output.substr(outputStart_, outEnd - outputStart_);
  const std::size_t base = firstLine_ == 0 ? 0 : inputStart_;
  const std::size_t searched = endLine < lines ? static_cast<std::size_t>(run_.LineStarts[static_cast<std::size_t>(endLine)]) : searched_;
  if (firstLine_ == 0 && endLine == lines && subs == pending_.size())
    return ChangedLineStretches(run_.LineStarts, searched, from_, pending_, window, kMergeGapLines, sound);
  // The lines of the window as a piece of their own.
  std::vector<int> starts(run_.LineStarts.begin() + firstLine_, run_.LineStarts.begin() + endLine);
  for (int& s : starts) s -= static_cast<int>(base);
  std::vector<TSubstitution> made(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(subs));
  for (TSubstitution& s : made) {
    s.Start -= static_cast<int>(base);
    s.End -= static_cast<int>(base);
    s.OutputEnd -= std::min(s.OutputEnd, outputStart_);
  }
  std::vector<TChangedLines> stretches = ChangedLineStretches(starts, searched - base, firstLine_ == 0 ? from_ : 0,
                                                              made, window, kMergeGapLines, sound);
  for (TChangedLines& c : stretches) {
    c.FirstLine += firstLine_;
    c.EndLine += firstLine_;
    c.OutStart += outputStart_;
    c.OutEnd += outputStart_;
  }
  return stretches;
}

// Replaces the stretch's rows by its output; the rows it added.
int TReplacedPieceWriter::WriteStretch(const TChangedLines& c, std::string_view output) {
  const auto first = static_cast<std::size_t>(c.FirstLine), end = static_cast<std::size_t>(c.EndLine);
  const std::string_view out = output.substr(c.OutStart, c.OutEnd - c.OutStart);
  const std::string text = c.FirstLine == 0 && !head_.empty() ? LfToCrLf(head_ + std::string(out)) : LfToCrLf(out);
  const int before = store_.Count();
  store_.ReplaceRows(run_.FirstRows[first] + rowShift_, run_.FirstRows[end] - run_.FirstRows[first], text, caret_());
  return store_.Count() - before;
}

void TReplacedPieceWriter::Finish(int count, std::string_view output, bool lastBroken) {
  const int lines = static_cast<int>(run_.LineStarts.size());
  bool sound = inOrder_ && told_ == count;
  std::vector<TChangedLines> stretches =
      sound ? Stretches(lines, pending_.size(), output, output.size(), sound) : std::vector<TChangedLines>{};
  if (!sound) {
    WriteUnchecked(output, lastBroken);
  } else {
    JoinStretches(stretches, limits_.MostWrites > writes_ ? limits_.MostWrites - writes_ : 1);
    // The last first, so that the rows of the earlier ones stay where they are.
    for (auto it = stretches.rbegin(); it != stretches.rend(); ++it) WriteStretch(*it, output);
  }
  pending_.clear();
  writtenCount_ = count;
  if (written_) written_();
}

// Without a sound account of every substitution (a library that does not tell them), the
// lines from the first unwritten one to the last changed one are written as one.
void TReplacedPieceWriter::WriteUnchecked(std::string_view output, bool lastBroken) {
  const int lines = static_cast<int>(run_.LineStarts.size());
  const std::string_view replaced = output.substr(std::min(outputStart_, output.size()));
  std::size_t tailStart = 0;
  const int kept = UnchangedTailLines(store_, run_, firstLine_, rowShift_, lastBroken, replaced, tailStart);
  const auto first = static_cast<std::size_t>(firstLine_), end = static_cast<std::size_t>(lines - kept);
  std::string text = firstLine_ == 0 ? head_ : std::string();
  text.append(replaced, 0, tailStart);
  store_.ReplaceRows(run_.FirstRows[first] + rowShift_, run_.FirstRows[end] - run_.FirstRows[first], LfToCrLf(text),
                     caret_());
}

}  // namespace vorn
