// Panes of no and one visible row or column: pages still go forwards and painting stays sound.
#include "EditFixture.h"

namespace vorn::test {
namespace {

std::string NumberedLines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

class TinyPane : public ::testing::TestWithParam<QSize> {};

TEST_P(TinyPane, PageDownMovesDownAndTheViewStaysInsideTheText) {
  auto edit = MakeEdit(NewWrappedStore(), {400, 300});
  LoadText(*edit, NumberedLines(50));
  // The viewport is what remains after the frame and bars; make it the asked size.
  const QSize chrome = edit->size() - edit->viewport()->size();
  edit->resize(GetParam() + chrome);
  QApplication::processEvents();
  edit->Flush();
  TVornEditCore& core = edit->Core();
  ASSERT_TRUE(edit->Metrics().VisibleRows() <= 1 || edit->Metrics().VisibleCols() <= 1);
  EXPECT_GE(core.VisibleRows(), 1);
  EXPECT_GE(core.VisibleCols(), 1);
  int previous = core.CaretRow();
  for (int i = 0; i < 5; ++i) {
    core.NextPage();
    edit->Flush();
    EXPECT_GT(core.CaretRow(), previous);
    EXPECT_GE(core.TopRow(), 0);
    previous = core.CaretRow();
  }
  core.PrevPage();
  edit->Flush();
  EXPECT_LT(core.CaretRow(), previous);
  core.SetLeftCol(40);
  core.SetLeftCol(-5);
  edit->Flush();
  EXPECT_EQ(core.LeftCol(), 0);
  core.MoveFileEnd();
  edit->Flush();
  EXPECT_GE(core.TopRow(), 0);
  EXPECT_LE(core.TopRow(), core.RowCount());
  // Whatever is left of the pane still shows exactly what a fresh paint shows.
  const QImage incremental = edit->BackingImage().copy();
  edit->RepaintAll();
  EXPECT_EQ(FirstDifference(incremental, edit->BackingImage()), QPoint(-1, -1));
}

INSTANTIATE_TEST_SUITE_P(Sizes, TinyPane,
                         ::testing::Values(QSize(0, 0), QSize(400, 0), QSize(400, 10), QSize(400, 24), QSize(12, 24),
                                           QSize(3, 200)));

}  // namespace
}  // namespace vorn::test
