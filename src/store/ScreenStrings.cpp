// TVornEditScreenStrings: views, row/line arithmetic, ReplaceRows and the row-level edits.
#include "store/ScreenStrings.h"

#include <algorithm>
#include <cstring>

#include "encoding/LineSplit.h"
#include "store/EditLineMark.h"
#include "store/Undo.h"

namespace vorn {

namespace {

// Rows are split at CR LF, lone CR and lone LF alike, so a text ending in any of them ends its
// last line with a break. Taking only CR LF (or LF) as a break left a lone final CR as an
// empty row without a break after the text's last line, whose break a later undo then lost.
bool EndsWithBreak(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

class TScreenStringsMarkHost : public TLineMarkHost {
public:
  explicit TScreenStringsMarkHost(TVornEditScreenStrings& store) : store_(store) {}
  int LineCount() const override { return store_.LineCount(); }
  void RepaintMargins() override {
    for (TVornEditView* v : store_.Views()) v->RepaintLeftMargin();
  }

private:
  TVornEditScreenStrings& store_;
};

}  // namespace

TVornEditScreenStrings::TVornEditScreenStrings()
    : undo_(std::make_unique<TVornEditUndoObj>(*this)),
      lineMarks_(std::make_unique<TVornEditLineMark>(std::make_unique<TScreenStringsMarkHost>(*this))),
      wrapper_(std::make_unique<TRowWrapper>()),
      brackets_(std::make_unique<TBracketStateUpdater>()) {
  SetNotifyViews(true);
}

TVornEditScreenStrings::~TVornEditScreenStrings() = default;

// The hooks the constructor gave the store; a test that swapped one in must not ask for it.
TVornEditUndoObj& TVornEditScreenStrings::UndoObj() { return dynamic_cast<TVornEditUndoObj&>(*undo_); }
TVornEditLineMark& TVornEditScreenStrings::LineMarkTable() { return dynamic_cast<TVornEditLineMark&>(*lineMarks_); }

void TVornEditScreenStrings::AttachView(TVornEditView& view) {
  if (std::find(views_.begin(), views_.end(), &view) == views_.end()) views_.push_back(&view);
}

void TVornEditScreenStrings::DetachView(TVornEditView& view) {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

int TVornEditScreenStrings::TopRowOfViews() const {
  int top = 0;
  for (TVornEditView* v : views_) top = std::max(top, v->State().TopRow);
  return top;
}

int TVornEditScreenStrings::ScreenRowsOfViews() const {
  int rows = 1;
  for (TVornEditView* v : views_) rows = std::max(rows, v->Geometry().ScreenRows());
  return rows;
}

void TVornEditScreenStrings::SetNotifyViews(bool on) {
  if (on)
    SetOnChange([this] { NotifyViewsChanged(); });
  else
    SetOnChange(nullptr);
}

void TVornEditScreenStrings::NotifyViewsChanged() {
  // A view's handler may detach it; walk a copy.
  std::vector<TVornEditView*> views = views_;
  for (TVornEditView* v : views) v->StoreChanged();
}

void TVornEditScreenStrings::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  undo_->ClearAll();
  if (on)
    RewrapAll();
  else
    UnwrapAll();
  RecomputeBracketStates();
  for (TVornEditView* v : views_) {
    v->Invalidate();
    v->AfterRewrap();
  }
  ClampViews();
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

void TVornEditScreenStrings::ReplaceRows(int a, int n, std::string_view text, TRowCol origin) {
  int count = Count();
  if (a < 0 || a + n - 1 > count - 1 || (n == 0 && text.empty())) return;
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
  int lineIndex = RowToLine(a);
  int lineDelta = 0;
  int last = a + n - 1;
  int first = wrapper_->RewrapStartRow(*this, a, last, text);
  int lastL = LastRowOfLine(last);
  int oldRows = 0;
  int newRows = 0;
  int repaint = 0;
  BeginUpdate();
  if (a == first && lastL == last && text.empty() && n > 0) {
    if (TUndoData* rec = undo_->NewRecord()) {
      rec->FirstRow = a;
      rec->OldText = GetRowsText(a, n, &rec->OldEnd);
    }
    lineDelta -= CountLineEnds(a, n);
    DeleteRows(a, n);
    repaint = UpdateBracketStates(a, true);
    oldRows = n;
  } else {
    TRowEnd endKind = EndKindFor(first, last, lastL, text);
    oldRows = first <= count - 1 ? std::max(0, lastL - first + 1) : 0;
    TUndoData* rec = undo_->NewRecord();
    if (rec) {
      rec->FirstRow = first;
      rec->OldText = GetRowsText(first, oldRows, &rec->OldEnd, &oldRows);
    }
    std::string joinedRows;
    const std::string_view newText = NewText(first, a, last, lastL, text, joinedRows);
    TVornEditStringList rows;
    TextToRows(newText, rows);
    if (!(EndsWithBreak(newText) && endKind == reTextEnd)) rows.SetRowEnd(rows.Count() - 1, endKind);
    newRows = rows.Count();
    if (rec) rec->NewRowCount = newRows;
    lineDelta -= CountLineEnds(first, oldRows);
    lineDelta += rows.Count() - [&] {
      int wrapped = 0;
      rows.ForEachRow(0, rows.Count(), [&](std::string_view, TRowWord w) { wrapped += w.End() == reWrapped; });
      return wrapped;
    }();
    SpliceRows(first, oldRows, std::move(rows));
    repaint = UpdateBracketStates(first, true);
  }
  lastChange_ = TLastChange{first, oldRows, newRows, repaint, true};
  EndUpdate();
  AdjustForLines(lineIndex, lineDelta);
}

void TVornEditScreenStrings::AdjustForLines(int lineIndex, int lineDelta) {
  lineMarks_->AdjustForEdit(lineIndex, lineDelta);
  for (TVornEditView* v : views_) v->AdjustSearchRange(lineIndex, lineDelta);
}

void TVornEditScreenStrings::SpliceRows(int first, int oldCount, const TVornEditStringList& rows) {
  int m = rows.Count();
  RemoveRows(first, oldCount);
  CopyRowsFrom(first, rows, 0, m);
  ForEachWord(first, m, [](TRowWord& w) { w.SetModified(true); });
  if (m != oldCount)
    for (TVornEditView* v : views_) v->RowsInsertedOrRemoved(first);
}

void TVornEditScreenStrings::SpliceRows(int first, int oldCount, TVornEditStringList&& rows) {
  int m = rows.Count();
  RemoveRows(first, oldCount);
  TakeRowsFrom(first, rows);
  ForEachWord(first, m, [](TRowWord& w) { w.SetModified(true); });
  if (m != oldCount)
    for (TVornEditView* v : views_) v->RowsInsertedOrRemoved(first);
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
  if (!undo_->Undo()) return std::nullopt;
  for (TVornEditView* v : views_) v->AfterUndoRedo();
  return restoredCaret_;
}

std::optional<TRowCol> TVornEditScreenStrings::RedoEdit(TRowCol caret) {
  editOrigin_ = restoredCaret_ = caret;
  if (!undo_->Redo()) return std::nullopt;
  for (TVornEditView* v : views_) v->AfterUndoRedo();
  return restoredCaret_;
}

void TVornEditScreenStrings::Clear() {
  for (TVornEditView* v : views_) v->ClearSelection();
  undo_->ClearAll();
  lastChange_ = TLastChange{0, Count(), 0, 0, true};
  TVornEditStringList::Clear();
  lastChange_ = TLastChange{};
  for (TVornEditView* v : views_) {
    v->State() = TVornEditViewState{};
    v->ResetAfterClear();
  }
}

void TVornEditScreenStrings::LoadText(TByteBuffer&& buffer) {
  const TByteBuffer& text = AdoptBuffer(std::move(buffer));
  TRowSlots block;
  block.reserve(TRowIndex::kBlockRows);
  ForEachLine(text.Data(), text.Data() + text.Size(), true, [&](const char* b, const char* e) {
    TRowSlot slot;
    slot.data = b == e ? nullptr : b;
    slot.lenAndFlag = TRowSlot::CheckedLength(static_cast<std::size_t>(e - b));
    block.push_back(slot);
    if (block.size() == static_cast<std::size_t>(TRowIndex::kBlockRows)) {
      AppendBorrowedBlock(std::move(block));
      block = {};
      block.reserve(TRowIndex::kBlockRows);
    }
  });
  AppendBorrowedBlock(std::move(block));
  if (wordWrap_) RewrapAll();
  RecomputeBracketStates();
}

void TVornEditScreenStrings::SetUpdateState(bool updating) {
  TVornEditStringList::SetUpdateState(updating);
  if (!updating) {
    lastChange_ = TLastChange{};
    ClampViews();
  }
}

void TVornEditScreenStrings::ClampViews() {
  int count = Count();
  int limit = (count > 0 && RowEnd(count - 1) == reTextEnd) ? count - 1 : count;
  for (TVornEditView* v : views_) {
    TVornEditViewState& state = v->State();
    if (state.CaretRow > count - 1) state.CaretRow = limit;
    if (state.TopRow > count - 1) state.TopRow = limit;
  }
}

}  // namespace vorn
