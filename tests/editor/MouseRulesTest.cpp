// The mouse beyond plain selection, as events: rows selected from the left margin, a press in
// the selection released without a drag, double-clicks on URLs, mail and words, the cursor kinds,
// the focus-click guard, the wheel's row count and LockScroll, and text dropped from elsewhere.
#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include "EditFixture.h"

namespace vorn::test {
namespace {

std::string Lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "line " + std::to_string(100 + i) + "\r\n";
  return text;
}

std::string JoinedTextOf(TVornEdit& edit) {
  const TVornEditCore& core = edit.Core();
  std::string text;
  for (int r = 0; r < core.RowCount(); ++r) text += core.GetRowText(r) + (core.RowKind(r) == reLineEnd ? "\r\n" : "");
  return text;
}

class MouseRules : public ::testing::Test {
protected:
  void SetUp() override {
    edit = MakeEdit(NewWrappedStore(), {400, 300});
    LoadText(*edit, Lines(100));
    edit->SetOpener([this](const QString& target) { opened << target; });
    edit->activateWindow();
    edit->setFocus();
    QApplication::processEvents();
  }
  QPoint CellPoint(int row, int col, int dx = 1) const {
    const TEditMetrics& m = edit->Metrics();
    return {m.TextLeft() + col * m.CellWidth() + dx, m.TextTop() + row * m.RowHeight() + 3};
  }
  QPoint MarginPoint(int row) const { return {2, CellPoint(row, 0).y()}; }
  void Mouse(QEvent::Type type, QPoint pos, Qt::KeyboardModifiers mods = {}, Qt::MouseButtons held = Qt::LeftButton) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    if (type == QEvent::MouseButtonRelease) held = Qt::NoButton;
    QMouseEvent event(type, QPointF(pos), edit->viewport()->mapToGlobal(QPointF(pos)), button, held, mods);
    QApplication::sendEvent(edit->viewport(), &event);
  }
  void Click(QPoint pos) {
    Mouse(QEvent::MouseButtonPress, pos);
    Mouse(QEvent::MouseButtonRelease, pos);
  }
  void DoubleClick(QPoint pos) {
    Click(pos);
    Mouse(QEvent::MouseButtonDblClick, pos);
    Mouse(QEvent::MouseButtonRelease, pos);
  }
  void Wheel(int delta) {
    const QPointF pos(50, 50);
    QWheelEvent event(pos, edit->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit->viewport(), &event);
  }
  TVornEditCore& Core() { return edit->Core(); }
  std::unique_ptr<TVornEdit> edit;
  QStringList opened;
};

TEST_F(MouseRules, TheLeftMarginSelectsWholeRowsBothWays) {
  Mouse(QEvent::MouseButtonPress, MarginPoint(2));
  EXPECT_EQ(Core().GetSelText(), "line 102\r\n");
  EXPECT_EQ(Core().Caret(), (TRowCol{3, 0}));
  Mouse(QEvent::MouseMove, MarginPoint(4));
  EXPECT_EQ(Core().GetSelText(), "line 102\r\nline 103\r\nline 104\r\n");
  Mouse(QEvent::MouseMove, CellPoint(0, 6));  // back up past the first row, into the text
  EXPECT_EQ(Core().GetSelText(), "line 100\r\nline 101\r\nline 102\r\n");
  EXPECT_EQ(Core().Caret(), (TRowCol{0, 0}));
  Mouse(QEvent::MouseButtonRelease, CellPoint(0, 6));
  EXPECT_TRUE(Core().HasSelection());

  // A last row without a line break is selected to its end, the caret staying on it.
  LoadText(*edit, "one\r\ntwo");
  Mouse(QEvent::MouseButtonPress, MarginPoint(5));
  Mouse(QEvent::MouseButtonRelease, MarginPoint(5));
  EXPECT_EQ(Core().GetSelText(), "two");
}

TEST_F(MouseRules, PressingInTheSelectionAndReleasingClearsItAtThePressPoint) {
  Mouse(QEvent::MouseButtonPress, CellPoint(1, 0));
  Mouse(QEvent::MouseMove, CellPoint(3, 4));
  Mouse(QEvent::MouseButtonRelease, CellPoint(3, 4));
  ASSERT_TRUE(Core().HasSelection());
  const std::string text = Core().GetSelText();
  Mouse(QEvent::MouseButtonPress, CellPoint(2, 2));
  EXPECT_EQ(Core().GetSelText(), text);  // pending: nothing happens before the release
  Mouse(QEvent::MouseButtonRelease, CellPoint(2, 2));
  EXPECT_FALSE(Core().HasSelection());
  EXPECT_EQ(Core().Caret(), (TRowCol{2, 2}));
}

TEST_F(MouseRules, DoubleClicksOpenUrlsAndMailOrSelectTheWord) {
  LoadText(*edit, "go http://example.com/p?q=1 now\r\nwrite to me@example.org soon\r\nplain words");
  DoubleClick(CellPoint(0, 8));
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0], "http://example.com/p?q=1");
  EXPECT_FALSE(Core().HasSelection());

  // A handler that takes the mail address keeps the pane from opening it.
  bool take = true;
  QObject::connect(edit.get(), &TVornEdit::MailDoubleClicked, [&take](const QString&, bool* handled) { *handled = take; });
  DoubleClick(CellPoint(1, 12));
  EXPECT_EQ(opened.size(), 1);
  take = false;
  DoubleClick(CellPoint(1, 12));
  ASSERT_EQ(opened.size(), 2);
  EXPECT_EQ(opened[1], "mailto:me@example.org");

  DoubleClick(CellPoint(2, 7));
  EXPECT_EQ(Core().GetSelText(), "words");
  EXPECT_EQ(opened.size(), 2);
}

TEST_F(MouseRules, TheCursorFollowsWhatLiesUnderTheMouse) {
  LoadText(*edit, "see http://example.com here\r\nplain text\r\n");
  ASSERT_TRUE(edit->hasFocus());
  Mouse(QEvent::MouseMove, MarginPoint(1), {}, Qt::NoButton);
  EXPECT_EQ(edit->CursorKind(), TVornEdit::TCursorKind::LeftMargin);
  Mouse(QEvent::MouseMove, CellPoint(0, 8), {}, Qt::NoButton);
  EXPECT_EQ(edit->CursorKind(), TVornEdit::TCursorKind::Hand);
  Mouse(QEvent::MouseMove, CellPoint(1, 2), {}, Qt::NoButton);
  EXPECT_EQ(edit->CursorKind(), TVornEdit::TCursorKind::Default);
  Core().SetCaretPos(1, 0);
  Core().StartSelection();
  Core().SetCaretPos(1, 5);
  Core().ExtendSelection();
  Mouse(QEvent::MouseMove, CellPoint(1, 2), {}, Qt::NoButton);
  EXPECT_EQ(edit->CursorKind(), TVornEdit::TCursorKind::InSelection);
}

TEST_F(MouseRules, AClickThatBringsTheFocusBackOnlyFocuses) {
  Click(CellPoint(1, 1));
  ASSERT_EQ(Core().Caret(), (TRowCol{1, 1}));
  QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit.get(), &out);
  QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit.get(), &in);
  Click(CellPoint(3, 3));
  EXPECT_EQ(Core().Caret(), (TRowCol{1, 1}));
  QTest::qWait(130);
  Click(CellPoint(3, 3));
  EXPECT_EQ(Core().Caret(), (TRowCol{3, 3}));
}

TEST_F(MouseRules, TheWheelScrollsItsRowCountAndLockScrollCarriesTheCaret) {
  edit->SetIntelliMouseCount(3);
  Core().SetTopRow(40);
  Wheel(-120);
  EXPECT_EQ(Core().TopRow(), 43);
  Wheel(120);
  EXPECT_EQ(Core().TopRow(), 40);

  TVornEditCaretValues caret = Core().CaretOptions();
  caret.LockScroll = true;
  Core().SetCaretOptions(caret);
  Core().SetCaretPos(45, 2);
  const int top = Core().TopRow();
  const int screenRow = Core().CaretRow() - top;
  Wheel(-240);
  EXPECT_EQ(Core().TopRow(), top + 6);
  EXPECT_EQ(Core().CaretRow() - Core().TopRow(), screenRow);

  // A view of two rows scrolls one row (a page less one) whatever the count.
  auto small = MakeEdit(NewWrappedStore(), {400, 2 * edit->Metrics().RowHeight() + 25});
  LoadText(*small, Lines(50));
  small->SetIntelliMouseCount(3);
  ASSERT_LE(small->Core().VisibleRows(), 2);
  small->Core().SetTopRow(10);
  QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(small->viewport(), &event);
  EXPECT_EQ(small->Core().TopRow(), 10 + std::max(1, small->Core().VisibleRows() - 1));
}

TEST_F(MouseRules, TextDroppedFromAnotherProgramIsInsertedAndLossIsReported) {
  LoadText(*edit, "ab\r\ncd");
  int reported = 0;
  QObject::connect(edit.get(), &TVornEdit::CharactersDropped, [&reported](int n) { reported += n; });
  QMimeData data;
  data.setText(QString::fromUtf8("x\xE6\x97\xA5\xF0\x9F\x98\x80y"));  // x, a kanji, an emoji, y
  QDragEnterEvent enter(CellPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(edit->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(CellPoint(1, 1)), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(edit->viewport(), &drop);
  EXPECT_EQ(JoinedTextOf(*edit), "ab\r\ncx\x93\xFAyd");
  EXPECT_EQ(reported, 1);

  // Files are for the window to open.
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/tmp/a.txt")});
  QDragEnterEvent fileEnter(CellPoint(0, 0), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(edit->viewport(), &fileEnter);
  EXPECT_FALSE(fileEnter.isAccepted());
}

}  // namespace
}  // namespace vorn::test
