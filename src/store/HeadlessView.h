// TVornEditHeadlessView: a view without a window, for tools, tests and benchmarks.
#pragma once

#include <memory>

#include "store/ScreenStrings.h"
#include "store/VornEditStrings.h"

namespace vorn {

// A geometry stated instead of measured.
struct TFixedGeometry : TVornEditGeometry {
  int Visible = 1;
  int Screen = 1;
  int VisibleRows() const override { return Visible; }
  int ScreenRows() const override { return Screen; }
};

// The test double of the store's view seam. It shares a store as a control does, offers the
// Lines facade, keeps a caret and a top row so that the store's clamping can be observed, and
// ignores what a window would repaint. Notifications are counted where tests look at them.
class TVornEditHeadlessView : public TVornEditView {
public:
  explicit TVornEditHeadlessView(std::shared_ptr<TVornEditScreenStrings> store =
                                     std::make_shared<TVornEditScreenStrings>())
      : store_(std::move(store)), lines_(*this, *store_) {
    store_->AttachView(*this);
  }
  ~TVornEditHeadlessView() override { store_->DetachView(*this); }
  TVornEditHeadlessView(const TVornEditHeadlessView&) = delete;
  TVornEditHeadlessView& operator=(const TVornEditHeadlessView&) = delete;

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

  int CaretRow() const { return state_.CaretRow; }
  int CaretCol() const { return state_.CaretCol; }
  int TopRow() const { return state_.TopRow; }
  void SetCaretPos(int row, int col) {
    state_.CaretRow = row;
    state_.CaretCol = col;
  }
  void SetTopRow(int row) { state_.TopRow = row; }
  TRowCol Caret() const { return TRowCol{state_.CaretRow, state_.CaretCol}; }
  TFixedGeometry& FixedGeometry() { return geometry_; }

  // Undo and redo as this view asks for them: from its caret, and its caret follows.
  bool Undo() { return Apply(store_->UndoEdit(Caret())); }
  bool Redo() { return Apply(store_->RedoEdit(Caret())); }

  TVornEditViewState& State() override { return state_; }
  const TVornEditGeometry& Geometry() const override { return geometry_; }
  void StoreChanged() override { ++changes; }
  void RowsInsertedOrRemoved(int) override {}
  void AdjustSearchRange(int, int) override {}
  void ClearSelection() override {}
  void ResetAfterClear() override {}
  void Invalidate() override {}
  void AfterUndoRedo() override { ++undoRedos; }
  void RepaintLeftMargin() override {}
  void AfterRewrap() override { state_.CaretCol = 0; }
  void PlaceCaretAtOffset(int row, int offset) override { SetCaretPos(row, offset); }
  void BeginCaretHide() override {}
  void EndCaretHide() override {}
  void FacadeUpdateBegan() override {}
  void FacadeUpdateEnded() override {}
  void RepaintRows(int, int) override {}
  void ScrollRowsFrom(int, int) override {}
  void RepaintTextAreaNow() override {}

  int changes = 0;
  int undoRedos = 0;

private:
  bool Apply(std::optional<TRowCol> caret) {
    if (!caret) return false;
    SetCaretPos(caret->Row, caret->Col);
    return true;
  }

  std::shared_ptr<TVornEditScreenStrings> store_;
  TVornEditStrings lines_;
  TVornEditViewState state_;
  TFixedGeometry geometry_;
};

}  // namespace vorn
