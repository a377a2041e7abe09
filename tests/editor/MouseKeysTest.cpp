// Mouse and wheel as events: the caret and selection they leave, auto-scroll past the bottom
// edge, wheel deltas summed into rows.
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

class MouseKeysTest : public ::testing::Test {
protected:
  void SetUp() override {
    edit = MakeEdit(NewWrappedStore(), {400, 300});
    LoadText(*edit, Lines(100));
  }
  QPoint CellPoint(int row, int col, int dx = 1) const {
    const TEditMetrics& m = edit->Metrics();
    return {m.TextLeft() + col * m.CellWidth() + dx, m.TextTop() + row * m.RowHeight() + 3};
  }
  void Mouse(QEvent::Type type, QPoint pos, Qt::KeyboardModifiers mods = {}) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), edit->viewport()->mapToGlobal(QPointF(pos)), button, held, mods);
    QApplication::sendEvent(edit->viewport(), &event);
  }
  std::unique_ptr<TVornEdit> edit;
};

TEST_F(MouseKeysTest, ClickRoundsToTheNearerColumnBoundaryAndShiftClickSelects) {
  const int cw = edit->Metrics().CellWidth();
  Mouse(QEvent::MouseButtonPress, CellPoint(2, 3, cw - 2));  // right half of column 3
  Mouse(QEvent::MouseButtonRelease, CellPoint(2, 3, cw - 2));
  EXPECT_EQ(edit->Core().Caret(), (TRowCol{2, 4}));
  EXPECT_FALSE(edit->Core().HasSelection());
  Mouse(QEvent::MouseButtonPress, CellPoint(4, 2), Qt::ShiftModifier);
  Mouse(QEvent::MouseButtonRelease, CellPoint(4, 2), Qt::ShiftModifier);
  EXPECT_TRUE(edit->Core().HasSelection());
  EXPECT_EQ(edit->Core().GetSelText(), " 102\r\nline 103\r\nli");
}

TEST_F(MouseKeysTest, AltDragSelectsABoxEvenAfterAStreamSelection) {
  Mouse(QEvent::MouseButtonPress, CellPoint(0, 1));
  Mouse(QEvent::MouseMove, CellPoint(2, 5));
  Mouse(QEvent::MouseButtonRelease, CellPoint(2, 5));
  ASSERT_TRUE(edit->Core().HasSelection());
  EXPECT_FALSE(edit->Core().BoxMode());
  Mouse(QEvent::MouseButtonPress, CellPoint(1, 2), Qt::AltModifier);
  Mouse(QEvent::MouseMove, CellPoint(3, 6), Qt::AltModifier);
  Mouse(QEvent::MouseButtonRelease, CellPoint(3, 6), Qt::AltModifier);
  ASSERT_TRUE(edit->Core().HasSelection());
  EXPECT_TRUE(edit->Core().BoxMode());
  EXPECT_EQ(edit->Core().Selection().Cols, (TColumnRange{1, 3, 2, 6}));
}

TEST_F(MouseKeysTest, DraggingBelowTheTextScrollsAndExtendsTheSelection) {
  Mouse(QEvent::MouseButtonPress, CellPoint(1, 0));
  Mouse(QEvent::MouseMove, QPoint(40, edit->viewport()->height() + 10));
  const int topAfterMove = edit->Core().TopRow();
  QTest::qWait(300);
  EXPECT_GT(edit->Core().TopRow(), topAfterMove);
  Mouse(QEvent::MouseButtonRelease, QPoint(40, edit->viewport()->height() + 10));
  const int top = edit->Core().TopRow();
  QTest::qWait(120);
  EXPECT_EQ(edit->Core().TopRow(), top);  // released: no more scrolling
  EXPECT_TRUE(edit->Core().HasSelection());
  EXPECT_EQ(edit->Core().Selection().Cols.StartRow, 1);
  EXPECT_GE(edit->Core().CaretRow(), top + edit->Core().VisibleRows() - 1);
}

TEST_F(MouseKeysTest, SmallWheelDeltasAddUpToRows) {
  const int lines = std::min(QApplication::wheelScrollLines(), edit->Core().VisibleRows() - 1);
  edit->Core().SetTopRow(50);
  auto wheel = [this](int delta) {
    QWheelEvent event(QPointF(50, 50), edit->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit->viewport(), &event);
  };
  for (int i = 0; i < 8; ++i) wheel(-15);  // one notch in touchpad steps
  EXPECT_EQ(edit->Core().TopRow(), 50 + lines);
  wheel(120);
  EXPECT_EQ(edit->Core().TopRow(), 50);
}

}  // namespace
}  // namespace vorn::test
