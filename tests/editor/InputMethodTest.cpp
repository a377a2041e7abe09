// The input method through QInputMethodEvent: pre-edit drawn at the caret and not in the text,
// the caret hidden meanwhile, commits typed as Shift_JIS, unholdable characters counted.
#include <QInputMethodEvent>

#include "EditFixture.h"

namespace vorn::test {
namespace {

std::string TextOf(TVornEdit& edit) {
  std::string text;
  edit.Lines().WriteText([&text](std::string_view piece) { text += piece; });
  return text;
}

void Preedit(TVornEdit& edit, const QString& text) {
  QList<QInputMethodEvent::Attribute> attributes;
  attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, static_cast<int>(text.size()), 1);
  QInputMethodEvent event(text, attributes);
  QApplication::sendEvent(&edit, &event);
}

void Commit(TVornEdit& edit, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(&edit, &event);
}

class InputMethodTest : public ::testing::Test {
protected:
  void SetUp() override {
    edit = MakeEdit(NewWrappedStore());
    edit->setFocus();
    LoadText(*edit, "abc\r\ndef");
    edit->Core().SetFocused(true);
    edit->Core().SetCaretPos(0, 1);
    edit->Flush();
  }
  QRect CellsAtCaret(int cells) const {
    const TEditMetrics& m = edit->Metrics();
    return QRect(m.TextLeft() + edit->Core().CaretCol() * m.CellWidth(), m.TextTop(), cells * m.CellWidth(),
                 m.RowHeight());
  }
  std::unique_ptr<TVornEdit> edit;
};

TEST_F(InputMethodTest, PreeditShowsAtTheCaretWithoutEnteringTheTextAndHidesTheCaret) {
  ASSERT_TRUE(edit->CaretShown());
  const QImage before = edit->BackingImage().copy();
  Preedit(*edit, QStringLiteral("にほん"));
  EXPECT_EQ(TextOf(*edit), "abc\r\ndef");
  EXPECT_FALSE(edit->CaretShown());
  EXPECT_GT(edit->Core().CaretHideCount(), 0);
  // Drawn over the six cells at the caret on the screen, not into the rows' image.
  const QImage screen = edit->ComposedImage();
  EXPECT_EQ(FirstDifference(before, edit->BackingImage()), QPoint(-1, -1));
  int changed = 0;
  const QRect cells = ToDevice(screen, CellsAtCaret(6));
  for (int y = cells.top(); y <= cells.bottom(); ++y)
    for (int x = cells.left(); x <= cells.right(); ++x) changed += screen.pixel(x, y) != before.pixel(x, y);
  EXPECT_GT(changed, cells.width() * cells.height() / 2);
  // Nothing outside the caret's row changes.
  const QRect below(0, cells.bottom() + 1, screen.width(), screen.height() - cells.bottom() - 1);
  EXPECT_EQ(FirstDifference(screen.copy(below), before.copy(below)), QPoint(-1, -1));
}

TEST_F(InputMethodTest, CommitIsTypedAsShiftJisAndTheCaretComesBack) {
  const QRect caretBefore = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  Preedit(*edit, QStringLiteral("にほんご"));
  Commit(*edit, QStringLiteral("日本語"));
  EXPECT_EQ(TextOf(*edit), "a\x93\xFA\x96\x7B\x8C\xEA" "bc\r\ndef");
  EXPECT_TRUE(edit->PreeditText().isEmpty());
  EXPECT_EQ(edit->Core().CaretHideCount(), 0);
  EXPECT_TRUE(edit->CaretShown());
  // The candidate window is placed at the caret, which moved six cells.
  const QRect caretAfter = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(caretAfter.left() - caretBefore.left(), 6 * edit->Metrics().CellWidth());
  EXPECT_EQ(caretAfter.top(), caretBefore.top());
}

TEST_F(InputMethodTest, CharactersShiftJisCannotHoldAreCountedNotInserted) {
  int dropped = -1;
  QObject::connect(edit.get(), &TVornEdit::CharactersDropped, [&dropped](int n) { dropped = n; });
  // U+8FD9 (a simplified hanzi) and an emoji outside the basic plane; FF5E maps to 81 60.
  Commit(*edit, QStringLiteral("x\u8FD9y") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("\uFF5E"));
  EXPECT_EQ(TextOf(*edit), "axy\x81\x60" "bc\r\ndef");
  EXPECT_EQ(dropped, 2);
}

TEST_F(InputMethodTest, CommitInReadOnlyModeChangesNothing) {
  edit->Core().SetReadOnly(true);
  Commit(*edit, QStringLiteral("日本"));
  EXPECT_EQ(TextOf(*edit), "abc\r\ndef");
}

TEST_F(InputMethodTest, LosingFocusDuringPreeditGivesTheCaretBack) {
  Preedit(*edit, QStringLiteral("か"));
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(edit.get(), &out);
  EXPECT_TRUE(edit->PreeditText().isEmpty());
  EXPECT_EQ(edit->Core().CaretHideCount(), 0);
}

}  // namespace
}  // namespace vorn::test
