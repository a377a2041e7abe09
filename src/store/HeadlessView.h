// TVornEditHeadlessView: a view without a window, for tools, tests and benchmarks.
#pragma once

#include <memory>
#include <optional>

#include "store/FixedGeometry.h"
#include "store/ScreenStrings.h"
#include "store/VornEditStrings.h"

namespace vorn {

// The test double of the store's view seam. It shares a store as a control does, offers the
// Lines facade, keeps a caret and a top row inside the text as a control does (a byte offset
// stands for a column), and counts the changes it hears where tests look at them.
class TVornEditHeadlessView : public TVornEditLinesOwner {
public:
  explicit TVornEditHeadlessView(std::shared_ptr<TVornEditScreenStrings> store =
                                     std::make_shared<TVornEditScreenStrings>())
      : TVornEditLinesOwner(geometry_), store_(std::move(store)), lines_(*this, *store_) {
    store_->AttachView(*this);
  }
  ~TVornEditHeadlessView() override { store_->DetachView(*this); }

  TVornEditScreenStrings* Store() { return store_.get(); }
  const std::shared_ptr<TVornEditScreenStrings>& SharedStore() const { return store_; }
  TVornEditStrings& Lines() { return lines_; }

  // Leaves its own store and shows other's store, as a second pane does.
  void JoinStoreOf(const TVornEditHeadlessView& other) {
    std::shared_ptr<TVornEditScreenStrings> target = other.store_;
    store_->DetachView(*this);
    store_ = std::move(target);
    store_->AttachView(*this);
    lines_.SetStore(*store_);
  }

  void SetCaretPos(int row, int col) {
    state_.CaretRow = row;
    state_.CaretCol = col;
  }
  void SetTopRow(int row) { state_.TopRow = row; }
  TFixedGeometry& FixedGeometry() { return geometry_; }

  // Undo and redo as this view asks for them: from its caret, and its caret follows.
  bool Undo() { return Apply(store_->UndoEdit(Caret())); }
  bool Redo() { return Apply(store_->RedoEdit(Caret())); }

  void StoreChanged(const TStoreChange& change) override {
    ++changes;
    if (change.Kind == scUndo || change.Kind == scRedo) ++undoRedos;
    if (change.Kind == scLoad || change.Kind == scClear) state_ = TVornEditViewState{};
    if (change.Kind == scRewrap) state_.CaretCol = 0;
    if (change.Kind == scRewrapRows) FollowCut(change);
    // The row after a final line break holds a caret; the row after a last row without one
    // does not.
    const int count = store_->Count();
    if (state_.CaretRow > count - 1) state_.CaretRow = store_->LastCaretRow();
    if (state_.TopRow > count - 1) state_.TopRow = store_->LastCaretRow();
  }
  void PlaceCaretAfterLinesEdit(int row, int offset) override { SetCaretPos(row, offset); }

  int changes = 0;
  int undoRedos = 0;

private:
  // A stepwise wrap's step: a caret inside the cut goes to its line's first row.
  void FollowCut(const TStoreChange& change) {
    const int end = change.FirstRow + change.RowsRemoved;
    if (state_.CaretRow >= end) {
      state_.CaretRow += change.RowDelta();
    } else if (state_.CaretRow >= change.FirstRow) {
      state_.CaretRow = store_->LineToRow(change.LineIndex + state_.CaretRow - change.FirstRow);
      state_.CaretCol = 0;
    }
  }
  bool Apply(std::optional<TRowCol> caret) {
    if (!caret) return false;
    SetCaretPos(caret->Row, caret->Col);
    return true;
  }

  TFixedGeometry geometry_;
  std::shared_ptr<TVornEditScreenStrings> store_;
  TVornEditStrings lines_;
};

}  // namespace vorn
