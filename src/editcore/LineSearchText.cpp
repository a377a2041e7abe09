// The texts the in-control search looks at, and the backward match of one line.
#include "editcore/LineSearchText.h"

#include <algorithm>
#include <cstring>

#include "base/ByteBuffer.h"
#include "base/sjis.h"
#include "search/GrepLineSearch.h"

namespace vorn {
namespace {

constexpr std::string_view kLoneLineFeed = "\n";

// Appends the rows of the logical line at row; answers the row after it and whether it ends
// with a line break.
int AppendLine(const TVornEditScreenStrings& store, int row, std::string& out, bool& broken) {
  const int count = store.Count();
  broken = false;
  while (row < count) {
    out.append(store.Row(row));
    const TRowEnd end = store.RowEnd(row++);
    if (end == reWrapped) continue;
    broken = end == reLineEnd;
    break;
  }
  return row;
}

// True when p starts a character, given that base does: lead-range bytes right before p pair
// up from the last byte that can only end a character.
bool StartsChar(const char* base, const char* p) {
  const char* q = p;
  while (q > base && sjis::IsLeadByte(q[-1])) --q;
  return (p - q) % 2 == 0;
}

int CharLenAt(std::string_view text, int p) {
  return sjis::IsLeadByte(text[static_cast<std::size_t>(p)]) && p + 1 < static_cast<int>(text.size()) ? 2 : 1;
}

// A plain pattern: candidates are tried from limit backwards, each an anchored comparison.
bool LastPlainMatch(TBregexpObj& pattern, std::string_view text, int limit, int& pos, int& len) {
  const char* base = text.data();
  const char* end = base + text.size();
  const std::string& needle = pattern.UpperPattern();
  const bool anyCase = pattern.IgnoreCase() && !needle.empty() && needle[0] >= 'A' && needle[0] <= 'Z';
  int p = std::min(limit, static_cast<int>(text.size())) - 1;
  while (p >= 0) {
    if (!anyCase && !needle.empty()) {
      const void* hit = memrchr(base, needle[0], static_cast<std::size_t>(p + 1));
      if (!hit) return false;
      p = static_cast<int>(static_cast<const char*>(hit) - base);
    }
    if (StartsChar(base, base + p) && pattern.MatchAtBuffer(base, end, len, p)) {
      pos = p;
      return true;
    }
    --p;
  }
  return false;
}

// Every start of a match in [from, limit), stepping by whole characters, into starts.
void MatchStartsInWindow(TBregexpObj& pattern, std::string_view text, int from, int limit, TMatchStarts& starts) {
  starts.From = from;
  starts.Stop = limit;
  starts.Starts.clear();
  int p = from;
  const char* base = text.data();
  const char* end = base + text.size();
  while (p < limit) {
    int at = p, n = 0;
    if (!pattern.FindInBuffer(base, end, n, at) || at >= limit) break;
    starts.Starts.emplace_back(at, n);
    if (at >= static_cast<int>(text.size())) break;
    p = at + CharLenAt(text, at);
  }
}

// The last of the known starts before limit, when the known stretch covers it.
bool KnownStartBefore(const TMatchStarts& known, int limit, int& pos, int& len) {
  if (known.Stop < 0 || limit > known.Stop || limit <= known.From) return false;
  const auto it = std::lower_bound(known.Starts.begin(), known.Starts.end(), std::make_pair(limit, -1));
  if (it == known.Starts.begin()) return false;
  pos = std::prev(it)->first;
  len = std::prev(it)->second;
  return true;
}

}  // namespace

TLineSearchText::TLineSearchText(const TVornEditScreenStrings& store, int row, int following) {
  const int count = store.Count();
  if (row >= count) {
    text_ = kLoneLineFeed;
    return;
  }
  if (following == 0 && store.RowEnd(row) != reWrapped) {
    text_ = store.Row(row);
    ownLength_ = static_cast<int>(text_.size());
    if (text_.empty()) text_ = kLoneLineFeed;
    return;
  }
  bool broken = false;
  int next = AppendLine(store, row, joined_, broken);
  rowCount_ = next - row;
  ownLength_ = static_cast<int>(joined_.size());
  for (int i = 0; i < following && broken; ++i) {
    joined_ += '\n';
    next = AppendLine(store, next, joined_, broken);
  }
  if (joined_.empty()) joined_.assign(1, '\n');
  text_ = joined_;
}

int TLineRun::LineAt(int offset) const {
  const auto it = std::upper_bound(LineStarts.begin(), LineStarts.end(), offset);
  return static_cast<int>(it - LineStarts.begin()) - 1;
}

bool CollectLineRun(const TVornEditScreenStrings& store, int firstRow, int firstLine, int lineLimit,
                    std::size_t budget, TLineRun& run, bool untilBorrowed, const std::function<bool()>& keepGoing) {
  constexpr std::size_t kAskEvery = std::size_t{1} << 20;
  run.Text.clear();
  run.LineStarts.clear();
  run.FirstRows.clear();
  run.FirstLine = firstLine;
  // The whole budget at once, on huge pages: a run of a whole document grown by doubling copies
  // it twice over and faults in every page on the way.
  if (budget >= (std::size_t{8} << 20) && run.Text.capacity() < budget) ReserveOutput(run.Text, budget);
  int row = firstRow;
  const int count = store.Count();
  std::size_t nextAsk = kAskEvery;
  for (int n = 0; n < lineLimit && row < count && run.Text.size() < budget; ++n) {
    if (untilBorrowed && n > 0 && store.RowBorrowed(row) && !store.Row(row).empty()) break;
    if (keepGoing && run.Text.size() >= nextAsk) {
      if (!keepGoing()) {
        run.FirstRows.push_back(row);
        return false;
      }
      nextAsk = run.Text.size() + kAskEvery;
    }
    run.LineStarts.push_back(static_cast<int>(run.Text.size()));
    run.FirstRows.push_back(row);
    bool broken = false;
    row = AppendLine(store, row, run.Text, broken);
    run.Text += '\n';
  }
  run.FirstRows.push_back(row);
  return true;
}

TInPlaceRun InPlaceLines(const TVornEditScreenStrings& store, int firstRow, int firstLine, int endRow) {
  // Shorter runs cost more in calls than copying them would.
  constexpr std::size_t kMinInPlaceBytes = 4096;
  // Offsets into the run stay well inside an int.
  constexpr std::size_t kMaxInPlaceBytes = std::size_t{1} << 30;
  TInPlaceRun run;
  run.FirstRow = firstRow;
  run.FirstLine = firstLine;
  int rows = 0;
  std::string_view bytes = store.AdoptedRun(firstRow, endRow - firstRow, "\r\n", kMaxInPlaceBytes, rows);
  // The run ends where a line does: a line cut by it is left to the next run.
  while (rows > 0 && store.RowEnd(firstRow + rows - 1) == reWrapped) {
    --rows;
    bytes.remove_suffix(store.Row(firstRow + rows).size());
  }
  if (bytes.size() < kMinInPlaceBytes) return run;
  run.Text = bytes;
  run.Rows = rows;
  return run;
}

bool JoinedScanSafe(const TBregexpObj& pattern, int lineBreakCount) {
  if (lineBreakCount > 0) return false;
  if (pattern.PlainText()) return true;
  return RegexPrefilterSafe(pattern.Pattern());
}

bool LastMatchBefore(TBregexpObj& pattern, std::string_view text, int limit, int& pos, int& len, TMatchStarts* known) {
  if (limit <= 0 || text.empty()) return false;
  if (!pattern.Compiled() && !pattern.Compile()) return false;
  if (pattern.SimpleSearch()) return LastPlainMatch(pattern, text, limit, pos, len);
  const int size = static_cast<int>(text.size());
  limit = std::min(limit, size + 1);
  TMatchStarts local;
  TMatchStarts& starts = known ? *known : local;
  if (KnownStartBefore(starts, limit, pos, len)) return true;
  int window = 256, stop = limit;
  // Walking up a line: the stretch known ends with no start before limit, so the search goes on
  // below it, in a window wide enough to hold many matches at once.
  if (starts.Stop >= 0 && limit <= starts.Stop && limit > starts.From) {
    stop = starts.From;
    window = 4096;
  }
  // Windows grow fourfold: a line without a match is scanned a few times, never once per match.
  for (;; window *= 4) {
    if (stop <= 0) return false;
    int from = std::max(0, stop - window);
    while (from > 0 && !StartsChar(text.data(), text.data() + from)) --from;
    MatchStartsInWindow(pattern, text, from, stop, starts);
    if (!starts.Starts.empty()) {
      pos = starts.Starts.back().first;
      len = starts.Starts.back().second;
      // The stretch known reaches up to the first limit: none starts between stop and it.
      if (stop < limit && starts.Stop == stop) starts.Stop = limit;
      return true;
    }
    if (from == 0) return false;
    stop = from;
    if (window > size) window = size;
  }
}

int CountLineFeeds(std::string_view text, int from, int n) {
  const auto begin = text.begin() + from;
  return static_cast<int>(std::count(begin, begin + n, '\n'));
}

std::string LfToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  // Whole stretches between line feeds at a time: replace all passes a hundred megabytes here.
  std::size_t from = 0;
  while (from < text.size()) {
    const void* hit = std::memchr(text.data() + from, '\n', text.size() - from);
    const std::size_t lf = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
    out.append(text, from, lf - from);
    if (lf == text.size()) break;
    if (lf == 0 || text[lf - 1] != '\r') out += '\r';
    out += '\n';
    from = lf + 1;
  }
  return out;
}

}  // namespace vorn
