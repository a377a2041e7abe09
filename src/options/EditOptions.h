// Caret, cursor, margin and mark option records of the editor control.
#pragma once

#include "base/NotifyPersistent.h"

#include <cstdint>

namespace vorn {

// Cursor roles keep the 16-bit identifiers of the platform cursor list; the GUI maps them to
// its own cursor shapes. The two custom cursors have no fixed identifier, so they get the
// first free indexes of the list, as registered at start-up.
enum class TVornCursorId : int16_t {
  cuDefault = 0,
  cuIBeam = -4,
  cuDrag = -12,
  cuDragSelCopy = 1,
  cuRightArrow = 2,
};

class TVornEditCursors : public TNotifyPersistent {
public:
  TVornCursorId DefaultCursor() const { return defaultCursor_; }
  TVornCursorId DragSelCursor() const { return dragSelCursor_; }
  TVornCursorId DragSelCopyCursor() const { return dragSelCopyCursor_; }
  TVornCursorId InSelCursor() const { return inSelCursor_; }
  TVornCursorId LeftMarginCursor() const { return leftMarginCursor_; }
  void SetDefaultCursor(TVornCursorId v) { SetProperty(defaultCursor_, v); }
  void SetDragSelCursor(TVornCursorId v) { SetProperty(dragSelCursor_, v); }
  void SetDragSelCopyCursor(TVornCursorId v) { SetProperty(dragSelCopyCursor_, v); }
  void SetInSelCursor(TVornCursorId v) { SetProperty(inSelCursor_, v); }
  void SetLeftMarginCursor(TVornCursorId v) { SetProperty(leftMarginCursor_, v); }

  void Assign(const TVornEditCursors& src);
  bool operator==(const TVornEditCursors& o) const;

private:
  void Set(TVornCursorId& field, TVornCursorId v) {
    if (field == v) return;
    field = v;
    Changed();
  }
  TVornCursorId defaultCursor_ = TVornCursorId::cuIBeam;
  TVornCursorId dragSelCursor_ = TVornCursorId::cuDrag;
  TVornCursorId dragSelCopyCursor_ = TVornCursorId::cuDragSelCopy;
  TVornCursorId inSelCursor_ = TVornCursorId::cuDefault;
  TVornCursorId leftMarginCursor_ = TVornCursorId::cuRightArrow;
};

enum TVornEditCaretStyle { csDefault, csBrief, csDos };
enum TDragMode { dmManual, dmAutomatic };

class TVornEditCaret : public TNotifyPersistent {
public:
  TVornEditCaret();
  TVornEditCaret(const TVornEditCaret& o);
  TVornEditCaret& operator=(const TVornEditCaret&) = delete;

  bool AutoCursor() const { return autoCursor_; }
  bool AutoIndent() const { return autoIndent_; }
  TVornEditCursors& Cursors() { return cursors_; }
  const TVornEditCursors& Cursors() const { return cursors_; }
  bool FreeCaret() const { return freeCaret_; }
  bool InTab() const { return inTab_; }
  bool KeepCaret() const { return keepCaret_; }
  bool LockScroll() const { return lockScroll_; }
  bool NextLine() const { return nextLine_; }
  bool PrevSpaceIndent() const { return prevSpaceIndent_; }
  bool RowSelect() const { return rowSelect_; }
  TDragMode SelDragMode() const { return selDragMode_; }
  bool SelMove() const { return selMove_; }
  bool SoftTab() const { return softTab_; }
  TVornEditCaretStyle Style() const { return style_; }
  bool TabIndent() const { return tabIndent_; }
  int TabSpaceCount() const { return tabSpaceCount_; }
  bool WSpaceIndent() const { return wSpaceIndent_; }
  bool IndentWithSpace() const { return indentWithSpace_; }
  bool IndentWidthEqTabWidth() const { return indentWidthEqTabWidth_; }
  int IndentWidth() const { return indentWidth_; }
  bool ChangeColorForImeStatus() const { return changeColorForImeStatus_; }
  // Not published: the control keeps its caret pixel offset here.
  int CaretOffset() const { return caretOffset_; }

  void SetAutoCursor(bool v) { SetProperty(autoCursor_, v); }
  void SetAutoIndent(bool v) { SetProperty(autoIndent_, v); }
  void SetCursors(const TVornEditCursors& v) { cursors_.Assign(v); }
  void SetFreeCaret(bool v) { SetProperty(freeCaret_, v); }
  void SetInTab(bool v) { SetProperty(inTab_, v); }
  void SetKeepCaret(bool v) { SetProperty(keepCaret_, v); }
  void SetLockScroll(bool v) { SetProperty(lockScroll_, v); }
  void SetNextLine(bool v) { SetProperty(nextLine_, v); }
  void SetPrevSpaceIndent(bool v) { SetProperty(prevSpaceIndent_, v); }
  void SetRowSelect(bool v) { SetProperty(rowSelect_, v); }
  void SetSelDragMode(TDragMode v) { SetProperty(selDragMode_, v); }
  void SetSelMove(bool v) { SetProperty(selMove_, v); }
  void SetSoftTab(bool v) { SetProperty(softTab_, v); }
  void SetStyle(TVornEditCaretStyle v) { SetProperty(style_, v); }
  void SetTabIndent(bool v) { SetProperty(tabIndent_, v); }
  void SetTabSpaceCount(int v);
  void SetWSpaceIndent(bool v) { SetProperty(wSpaceIndent_, v); }
  void SetIndentWithSpace(bool v);
  void SetIndentWidthEqTabWidth(bool v) { SetProperty(indentWidthEqTabWidth_, v); }
  void SetIndentWidth(int v) { SetProperty(indentWidth_, v); }
  void SetChangeColorForImeStatus(bool v) { SetProperty(changeColorForImeStatus_, v); }
  void SetCaretOffset(int v) { caretOffset_ = v; }

  void Assign(const TVornEditCaret& src);
  bool operator==(const TVornEditCaret& o) const;

private:
  bool autoCursor_ = true;
  bool autoIndent_ = true;
  TVornEditCursors cursors_;
  bool freeCaret_ = true;
  bool inTab_ = false;
  bool keepCaret_ = false;
  bool lockScroll_ = false;
  bool nextLine_ = false;
  bool prevSpaceIndent_ = false;
  bool rowSelect_ = true;
  TDragMode selDragMode_ = dmAutomatic;
  bool selMove_ = true;
  bool softTab_ = false;
  TVornEditCaretStyle style_ = csDefault;
  bool tabIndent_ = false;
  int tabSpaceCount_ = 8;
  bool wSpaceIndent_ = false;
  bool indentWithSpace_ = false;
  bool indentWidthEqTabWidth_ = true;
  int indentWidth_ = 8;
  bool changeColorForImeStatus_ = false;
  int caretOffset_ = 0;
};

class TVornEditMargin : public TNotifyPersistent {
public:
  int Character() const { return character_; }
  int Left() const { return left_; }
  int Line() const { return line_; }
  int Top() const { return top_; }
  int UnderlineSpace() const { return underlineSpace_; }
  void SetCharacter(int v);
  void SetLeft(int v) { SetProperty(left_, v); }
  void SetLine(int v) { SetProperty(line_, v); }
  void SetTop(int v) { SetProperty(top_, v); }
  void SetUnderlineSpace(int v) { SetProperty(underlineSpace_, v); }

  // Always notifies: the owner re-measures its rows after every assignment.
  void Assign(const TVornEditMargin& src);
  bool operator==(const TVornEditMargin& o) const;

private:
  void Set(int& field, int v) {
    if (field == v) return;
    field = v;
    Changed();
  }
  int character_ = 0;
  int left_ = 10;
  int line_ = 0;
  int top_ = 2;
  int underlineSpace_ = 0;
};

class TVornEditMarks : public TNotifyPersistent {
public:
  bool EofMark() const { return eofMark_; }
  bool RetMark() const { return retMark_; }
  bool Underline() const { return underline_; }
  bool WordWrapLine() const { return wordWrapLine_; }
  bool TabMark() const { return tabMark_; }
  bool DBSpaceMark() const { return dbSpaceMark_; }
  bool SpaceMark() const { return spaceMark_; }
  void SetEofMark(bool v) { SetProperty(eofMark_, v); }
  void SetRetMark(bool v) { SetProperty(retMark_, v); }
  void SetUnderline(bool v) { SetProperty(underline_, v); }
  void SetWordWrapLine(bool v) { SetProperty(wordWrapLine_, v); }
  void SetTabMark(bool v) { SetProperty(tabMark_, v); }
  void SetDBSpaceMark(bool v) { SetProperty(dbSpaceMark_, v); }
  void SetSpaceMark(bool v) { SetProperty(spaceMark_, v); }

  void Assign(const TVornEditMarks& src);
  bool operator==(const TVornEditMarks& o) const;

private:
  void Set(bool& field, bool v) {
    if (field == v) return;
    field = v;
    Changed();
  }
  bool eofMark_ = true;
  bool retMark_ = true;
  bool underline_ = false;
  bool wordWrapLine_ = false;
  bool tabMark_ = false;
  bool dbSpaceMark_ = false;
  bool spaceMark_ = false;
};

}  // namespace vorn
