// The line-mark commands of the control: toggle, numbered marks, jumps to marks, clearing.
#include <algorithm>

#include "editcore/EditCore.h"

namespace vorn {

void TVornEditCore::ToggleMark(TMarkArg arg) {
  if (state_.CaretRow >= RowCount()) return;
  TVornEditLineMark& marks = store_->LineMarkTable();
  const int line = store_->RowToLine(state_.CaretRow);
  if (marks.RemoveLine(line) >= 0 || arg == TMarkArg::Remove) return;
  marks.AddUnnumbered(line);
}

void TVornEditCore::SetMark(int n, TMarkArg arg) {
  if (n < 0 || n >= TVornEditLineMark::NumberedCount || state_.CaretRow >= RowCount()) return;
  TVornEditLineMark& marks = store_->LineMarkTable();
  const int line = store_->RowToLine(state_.CaretRow);
  if (arg == TMarkArg::Remove) {
    marks.SetNumbered(n, -1);
    return;
  }
  const int removed = marks.RemoveLine(line);
  // Setting the mark a line already carries takes it off, unless a macro says to set it.
  if (removed == n && arg == TMarkArg::None) return;
  marks.SetNumbered(n, line);
}

void TVornEditCore::JumpToLine(int line, TMoveFlags f) {
  const int row = store_->LineToRow(std::clamp(line, 0, store_->LineCount()));
  const bool extend = BeginMove(f);
  EnsureRowVisible(row);
  SetCaretRow(row);
  EndMove(f, extend);
}

void TVornEditCore::JumpMark(int n, TMoveFlags f) {
  if (n < 0 || n >= TVornEditLineMark::NumberedCount) return;
  const int line = store_->LineMarkTable().Numbered(n);
  if (line >= 0) JumpToLine(line, f);
}

void TVornEditCore::FindUnderMark(TMoveFlags f) {
  const TVornEditLineMark& marks = store_->LineMarkTable();
  const int caretLine = store_->RowToLine(state_.CaretRow);
  int best = -1;
  for (int i = 0; i < marks.EntryCount(); ++i) {
    const int line = marks.Entry(i);
    if (line > caretLine && (best < 0 || line < best)) best = line;
  }
  if (best >= 0) JumpToLine(best, f);
}

void TVornEditCore::FindOverMark(TMoveFlags f) {
  const TVornEditLineMark& marks = store_->LineMarkTable();
  const int caretLine = store_->RowToLine(state_.CaretRow);
  int best = -1;
  for (int i = 0; i < marks.EntryCount(); ++i) {
    const int line = marks.Entry(i);
    if (line >= 0 && line < caretLine && line > best) best = line;
  }
  if (best >= 0) JumpToLine(best, f);
}

void TVornEditCore::ClearMarks(bool unnumbered, bool numbered) {
  if (unnumbered || numbered) {
    store_->LineMarkTable().ClearMarks(unnumbered, numbered);
    return;
  }
  if (state_.CaretRow < RowCount()) store_->LineMarkTable().RemoveLine(store_->RowToLine(state_.CaretRow));
}

}  // namespace vorn
