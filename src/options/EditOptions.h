// Caret, cursor, margin and mark option records of the editor control.
//
// Errors, options: none. Setters clamp a value out of range instead of refusing it.
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

// The published cursor roles, compared and copied as one value.
struct TVornEditCursorValues {
  TVornCursorId DefaultCursor = TVornCursorId::cuIBeam;
  TVornCursorId DragSelCursor = TVornCursorId::cuDrag;
  TVornCursorId DragSelCopyCursor = TVornCursorId::cuDragSelCopy;
  TVornCursorId InSelCursor = TVornCursorId::cuDefault;
  TVornCursorId LeftMarginCursor = TVornCursorId::cuRightArrow;
  friend bool operator==(const TVornEditCursorValues&, const TVornEditCursorValues&) = default;
};

class TVornEditCursors : public TNotifyPersistent {
public:
  TVornCursorId DefaultCursor() const { return values_.DefaultCursor; }
  TVornCursorId DragSelCursor() const { return values_.DragSelCursor; }
  TVornCursorId DragSelCopyCursor() const { return values_.DragSelCopyCursor; }
  TVornCursorId InSelCursor() const { return values_.InSelCursor; }
  TVornCursorId LeftMarginCursor() const { return values_.LeftMarginCursor; }
  void SetDefaultCursor(TVornCursorId v) { SetProperty(values_.DefaultCursor, v); }
  void SetDragSelCursor(TVornCursorId v) { SetProperty(values_.DragSelCursor, v); }
  void SetDragSelCopyCursor(TVornCursorId v) { SetProperty(values_.DragSelCopyCursor, v); }
  void SetInSelCursor(TVornCursorId v) { SetProperty(values_.InSelCursor, v); }
  void SetLeftMarginCursor(TVornCursorId v) { SetProperty(values_.LeftMarginCursor, v); }

  void Assign(const TVornEditCursors& src);
  bool operator==(const TVornEditCursors& o) const { return values_ == o.values_; }

private:
  TVornEditCursorValues values_;
};

enum TVornEditCaretStyle { csDefault, csBrief, csDos };
enum TDragMode { dmManual, dmAutomatic };

// The caret's published settings besides its cursors, compared and copied as one value.
struct TVornEditCaretValues {
  bool AutoCursor = true;
  bool AutoIndent = true;
  bool FreeCaret = true;
  bool InTab = false;
  bool KeepCaret = false;
  bool LockScroll = false;
  bool NextLine = false;
  bool PrevSpaceIndent = false;
  bool RowSelect = true;
  TDragMode SelDragMode = dmAutomatic;
  bool SelMove = true;
  bool SoftTab = false;
  TVornEditCaretStyle Style = csDefault;
  bool TabIndent = false;
  int TabSpaceCount = 8;
  bool WSpaceIndent = false;
  bool IndentWithSpace = false;
  bool IndentWidthEqTabWidth = true;
  int IndentWidth = 8;
  bool ChangeColorForImeStatus = false;
  friend bool operator==(const TVornEditCaretValues&, const TVornEditCaretValues&) = default;
};

class TVornEditCaret : public TNotifyPersistent {
public:
  TVornEditCaret();
  TVornEditCaret(const TVornEditCaret& o);
  TVornEditCaret& operator=(const TVornEditCaret&) = delete;

  bool AutoCursor() const { return values_.AutoCursor; }
  bool AutoIndent() const { return values_.AutoIndent; }
  TVornEditCursors& Cursors() { return cursors_; }
  const TVornEditCursors& Cursors() const { return cursors_; }
  bool FreeCaret() const { return values_.FreeCaret; }
  bool InTab() const { return values_.InTab; }
  bool KeepCaret() const { return values_.KeepCaret; }
  bool LockScroll() const { return values_.LockScroll; }
  bool NextLine() const { return values_.NextLine; }
  bool PrevSpaceIndent() const { return values_.PrevSpaceIndent; }
  bool RowSelect() const { return values_.RowSelect; }
  TDragMode SelDragMode() const { return values_.SelDragMode; }
  bool SelMove() const { return values_.SelMove; }
  bool SoftTab() const { return values_.SoftTab; }
  TVornEditCaretStyle Style() const { return values_.Style; }
  bool TabIndent() const { return values_.TabIndent; }
  int TabSpaceCount() const { return values_.TabSpaceCount; }
  bool WSpaceIndent() const { return values_.WSpaceIndent; }
  bool IndentWithSpace() const { return values_.IndentWithSpace; }
  bool IndentWidthEqTabWidth() const { return values_.IndentWidthEqTabWidth; }
  int IndentWidth() const { return values_.IndentWidth; }
  bool ChangeColorForImeStatus() const { return values_.ChangeColorForImeStatus; }
  // Not published: the control keeps its caret pixel offset here.
  int CaretOffset() const { return caretOffset_; }

  void SetAutoCursor(bool v) { SetProperty(values_.AutoCursor, v); }
  void SetAutoIndent(bool v) { SetProperty(values_.AutoIndent, v); }
  void SetCursors(const TVornEditCursors& v) { cursors_.Assign(v); }
  void SetFreeCaret(bool v) { SetProperty(values_.FreeCaret, v); }
  void SetInTab(bool v) { SetProperty(values_.InTab, v); }
  void SetKeepCaret(bool v) { SetProperty(values_.KeepCaret, v); }
  void SetLockScroll(bool v) { SetProperty(values_.LockScroll, v); }
  void SetNextLine(bool v) { SetProperty(values_.NextLine, v); }
  void SetPrevSpaceIndent(bool v) { SetProperty(values_.PrevSpaceIndent, v); }
  void SetRowSelect(bool v) { SetProperty(values_.RowSelect, v); }
  void SetSelDragMode(TDragMode v) { SetProperty(values_.SelDragMode, v); }
  void SetSelMove(bool v) { SetProperty(values_.SelMove, v); }
  void SetSoftTab(bool v) { SetProperty(values_.SoftTab, v); }
  void SetStyle(TVornEditCaretStyle v) { SetProperty(values_.Style, v); }
  void SetTabIndent(bool v) { SetProperty(values_.TabIndent, v); }
  void SetTabSpaceCount(int v);
  void SetWSpaceIndent(bool v) { SetProperty(values_.WSpaceIndent, v); }
  void SetIndentWithSpace(bool v);
  void SetIndentWidthEqTabWidth(bool v) { SetProperty(values_.IndentWidthEqTabWidth, v); }
  void SetIndentWidth(int v) { SetProperty(values_.IndentWidth, v); }
  void SetChangeColorForImeStatus(bool v) { SetProperty(values_.ChangeColorForImeStatus, v); }
  void SetCaretOffset(int v) { caretOffset_ = v; }

  // The published settings besides the cursors as one value, as the editor core holds them.
  const TVornEditCaretValues& Values() const { return values_; }
  void SetValues(const TVornEditCaretValues& v);

  void Assign(const TVornEditCaret& src);
  bool operator==(const TVornEditCaret& o) const { return values_ == o.values_ && cursors_ == o.cursors_; }

private:
  TVornEditCaretValues values_;
  TVornEditCursors cursors_;
  int caretOffset_ = 0;
};

struct TVornEditMarginValues {
  int Character = 0;
  int Left = 10;
  int Line = 0;
  int Top = 2;
  int UnderlineSpace = 0;
  friend bool operator==(const TVornEditMarginValues&, const TVornEditMarginValues&) = default;
};

class TVornEditMargin : public TNotifyPersistent {
public:
  int Character() const { return values_.Character; }
  int Left() const { return values_.Left; }
  int Line() const { return values_.Line; }
  int Top() const { return values_.Top; }
  int UnderlineSpace() const { return values_.UnderlineSpace; }
  void SetCharacter(int v);
  void SetLeft(int v) { SetProperty(values_.Left, v); }
  void SetLine(int v) { SetProperty(values_.Line, v); }
  void SetTop(int v) { SetProperty(values_.Top, v); }
  void SetUnderlineSpace(int v) { SetProperty(values_.UnderlineSpace, v); }

  // Notifies once when anything differs: the owner then re-measures its rows.
  void Assign(const TVornEditMargin& src);
  bool operator==(const TVornEditMargin& o) const { return values_ == o.values_; }

private:
  TVornEditMarginValues values_;
};

struct TVornEditMarksValues {
  bool EofMark = true;
  bool RetMark = true;
  bool Underline = false;
  bool WordWrapLine = false;
  bool TabMark = false;
  bool DBSpaceMark = false;
  bool SpaceMark = false;
  friend bool operator==(const TVornEditMarksValues&, const TVornEditMarksValues&) = default;
};

class TVornEditMarks : public TNotifyPersistent {
public:
  bool EofMark() const { return values_.EofMark; }
  bool RetMark() const { return values_.RetMark; }
  bool Underline() const { return values_.Underline; }
  bool WordWrapLine() const { return values_.WordWrapLine; }
  bool TabMark() const { return values_.TabMark; }
  bool DBSpaceMark() const { return values_.DBSpaceMark; }
  bool SpaceMark() const { return values_.SpaceMark; }
  void SetEofMark(bool v) { SetProperty(values_.EofMark, v); }
  void SetRetMark(bool v) { SetProperty(values_.RetMark, v); }
  void SetUnderline(bool v) { SetProperty(values_.Underline, v); }
  void SetWordWrapLine(bool v) { SetProperty(values_.WordWrapLine, v); }
  void SetTabMark(bool v) { SetProperty(values_.TabMark, v); }
  void SetDBSpaceMark(bool v) { SetProperty(values_.DBSpaceMark, v); }
  void SetSpaceMark(bool v) { SetProperty(values_.SpaceMark, v); }

  void Assign(const TVornEditMarks& src);
  bool operator==(const TVornEditMarks& o) const { return values_ == o.values_; }

private:
  TVornEditMarksValues values_;
};

}  // namespace vorn
