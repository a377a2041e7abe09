// Bookmark table upkeep: setting, removing and moving marks with the edits of the document.
#include "store/EditLineMark.h"

#include <algorithm>

namespace vorn {

TVornEditLineMark::TVornEditLineMark(TLineMarkHost* host)
    : host_(host), marks_(NumberedCount, -1) {}

TVornEditLineMark::TVornEditLineMark(std::unique_ptr<TLineMarkHost> host)
    : ownHost_(std::move(host)), host_(ownHost_.get()), marks_(NumberedCount, -1) {}

void TVornEditLineMark::Changed() {
  TNotifyPersistent::Changed();
  if (UpdateCount() == 0 && host_) host_->RepaintMargins();
}

void TVornEditLineMark::SetNumbered(int n, int line) {
  if (marks_[n] == line) return;
  marks_[n] = line;
  Changed();
}

void TVornEditLineMark::AddUnnumbered(int line) {
  marks_.push_back(line);
  Changed();
}

void TVornEditLineMark::Remove(int index) {
  if (index < NumberedCount)
    marks_[index] = -1;
  else
    marks_.erase(marks_.begin() + index);
}

void TVornEditLineMark::RemoveAt(int index) {
  Remove(index);
  Changed();
}

int TVornEditLineMark::RemoveLine(int line) {
  if (line < 0) return -1;
  auto it = std::find(marks_.begin(), marks_.end(), line);
  if (it == marks_.end()) return -1;
  int index = static_cast<int>(it - marks_.begin());
  RemoveAt(index);
  return index;
}

void TVornEditLineMark::ClearMarks(bool unnumbered, bool numbered) {
  if (unnumbered) marks_.resize(NumberedCount);
  if (numbered) std::fill(marks_.begin(), marks_.begin() + NumberedCount, -1);
  if (unnumbered || numbered) Changed();
}

bool TVornEditLineMark::DropBeyondQuietly(int lineCount) {
  bool dropped = false;
  for (int i = EntryCount() - 1; i >= 0; --i) {
    if (marks_[i] >= lineCount) {
      Remove(i);
      dropped = true;
    }
  }
  return dropped;
}

void TVornEditLineMark::DropBeyond(int lineCount) {
  if (DropBeyondQuietly(lineCount)) Changed();
}

// Marks move with their text; marks inside a deleted range collapse onto the edit's first
// line. Marks that end up past the document are dropped only after moving: dropping first
// (against the new, smaller line count) would lose marks that the deletion merely moves up.
void TVornEditLineMark::AdjustForEdit(int line, int delta) {
  // Counting the document's lines walks every row: not on each keystroke of a document
  // without marks.
  if (!host_ || std::all_of(marks_.begin(), marks_.end(), [](int32_t m) { return m < 0; })) return;
  const int n = host_->LineCount();
  bool changed = false;
  if (delta != 0 && line >= 0) {
    for (int i = EntryCount() - 1; i >= 0; --i) {
      int old = marks_[i];
      if (old < line) continue;
      marks_[i] = delta <= 0 ? std::max(old + delta, line) : old + delta;
      changed = changed || marks_[i] != old;
    }
  }
  changed = DropBeyondQuietly(n) || changed;
  if (changed) Changed();
}

void TVornEditLineMark::Assign(const TVornEditLineMark& src) {
  if (&src == this || *this == src) return;
  marks_ = src.marks_;
  Changed();
}

}  // namespace vorn
