// Assignment and clamping of the caret, cursor, margin and mark records.
#include "options/EditOptions.h"

#include <algorithm>

namespace vorn {

void TVornEditCursors::Assign(const TVornEditCursors& src) {
  if (&src == this || *this == src) return;
  values_ = src.values_;
  Changed();
}

TVornEditCaret::TVornEditCaret() { Adopt(cursors_); }

TVornEditCaret::TVornEditCaret(const TVornEditCaret& o) : TNotifyPersistent(o) {
  Adopt(cursors_);
  Assign(o);
}

// The source's values arrive as they stand: its SoftTab wins over the one IndentWithSpace's
// setter would drag along. One notification, however many fields and cursors differ.
void TVornEditCaret::Assign(const TVornEditCaret& src) {
  if (&src == this || *this == src) return;
  BeginUpdate();
  values_ = src.values_;
  cursors_.Assign(src.cursors_);
  EndUpdate();
}

void TVornEditCaret::SetValues(const TVornEditCaretValues& v) {
  if (values_ == v) return;
  values_ = v;
  Changed();
}

void TVornEditCaret::SetTabSpaceCount(int v) { SetProperty(values_.TabSpaceCount, std::clamp(v, 2, 128)); }

void TVornEditCaret::SetIndentWithSpace(bool v) {
  if (values_.IndentWithSpace == v && values_.SoftTab == v) return;
  values_.IndentWithSpace = v;
  values_.SoftTab = v;
  Changed();
}

void TVornEditMargin::Assign(const TVornEditMargin& src) {
  if (&src == this || *this == src) return;
  values_ = src.values_;
  Changed();
}

void TVornEditMargin::SetCharacter(int v) { SetProperty(values_.Character, std::clamp(v, 0, 100)); }

void TVornEditMarks::Assign(const TVornEditMarks& src) {
  if (&src == this || *this == src) return;
  values_ = src.values_;
  Changed();
}

}  // namespace vorn
