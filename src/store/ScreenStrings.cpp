// TVornEditScreenStrings: the changes its views hear, row/line arithmetic, ReplaceRows, loading
// and the row-level edits.
#include "store/ScreenStrings.h"

#include <algorithm>
#include <cstring>

#include "encoding/LineSplit.h"
#include "store/LoadedRows.h"
#include "store/EditLineMark.h"
#include "store/Undo.h"

namespace vorn {

namespace {

// Rows are split at CR LF, lone CR and lone LF alike, so a text ending in any of them ends its
// last line with a break. Taking only CR LF (or LF) as a break left a lone final CR as an
// empty row without a break after the text's last line, whose break a later undo then lost.
bool EndsWithBreak(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

// Splitting text into rows ends it at a NUL byte, so a NUL inside an edit's text would lose
// what follows it, and an undo would put back less than it took.
int SpacedNuls(std::string_view& text, std::string& copy) {
  if (text.find('\0') == std::string_view::npos) return 0;
  copy.assign(text);
  int replaced = 0;
  for (char& c : copy)
    if (c == '\0') {
      c = ' ';
      ++replaced;
    }
  text = copy;
  return replaced;
}

// Views may be attached or detached by a view's own handler; they are called from a copy that
// does not allocate for the few views a document has.
template <class F>
void ForEachViewOf(const std::vector<TVornEditView*>& views, F&& f) {
  constexpr std::size_t kInline = 8;
  TVornEditView* inlineCopy[kInline];
  std::vector<TVornEditView*> heapCopy;
  TVornEditView* const* copy = inlineCopy;
  const std::size_t n = views.size();
  if (n <= kInline) {
    std::copy(views.begin(), views.end(), inlineCopy);
  } else {
    heapCopy = views;
    copy = heapCopy.data();
  }
  for (std::size_t i = 0; i < n; ++i)
    if (std::find(views.begin(), views.end(), copy[i]) != views.end()) f(*copy[i]);
}

}  // namespace

std::string SplicedRow(std::string_view row, std::size_t cut, std::size_t removed, std::size_t pad,
                       std::string_view insert, std::string_view end) {
  cut = std::min(cut, row.size());
  removed = std::min(removed, row.size() - cut);
  std::string out;
  out.reserve(row.size() - removed + pad + insert.size() + end.size());
  out.append(row.substr(0, cut)).append(pad, ' ').append(insert).append(row.substr(cut + removed)).append(end);
  return out;
}

TVornEditScreenStrings::TVornEditScreenStrings()
    : wrapper_(std::make_unique<TRowWrapper>()), brackets_(std::make_unique<TBracketStateUpdater>()) {}

TVornEditScreenStrings::~TVornEditScreenStrings() = default;

void TVornEditScreenStrings::TMarkHost::RepaintMargins() { store_.Post(TStoreChange::OfMarks()); }

void TVornEditScreenStrings::AttachView(TVornEditView& view) {
  if (std::find(views_.begin(), views_.end(), &view) == views_.end()) views_.push_back(&view);
}

void TVornEditScreenStrings::DetachView(TVornEditView& view) {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

int TVornEditScreenStrings::TopRowOfViews() const {
  if (hasPending_ && (pending_.Kind == scLoad || pending_.Kind == scClear)) return 0;
  int top = 0;
  for (TVornEditView* v : views_) top = std::max(top, v->TopRow());
  return top;
}

int TVornEditScreenStrings::ScreenRowsOfViews() const {
  int rows = 1;
  for (TVornEditView* v : views_) rows = std::max(rows, v->Geometry().ScreenRows());
  return rows;
}

void TVornEditScreenStrings::NoteBracketStateChanged(int row) {
  bracketFirst_ = bracketFirst_ < 0 ? row : std::min(bracketFirst_, row);
  bracketLast_ = std::max(bracketLast_, row);
}

void TVornEditScreenStrings::Post(const TStoreChange& change) {
  pending_ = hasPending_ ? Merged(pending_, change) : change;
  hasPending_ = true;
  if (UpdateCount() == 0) Deliver();
}

void TVornEditScreenStrings::Deliver() {
  if (!hasPending_) {
    bracketFirst_ = bracketLast_ = -1;
    return;
  }
  TStoreChange change = pending_;
  if (bracketFirst_ >= 0) {
    change.BracketFirst = change.BracketFirst < 0 ? bracketFirst_ : std::min(change.BracketFirst, bracketFirst_);
    change.BracketLast = std::max(change.BracketLast, bracketLast_);
  }
  hasPending_ = false;
  bracketFirst_ = bracketLast_ = -1;
  ForEachViewOf(views_, [&](TVornEditView& v) { v.StoreChanged(change); });
}

void TVornEditScreenStrings::PostStep(const TStoreChange& change) {
  TStoreChange step = change;
  step.Kind = stepKind_;
  step.Origin = editOrigin_;
  Post(step);
}

void TVornEditScreenStrings::ClearRowModifiedMarks() {
  ClearAllRowModified();
  Post(TStoreChange::OfMarks());
}

namespace {
// The rows cut at once when a stepwise wrap starts: more than any screen shows.
constexpr int kFirstStepRows = 4096;
}  // namespace

void TVornEditScreenStrings::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  if (!on || Count() <= stepwiseRows_) {
    Recut(on, false);
    return;
  }
  const int before = Count();
  BeginUpdate();
  ForgetUndoSteps();
  rewrapFrom_ = 0;
  try {
    CutPendingLines(std::min(kFirstStepRows, stepwiseRows_));
  } catch (...) {
    EndUpdate();
    throw;
  }
  RecomputeBracketStates();
  Post(TStoreChange::OfWholeStore(scRewrap, before, Count(), 0));
  EndUpdate();
}

// Rows rest..: the lines not cut yet. A step ends at a line's end, so that what it cuts is
// whole lines.
TStoreChange TVornEditScreenStrings::CutPendingLines(int rows) {
  const int first = rewrapFrom_;
  const int count = Count();
  if (first < 0 || first >= count) {
    rewrapFrom_ = -1;
    return TStoreChange::OfRows(scRewrapRows, std::max(0, first), 0, 0, 0, 0);
  }
  const int last = LastRowOfLine(std::min(count, first + std::max(1, rows)) - 1);
  const int n = last - first + 1;
  const int lineIndex = RowToLine(first);
  const int m = wrapper_->RewrapLines(*this, first, n);
  rewrapFrom_ = first + m >= Count() ? -1 : first + m;
  return TStoreChange::OfRows(scRewrapRows, first, n, m, lineIndex, 0);
}

// The cut rows' words stayed at their row positions: their bracket states mean nothing now.
void TVornEditScreenStrings::RenewBracketStates(int first, int n) {
  if (n <= 0) return;
  const bool none = brackets_->Empty();
  ForEachWord(first, n, [none](TRowWord& w) { w.SetBracketState(none ? -1 : -2); });
  if (!none && first <= TopRowOfViews() + 2 * ScreenRowsOfViews()) UpdateBracketStates(first, true);
}

bool TVornEditScreenStrings::RewrapStep(int rows) {
  if (rewrapFrom_ < 0) return false;
  if (UpdateCount() > 0) return true;
  BeginUpdate();
  // Editors finish the wrap before they edit; an edit that came another way left steps that
  // address rows this cut is about to move, and a wrong undo would damage the text.
  if (undo_.CanUndo() || undo_.CanRedo()) ForgetUndoSteps();
  try {
    // Turning wrap on and loading recompute every state after their first cut; a later step
    // renews only the rows it cut.
    const TStoreChange cut = CutPendingLines(rows);
    RenewBracketStates(cut.FirstRow, cut.RowsInserted);
    Post(cut);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return rewrapFrom_ >= 0;
}

void TVornEditScreenStrings::CompleteRewrap() {
  while (RewrapPending() && UpdateCount() == 0) RewrapStep(1 << 20);
}

// The steps go, but not the truth of whether the text is the saved one: an empty history
// would otherwise read as "saved" and a close would drop the unsaved edits without a word.
void TVornEditScreenStrings::ForgetUndoSteps() {
  const bool saved = undo_.IsAtSavedState();
  undo_.ClearAll();
  if (saved) undo_.MarkSaved();
  else undo_.ClearSavedMarks();
}

// A loaded text with word wrap on: a long one is cut in steps from its start.
void TVornEditScreenStrings::WrapLoadedRows() {
  rewrapFrom_ = -1;
  if (!wordWrap_) return;
  if (Count() <= stepwiseRows_) {
    RewrapAll();
    return;
  }
  rewrapFrom_ = 0;
  CutPendingLines(std::min(kFirstStepRows, stepwiseRows_));
}

void TVornEditScreenStrings::RewrapWhole() {
  if (wordWrap_) Recut(true, true);
}

void TVornEditScreenStrings::Recut(bool wrap, bool rewrapping) {
  const int before = Count();
  BeginUpdate();
  ForgetUndoSteps();
  rewrapFrom_ = -1;
  rewrapping_ = rewrapping;
  try {
    if (wrap)
      RewrapAll();
    else
      UnwrapAll();
  } catch (...) {
    rewrapping_ = false;
    EndUpdate();
    throw;
  }
  rewrapping_ = false;
  RecomputeBracketStates();
  Post(TStoreChange::OfWholeStore(scRewrap, before, Count(), 0));
  EndUpdate();
}

int TVornEditScreenStrings::FirstRowOfLine(int r) const {
  while (r > 0 && r - 1 < Count() && RowEnd(r - 1) == reWrapped) --r;
  return r < 0 ? 0 : r;
}

int TVornEditScreenStrings::LastRowOfLine(int r) const {
  if (r < 0) return r;
  while (r < Count() - 1 && RowEnd(r) == reWrapped) ++r;
  return r;
}

std::string TVornEditScreenStrings::GetRowsText(int first, int n, TRowEnd* lastEnd, int* rowCount) const {
  int count = Count();
  if (first < 0 || first > count - 1 || n == 0) {
    if (lastEnd) *lastEnd = reNone;
    if (rowCount) *rowCount = 0;
    return {};
  }
  if (n < 0) n = LastRowOfLine(first) - first + 1;
  n = std::min(n, count - first);
  std::size_t size = 0;
  ForEachRow(first, n, [&](std::string_view row, TRowWord word) {
    size += row.size() + (word.End() == reLineEnd ? 2 : 0);
  });
  // Reserved, not filled with zeros: a long row's pages are then written once, not twice.
  std::string text;
  text.reserve(size);
  ForEachRow(first, n, [&](std::string_view row, TRowWord word) {
    text.append(row);
    if (word.End() == reLineEnd) text.append("\r\n", 2);
  });
  if (lastEnd) *lastEnd = RowEnd(first + n - 1);
  if (rowCount) *rowCount = n;
  return text;
}

int TVornEditScreenStrings::CountLinesBefore(int row) const {
  row = std::clamp(row, 0, Count());
  if (!wordWrap_) return row;
  return CountLineEnds(0, row);
}

int TVornEditScreenStrings::LineToRow(int line) const {
  int count = Count();
  if (!wordWrap_ || line <= 0) return std::clamp(line, 0, count);
  // Line i starts after the i-th row that ends a line (the last row always ends one).
  int r = FindNthLineEnd(line);
  return r < 0 || r >= count - 1 ? count : r + 1;
}

int TVornEditScreenStrings::LineCount() const {
  int count = Count();
  if (!wordWrap_ || count == 0) return count;
  return CountLineEnds(0, count) + (RowEnd(count - 1) == reWrapped ? 1 : 0);
}

TRowEnd TVornEditScreenStrings::EndKindFor(int first, int last, int& lastL, std::string_view text) const {
  int count = Count();
  if (last < lastL && lastL <= count - 1) return RowEnd(lastL);
  if (lastL < count - 1) {
    if (text == "\r\n") return reLineEnd;
    int r = std::max(first, lastL);
    if (RowEnd(r) == reWrapped) {
      lastL = LastRowOfLine(r + 1);
      return RowEnd(lastL);
    }
    return reLineEnd;
  }
  return EndsWithBreak(text) ? reLineEnd : reTextEnd;
}

std::string_view TVornEditScreenStrings::NewText(int first, int a, int last, int lastL, std::string_view text,
                                                std::string& joined) const {
  // Typing into one long row replaces just that row: its text is the caller's, uncopied.
  if (a == first && lastL == last) return text;
  joined = BuildNewText(first, a, last, lastL, text);
  return joined;
}

std::string TVornEditScreenStrings::BuildNewText(int first, int a, int last, int lastL, std::string_view text) const {
  std::string before = a > first ? GetRowsText(first, a - first) : std::string();
  std::string after = lastL > last ? GetRowsText(last + 1, lastL - last) : std::string();
  std::string result;
  result.reserve(before.size() + text.size() + after.size());
  result.append(before).append(text).append(after);
  return result;
}

int TVornEditScreenStrings::LastCaretRow() const {
  const int count = Count();
  return (count > 0 && RowEnd(count - 1) == reTextEnd) ? count - 1 : count;
}

int TVornEditScreenStrings::ReplaceRows(int a, int n, std::string_view text, TRowCol origin) {
  int count = Count();
  if (a < 0 || a + n - 1 > count - 1 || (n == 0 && text.empty())) return 0;
  std::string spaced;
  const int nuls = SpacedNuls(text, spaced);
  editOrigin_ = origin;
  std::string joined;
  if (n == 0 && a == count && count > 0 && RowEnd(count - 1) == reTextEnd) {
    // Appending after a last row without line break continues that row; adding a row after
    // it would leave reTextEnd above the end and drop the text's join from the rows.
    joined = Strings(count - 1);
    joined.append(text);
    text = joined;
    a = count - 1;
    n = 1;
  }
  const int lineIndex = RowToLine(a);
  int lineDelta = 0;
  const int last = a + n - 1;
  const int first = wrapper_->RewrapStartRow(*this, a, last, text);
  int lastL = LastRowOfLine(last);
  int oldRows = 0;
  int newRows = 0;
  BeginUpdate();
  if (a == first && lastL == last && text.empty() && n > 0) {
    TUndoData& rec = *undo_.NewRecord();
    rec.FirstRow = a;
    rec.OldText = GetRowsText(a, n, &rec.OldEnd);
    lineDelta -= CountLineEnds(a, n);
    DeleteRows(a, n);
    UpdateBracketStates(a, true);
    oldRows = n;
  } else {
    const TRowEnd endKind = EndKindFor(first, last, lastL, text);
    oldRows = first <= count - 1 ? std::max(0, lastL - first + 1) : 0;
    TUndoData& rec = *undo_.NewRecord();
    rec.FirstRow = first;
    rec.OldText = GetRowsText(first, oldRows, &rec.OldEnd, &oldRows);
    std::string joinedRows;
    const std::string_view newText = NewText(first, a, last, lastL, text, joinedRows);
    TVornEditStringList rows;
    TextToRows(newText, rows);
    if (!(EndsWithBreak(newText) && endKind == reTextEnd)) rows.SetRowEnd(rows.Count() - 1, endKind);
    newRows = rows.Count();
    rec.NewRowCount = newRows;
    lineDelta += rows.CountLineEnds(0, newRows) - CountLineEnds(first, oldRows);
    SpliceRows(first, oldRows, std::move(rows));
    UpdateBracketStates(first, true);
  }
  MoveLineMarks(lineIndex, lineDelta);
  Post(TStoreChange::OfRows(scEdit, first, oldRows, newRows, lineIndex, lineDelta, origin));
  EndUpdate();
  return nuls;
}

void TVornEditScreenStrings::SpliceRows(int first, int oldCount, TVornEditStringList&& rows) {
  const int m = rows.Count();
  RemoveRows(first, oldCount);
  TakeRowsFrom(first, rows);
  ForEachWord(first, m, [](TRowWord& w) { w.SetModified(true); });
}

void TVornEditScreenStrings::DeleteRows(int first, int n) {
  if (first < 0 || first > Count() - 1 || n <= 0) return;
  RemoveRows(first, std::min(n, Count() - first));
}

void TVornEditScreenStrings::InsertRows(int pos, const TVornEditStringList& rows) {
  int m = rows.Count();
  CopyRowsFrom(pos, rows, 0, m);
  ForEachWord(pos, m, [](TRowWord& w) { w.SetModified(true); });
}

std::optional<TRowCol> TVornEditScreenStrings::UndoEdit(TRowCol caret) {
  editOrigin_ = restoredCaret_ = caret;
  stepKind_ = scUndo;
  if (!undo_.Undo()) return std::nullopt;
  return restoredCaret_;
}

std::optional<TRowCol> TVornEditScreenStrings::RedoEdit(TRowCol caret) {
  editOrigin_ = restoredCaret_ = caret;
  stepKind_ = scRedo;
  if (!undo_.Redo()) return std::nullopt;
  return restoredCaret_;
}

void TVornEditScreenStrings::Clear() {
  const int before = Count();
  const int lines = LineCount();
  BeginUpdate();
  undo_.ClearAll();
  rewrapFrom_ = -1;
  TVornEditStringList::Clear();
  Post(TStoreChange::OfWholeStore(scClear, before, 0, -lines));
  EndUpdate();
}

void TVornEditScreenStrings::AppendLoadedRows(const char* begin, const char* end, bool stopAtNul) {
  const std::size_t size = static_cast<std::size_t>(end - begin);
  for (TPackedRows& block : ScanLoadedRows(begin, end, stopAtNul, TRowIndex::kPackedBlockRows, LoadScanParts(size)))
    AppendPackedRows(std::move(block));
}

void TVornEditScreenStrings::LoadText(TByteBuffer&& buffer) {
  BeginUpdate();
  Clear();
  // Rows borrow from the adopted buffer; a small buffer's bytes move with it, so the pointers
  // are taken only after adoption.
  const TByteBuffer& text = AdoptBuffer(std::move(buffer));
  AppendLoadedRows(text.Data(), text.Data() + text.Size(), true);
  WrapLoadedRows();
  RecomputeBracketStates();
  Post(TStoreChange::OfWholeStore(scLoad, 0, Count(), LineCount()));
  EndUpdate();
}

void TVornEditScreenStrings::LoadFileImage(TByteBuffer&& bytes) {
  std::size_t size = bytes.Size();
  if (const void* eof = std::memchr(bytes.Data(), 0x1A, size)) size = static_cast<std::size_t>(static_cast<const char*>(eof) - bytes.Data());
  std::replace(bytes.Data(), bytes.Data() + size, '\0', ' ');
  BeginUpdate();
  Clear();
  const TByteBuffer& kept = AdoptBuffer(std::move(bytes));
  const char* begin = kept.Data();
  const char* end = begin + size;
  AppendLoadedRows(begin, end, false);
  if (end > begin && end[-1] != '\r' && end[-1] != '\n') SetRowEnd(Count() - 1, reTextEnd);
  WrapLoadedRows();
  RecomputeBracketStates();
  Post(TStoreChange::OfWholeStore(scLoad, 0, Count(), LineCount()));
  EndUpdate();
}

void TVornEditScreenStrings::SetUpdateState(bool updating) {
  TVornEditStringList::SetUpdateState(updating);
  if (!updating) Deliver();
}

}  // namespace vorn
