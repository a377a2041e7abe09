// Assignment, comparison and clamping of the caret, cursor, margin and mark records.
#include "options/EditOptions.h"

#include <algorithm>
#include <tuple>

namespace vorn {

// --- TVornEditCursors -------------------------------------------------------------------

bool TVornEditCursors::operator==(const TVornEditCursors& o) const {
  return defaultCursor_ == o.defaultCursor_ && dragSelCursor_ == o.dragSelCursor_ &&
         dragSelCopyCursor_ == o.dragSelCopyCursor_ && inSelCursor_ == o.inSelCursor_ &&
         leftMarginCursor_ == o.leftMarginCursor_;
}

void TVornEditCursors::Assign(const TVornEditCursors& src) {
  if (&src == this || *this == src) return;
  defaultCursor_ = src.defaultCursor_;
  dragSelCursor_ = src.dragSelCursor_;
  dragSelCopyCursor_ = src.dragSelCopyCursor_;
  inSelCursor_ = src.inSelCursor_;
  leftMarginCursor_ = src.leftMarginCursor_;
  Changed();
}

// --- TVornEditCaret ---------------------------------------------------------------------

TVornEditCaret::TVornEditCaret() { Adopt(cursors_); }

TVornEditCaret::TVornEditCaret(const TVornEditCaret& o) : TNotifyPersistent(o) {
  Adopt(cursors_);
  Assign(o);
}

namespace {
auto CaretValues(const TVornEditCaret& c) {
  return std::make_tuple(c.AutoCursor(), c.AutoIndent(), c.FreeCaret(), c.InTab(), c.KeepCaret(),
                         c.LockScroll(), c.NextLine(), c.PrevSpaceIndent(), c.RowSelect(),
                         c.SelDragMode(), c.SelMove(), c.SoftTab(), c.Style(), c.TabIndent(),
                         c.TabSpaceCount(), c.WSpaceIndent(), c.IndentWithSpace(),
                         c.IndentWidthEqTabWidth(), c.IndentWidth(), c.ChangeColorForImeStatus());
}
}  // namespace

bool TVornEditCaret::operator==(const TVornEditCaret& o) const {
  return cursors_ == o.cursors_ && CaretValues(*this) == CaretValues(o);
}

void TVornEditCaret::Assign(const TVornEditCaret& src) {
  if (&src == this || *this == src) return;
  BeginUpdate();
  SetAutoCursor(src.autoCursor_);
  SetAutoIndent(src.autoIndent_);
  cursors_.Assign(src.cursors_);
  SetFreeCaret(src.freeCaret_);
  SetInTab(src.inTab_);
  SetKeepCaret(src.keepCaret_);
  SetLockScroll(src.lockScroll_);
  SetNextLine(src.nextLine_);
  SetPrevSpaceIndent(src.prevSpaceIndent_);
  SetRowSelect(src.rowSelect_);
  SetSelDragMode(src.selDragMode_);
  SetSelMove(src.selMove_);
  SetStyle(src.style_);
  SetTabIndent(src.tabIndent_);
  SetTabSpaceCount(src.tabSpaceCount_);
  SetWSpaceIndent(src.wSpaceIndent_);
  // IndentWithSpace drags SoftTab along, so the source's own SoftTab goes after it.
  SetIndentWithSpace(src.indentWithSpace_);
  SetSoftTab(src.softTab_);
  SetIndentWidthEqTabWidth(src.indentWidthEqTabWidth_);
  SetIndentWidth(src.indentWidth_);
  SetChangeColorForImeStatus(src.changeColorForImeStatus_);
  EndUpdate();
}

void TVornEditCaret::SetTabSpaceCount(int v) { SetProperty(tabSpaceCount_, std::clamp(v, 2, 128)); }

void TVornEditCaret::SetIndentWithSpace(bool v) {
  if (indentWithSpace_ == v && softTab_ == v) return;
  indentWithSpace_ = v;
  softTab_ = v;
  Changed();
}

// --- TVornEditMargin --------------------------------------------------------------------

bool TVornEditMargin::operator==(const TVornEditMargin& o) const {
  return character_ == o.character_ && left_ == o.left_ && line_ == o.line_ && top_ == o.top_ &&
         underlineSpace_ == o.underlineSpace_;
}

void TVornEditMargin::Assign(const TVornEditMargin& src) {
  if (&src == this || *this == src) return;
  character_ = src.character_;
  left_ = src.left_;
  line_ = src.line_;
  top_ = src.top_;
  underlineSpace_ = src.underlineSpace_;
  Changed();
}

void TVornEditMargin::SetCharacter(int v) { SetProperty(character_, std::clamp(v, 0, 100)); }

// --- TVornEditMarks ---------------------------------------------------------------------

bool TVornEditMarks::operator==(const TVornEditMarks& o) const {
  return eofMark_ == o.eofMark_ && retMark_ == o.retMark_ && underline_ == o.underline_ &&
         wordWrapLine_ == o.wordWrapLine_ && tabMark_ == o.tabMark_ &&
         dbSpaceMark_ == o.dbSpaceMark_ && spaceMark_ == o.spaceMark_;
}

void TVornEditMarks::Assign(const TVornEditMarks& src) {
  if (&src == this || *this == src) return;
  BeginUpdate();
  SetEofMark(src.eofMark_);
  SetRetMark(src.retMark_);
  SetUnderline(src.underline_);
  SetWordWrapLine(src.wordWrapLine_);
  SetTabMark(src.tabMark_);
  SetDBSpaceMark(src.dbSpaceMark_);
  SetSpaceMark(src.spaceMark_);
  EndUpdate();
}

}  // namespace vorn
