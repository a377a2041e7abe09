// The seam between the row store and the views that show it: notifications, geometry, caret state.
#pragma once

namespace vorn {

class TVornEditScreenStrings;

// A display position: a row of the store and a byte column in it.
struct TRowCol {
  int Row = 0;
  int Col = 0;
  friend bool operator==(const TRowCol&, const TRowCol&) = default;
};

// The caret and scroll position of one view. The store keeps them inside the text when rows
// go away; everything else about them is the view's business.
struct TVornEditViewState {
  int CaretRow = 0;
  int CaretCol = 0;
  int TopRow = 0;
};

// What the store asks of a view's window. A widget measures it; a view without a window
// states it. There are no defaults: a guessed page height makes bracket states and repaints
// silently wrong.
class TVornEditGeometry {
public:
  virtual ~TVornEditGeometry() = default;
  // Rows that fit in the text area (at least 1).
  virtual int VisibleRows() const = 0;
  // Rows of a whole screen (at least 1): how far below the top row bracket states are kept.
  virtual int ScreenRows() const = 0;
};

// What the store tells every view that shows it. All pure: a view that forgets one does not
// compile, instead of silently not repainting.
class TVornEditView {
public:
  virtual ~TVornEditView() = default;

  virtual TVornEditViewState& State() = 0;
  virtual const TVornEditGeometry& Geometry() const = 0;

  // An edit's update block ended: repaint from the store's LastChange, fire OnChange.
  virtual void StoreChanged() = 0;
  // Rows were inserted or removed at firstRow.
  virtual void RowsInsertedOrRemoved(int firstRow) = 0;
  // Lines were added or removed at lineIndex: move a line-based search range.
  virtual void AdjustSearchRange(int lineIndex, int lineDelta) = 0;
  virtual void ClearSelection() = 0;
  // The store was cleared: top row, caret row and column are 0 already.
  virtual void ResetAfterClear() = 0;
  virtual void Invalidate() = 0;
  // After an undo or redo by any view: the anchors that depend on rows above are stale.
  virtual void AfterUndoRedo() = 0;
  // Line marks or modified-row marks changed.
  virtual void RepaintLeftMargin() = 0;
  // The store was re-wrapped or unwrapped: caret column 0 (rows are clamped by the store).
  virtual void AfterRewrap() = 0;
  // The Lines facade of this view placed the caret at a byte offset of a row.
  virtual void PlaceCaretAtOffset(int row, int offset) = 0;
  // Around the facade's edits and update blocks: hide the caret, hold painting.
  virtual void BeginCaretHide() = 0;
  virtual void EndCaretHide() = 0;
  virtual void FacadeUpdateBegan() = 0;
  virtual void FacadeUpdateEnded() = 0;
  virtual void RepaintRows(int firstRow, int lastRow) = 0;
  virtual void ScrollRowsFrom(int row, int delta) = 0;
  // Invalidate the text area below the top margin and update the window at once.
  virtual void RepaintTextAreaNow() = 0;
};

// Repaints view after a store change, limited to what the store's LastChange names.
void RepaintAfterChange(const TVornEditScreenStrings& store, TVornEditView& view);

}  // namespace vorn
