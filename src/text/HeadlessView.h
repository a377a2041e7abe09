// TVornEditHeadlessView: a view without a window, for tools, tests and benchmarks.
#pragma once

#include "text/ScreenStrings.h"
#include "text/VornEditStrings.h"

namespace vorn {

// Owns a store as a control does and offers the Lines facade; keeps a caret and a top row so
// that the store's clamping can be observed.
class TVornEditHeadlessView : public TVornEditView {
public:
  TVornEditHeadlessView() : store_(TVornEditScreenStrings::CreateForView(*this)), lines_(*this) {}
  ~TVornEditHeadlessView() override {
    if (store_) store_->DetachView(*this);
  }
  TVornEditHeadlessView(const TVornEditHeadlessView&) = delete;
  TVornEditHeadlessView& operator=(const TVornEditHeadlessView&) = delete;

  TVornEditScreenStrings* Store() override { return store_; }
  TVornEditStrings& Lines() { return lines_; }

  // Leaves its own store and shows other's store, as a second pane does.
  void JoinStoreOf(TVornEditView& other) {
    TVornEditScreenStrings* target = other.Store();
    if (store_) store_->DetachView(*this);
    store_ = target;
    store_->AttachView(*this);
  }

  int CaretRow() const override { return caretRow_; }
  int CaretCol() const override { return caretCol_; }
  void SetCaretRow(int row) override { caretRow_ = row; }
  int TopRow() const override { return topRow_; }
  void SetTopRow(int row) override { topRow_ = row; }
  void SetCaretRowOffset(int row, int offset) override {
    caretRow_ = row;
    caretCol_ = offset;
  }
  void ResetAfterClear() override { caretRow_ = caretCol_ = topRow_ = 0; }

private:
  TVornEditScreenStrings* store_;
  TVornEditStrings lines_;
  int caretRow_ = 0;
  int caretCol_ = 0;
  int topRow_ = 0;
};

}  // namespace vorn
