// The backing image after random edits, selections and scrolls equals a full repaint, and the
// row painter's marks and clipping.
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <random>

#include "EditFixture.h"
#include "RenderFixture.h"

namespace vorn::test {
namespace {

const char* const kPieces[] = {"a", "bc", " ", "\t", "\x82\xA0", "\x93\xFA\x96\x7B", "\xB1", ",", "\r\n", "\r\n",
                               "word", "\x87\x40", "\xFA\x40", "\x88\x9F\x88\x9F", "longer text here ", "/*", "*/",
                               "\"", "//", "\x81\x40", "\x01", "int "};

std::string RandomText(std::mt19937& rng, int pieces) {
  std::string text;
  for (int i = 0; i < pieces; ++i) text += kPieces[rng() % std::size(kPieces)];
  return text;
}

void SendMouse(TVornEdit& edit, QEvent::Type type, QPoint pos, Qt::KeyboardModifiers mods = {}) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(pos), edit.viewport()->mapToGlobal(QPointF(pos)), button, held, mods);
  QApplication::sendEvent(edit.viewport(), &event);
}

void SendWheel(TVornEdit& edit, int delta) {
  QWheelEvent event(QPointF(50, 50), edit.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(edit.viewport(), &event);
}

QPoint RandomPoint(std::mt19937& rng, const TVornEdit& edit) {
  // Some points lie outside the viewport, as a drag past the edges does.
  return {static_cast<int>(rng() % (edit.viewport()->width() + 40)) - 20,
          static_cast<int>(rng() % (edit.viewport()->height() + 40)) - 20};
}

// One random action; returns its name for the failure message.
std::string RandomStep(std::mt19937& rng, TVornEdit& edit) {
  TVornEditCore& core = edit.Core();
  switch (rng() % 16) {
    case 0: core.TypeText(RandomText(rng, 1 + static_cast<int>(rng() % 3))); return "type";
    case 1: core.InsertLineBreak(); return "enter";
    case 2: core.BackSpace(); return "backspace";
    case 3: core.DeleteChar(); return "delete";
    case 4: core.NavigationKey(static_cast<TNavKey>(rng() % 8), rng() % 2, rng() % 3 == 0); return "nav";
    case 5: core.Undo(); return "undo";
    case 6: core.Redo(); return "redo";
    case 7: SendWheel(edit, static_cast<int>(rng() % 480) - 240); return "wheel";
    case 8: edit.verticalScrollBar()->setValue(static_cast<int>(rng() % (core.RowCount() + 2))); return "vbar";
    case 9: edit.horizontalScrollBar()->setValue(static_cast<int>(rng() % 30)); return "hbar";
    case 10: {
      const Qt::KeyboardModifiers mods = rng() % 3 == 0 ? Qt::AltModifier : Qt::NoModifier;
      SendMouse(edit, QEvent::MouseButtonPress, RandomPoint(rng, edit), mods);
      SendMouse(edit, QEvent::MouseMove, RandomPoint(rng, edit), mods);
      SendMouse(edit, QEvent::MouseMove, RandomPoint(rng, edit), mods);
      SendMouse(edit, QEvent::MouseButtonRelease, RandomPoint(rng, edit), mods);
      return "drag";
    }
    case 11: SendMouse(edit, QEvent::MouseButtonPress, RandomPoint(rng, edit), Qt::ShiftModifier);
      SendMouse(edit, QEvent::MouseButtonRelease, RandomPoint(rng, edit), Qt::ShiftModifier);
      return "shift-click";
    case 12: core.SetOverwriteMode(!core.OverwriteMode()); return "overwrite";
    case 13: core.SelectAll(); return "select all";
    case 14: core.ClearSelection(); return "clear selection";
    default: core.InsertTab(false); return "tab";
  }
}

class PaintTest : public ::testing::TestWithParam<int> {};

// Whatever the incremental path skipped shows as a difference from painting every row again.
// Parameters from 100 on paint with syntax colours, every mark, both rulers and line numbers,
// and add bookmarks and find patterns to the random actions.
TEST_P(PaintTest, IncrementalRepaintEqualsFullRepaintAfterRandomActions) {
  const int wrapByte = GetParam() % 100;
  const bool styled = GetParam() >= 100;
  std::mt19937 rng(1234 + static_cast<unsigned>(GetParam()));
  auto edit = MakeEdit(NewWrappedStore(), {360, 260});
  if (styled) StyleForRendering(*edit);
  LoadText(*edit, RandomText(rng, 120), wrapByte);
  for (int step = 0; step < 400; ++step) {
    std::string action = RandomStep(rng, *edit);
    if (styled && step % 13 == 0) {
      TVornEditScreenStrings& store = edit->Core().Store();
      store.LineMarkTable().SetNumbered(static_cast<int>(rng() % 10), static_cast<int>(rng() % (store.LineCount() + 1)));
      action += " + bookmark";
    }
    if (styled && step % 17 == 0) {
      edit->Core().FindCondition().SetPattern(rng() % 2 ? "a" : "*/");
      action += " + find";
    }
    QApplication::processEvents();
    edit->Flush();
    if (step % 5 != 0) continue;
    const QImage incremental = edit->BackingImage().copy();
    edit->RepaintAll();
    ASSERT_EQ(FirstDifference(incremental, edit->BackingImage()), QPoint(-1, -1))
        << "step " << step << " after " << action;
  }
  // A fresh pane over the same store, scrolled to the same place, paints the same rows.
  edit->Core().ClearSelection();
  edit->Flush();
  auto fresh = MakeEdit(edit->Core().SharedStore(), {360, 260});
  if (styled) {
    fresh->SetViewOptions(edit->ViewOptions());
    fresh->SetLook(edit->Look());
    fresh->Core().FindCondition().Assign(edit->Core().FindCondition());
    // The ruler and the underline show where the caret is.
    fresh->Core().SetCaretPos(edit->Core().CaretRow(), edit->Core().CaretCol());
  }
  fresh->Core().SetCaretOptions(edit->Core().CaretOptions());
  fresh->Core().SetTopRow(edit->Core().TopRow());
  fresh->Core().SetLeftCol(edit->Core().LeftCol());
  fresh->Flush();
  EXPECT_EQ(FirstDifference(edit->BackingImage(), fresh->BackingImage()), QPoint(-1, -1));
}

INSTANTIATE_TEST_SUITE_P(WrapWidths, PaintTest, ::testing::Values(0, 24, 100, 124));

QRect CellRect(const TVornEdit& edit, int row, int col, int cells = 1) {
  const TEditMetrics& m = edit.Metrics();
  return QRect(m.TextLeft() + col * m.CellWidth(), m.TextTop() + row * m.RowHeight(), cells * m.CellWidth(),
               m.RowHeight());
}

TEST(RowPainting, EndMarksFollowTheRowKinds) {
  auto edit = MakeEdit(NewWrappedStore());
  const QColor back = edit->Colors().Back;
  LoadText(*edit, "ab\r\n");
  // A line break shows its mark after the text; the empty row below carries "[EOF]".
  EXPECT_GT(PixelsNot(edit->BackingImage(), CellRect(*edit, 0, 2), back), 0);
  EXPECT_EQ(PixelsNot(edit->BackingImage(), CellRect(*edit, 0, 3, 8), back), 0);
  EXPECT_GT(PixelsNot(edit->BackingImage(), CellRect(*edit, 1, 0, 5), back), 0);
  LoadText(*edit, "ab");
  // Without a final break "[EOF]" follows the text on the last row, and nothing is below.
  EXPECT_GT(PixelsNot(edit->BackingImage(), CellRect(*edit, 0, 2, 5), back), 0);
  EXPECT_EQ(PixelsNot(edit->BackingImage(), CellRect(*edit, 1, 0, 8), back), 0);
}

TEST(RowPainting, RowExactlyMaxColumnsWideShowsNoLineEndMark) {
  auto edit = MakeEdit(NewWrappedStore());
  const QColor back = edit->Colors().Back;
  LoadText(*edit, std::string(MaxColumns, 'a') + "\r\n" + std::string(MaxColumns - 1, 'a') + "\r\n");
  edit->Core().SetLeftCol(MaxColumns - 10);
  edit->Flush();
  ASSERT_EQ(edit->Core().LeftCol(), MaxColumns - 10);
  EXPECT_EQ(PixelsNot(edit->BackingImage(), CellRect(*edit, 0, 10), back), 0);
  EXPECT_GT(PixelsNot(edit->BackingImage(), CellRect(*edit, 1, 9), back), 0);
}

// A glyph wider than its cell (here from a proportional font) must not paint over the next
// cell, which belongs to another character.
TEST(RowPainting, WideGlyphIsClippedToItsCells) {
  auto edit = MakeEdit(NewWrappedStore());
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(16);
  edit->SetEditFont(font);
  LoadText(*edit, "W W");
  const QColor back = edit->Colors().Back;
  EXPECT_GT(PixelsNot(edit->BackingImage(), CellRect(*edit, 0, 0), back), 0);
  EXPECT_EQ(PixelsNot(edit->BackingImage(), CellRect(*edit, 0, 1), back), 0);
}

TEST(RowPainting, DoubleByteCharacterTakesTwoCellsAndTabRunsToItsStop) {
  auto edit = MakeEdit(NewWrappedStore());
  const QColor back = edit->Colors().Back;
  LoadText(*edit, "\t\x93\xFA" "a", 0, 4);
  const QImage& img = edit->BackingImage();
  EXPECT_EQ(PixelsNot(img, CellRect(*edit, 0, 0, 4), back), 0);  // the tab's cells stay blank
  EXPECT_GT(PixelsNot(img, CellRect(*edit, 0, 4), back), 0);     // 日 covers columns 4 and 5
  EXPECT_GT(PixelsNot(img, CellRect(*edit, 0, 5), back), 0);
  EXPECT_GT(PixelsNot(img, CellRect(*edit, 0, 6), back), 0);     // 'a' follows at column 6
}

}  // namespace
}  // namespace vorn::test
