// TVornEdit: the editor control's widget: paints the core's rows and forwards the platform's
// keys, mouse, wheel, scroll bars, input method and clipboard to it.
//
// Errors, editor: an event handler never lets an exception out (Qt cannot carry it); what the
// core refuses ends there, and what the window must tell the user arrives as a signal.
#pragma once

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <functional>
#include <memory>

#include "editcore/EditCore.h"
#include "editor/EditClipboard.h"
#include "editor/EditColors.h"
#include "editor/EditMetrics.h"
#include "editor/MarginPainter.h"
#include "editor/RowPainter.h"
#include "store/VornEditStrings.h"

namespace vorn {

class TVornEdit;

// How a pane looks besides its colour table: the marks, margins and rulers a file type sets.
struct TPaneLook {
  TVornEditMarksValues Marks;
  bool VerticalRuler = false;  // line numbers in the left margin
  bool HorizontalRuler = false;
  bool PhysicalLineNum = false;
  bool LeftMarginLine = false;
  bool WrapMarker = false;  // the formatting options' automatic trigger: its width is marked
  int WrapCount = 70;
  friend bool operator==(const TPaneLook&, const TPaneLook&) = default;
};

// Where a pane's key-downs go: the window's key map. The pane has no key handling of its own,
// so every key reaches the commands through one table.
class TPaneKeyRoute {
public:
  virtual ~TPaneKeyRoute() = default;
  // Carries out what the key stands for, typing its text on pane where it is to be typed.
  virtual void KeyDown(TVornEdit& pane, const QKeyEvent& event) = 0;
  // The key stands for a command, so no shortcut of the window may take it first.
  virtual bool Assigned(const QKeyEvent& event) const = 0;
};

class TVornEdit : public QAbstractScrollArea {
  Q_OBJECT
public:
  // A pane over store; other panes may show the same store.
  explicit TVornEdit(std::shared_ptr<TVornEditScreenStrings> store, QWidget* parent = nullptr);
  ~TVornEdit() override;

  // Every operation of the control lives in the core; call Flush() after driving it directly.
  TVornEditCore& Core() { return *core_; }
  const TVornEditCore& Core() const { return *core_; }
  TVornEditStrings& Lines() { return *lines_; }
  const TEditMetrics& Metrics() const { return metrics_; }

  void SetEditFont(const QFont& font);
  QFont EditFont() const { return font_; }
  void SetColors(const TEditColors& colors);
  const TEditColors& Colors() const { return colors_; }
  // The view options (colour table, keywords, brackets, comment, quotations) the rows are
  // coloured with; shared with the store's bracket walk. Null: plain colours.
  void SetViewOptions(std::shared_ptr<TVornEditViewInfo> view);
  const std::shared_ptr<TVornEditViewInfo>& ViewOptions() const { return view_; }
  void SetLook(const TPaneLook& look);
  const TPaneLook& Look() const { return look_; }
  // Italic or bold glyphs may overhang their cells: recomputed with the font and colours.
  bool PerCharacterDrawing() const { return perChar_; }
  // What the painter decides for row: its cells (character, colour entry, style, mark) and
  // its margin, as text (see DumpRowPaint), so colouring is tested without pixels.
  std::string PaintDump(int row);

  // Brings the backing image, scroll bars and caret up to date with the core and schedules
  // the screen update of what changed.
  void Flush();
  // Paints every row of the backing image again.
  void RepaintAll();
  // What the rows look like now, without caret and pre-edit.
  const QImage& BackingImage() const { return image_; }
  // The backing image with the caret (in its shown blink phase) and the pre-edit on top: what
  // the screen shows.
  QImage ComposedImage() const;

  const QString& PreeditText() const { return preedit_; }
  // The caret is drawn (blink phase aside): the core lets it show and no pre-edit hides it.
  bool CaretShown() const;
  // Where the caret is drawn, in viewport pixels.
  QRect CaretRect() const;

  // Widget pixels to a cell; rounded moves a point in a cell's right half to the next column.
  TRowCol CellAt(QPoint p, bool rounded) const;

  // Answers the input method: enabled, and the caret's cell so the candidate window sits there.
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  // nullptr: keys only type their text.
  void SetKeyRoute(TPaneKeyRoute* route) { keyRoute_ = route; }
  // Types the text a key carries; nothing for a menu or system chord (Alt, Meta), whatever text
  // the platform attaches to it.
  void TypeKeyText(const QKeyEvent& event);

  // The cursor shapes of the cursor roles (the caret options' cursors).
  void SetCursorRoles(const TVornEditCursorValues& roles) { cursorRoles_ = roles; }
  // What a double-clicked URL, mail address or file name is opened with; by default the
  // desktop's opener. Tests put a recorder here.
  void SetOpener(std::function<void(const QString&)> opener) { opener_ = std::move(opener); }
  // The mouse cursor kinds, in the order of their numbers.
  enum class TCursorKind { Default, LeftMargin, InSelection, DragMove, DragCopy, Hand, Platform, None };
  TCursorKind CursorKind() const { return cursorKind_; }
  // Rows one wheel notch scrolls; 0 or less takes the system's setting.
  void SetIntelliMouseCount(int rows) { intelliMouseCount_ = rows; }

  // Drawing hooks of the window: each draws on the backing image after the pane's own drawing
  // and costs nothing while unassigned. Assigning one repaints the pane.
  struct TDrawLineArgs {
    std::string_view LineStr;  // the row's text as coloured: its line's rows before it, the row, and the next row of a wrapped line, tabs expanded
    int X = 0;                 // column 0's x
    int Y = 0;                 // the row's top
    int Index = 0;             // the row
    QRect ARect;               // the painted piece
    bool Selected = false;
    bool Last = false;
  };
  using TDrawLineHandler = std::function<void(TVornEdit& sender, QPainter& p, const TDrawLineArgs& args)>;
  using TDrawRetMarkHandler = std::function<void(TVornEdit& sender, QPainter& p, int x, int y, bool drawBack)>;
  using TDrawMarginLeftHandler = std::function<void(TVornEdit& sender, QPainter& p)>;
  void SetOnDrawLine(TDrawLineHandler handler);
  void SetOnDrawRetMark(TDrawRetMarkHandler handler);
  void SetOnDrawMarginLeft(TDrawMarginLeftHandler handler);
  // The difference kind (0-5) shown beside the row after the last line, and the difference run
  // it belongs to (kept for the difference commands, not read here).
  void SetLastLineInfo(int kind);
  int LastLineInfo() const { return lastLineInfo_; }
  void SetLastLineIndex(int run) { lastLineIndex_ = run; }
  int LastLineIndex() const { return lastLineIndex_; }

  // The input method is opened when this is set and whenever the pane gets the focus.
  void SetImeControl(bool on);
  bool ImeControl() const { return imeControl_; }
  // What opening the input method does; by default the platform's. Tests put a recorder here.
  void SetInputMethodOpener(std::function<void()> open) { imeOpener_ = std::move(open); }

Q_SIGNALS:
  void CaretMoved();
  void Changed();
  // Typed or committed text held characters Shift_JIS cannot hold; they were not inserted.
  void CharactersDropped(int count);
  // An edit of this pane held NUL bytes; they went into the text as spaces.
  void NulBytesReplaced(int count);
  // A hot spot was double-clicked (kind 20 URL, 21 mail address, 22 file name, 23 mail id);
  // setting *handled keeps the pane's own action from running.
  void HotSpotDoubleClicked(int kind, const QString& token, bool* handled);
  void MailDoubleClicked(const QString& address, bool* handled);
  void MailIdDoubleClicked(const QString& id, bool* handled);

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool event(QEvent* event) override;
  void scrollContentsBy(int, int) override {}
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  // painting (EditPaint.cpp)
  void ApplyFont();
  bool EnsureImageSize();
  void PaintRows(int firstRow, int lastRow);
  void PaintRowInto(QPainter& p, int row);
  void ApplyLook();
  void SyncColoring();
  TRowSpan SpanOf(int row);
  int LineStartState(int firstRow);
  void ColorRowInto(int row, TRowPaint& paint);
  void PaintRuler(QPainter& p);
  void PaintRowExtras(QPainter& p, int row, int top);
  void RaiseDrawLine(QPainter& p, int row, const TRowBand& band, TSelSpan sel);
  std::string DrawLineText(int row) const;
  TMarginSetup MarginSetup() const;
  int UnderlineRow() const;
  int WrapLineX() const;
  TSelSpan SelectionSpanOf(int row) const;
  TEndMark EndMarkOf(int row) const;
  QRect RowsRect(int firstRow, int lastRow) const;
  void DrawCaret(QPainter& p) const;
  void DrawPreedit(QPainter& p) const;
  void RestartBlink();
  void BlinkTick();
  void ScheduleFlush();
  void EmitPending();

  // scrolling (EditScroll.cpp)
  void UpdateScrollBars();
  void VerticalBarMoved(int value);
  void HorizontalBarMoved(int value);
  int HorizontalLimit() const;
  void ScrollRowsTo(int top);

  // mouse (EditMouse.cpp)
  void DragTo(QPoint p);
  void AutoScrollTick();
  void RewrapTick();
  bool OutsideTextArea(QPoint p) const;

  // selection drags, margin rows, hot spots, cursors (EditDrag.cpp)
  enum class TDragState { None, Pending, Dragging };
  bool SelectionDraggable() const;
  void StartSelectionDrag(bool copy);
  bool AcceptsDrop(const QMimeData* data) const;
  TRowCol DropCell(QPoint p) const;
  int MarginRow(int row) const;
  void SelectMarginRows(int row);
  void DoubleClickAt(QPoint p);
  void OpenWithDesktop(const QString& target);
  bool FocusClickGuarded();
  void SetCursorKind(TCursorKind kind);
  TCursorKind CursorKindAt(QPoint p) const;
  void HoverAt(QPoint p);

  // keys and input (EditKeys.cpp, EditInputMethod.cpp)
  void TypeText(const QString& text);
  void SetPreedit(const QString& text, int cursor);
  // Text to Shift_JIS, leaving out what code page 932 cannot hold; dropped counts those.
  static std::string HoldableSjis(const QString& text, int& dropped);

  QFont font_;
  TEditMetrics metrics_;
  std::unique_ptr<TVornEditCore> core_;
  std::unique_ptr<TVornEditStrings> lines_;
  TQtClipboard clipboard_;
  TEditColors colors_;
  TRowPainter painter_;
  std::shared_ptr<TVornEditViewInfo> view_;
  TPaneLook look_;
  TPaintPalette palette_;
  bool perChar_ = false;
  TRowColorer colorer_;
  TRowPaint rowPaint_;
  TMarginPainter margin_;
  // The logical line of the last coloured wrapped row, joined, and where its rows start.
  struct TJoinedLine {
    int First = -1;
    int Last = -1;
    std::string Text;
    std::vector<int> Offsets;
  } line_;
  int coloredVersion_ = -1;
  int paintedRulerCaret_ = -2;
  int paintedUnderline_ = -1;
  QImage image_;
  bool imageValid_ = false;
  int paintedTop_ = -1;
  int paintedLeft_ = -1;
  QRect paintedCaret_;
  bool flushPosted_ = false;
  bool caretMovedPending_ = false;
  bool changedPending_ = false;
  bool syncingBars_ = false;

  TDrawLineHandler onDrawLine_;
  TDrawRetMarkHandler onDrawRetMark_;
  TDrawMarginLeftHandler onDrawMarginLeft_;
  int lastLineInfo_ = 0;
  int lastLineIndex_ = 0;
  bool imeControl_ = false;
  std::function<void()> imeOpener_;

  // input method (EditInputMethod.cpp)
  void OpenInputMethod();

  TPaneKeyRoute* keyRoute_ = nullptr;
  QTimer blinkTimer_;
  bool blinkOn_ = true;
  QString preedit_;
  int preeditCursor_ = 0;

  bool selecting_ = false;  // the left button went down in the text and is held
  QPoint pressPos_;
  QPoint lastMouse_;
  QTimer autoScrollTimer_;
  // Cuts a long text's word wrap in steps between events while the store has some left.
  QTimer rewrapTimer_;
  int wheelRemainder_ = 0;
  int intelliMouseCount_ = 0;

  TDragState dragState_ = TDragState::None;
  TRowCol pressCell_;
  TRowCol dropCaret_;
  bool dropHandledHere_ = false;
  bool rowDrag_ = false;
  int rowDragFirst_ = 0;
  bool dblClickGuard_ = false;  // a double-click selected a word: the end of a drag keeps it
  bool focusLost_ = false;
  QElapsedTimer focusBack_;
  TCursorKind cursorKind_ = TCursorKind::Default;
  TVornEditCursorValues cursorRoles_;
  std::function<void(const QString&)> opener_;
};

}  // namespace vorn
