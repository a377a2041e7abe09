// The control's search: find down and up with confirmed replacement, replace all, the condition's
// line range as lines come and go.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "editcore/LineSearchText.h"
#include "editcore/ReplacedPieceWriter.h"

namespace vorn {
namespace {

constexpr std::size_t kRunBudget = 1 << 20;
// Replace all searches the text in pieces (but a multi-line pattern sees it whole), and each
// store write of them is an undo record of the same group: fewer records than the smallest undo
// limit keep the group whole.
constexpr int kMaxReplacePieces = 32;
constexpr int kMaxReplaceRecords = TVornEditUndoObj::MinLimit - 4;

struct TLineRange {
  int First = 0;
  int End = 0;
};

TLineRange RangeOf(const TVornEditKeyword& c, int lineCount) {
  TLineRange r;
  r.First = c.RangeStart() < 0 ? 0 : std::min(c.RangeStart(), lineCount);
  r.End = c.RangeEnd() < 0 ? lineCount : std::min(c.RangeEnd(), lineCount);
  return r;
}

// The logical lines with a row: the empty row after a final break counts as one.
int SearchableLines(const TVornEditScreenStrings& store) {
  return store.RowToLine(store.LastCaretRow()) + 1;
}

struct TMatch {
  int Line = 0;
  int Row = 0;
  int Pos = 0;
  int Len = 0;   // in the searched text
  int Span = 0;  // in the document: each crossed LF is a CR LF
};

// The first match of line (first row `row`) at or after from, ignoring matches that begin in the
// lines appended for a multi-line pattern.
bool MatchInLine(TBregexpObj& c, const TVornEditScreenStrings& store, int row, int k, int from, TMatch& m) {
  const TLineSearchText line(store, row, k);
  const std::string_view text = line.Text();
  int pos = from, len = 0;
  if (pos > static_cast<int>(text.size())) return false;
  if (!c.FindInBuffer(text.data(), text.data() + text.size(), len, pos)) return false;
  if (pos > line.OwnLength()) return false;
  m.Row = row;
  m.Pos = pos;
  m.Len = len;
  m.Span = len + CountLineFeeds(text, pos, len);
  return true;
}

int RowAfterLine(const TVornEditScreenStrings& store, int row) {
  const int count = store.Count();
  while (row < count && store.RowEnd(row) == reWrapped) ++row;
  return row + 1;
}

}  // namespace

// --- the start and the selected match ------------------------------------------------------------

TVornEditCore::TFindStart TVornEditCore::FindStartPosition() const {
  int row = state_.CaretRow, byte = 0;
  if (HasSelection()) {
    row = sel_.Bytes.StartRow;
    byte = sel_.Bytes.StartByte;
  } else if (row < RowCount()) {
    byte = ColToByte(row, state_.CaretCol);
  }
  TFindStart s;
  if (row >= RowCount()) {
    s.Line = store_->LineCount();
    return s;
  }
  // Through the row index, not a walk over the line's rows: a megabyte line wraps into
  // thousands of them, and find up asks this once per match.
  s.Line = store_->RowToLine(row);
  const int first = store_->LineToRow(s.Line);
  byte += static_cast<int>(store_->TextOffsetOfRow(row) - store_->TextOffsetOfRow(first));
  s.Offset = byte;
  return s;
}

void TVornEditCore::SelectMatch(int line, int pos, int length) {
  ClearSelection();
  const int row = store_->LineToRow(line);
  BeginCaretHide();
  // A match outside the window is shown centred.
  const TRowCol target = RowColOfOffset(row, pos);
  if (target.Row < state_.TopRow || target.Row >= state_.TopRow + VisibleRows()) SetTopRow(target.Row - VisibleRows() / 2);
  SetCaretPos(target.Row, target.Col);
  SetSelLength(length);
  EndCaretHide();
  emptyMatch_ = length == 0;
}

// --- find down --------------------------------------------------------------------------------------

namespace {

// The first match at or after offset from of the run's first line, in lines read in place. The
// scan of the whole run only finds where to look: a line it stops at is searched on its own.
bool SearchInPlace(TBregexpObj& c, const TVornEditScreenStrings& store, const TInPlaceRun& run, int from, TMatch& m) {
  const char* base = run.Text.data();
  const char* end = base + run.Text.size();
  const std::int64_t runOffset = store.TextOffsetOfRow(run.FirstRow);
  const int runEnd = run.FirstRow + run.Rows;
  for (int p = from; p < static_cast<int>(run.Text.size());) {
    int at = p, len = 0;
    if (!c.FindInBuffer(base, end, len, at)) return false;
    const int row = store.FirstRowOfLine(std::min(store.RowAtTextOffset(runOffset + at), runEnd - 1));
    if (MatchInLine(c, store, row, 0, row == run.FirstRow ? from : 0, m)) {
      m.Line = row == run.FirstRow ? run.FirstLine : store.RowToLine(row);
      return true;
    }
    const int next = RowAfterLine(store, row);
    if (next >= runEnd) return false;
    p = static_cast<int>(store.TextOffsetOfRow(next) - runOffset);
  }
  return false;
}

// The first match at or after (line, from) in lines before endLine. A pattern whose matches do
// not depend on where lines end is first looked for in runs of lines: a loaded text where it
// lies, other lines joined into a copy; only a line the run scan stops at is searched on its own.
bool SearchDownFrom(TBregexpObj& c, const TVornEditScreenStrings& store, int line, int from, int endLine, TMatch& m) {
  const int k = c.LineBreakCount();
  int row = store.LineToRow(line);
  if (!JoinedScanSafe(c, k)) {
    for (; line < endLine && row <= store.Count(); ++line, from = 0) {
      if (MatchInLine(c, store, row, k, from, m)) {
        m.Line = line;
        return true;
      }
      if (row >= store.Count()) break;
      row = RowAfterLine(store, row);
    }
    return false;
  }
  TLineRun run;
  const int endRow = std::min(store.Count(), store.LineToRow(std::min(endLine, store.LineCount())));
  while (line < endLine && row < store.Count()) {
    const TInPlaceRun inPlace = InPlaceLines(store, row, line, endRow);
    if (inPlace.Rows > 0) {
      if (SearchInPlace(c, store, inPlace, from, m)) return true;
      line += store.CountLineEnds(row, inPlace.Rows);
      row += inPlace.Rows;
      from = 0;
      continue;
    }
    CollectLineRun(store, row, line, endLine - line, kRunBudget, run, true);
    const int lines = static_cast<int>(run.LineStarts.size());
    int p = from;
    const char* base = run.Text.data();
    for (;;) {
      int at = p, len = 0;
      if (p >= static_cast<int>(run.Text.size()) || !c.FindInBuffer(base, base + run.Text.size(), len, at)) break;
      const int i = run.LineAt(at);
      const int lineFrom = i == 0 ? from : 0;
      if (MatchInLine(c, store, run.FirstRows[static_cast<std::size_t>(i)], k, lineFrom, m)) {
        m.Line = line + i;
        return true;
      }
      if (i + 1 >= lines) break;
      p = run.LineStarts[static_cast<std::size_t>(i + 1)];
    }
    line += lines;
    row = run.FirstRows.back();
    from = 0;
  }
  // The empty row after a final line break.
  if (line < endLine && row == store.Count() && MatchInLine(c, store, row, k, from, m)) {
    m.Line = line;
    return true;
  }
  return false;
}

// Find up on a long wrapped line joins its rows into one text at every call; repeated calls
// walking up the same line (one per match) take the joined text again while nothing changed, so
// stepping through a megabyte line's matches is not a megabyte copy per match. The match starts
// the last call found go with it while the pattern stays the same.
class TSearchLineCache {
public:
  TMatchStarts& Starts(const TBregexpObj& pattern) {
    if (&pattern != pattern_ || pattern.MatchCommand() != command_) {
      pattern_ = &pattern;
      command_ = pattern.MatchCommand();
      starts_.Forget();
    }
    return starts_;
  }
  const TLineSearchText& Text(const TVornEditCore& core, int row, int following) {
    const bool same = text_ && core_ == &core && !store_.owner_before(core.SharedStore()) &&
                      !core.SharedStore().owner_before(store_) && !store_.expired() && version_ == core.TextVersion() &&
                      row_ == row && following_ == following && rows_ == core.RowCount();
    if (!same) {
      text_ = std::make_unique<TLineSearchText>(core.Store(), row, following);
      core_ = &core;
      store_ = core.SharedStore();
      version_ = core.TextVersion();
      row_ = row;
      following_ = following;
      rows_ = core.RowCount();
      starts_.Forget();
    }
    return *text_;
  }

private:
  TMatchStarts starts_;
  const TBregexpObj* pattern_ = nullptr;
  std::string command_;
  std::unique_ptr<TLineSearchText> text_;
  const TVornEditCore* core_ = nullptr;
  std::weak_ptr<TVornEditScreenStrings> store_;
  int version_ = 0, row_ = 0, following_ = 0, rows_ = 0;
};

}  // namespace

int TVornEditCore::FindDown(const TConfirmReplace& confirm, const TReplaceProgressEvent& progress) {
  TVornEditKeyword& c = *findCondition_;
  if (c.Pattern().empty() || (!c.Compiled() && !c.Compile())) return 0;
  const bool repeat = c.RepeatReplace() && c.ReplaceMode();
  int result = 0;
  for (;;) {
    const TLineRange range = RangeOf(c, SearchableLines(*store_));
    TFindStart st = FindStartPosition();
    if (HasSelection() || emptyMatch_) {
      const TLineSearchText text(*store_, store_->LineToRow(st.Line), 0);
      if (st.Offset < text.OwnLength())
        st.Offset = std::min(text.OwnLength(),
                             st.Offset + (sjis::IsLeadByte(text.Text()[static_cast<std::size_t>(st.Offset)]) ? 2 : 1));
      else
        st = TFindStart{st.Line + 1, 0};
    }
    emptyMatch_ = false;
    if (st.Line < range.First) st = TFindStart{range.First, 0};
    TMatch m;
    if (!SearchDownFrom(c, *store_, st.Line, st.Offset, range.End, m)) {
      if (repeat && (result & frFound)) result |= frRangeEnd;
      return result;
    }
    SelectMatch(m.Line, m.Pos, m.Span);
    result |= frFound;
    if (!c.ReplaceMode()) return result;
    const int answer = confirm ? confirm() : caCancel;
    if (answer == caCancel) return result | frCancelled;
    if (answer == caYes || answer == caAll) {
      if (ReplaceMatch(m.Line, m.Pos, true) > 0) result |= frReplaced;
      if (answer == caAll) {
        ReplaceAll(1, progress);
        return result | frAllReplaced | frReplaced;
      }
    }
    if (!repeat) return result;
  }
}

// Replaces the selected match, which starts at byte pos of line, by the condition's substitution
// of it; down leaves the caret after the replacement, up at the match start. The count made.
int TVornEditCore::ReplaceMatch(int line, int pos, bool down) {
  TVornEditKeyword& c = *findCondition_;
  if (!MayEdit()) return 0;
  const int row = store_->LineToRow(line);
  const TLineSearchText searched(*store_, row, c.LineBreakCount());
  std::string text(searched.Text());
  const int tail = static_cast<int>(text.size()) - pos;
  int matchLen = 0, at = pos;
  if (!c.FindIn(text, at, matchLen) || at != pos) return 0;
  const int span = matchLen + CountLineFeeds(text, pos, matchLen);
  const int afterMatch = tail - matchLen;
  if (c.ReplaceIn(text, pos) <= 0) return 0;
  // The substitution leaves what follows the match as it was: only the match is rewritten.
  const std::string replacement = LfToCrLf(std::string_view(text).substr(0, text.size() - static_cast<std::size_t>(afterMatch)));
  ClearSelection();
  SetCaretRowOffset(row, pos);
  SetSelLength(span);
  const bool wasEmpty = emptyMatch_;
  InsertText(replacement);
  if (!down) SetCaretRowOffset(row, pos);
  emptyMatch_ = wasEmpty;
  return 1;
}

// --- find up ------------------------------------------------------------------------------------------

int TVornEditCore::FindUp(const TConfirmReplace& confirm) {
  TVornEditKeyword& c = *findCondition_;
  if (c.Pattern().empty() || (!c.Compiled() && !c.Compile())) return 0;
  const int k = c.LineBreakCount();
  const TLineRange range = RangeOf(c, SearchableLines(*store_));
  TFindStart st = FindStartPosition();
  int limit = st.Offset;
  if (st.Line >= range.End) {
    st.Line = range.End - 1;
    limit = -1;
  }
  int row = st.Line >= 0 ? store_->LineToRow(st.Line) : 0;
  for (int line = st.Line; line >= range.First; --line) {
    thread_local TSearchLineCache cache;
    const TLineSearchText& text = cache.Text(*this, row, k);
    const int lineLimit = limit < 0 ? text.OwnLength() + 1 : limit;
    int pos = 0, len = 0;
    if (LastMatchBefore(c, text.Text(), lineLimit, pos, len, &cache.Starts(c)) && pos <= text.OwnLength()) {
      SelectMatch(line, pos, len + CountLineFeeds(text.Text(), pos, len));
      int result = frFound;
      if (!c.ReplaceMode()) return result;
      const int answer = confirm ? confirm() : caCancel;
      if (answer == caCancel) return result | frCancelled;
      if (answer == caYes && ReplaceMatch(line, pos, false) > 0) result |= frReplaced;
      return result;
    }
    limit = -1;
    if (row > 0) row = store_->FirstRowOfLine(row - 1);
  }
  return 0;
}

// --- replace all -----------------------------------------------------------------------------------

int TVornEditCore::ReplaceAll(int base, const TReplaceProgressEvent& progress) {
  TVornEditKeyword& c = *findCondition_;
  if (c.Pattern().empty() || !MayEdit()) return base;
  const auto report = [&progress](int kind, int count, int position) {
    return progress ? progress(kind, count, position) : 1;
  };
  report(1, 0, 0);
  const int savedFirst = c.RangeStart();
  c.SetGlobalReplace(true);
  const TRowCol caret = HasSelection() ? TRowCol{sel_.Bytes.StartRow, ByteToCol(sel_.Bytes.StartRow, sel_.Bytes.StartByte)}
                                       : Caret();
  ClearSelection();
  SetCaretPos(caret.Row, caret.Col);
  const int topRow = state_.TopRow;
  const TLineRange range = RangeOf(c, SearchableLines(*store_));
  TFindStart st = FindStartPosition();
  // The caret may stand before the range: the range's first line is where replacing starts.
  if (st.Line < range.First) st = TFindStart{range.First, 0};
  report(2, 0, 0);
  int total = 0, failure = 0;
  bool cancelled = false;
  if (st.Line < range.End && (c.Compiled() || c.Compile())) {
    const int k = c.LineBreakCount();
    int row = store_->LineToRow(st.Line);
    const int endRow = range.End >= SearchableLines(*store_) ? RowCount() : store_->LineToRow(range.End);
    const std::int64_t bytes = store_->TextOffsetOfRow(endRow) - store_->TextOffsetOfRow(row);
    // A multi-line pattern may match across any line end: it sees the whole range at once.
    const std::size_t budget = k > 0 ? static_cast<std::size_t>(bytes) + 1
                                     : std::max<std::size_t>(kRunBudget, static_cast<std::size_t>(bytes / kMaxReplacePieces) + 1);
    const std::int64_t pieces = bytes / static_cast<std::int64_t>(budget) + 1;
    const auto mostWrites = static_cast<std::size_t>(std::max<std::int64_t>(1, kMaxReplaceRecords / pieces));
    // The whole text as one piece is written while it is searched, so that a stop has little
    // left to write.
    const TPieceWriteLimits limits =
        k > 0 ? TPieceWriteLimits::ForWholeText(static_cast<std::size_t>(bytes), mostWrites) : TPieceWriteLimits{mostWrites};
    std::int64_t done = 0;
    int from = st.Offset;
    int line = st.Line;
    store_->UndoObj().BeginGroup();
    store_->BeginUpdate();
    // The views (the panes, the journal) take each write as it is made, not all of them as one
    // change at the end: a stop then leaves them little to catch up on.
    const auto deliver = [this] {
      store_->EndUpdate();
      store_->BeginUpdate();
    };
    TLineRun run;
    while (line < range.End && row < RowCount() && !cancelled) {
      const bool collected = CollectLineRun(*store_, row, line, range.End - line, budget, run, false, [&] {
        if (report(0, base + total, static_cast<int>(std::min<std::int64_t>(done, INT32_MAX))) != 0) return true;
        cancelled = true;
        return false;
      });
      if (!collected) break;
      const int lines = static_cast<int>(run.LineStarts.size());
      const int rows = run.FirstRows.back() - row;
      // The last line keeps its own end: an LF was added after it only to separate lines.
      const bool lastBroken = store_->RowEnd(run.FirstRows.back() - 1) == reLineEnd;
      if (!lastBroken) run.Text.pop_back();
      const std::size_t searched = run.Text.size();
      const int rowsBefore = RowCount();
      TReplacedPieceWriter writer(*store_, run, searched, from, [this] { return Caret(); }, limits, deliver);
      const int r = c.ReplaceIn(
          run.Text, from,
          [&](int kind, int count, int position) {
            if (report(kind, base + total + count, static_cast<int>(done + position)) != 0) return 1;
            cancelled = true;
            return 0;
          },
          [&writer](const TSubstitution& made, std::string_view output) { writer.Add(made, output); });
      if (r > 0) writer.Finish(r, run.Text, lastBroken);
      total += r > 0 ? r : writer.WrittenCount();
      row += rows + (RowCount() - rowsBefore);
      if (r < 0) {
        failure = r;
        break;
      }
      const auto pieceBytes = static_cast<std::int64_t>(searched);
      done += pieceBytes;
      line += lines;
      from = 0;
      // Between pieces too, so that a text with few matches still hears the stop button.
      if (!cancelled && report(0, base + total, static_cast<int>(std::min<std::int64_t>(done, INT32_MAX))) == 0)
        cancelled = true;
    }
    store_->EndUpdate();
    store_->UndoObj().EndGroup();
    report(3, base + total, 0);
  }
  SetTopRow(topRow);
  SetCaretPos(std::min(caret.Row, LastCaretRow()), caret.Col);
  report(4, base + total, 0);
  c.SetGlobalReplace(false);
  c.SetRangeStart(savedFirst);
  if (total > 0) return base + total;
  return failure < 0 && base == 0 ? failure : base;
}

// --- the condition and its range ------------------------------------------------------------

void TVornEditCore::ClearFindItem() {
  findCondition_->SetPattern(std::string());
  findCondition_->SetRangeStart(-1);
  findCondition_->SetRangeEnd(-1);
  dirty_.All = true;
}

void TVornEditCore::SetFindCondition(const TBregexpObj& condition) {
  if (findCondition_->SameAs(condition)) return;
  findCondition_->Assign(condition);
  dirty_.All = true;
}

void TVornEditCore::KeepRangeWithLines(const TStoreChange& change) {
  if (change.LineDelta == 0) return;
  TVornEditKeyword& c = *findCondition_;
  const int l = change.LineIndex, d = change.LineDelta;
  const int last = store_->LineCount();
  bool moved = false;
  const auto keep = [&](int e, auto set) {
    if (e < 0 || e < l) return;
    const int next = std::min(d > 0 ? e + d : std::max(e + d, l), last);
    if (next == e) return;
    set(next);
    moved = true;
  };
  keep(c.RangeStart(), [&c](int v) { c.SetRangeStart(v); });
  keep(c.RangeEnd(), [&c](int v) { c.SetRangeEnd(v); });
  if (moved) dirty_.All = true;
}

}  // namespace vorn
