// The window's drawing hooks read back from the painted image: the line-end glyph replaced,
// each painted piece of a row handed over clipped to itself, the margin drawn over, the
// difference mark of the row after the last line; and the input method opened by the focus
// rules of ImeControl.
#include <QFocusEvent>
#include <QPainter>

#include <vector>

#include "EditFixture.h"
#include "RenderFixture.h"

namespace vorn::test {
namespace {

const QColor kMagenta(255, 0, 255);

QRect CellRect(const TVornEdit& edit, int row, int col, int cells = 1) {
  const TEditMetrics& m = edit.Metrics();
  return QRect(m.TextLeft() + col * m.CellWidth(), m.TextTop() + row * m.RowHeight(), cells * m.CellWidth(),
               m.FontHeight());
}

int PixelsIn(const QImage& img, const QRect& rect, QColor c) {
  const QRect r = ToDevice(img, rect).intersected(img.rect());
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += img.pixel(x, y) == c.rgb();
  return n;
}

TEST(PaintHooks, RetMarkHandlerDrawsInPlaceOfTheGlyphAtTheCellsCorner) {
  auto edit = MakeEdit(NewWrappedStore());
  StyleForRendering(*edit);
  LoadText(*edit, "ab\r\ncd");
  const QImage builtIn = edit->BackingImage().copy();
  std::vector<QPoint> corners;
  edit->SetOnDrawRetMark([&](TVornEdit& sender, QPainter& p, int x, int y, bool drawBack) {
    EXPECT_EQ(&sender, edit.get());
    (void)drawBack;
    corners.emplace_back(x, y);
    p.fillRect(x, y, 3, 3, kMagenta);
  });
  ASSERT_EQ(corners.size(), 1u) << "only row 0 ends in a line break";
  EXPECT_EQ(corners[0], CellRect(*edit, 0, 2).topLeft());
  const QImage& hooked = edit->BackingImage();
  EXPECT_EQ(PixelsIn(hooked, CellRect(*edit, 0, 2), kMagenta), 9);
  // The built-in glyph is gone: the rest of the cell is its background alone.
  EXPECT_NE(builtIn.copy(ToDevice(builtIn, CellRect(*edit, 0, 2))), hooked.copy(ToDevice(hooked, CellRect(*edit, 0, 2))));
  edit->SetOnDrawRetMark(nullptr);
  EXPECT_EQ(FirstDifference(builtIn, edit->BackingImage()), QPoint(-1, -1));
}

struct TPiece {
  std::string Line;
  int X, Y, Index;
  QRect Rect;
  bool Selected, Last;
};

TEST(PaintHooks, DrawLineGetsEachPieceOfARowClippedToIt) {
  auto edit = MakeEdit(NewWrappedStore());
  LoadText(*edit, "a\tbcdef\r\nxy", 0, 4);
  std::vector<TPiece> pieces;
  edit->SetOnDrawLine([&](TVornEdit&, QPainter& p, const TVornEdit::TDrawLineArgs& a) {
    pieces.push_back({std::string(a.LineStr), a.X, a.Y, a.Index, a.ARect, a.Selected, a.Last});
    // Paints far beyond its piece: only the piece may change.
    if (a.Selected) p.fillRect(0, 0, 10000, 10000, kMagenta);
  });
  ASSERT_EQ(pieces.size(), 2u);  // one unselected piece per row
  EXPECT_EQ(pieces[0].Line, "a   bcdef");
  EXPECT_EQ(pieces[0].X, edit->Metrics().TextLeft());
  EXPECT_EQ(pieces[1].Y, CellRect(*edit, 1, 0).top());
  EXPECT_TRUE(pieces[0].Last);
  EXPECT_FALSE(pieces[0].Selected);

  // Columns 5..7 ("bc" after the tab's cells) of row 0 selected: normal, selected, normal.
  pieces.clear();
  edit->Core().SetCaretPos(0, 5);
  edit->Core().StartSelection();
  edit->Core().SetCaretPos(0, 7);
  edit->Core().ExtendSelection();
  edit->Flush();
  std::vector<TPiece> row0;
  for (const TPiece& piece : pieces)
    if (piece.Index == 0) row0.push_back(piece);
  // The row may be painted more than once (the underline leaves it too): its last painting.
  ASSERT_TRUE(row0.size() >= 3 && row0.size() % 3 == 0) << row0.size();
  row0.erase(row0.begin(), row0.end() - 3);
  EXPECT_EQ(row0[1].Rect, QRect(CellRect(*edit, 0, 5, 2).left(), row0[1].Y, 2 * edit->Metrics().CellWidth(), edit->Metrics().RowHeight()));
  EXPECT_TRUE(row0[1].Selected);
  EXPECT_FALSE(row0[1].Last);
  EXPECT_EQ(row0[0].Rect.right() + 1, row0[1].Rect.left());
  EXPECT_EQ(row0[1].Rect.right() + 1, row0[2].Rect.left());
  const QImage& img = edit->BackingImage();
  const int pieceArea = row0[1].Rect.width() * row0[1].Rect.height();
  EXPECT_EQ(PixelsIn(img, row0[1].Rect, kMagenta), pieceArea);
  EXPECT_EQ(PixelsIn(img, QRect(0, 0, img.width(), img.height()), kMagenta), pieceArea);
}

TEST(PaintHooks, DrawLineOfAWrappedRowCarriesItsLinesContext) {
  auto edit = MakeEdit(NewWrappedStore());
  LoadText(*edit, "abcdefghijklmnopqrstuvwxy\r\nz", 10);
  ASSERT_EQ(edit->Core().RowKind(1), reWrapped);
  std::vector<TPiece> pieces;
  edit->SetOnDrawLine([&](TVornEdit&, QPainter&, const TVornEdit::TDrawLineArgs& a) {
    pieces.push_back({std::string(a.LineStr), a.X, a.Y, a.Index, a.ARect, a.Selected, a.Last});
  });
  ASSERT_GE(pieces.size(), 4u);
  EXPECT_EQ(pieces[0].Line, "abcdefghijklmnopqrst");
  EXPECT_EQ(pieces[1].Line, "abcdefghijklmnopqrstuvwxy");
  EXPECT_EQ(pieces[2].Line, "abcdefghijklmnopqrstuvwxy");  // the line's last row has nothing after it
  EXPECT_EQ(pieces[3].Line, "z");
}

TEST(PaintHooks, MarginHandlerAndTheRowAfterTheLastLinesDifferenceMark) {
  auto edit = MakeEdit(NewWrappedStore());
  auto view = CLikeView();
  view->Colors()[36].SetBkColor(0x00FF00FF);  // the added-below arrow in magenta
  edit->SetViewOptions(view);
  TPaneLook look = FullLook();
  edit->SetLook(look);
  LoadText(*edit, "a\r\nb");
  const int n = edit->Core().RowCount();
  const TEditMetrics& m = edit->Metrics();
  const QRect rowN(0, m.TextTop() + n * m.RowHeight(), m.TextLeft(), m.RowHeight());
  EXPECT_EQ(PixelsIn(edit->BackingImage(), rowN, kMagenta), 0);
  edit->SetLastLineInfo(4);
  EXPECT_GT(PixelsIn(edit->BackingImage(), rowN, kMagenta), 0);
  EXPECT_NE(edit->PaintDump(n).find("diff4"), std::string::npos);
  edit->SetLastLineInfo(0);
  EXPECT_EQ(PixelsIn(edit->BackingImage(), rowN, kMagenta), 0);

  const QColor green(0, 255, 0);
  int raised = 0;
  edit->SetOnDrawMarginLeft([&](TVornEdit&, QPainter& p) {
    ++raised;
    p.fillRect(0, 0, 10000, 10000, green);
  });
  EXPECT_GT(raised, 0);
  const QImage& img = edit->BackingImage();
  const QRect margin(0, m.TextTop(), m.TextLeft(), 2 * m.RowHeight());
  EXPECT_EQ(PixelsIn(img, margin, green), ToDevice(img, margin).width() * ToDevice(img, margin).height());
  EXPECT_EQ(PixelsIn(img, CellRect(*edit, 0, 0, 5), green), 0);
  EXPECT_EQ(PixelsIn(img, QRect(0, 0, img.width(), m.TextTop()), green), 0);
}

TEST(ImeControl, OpensTheInputMethodWhenSetAndOnEveryFocusIn) {
  auto edit = MakeEdit(NewWrappedStore());
  int opened = 0;
  edit->SetInputMethodOpener([&opened] { ++opened; });
  QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(edit.get(), &in);
  EXPECT_EQ(opened, 0);
  edit->activateWindow();
  edit->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(edit->hasFocus());
  EXPECT_EQ(opened, 0);
  edit->SetImeControl(true);
  EXPECT_EQ(opened, 1);
  const int base = opened;
  QApplication::sendEvent(edit.get(), &out);
  EXPECT_EQ(opened, base);
  QApplication::sendEvent(edit.get(), &in);
  EXPECT_EQ(opened, base + 1);
  edit->SetImeControl(false);
  QApplication::sendEvent(edit.get(), &in);
  EXPECT_EQ(opened, base + 1);
}

}  // namespace
}  // namespace vorn::test
