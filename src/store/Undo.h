// Row-based undo and redo of one document, with groups and the saved-state bookkeeping.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "store/PointerStringList.h"

namespace vorn {

// One undo step as the store fills it: the rows it is about to replace and how many replace them.
struct TUndoData {
  std::int32_t CaretRow = 0;
  std::int32_t CaretCol = 0;
  std::int32_t FirstRow = -1;
  std::int32_t NewRowCount = 0;
  TRowEnd OldEnd = reNone;
  std::string OldText;
  bool SavedMark = false;
  bool GroupStart = false;
  // An edit inside row FirstRow that changed neither its row count nor its wrapping keeps just
  // the bytes it replaced (OldText, no line break) and where: NewRowCount then counts the bytes
  // that replaced them, from RowByte on. Typing into a 50 MB row thus costs bytes, not rows.
  bool InRow = false;
  std::int64_t RowByte = 0;
};

// Owns its records; the last entry is applied first.
class TUndoDataList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  TUndoData& Items(int i) { return *items_[i]; }
  const TUndoData& Items(int i) const { return *items_[i]; }
  TUndoData& Last() { return *items_.back(); }
  const TUndoData& Last() const { return *items_.back(); }
  TUndoData& Add(std::unique_ptr<TUndoData> r) {
    items_.push_back(std::move(r));
    return *items_.back();
  }
  std::unique_ptr<TUndoData> TakeLast() {
    std::unique_ptr<TUndoData> r = std::move(items_.back());
    items_.pop_back();
    return r;
  }
  void DeleteFirst() { items_.pop_front(); }
  void Clear() { items_.clear(); }

private:
  std::deque<std::unique_ptr<TUndoData>> items_;
};

// The inverse of an applied step, with what the line marks need to follow it.
struct TUndoInverse {
  int32_t FirstRow = -1;
  int32_t NewRowCount = 0;
  TRowEnd OldEnd = reNone;
  std::string OldText;
  bool InRow = false;  // an in-row step, as TUndoData describes it
  std::int64_t RowByte = 0;
  int LineIndex = 0;  // logical line where the step began
  int LineDelta = 0;  // change in the number of logical lines
};

class TVornEditScreenStrings;

// The document the undo object works on: the store, or a test's model of one.
class TUndoTarget {
public:
  virtual ~TUndoTarget() = default;
  // The caret an edit starts from, and where undo puts it back.
  virtual void UndoGetCaret(int& row, int& col) const = 0;
  virtual void UndoSetCaret(int row, int col) = 0;
  virtual void UndoBeginUpdate() {}
  virtual void UndoEndUpdate() {}
  // Puts r's old text back in place of its new rows and returns the step that reverses it.
  virtual TUndoInverse UndoApply(const TUndoData& r) = 0;
  // Runs once the inverse is recorded: line marks and search ranges follow the step.
  virtual void UndoAfterApply(const TUndoInverse&) {}
  // Clears the modified mark of every row; views repaint their margins.
  virtual void UndoClearRowModified() = 0;
};

// The store's undo object. It works on its document through a TUndoTarget: the store owns one
// over itself (TScreenStringsUndoTarget); tests may substitute a model document.
class TVornEditUndoObj {
public:
  static constexpr int MinLimit = 64;

  explicit TVornEditUndoObj(TUndoTarget& target) : target_(&target) {}
  TVornEditUndoObj(const TVornEditUndoObj&) = delete;
  TVornEditUndoObj& operator=(const TVornEditUndoObj&) = delete;

  int Limit() const { return limit_; }
  void SetLimit(int v) { limit_ = v < MinLimit ? MinLimit : v; }
  const TUndoDataList& UndoList() const { return undoList_; }
  const TUndoDataList& RedoList() const { return redoList_; }
  bool BottomIsSaved() const { return bottomIsSaved_; }
  int GroupDepth() const { return groupDepth_; }

  // A fresh record appended to the undo list for the caller to fill.
  TUndoData* NewRecord();
  // Only the outermost group starts a step: a nested group opened after the outer one has
  // recorded edits must not split the compound edit into two undo steps.
  void BeginGroup() {
    if (groupDepth_++ <= 0) groupJustOpened_ = true;
  }
  void EndGroup() {
    if (groupDepth_ > 0) --groupDepth_;
  }
  // Apply one group; false when there was nothing to apply.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return !undoList_.Empty(); }
  bool CanRedo() const { return !redoList_.Empty(); }
  void ClearAll() {
    undoList_.Clear();
    redoList_.Clear();
  }
  void MarkSaved();
  void ClearSavedMarks();
  bool IsAtSavedState() const;

private:
  // Applies one group from `from`, recording the inverses through `record`.
  template <class Record>
  bool ApplyGroup(TUndoDataList& from, Record record);

  TUndoTarget* target_;
  int limit_ = MinLimit;
  bool inUndoRedo_ = false;
  TUndoDataList redoList_;
  TUndoDataList undoList_;
  bool bottomIsSaved_ = true;
  int groupDepth_ = 0;
  bool groupJustOpened_ = false;
};

// The store as the undo object's document: steps are applied through its row-level edits.
class TScreenStringsUndoTarget : public TUndoTarget {
public:
  explicit TScreenStringsUndoTarget(TVornEditScreenStrings& store) : store_(store) {}

  void UndoGetCaret(int& row, int& col) const override;
  void UndoSetCaret(int row, int col) override;
  void UndoBeginUpdate() override;
  void UndoEndUpdate() override;
  TUndoInverse UndoApply(const TUndoData& r) override;
  void UndoAfterApply(const TUndoInverse& inv) override;
  void UndoClearRowModified() override;

private:
  TVornEditScreenStrings& store_;
};

}  // namespace vorn
