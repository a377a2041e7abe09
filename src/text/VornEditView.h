// TVornEditView and TVornEditScreen: what the line store requires of each control that shows it.
#pragma once

namespace vorn {

class TVornEditScreenStrings;

// The editor control implements this; the Qt-free store and its tests talk only to it.
// Defaults do nothing so that a headless holder of a store needs to override little.
class TVornEditView {
public:
  virtual ~TVornEditView() = default;

  // The store this view shows (a view that joins another store switches it).
  virtual TVornEditScreenStrings* Store() = 0;

  // The store's change handler: repaint from LastChange (TVornEditScreen::RepaintAfterChange),
  // set the document modified, fire the control's OnChange.
  virtual void StoreChanged() {}
  // Rows were inserted or removed at firstRow: a view whose top row lies below recomputes
  // its TopLineNo.
  virtual void RowsInsertedOrRemoved(int firstRow) { (void)firstRow; }
  // Lines were added or removed at lineIndex: move the line-based search range.
  virtual void AdjustSearchRange(int lineIndex, int lineDelta) {
    (void)lineIndex;
    (void)lineDelta;
  }
  virtual void ClearSelection() {}
  // After the store was cleared: top row, caret row and caret column 0; recompute TopLineNo.
  virtual void ResetAfterClear() {}
  virtual void Invalidate() {}
  // After an undo or redo: recompute TopLineNo and repaint the left margin.
  virtual void AfterUndoRedo() {}
  // After the store was re-wrapped or unwrapped: caret column 0 (rows are clamped by the store).
  virtual void AfterRewrap() {}
  virtual bool Focused() const { return false; }
  // The owner control is still being loaded from its form description.
  virtual bool Loading() const { return false; }

  virtual int CaretRow() const { return 0; }
  virtual int CaretCol() const { return 0; }
  virtual void SetCaretRow(int row) { (void)row; }
  virtual int TopRow() const { return 0; }
  virtual void SetTopRow(int row) { (void)row; }
  // Row-to-line conversion; a control counts from its TopLineNo anchor.
  virtual int RowToLine(int row);

  // What the Lines facade needs of its owner.
  virtual void SetCaretRowOffset(int row, int offset) {
    (void)row;
    (void)offset;
  }
  virtual void BeginCaretHide() {}
  virtual void EndCaretHide() {}
  // While set, a Clear through the facade leaves the document unmodified.
  virtual void SetClearing(bool clearing) { (void)clearing; }
  // The facade's update block began (hide caret, hold painting, redraw off) or ended (show,
  // release, redraw on, refresh the scroll state).
  virtual void FacadeUpdateBegan() {}
  virtual void FacadeUpdateEnded() {}

  // Geometry and paint primitives used by TVornEditScreen and the bracket walk.
  virtual int VisibleRows() const { return 50; }
  // Screen height in rows (at least 1): how far ahead bracket states are computed.
  virtual int ScreenRows() const { return 64; }
  virtual void RepaintRows(int firstRow, int lastRow) {
    (void)firstRow;
    (void)lastRow;
  }
  virtual void ScrollRowsFrom(int row, int delta) {
    (void)row;
    (void)delta;
  }
  // Invalidate the text area below the top margin and update the window at once.
  virtual void RepaintTextAreaNow() {}
};

// One per view: repaints the view after a store change, limited to what LastChange names.
class TVornEditScreen {
public:
  explicit TVornEditScreen(TVornEditView& view) : view_(view) {}
  virtual ~TVornEditScreen() = default;
  virtual void RepaintAfterChange();

private:
  TVornEditView& view_;
};

}  // namespace vorn
