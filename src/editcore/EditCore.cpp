// TVornEditCore: construction, options and modes, row reading, and the store's notifications.
#include "editcore/EditCore.h"

#include <algorithm>
#include <cstdlib>

#include "base/sjis.h"
#include "editcore/RowColumns.h"
#include "layout/StoreWrap.h"
#include "layout/Wrap.h"

namespace vorn {

TVornEditCore::TVornEditCore(std::shared_ptr<TVornEditScreenStrings> store, const TVornEditGeometry& geometry)
    : TVornEditLinesOwner(geometry), store_(std::move(store)), findCondition_(std::make_unique<TVornEditKeyword>()) {
  findCondition_->SetColorIndex(31);
  // The searches look at the text as it is, not at an upper-cased copy as keyword colouring does.
  findCondition_->SetUpperTarget(false);
  findCondition_->SetOnChange([this](TNotifyPersistent*) { Invalidate(); });
  store_->AttachView(*this);
  RowWrapperOf(*store_).SetTabSpaceCount(caretOptions_.TabSpaceCount);
}

TVornEditCore::~TVornEditCore() { store_->DetachView(*this); }

void TVornEditCore::SetToneFindStr(bool on) {
  if (toneFindStr_ == on) return;
  toneFindStr_ = on;
  Invalidate();
}

void TVornEditCore::ShareTextWith(const TVornEditCore& other) {
  if (other.store_ == store_) return;
  std::shared_ptr<TVornEditScreenStrings> target = other.store_;
  store_->DetachView(*this);
  store_ = std::move(target);
  store_->AttachView(*this);
  state_ = TVornEditViewState{};
  leftCol_ = 0;
  sel_.State = TSelectionState::None;
  desiredValid_ = false;
  topLineValid_ = false;
  dirty_.All = true;
  SetCaretPos(0, 0);
}

void TVornEditCore::SetCaretOptions(const TVornEditCaretValues& values) {
  caretOptions_ = values;
  // Box mode keeps the caret free until it ends; the new setting is what it ends with.
  if (sel_.Box) {
    savedFreeCaret_ = values.FreeCaret;
    caretOptions_.FreeCaret = true;
  }
  caretOptions_.TabSpaceCount = std::max(1, caretOptions_.TabSpaceCount);
  RowWrapperOf(*store_).SetTabSpaceCount(caretOptions_.TabSpaceCount);
  dirty_.All = true;
  dirty_.Caret = true;
  SetCaretCol(state_.CaretCol);
  topLineValid_ = false;
}

void TVornEditCore::SetReadOnly(bool on) {
  if (on == readOnly_ && (on || !browseMode_)) return;
  readOnly_ = on;
  if (!on) browseMode_ = false;
  dirty_.All = dirty_.Caret = true;
}

void TVornEditCore::SetBrowseMode(bool on) {
  if (on == browseMode_) return;
  browseMode_ = on;
  if (on) readOnly_ = true;
  dirty_.All = dirty_.Caret = true;
}

void TVornEditCore::SetBrowseModeAsReadOnlyBehavior(bool on) {
  if (on == browseAsReadOnly_) return;
  browseAsReadOnly_ = on;
  dirty_.All = dirty_.Caret = true;
}

void TVornEditCore::SetOverwriteMode(bool on) {
  if (on == overwrite_) return;
  overwrite_ = on;
  dirty_.Caret = true;
}

void TVornEditCore::SetFocused(bool on) {
  if (on == focused_) return;
  focused_ = on;
  dirty_.Caret = true;
  if (on) ScrollCaretIntoView();
}

void TVornEditCore::SetMacroPlayback(bool playing, bool shift, bool fastRepeat) {
  macroPlaying_ = playing;
  macroShift_ = shift;
  fastRepeat_ = fastRepeat;
}

bool TVornEditCore::CaretVisible() const {
  if (hideCount_ > 0 || !focused_) return false;
  if (browseMode_ && !browseAsReadOnly_) return false;
  const int r = state_.CaretRow, c = state_.CaretCol;
  return r >= state_.TopRow && r <= state_.TopRow + VisibleRows() && c >= leftCol_ && c <= leftCol_ + VisibleCols();
}

int TVornEditCore::VisibleRows() const { return std::max(1, Geometry().VisibleRows()); }
int TVornEditCore::VisibleCols() const { return std::max(1, Geometry().VisibleCols()); }

int TVornEditCore::WrapByte() const { return store_->Wrapper().WrapByte(); }

int TVornEditCore::LastCaretRow() const {
  const int n = RowCount();
  return (n > 0 && store_->RowEnd(n - 1) == reTextEnd) ? n - 1 : n;
}

std::string TVornEditCore::GetRowText(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return store_->Strings(row);
}

TRowEnd TVornEditCore::RowKind(int row) const {
  if (row < 0 || row >= RowCount()) return reTextEnd;
  return store_->RowEnd(row);
}

std::string TVornEditCore::ColumnMapOf(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return ColumnMap(store_->Row(row), TabSpaceCount(), store_->WrapsRow(row) ? WrapByte() : 0);
}

std::string TVornEditCore::ExpandTabs(std::string_view s) const {
  if (s.find('\t') == std::string_view::npos) return std::string(s);
  const int t = TabSpaceCount();
  const int w = WordWrap() ? WrapByte() : 0;
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    // A pair is copied whole: a tab byte in trail position is part of a character.
    if (sjis::IsLeadByte(s[i]) && i + 1 < s.size()) {
      out.append(s.substr(i, 2));
      ++i;
      continue;
    }
    if (s[i] != '\t') {
      out += s[i];
      continue;
    }
    const int c = static_cast<int>(out.size());
    int width = t - c % t;
    if (w > 0) width = std::min(width, w - c % w);
    out.append(static_cast<std::size_t>(width), ' ');
  }
  return out;
}

// The map-based questions go through the row's columns: a caret move on a row of many
// megabytes then reads a few bytes instead of building and scanning the whole map.
int TVornEditCore::RowWidth(int row) const { return ColumnsOfRow(*this, row)->Width(); }

int TVornEditCore::ColToByte(int row, int col) const { return ColumnsOfRow(*this, row)->ColToByte(col); }

int TVornEditCore::ByteToCol(int row, int byte) const {
  // The map and the tab expansion agree on tab widths unless a wrapped row reaches the wrap
  // width, so the expansion itself answers for wrapped rows (which are short).
  if (!store_->WrapsRow(row)) return ColumnsOfRow(*this, row)->ByteToCol(byte);
  const std::string_view text = row >= 0 && row < RowCount() ? store_->Row(row) : std::string_view();
  const auto b = static_cast<std::size_t>(std::clamp(byte, 0, static_cast<int>(text.size())));
  return static_cast<int>(ExpandTabs(text.substr(0, b)).size()) + std::max(0, byte - static_cast<int>(text.size()));
}

TDirtyRegion TVornEditCore::TakeDirty() {
  TDirtyRegion taken = dirty_;
  dirty_ = TDirtyRegion{};
  return taken;
}

// --- the store's changes ---------------------------------------------------------------------

void TVornEditCore::StoreChanged(const TStoreChange& change) {
  if (change.Kind != scMarks) ++textVersion_;
  // The row after a final line break holds a caret; the row after a last row without one does not.
  state_.CaretRow = std::min(state_.CaretRow, LastCaretRow());
  state_.TopRow = std::min(state_.TopRow, LastCaretRow());
  switch (change.Kind) {
    case scMarks:
      // Marks, modified bits and difference kinds show in the margin beside every row.
      dirty_.All = true;
      return;
    case scLoad:
    case scClear:
      ResetToTextStart();
      break;
    case scRewrap:
      AfterRewrap();
      break;
    case scRewrapRows:
      AfterRewrapRows(change);
      break;
    case scEdit:
    case scUndo:
    case scRedo:
      MarkChangedRows(change);
      KeepRangeWithLines(change);
      // Rows above the top row may have changed their line ends even where their count stayed;
      // an undo may renumber lines anywhere.
      if (change.FirstRow < state_.TopRow || change.Kind != scEdit) topLineValid_ = false;
      break;
  }
  SnapAnchor();
  SettleAfterForeignEdit();
  if (HasSelection()) {
    UpdateSelectionRanges();
    sel_.PrevCols = sel_.Cols;
    dirty_.All = true;
  }
  if (change.TextChanged() && OnChange) OnChange();
}

// The spans the change names, and everything below it when rows moved: the rows there now show
// other text. Rows past the end are repainted too, where the end-of-text mark may have been.
void TVornEditCore::MarkChangedRows(const TStoreChange& change) {
  const int delta = change.RowDelta();
  if (std::abs(delta) > VisibleRows()) {
    dirty_.All = true;
    return;
  }
  const int end = change.FirstRow + change.RowsInserted;
  if (delta != 0)
    dirty_.AddRows(change.FirstRow, TDirtyRegion::kToEnd);
  else
    dirty_.AddRows(change.FirstRow, end > RowCount() - 1 ? end : end - 1);
  if (change.BracketFirst >= 0) dirty_.AddRows(change.BracketFirst, change.BracketLast);
}

// A loaded or cleared text is seen from its start.
void TVornEditCore::ResetToTextStart() {
  state_ = TVornEditViewState{};
  leftCol_ = 0;
  ClearSelection();
  desiredValid_ = false;
  topLineNo_ = topLineRow_ = 0;
  topLineValid_ = true;
  dirty_.All = dirty_.Caret = true;
}

// Every row was cut again: columns and rows mean other text now.
void TVornEditCore::AfterRewrap() {
  ClearSelection();
  state_.CaretCol = 0;
  desiredValid_ = false;
  topLineValid_ = false;
  DropSelection();
  dirty_.All = dirty_.Caret = true;
}

// One step of a stepwise wrap cut rows that each held a whole line. The caret, the anchor and
// the top row stay on the same text: rows below the cut moved by its difference, and a
// position inside it lies in its line's new rows at the byte it had in the line.
void TVornEditCore::AfterRewrapRows(const TStoreChange& change) {
  const int first = change.FirstRow;
  const int end = first + change.RowsRemoved;
  const int delta = change.RowDelta();
  const auto lineRow = [&](int oldRow) { return store_->LineToRow(change.LineIndex + (oldRow - first)); };
  const auto inCut = [&](int oldRow) { return oldRow >= first && oldRow < end; };
  const int oldTop = state_.TopRow;
  const bool shown = oldTop + VisibleRows() >= first;
  if (inCut(state_.CaretRow)) {
    const int row = lineRow(state_.CaretRow);
    std::string line = store_->GetRowsText(row, -1);
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
    // The column was counted as an uncut row's columns are, as with word wrap off.
    const int byte = TRowColumns(line, TabSpaceCount(), 0).ColToByte(state_.CaretCol);
    const TRowCol pos = RowColOfOffset(row, byte);
    state_.CaretRow = pos.Row;
    state_.CaretCol = pos.Col;
    desiredValid_ = false;
  } else if (state_.CaretRow >= end) {
    state_.CaretRow += delta;
  }
  if (HasSelection()) {
    TSelectionAnchor& a = sel_.Anchor;
    if (inCut(a.Row)) {
      const int row = lineRow(a.Row);
      const TRowCol pos = RowColOfOffset(row, a.Byte);
      a.Row = pos.Row;
      a.Byte = ColToByte(pos.Row, pos.Col);
      a.Col = pos.Col;
    } else if (a.Row >= end) {
      a.Row += delta;
    }
  }
  if (inCut(oldTop))
    state_.TopRow = lineRow(oldTop);
  else if (oldTop >= end)
    state_.TopRow = oldTop + delta;
  topLineValid_ = false;
  if (shown) dirty_.All = dirty_.Caret = true;
}

void TVornEditCore::PlaceCaretAfterLinesEdit(int row, int offset) {
  ClearSelection();
  SetCaretRowOffset(row, offset);
}

// An edit can leave the anchor past the text or inside a character whose bytes moved; the
// selection then starts at the character's start rather than between its two bytes.
void TVornEditCore::SnapAnchor() {
  if (!HasSelection()) return;
  sel_.Anchor.Row = std::clamp(sel_.Anchor.Row, 0, LastCaretRow());
  const auto columns = ColumnsOfRow(*this, sel_.Anchor.Row);
  // A box corner may lie past its row's end; only a stream anchor is held to the text.
  if (!sel_.Box) sel_.Anchor.Col = std::clamp(sel_.Anchor.Col, 0, columns->Width());
  while (sel_.Anchor.Col > 0 && sel_.Anchor.Col < columns->Width() &&
         (columns->Code(sel_.Anchor.Col) == cmTrail || columns->Code(sel_.Anchor.Col) == cmTabRest))
    --sel_.Anchor.Col;
  const int len = static_cast<int>(GetRowText(sel_.Anchor.Row).size());
  sel_.Anchor.Byte = std::clamp(ColToByte(sel_.Anchor.Row, sel_.Anchor.Col), 0, len);
}

// Another view's edit can leave this caret inside a double-byte character or past a row that
// became shorter; settle it where it stands without scrolling this pane.
void TVornEditCore::SettleAfterForeignEdit() {
  const bool wasBatch = batchMove_;
  batchMove_ = true;
  const int desired = desiredCol_;
  const bool desiredValid = desiredValid_;
  if (state_.CaretRow > LastCaretRow()) state_.CaretRow = LastCaretRow();
  Settle(TMove::Horizontal, -1);
  desiredCol_ = desired;
  desiredValid_ = desiredValid;
  batchMove_ = wasBatch;
}

}  // namespace vorn
