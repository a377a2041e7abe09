// Recording, applying and grouping undo steps, and tracking which step is the saved state.
#include "store/Undo.h"

namespace vorn {

TUndoData* TVornEditUndoObj::NewRecord() {
  auto r = std::make_unique<TUndoData>();
  target_->UndoGetCaret(r->CaretRow, r->CaretCol);
  if (groupDepth_ <= 0) {
    r->GroupStart = true;
  } else {
    r->GroupStart = groupJustOpened_;
    groupJustOpened_ = false;
  }
  TUndoData& added = undoList_.Add(std::move(r));
  // A lowered limit is honoured at once rather than one record per edit.
  while (undoList_.Count() > limit_) {
    undoList_.DeleteFirst();
    bottomIsSaved_ = false;
  }
  if (!inUndoRedo_) redoList_.Clear();
  return &added;
}

// Steps are applied from the end of `from` until a group start has been applied. Records
// dropped by the limit may have taken a group's start with them, so the walk also stops when
// the list runs out.
template <class Record>
bool TVornEditUndoObj::ApplyGroup(TUndoDataList& from, Record record) {
  if (from.Empty()) return false;
  bool first = true;
  std::unique_ptr<TUndoData> r;
  for (;;) {
    target_->UndoBeginUpdate();
    r = from.TakeLast();
    TUndoInverse inv = target_->UndoApply(*r);
    record(*r, inv, first);
    target_->UndoAfterApply(inv);
    if (r->GroupStart || from.Empty()) break;
    first = false;
    target_->UndoEndUpdate();
  }
  target_->UndoEndUpdate();
  target_->UndoSetCaret(r->CaretRow, r->CaretCol);
  r.reset();
  if (IsAtSavedState()) target_->UndoClearRowModified();
  return true;
}

bool TVornEditUndoObj::Undo() {
  // All inverse records of one undo carry the caret as it was before the undo began.
  int caretRow = 0, caretCol = 0;
  target_->UndoGetCaret(caretRow, caretCol);
  return ApplyGroup(undoList_, [&](const TUndoData& r, TUndoInverse& inv, bool first) {
    auto i = std::make_unique<TUndoData>();
    i->CaretRow = caretRow;
    i->CaretCol = caretCol;
    i->FirstRow = inv.FirstRow;
    i->NewRowCount = inv.NewRowCount;
    i->OldEnd = inv.OldEnd;
    i->OldText = std::move(inv.OldText);
    i->InRow = inv.InRow;
    i->RowByte = inv.RowByte;
    i->SavedMark = r.SavedMark;
    i->GroupStart = first;
    redoList_.Add(std::move(i));
  });
}

bool TVornEditUndoObj::Redo() {
  return ApplyGroup(redoList_, [&](const TUndoData& r, TUndoInverse& inv, bool first) {
    inUndoRedo_ = true;
    TUndoData& i = *NewRecord();
    inUndoRedo_ = false;
    i.FirstRow = inv.FirstRow;
    i.NewRowCount = inv.NewRowCount;
    i.OldEnd = inv.OldEnd;
    i.OldText = std::move(inv.OldText);
    i.InRow = inv.InRow;
    i.RowByte = inv.RowByte;
    i.SavedMark = r.SavedMark;
    i.GroupStart = first;
  });
}

void TVornEditUndoObj::MarkSaved() {
  for (int i = 0; i < undoList_.Count(); ++i) undoList_.Items(i).SavedMark = false;
  for (int i = 0; i < redoList_.Count(); ++i) redoList_.Items(i).SavedMark = false;
  if (undoList_.Empty()) {
    bottomIsSaved_ = true;
  } else {
    for (int i = undoList_.Count() - 1; i >= 0; --i) {
      undoList_.Items(i).SavedMark = true;
      if (undoList_.Items(i).GroupStart) break;
    }
  }
  target_->UndoClearRowModified();
}

void TVornEditUndoObj::ClearSavedMarks() {
  for (int i = 0; i < undoList_.Count(); ++i) undoList_.Items(i).SavedMark = false;
  for (int i = 0; i < redoList_.Count(); ++i) redoList_.Items(i).SavedMark = false;
  bottomIsSaved_ = false;
}

bool TVornEditUndoObj::IsAtSavedState() const {
  if (!undoList_.Empty()) return undoList_.Last().SavedMark;
  if (!bottomIsSaved_) return false;
  for (int i = 0; i < redoList_.Count(); ++i)
    if (redoList_.Items(i).SavedMark) return false;
  return true;
}

}  // namespace vorn
