// What the pane paints, read through its cell dump: rows of a logical line coloured together,
// end marks, the margin's numbers and marks, the underline; and the pixels of transparent
// backgrounds, marks kept inside their rows and the rulers.
#include "EditFixture.h"
#include "RenderFixture.h"

namespace vorn::test {
namespace {

// The dump's lines for row that start with prefix.
std::string Lines(const std::string& dump, const std::string& prefix) {
  std::string out;
  std::size_t at = 0;
  while (at < dump.size()) {
    const std::size_t end = dump.find('\n', at);
    const std::string line = dump.substr(at, end - at);
    if (line.rfind(prefix, 0) == 0) out += line + "\n";
    at = end == std::string::npos ? dump.size() : end + 1;
  }
  return out;
}

TEST(Rendering, CommentOnAWrappedRowContinuesOnTheLinesFollowingRows) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  // 10 bytes wrap: "ab // cdef" then "ghij" and "kl" on the rows after, then a new line.
  LoadText(*edit, "ab // cdefghijkl\r\nx", 10);
  ASSERT_EQ(edit->Core().RowKind(0), reWrapped);
  EXPECT_EQ(Lines(edit->PaintDump(1), ""), "0-6 'ghijkl' c5 b5 s0 m-\nret at 6\ntail b5\nmargin -/15\n");
  EXPECT_EQ(Lines(edit->PaintDump(2), "0-"), "0-1 'x' c7 b7 s0 m-\n");
}

TEST(Rendering, BlockCommentOpenedAboveRecoloursTheRowsBelow) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  LoadText(*edit, "int x;\r\nint y;\r\nz */ int w;\r\n");
  EXPECT_EQ(Lines(edit->PaintDump(1), "0-"), "0-3 'int' c17 b17 s1 m-\n");
  edit->Core().SetCaretPos(0, 0);
  edit->Core().TypeText("/*");
  edit->Flush();
  // Inside the region the keyword does not colour.
  EXPECT_EQ(Lines(edit->PaintDump(1), "0-"), "0-3 'int' c19 b19 s0 m-\n");
  EXPECT_EQ(Lines(edit->PaintDump(1), "tail"), "tail b19\n");
  // The region ends at its closer; the keyword after it colours again.
  EXPECT_EQ(Lines(edit->PaintDump(2), "5-"), "5-8 'int' c17 b17 s1 m-\n");
  edit->Core().Undo();
  edit->Flush();
  EXPECT_EQ(Lines(edit->PaintDump(1), "0-"), "0-3 'int' c17 b17 s1 m-\n");
}

TEST(Rendering, EndMarksOfTheTextsEnd) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  LoadText(*edit, "");
  EXPECT_EQ(Lines(edit->PaintDump(0), "eof"), "eof at 0\n");
  LoadText(*edit, "ab\r\n");
  EXPECT_EQ(Lines(edit->PaintDump(0), "ret"), "ret at 2\n");
  EXPECT_EQ(Lines(edit->PaintDump(1), "eof"), "eof at 0\n");
  LoadText(*edit, "ab");
  EXPECT_EQ(Lines(edit->PaintDump(0), "eof"), "eof at 2\n");
  EXPECT_EQ(Lines(edit->PaintDump(0), "ret"), "");
  TPaneLook look = edit->Look();
  look.Marks.EofMark = false;
  edit->SetLook(look);
  EXPECT_EQ(Lines(edit->PaintDump(0), "eof"), "");
}

TEST(Rendering, LineNumbersFollowLogicalOrPhysicalLines) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  LoadText(*edit, "aaaaaaaaaaaaaaa\r\nb\r\n", 10);
  edit->Core().Store().ClearRowModifiedMarks();
  EXPECT_EQ(Lines(edit->PaintDump(0), "margin"), "margin 1/15\n");
  EXPECT_EQ(Lines(edit->PaintDump(1), "margin"), "margin -/15\n");
  EXPECT_EQ(Lines(edit->PaintDump(2), "margin"), "margin 2/15\n");
  TPaneLook look = edit->Look();
  look.PhysicalLineNum = true;
  edit->SetLook(look);
  EXPECT_EQ(Lines(edit->PaintDump(1), "margin"), "margin 2/15\n");
  EXPECT_EQ(Lines(edit->PaintDump(2), "margin"), "margin 3/15\n");
}

TEST(Rendering, MarginShowsModifiedLinesMarksAndTheFindRange) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  LoadText(*edit, "one\r\ntwo\r\nthree\r\n");
  edit->Core().Store().ClearRowModifiedMarks();
  edit->Core().SetCaretPos(1, 0);
  edit->Core().TypeText("x");
  TVornEditScreenStrings& store = edit->Core().Store();
  store.LineMarkTable().SetNumbered(3, 2);
  store.LineMarkTable().AddUnnumbered(0);
  edit->Core().FindCondition().SetRangeStart(1);
  edit->Core().FindCondition().SetRangeEnd(2);
  edit->Flush();
  EXPECT_EQ(Lines(edit->PaintDump(0), "margin"), "margin 1/15 mark\n");
  EXPECT_EQ(Lines(edit->PaintDump(1), "margin"), "margin 2/39 find\n");
  EXPECT_EQ(Lines(edit->PaintDump(2), "margin"), "margin 3/15 mark3\n");
}

TEST(Rendering, SixDigitLineNumbersShowTheirLastFiveDigits) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  std::string text;
  for (int i = 0; i < 100001; ++i) text += "\r\n";
  LoadText(*edit, text);
  edit->Core().Store().ClearRowModifiedMarks();
  EXPECT_EQ(Lines(edit->PaintDump(100000), "margin"), "margin 00001/15\n");
  EXPECT_EQ(Lines(edit->PaintDump(99998), "margin"), "margin 99999/15\n");
}

TEST(Rendering, UnderlineFollowsTheCaretRowAndLeavesWithASelection) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  LoadText(*edit, "one\r\ntwo\r\n");
  EXPECT_EQ(Lines(edit->PaintDump(0), "underline"), "underline\n");
  edit->Core().SetCaretPos(1, 1);
  edit->Flush();
  EXPECT_EQ(Lines(edit->PaintDump(0), "underline"), "");
  EXPECT_EQ(Lines(edit->PaintDump(1), "underline"), "underline\n");
  edit->Core().SelectAll();
  edit->Flush();
  EXPECT_EQ(Lines(edit->PaintDump(1), "underline"), "");
  // The underline pixel row lies below the glyphs, in the row's own height.
  EXPECT_EQ(edit->Metrics().RowHeight(), edit->Metrics().FontHeight() + 1);
}

QRect Cells(const TVornEdit& edit, int row, int col, int cells = 1) {
  const TEditMetrics& m = edit.Metrics();
  return QRect(m.TextLeft() + col * m.CellWidth(), m.TextTop() + row * m.RowHeight(), cells * m.CellWidth(),
               m.FontHeight());
}

// Counts pixels of colour c in rect.
int PixelsOf(const QImage& img, const QRect& rect, QColor c) {
  const QRect r = ToDevice(img, rect).intersected(img.rect());
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (img.pixel(x, y) == c.rgb()) ++n;
  return n;
}

TEST(Rendering, TransparentBackgroundLeavesTheRowsBackground) {
  auto edit = MakeEdit(NewWrappedStore());
  auto view = CLikeView();
  view->Colors()[18].SetColor(0x00000000);
  view->Colors()[18].SetBkColor(0x000000FF);  // the keyword "a" in black on red
  edit->SetViewOptions(view);
  LoadText(*edit, "a");
  const QColor red(255, 0, 0);
  EXPECT_GT(PixelsOf(edit->BackingImage(), Cells(*edit, 0, 0), red), 0);
  view->Colors()[18].SetBkColor(clDesktop);
  edit->SetViewOptions(view);
  EXPECT_EQ(PixelsOf(edit->BackingImage(), Cells(*edit, 0, 0), red), 0);
  EXPECT_GT(PixelsOf(edit->BackingImage(), Cells(*edit, 0, 0), edit->Colors().Back), 0);
}

// The full-width space mark is a square as wide as its two cells, but never taller than its
// row: the row below keeps its own pixels.
TEST(Rendering, FullWidthSpaceMarkStaysInsideItsRow) {
  auto edit = MakeEdit(NewWrappedStore());
  QFont narrow = DefaultEditFont();
  narrow.setPixelSize(9);
  narrow.setStretch(200);
  edit->SetEditFont(narrow);
  TPaneLook look;
  look.Marks.DBSpaceMark = true;
  look.Marks.RetMark = look.Marks.EofMark = false;
  edit->SetLook(look);
  LoadText(*edit, "\x81\x40\r\n");
  const TEditMetrics& m = edit->Metrics();
  ASSERT_GT(2 * m.CellWidth() - 4, m.FontHeight()) << "the font must be wide for the square to reach down";
  EXPECT_GT(PixelsNot(edit->BackingImage(), Cells(*edit, 0, 0, 2), edit->Colors().Back), 0);
  EXPECT_EQ(PixelsNot(edit->BackingImage(), Cells(*edit, 1, 0, 2), edit->Colors().Back), 0);
}

TEST(Rendering, RulersMoveTheTextAreaAndMarkTheCaretColumn) {
  auto edit = MakeEdit(NewWrappedStore());
  LoadText(*edit, "abc");
  EXPECT_EQ(edit->Metrics().TextTop(), 2);
  EXPECT_EQ(edit->Metrics().TextLeft(), 10);
  StyleForRendering(*edit);
  EXPECT_EQ(edit->Metrics().TextTop(), 15);
  EXPECT_GT(edit->Metrics().TextLeft(), 10 + 5 * 4);
  // The ruler's caret marker moves with the caret.
  const QImage before = edit->BackingImage().copy();
  edit->Core().SetCaretPos(0, 2);
  edit->Flush();
  const QImage& after = edit->BackingImage();
  const TEditMetrics& m = edit->Metrics();
  const QRect marker0(m.TextLeft(), 0, m.CellWidth(), m.TextTop());
  const QRect marker2(m.TextLeft() + 2 * m.CellWidth(), 0, m.CellWidth(), m.TextTop());
  EXPECT_NE(before.copy(ToDevice(before, marker0)), after.copy(ToDevice(after, marker0)));
  EXPECT_NE(before.copy(ToDevice(before, marker2)), after.copy(ToDevice(after, marker2)));
}

}  // namespace
}  // namespace vorn::test
