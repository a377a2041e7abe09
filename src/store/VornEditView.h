// The seam between the row store and the views that show it: the change value the store sends,
// the window measures a view states, and the view's caret and top row.
#pragma once

#include <cstdint>
#include <optional>

namespace vorn {

// A display position: a row of the store and a byte column in it.
struct TRowCol {
  int Row = 0;
  int Col = 0;
  friend bool operator==(const TRowCol&, const TRowCol&) = default;
};

// What happened to the rows. Edits, undo and redo name the rows they replaced; the whole-store
// kinds replace every row; marks change only the margins (line marks, modified-row marks).
// scRewrapRows is one step of a word wrap cut in steps: rows FirstRow..FirstRow+RowsRemoved-1,
// each a whole logical line as it was loaded, became RowsInserted rows of the same lines (from
// LineIndex on); the text is unchanged and the rows below moved by the difference.
enum TStoreChangeKind : std::uint8_t { scEdit, scUndo, scRedo, scRewrap, scLoad, scClear, scMarks, scRewrapRows };

// One finished change of a store, sent to every view when the outermost update block ends.
// Rows FirstRow .. FirstRow + RowsRemoved - 1 of the text before became rows FirstRow ..
// FirstRow + RowsInserted - 1; rows below moved by the difference. A plain value, so sending it
// costs no allocation.
struct TStoreChange {
  TStoreChangeKind Kind = scEdit;
  int FirstRow = 0;
  int RowsRemoved = 0;
  int RowsInserted = 0;
  int LineIndex = 0;  // the logical line where the change began
  int LineDelta = 0;  // logical lines added (> 0) or removed (< 0)
  // Rows whose bracket state changed, -1 when none did; the walk may reach past the new rows.
  int BracketFirst = -1;
  int BracketLast = -1;
  // The caret the edit, undo or redo started from.
  std::optional<TRowCol> Origin;
  // Set when the change was one edit inside row FirstRow that left the row count alone: Removed
  // bytes at Byte became Inserted bytes. A listener that wants the edit itself (not the rows it
  // touched) then reads the new bytes alone instead of the whole row.
  struct TInRowBytes {
    std::int64_t Byte = 0;
    std::int64_t Removed = 0;
    std::int64_t Inserted = 0;
  };
  std::optional<TInRowBytes> InRow;

  static TStoreChange OfRows(TStoreChangeKind kind, int first, int removed, int inserted, int lineIndex, int lineDelta,
                             std::optional<TRowCol> origin = std::nullopt) {
    TStoreChange c;
    c.Kind = kind;
    c.FirstRow = first;
    c.RowsRemoved = removed;
    c.RowsInserted = inserted;
    c.LineIndex = lineIndex;
    c.LineDelta = lineDelta;
    c.Origin = origin;
    return c;
  }
  static TStoreChange OfWholeStore(TStoreChangeKind kind, int removed, int inserted, int lineDelta) {
    return OfRows(kind, 0, removed, inserted, 0, lineDelta);
  }
  static TStoreChange OfMarks() { return OfRows(scMarks, 0, 0, 0, 0, 0); }

  bool WholeStore() const { return Kind == scRewrap || Kind == scLoad || Kind == scClear; }
  bool TextChanged() const { return Kind != scMarks && Kind != scRewrap && Kind != scRewrapRows; }
  int RowDelta() const { return RowsInserted - RowsRemoved; }
};

// A change followed by a later one in the same update block, as one change: the extent covers
// both, line deltas add up, a whole-store kind wins and the first origin stays. Two text changes
// are no longer one in-row edit; a change of the marks keeps the other's.
TStoreChange Merged(const TStoreChange& earlier, const TStoreChange& later);

// The measures of a view's window. A widget measures them; a view without a window states them.
// There are no defaults: a guessed page height makes bracket states and repaints silently wrong.
class TVornEditGeometry {
public:
  virtual ~TVornEditGeometry() = default;
  // Rows that fit in the text area (at least 1).
  virtual int VisibleRows() const = 0;
  // Rows of a whole screen (at least 1): how far below the top row bracket states are kept.
  virtual int ScreenRows() const = 0;
  virtual int VisibleCols() const = 0;
  virtual int CellWidth() const = 0;
  // Font height plus line margin plus the underline pixel.
  virtual int RowHeight() const = 0;
  // Pixel position of the first text cell (the left and top margins).
  virtual int TextLeft() const = 0;
  virtual int TextTop() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
};

// The caret and scroll position of one view.
struct TVornEditViewState {
  int CaretRow = 0;
  int CaretCol = 0;
  int TopRow = 0;
};

// A view of a store. The store tells it one thing, what changed, and the view decides what to
// repaint and where its caret goes; a view that does not handle changes does not compile. The
// store reads a view's top row and screen only to keep the shown rows' bracket states computed.
class TVornEditView {
public:
  // geometry must outlive the view.
  explicit TVornEditView(const TVornEditGeometry& geometry) : geometry_(geometry) {}
  virtual ~TVornEditView() = default;
  TVornEditView(const TVornEditView&) = delete;
  TVornEditView& operator=(const TVornEditView&) = delete;

  virtual void StoreChanged(const TStoreChange& change) = 0;

  const TVornEditGeometry& Geometry() const { return geometry_; }
  int CaretRow() const { return state_.CaretRow; }
  int CaretCol() const { return state_.CaretCol; }
  TRowCol Caret() const { return {state_.CaretRow, state_.CaretCol}; }
  int TopRow() const { return state_.TopRow; }

protected:
  TVornEditViewState state_;

private:
  const TVornEditGeometry& geometry_;
};

}  // namespace vorn
