// The clipboard over QClipboard: byte-exact copy and paste between editors, plain text for
// other programs, the box marker.
#include <QClipboard>
#include <QMimeData>

#include "EditFixture.h"

namespace vorn::test {
namespace {

// NEC special characters (87 40 ①, 87 54 Ⅰ), a NEC-selected IBM extension (ED 40) and IBM
// extensions (FA 40 ⅰ, FA 5C, FA 55 ￤): several of these share a Unicode character with
// another code, so only the private bytes bring them back unchanged.
const std::string kExtensions = "\x87\x40\x87\x54\xED\x40\xFA\x40\xFA\x5C\xFA\x55" "a\r\n\x88\x9F";

std::string TextOf(TVornEdit& edit) {
  std::string text;
  edit.Lines().WriteText([&text](std::string_view piece) { text += piece; });
  return text;
}

TEST(Clipboard, CopyAndPasteOfExtensionCharactersIsByteExact) {
  auto source = MakeEdit(NewWrappedStore());
  LoadText(*source, kExtensions);
  source->Core().SelectAll();
  source->Core().CopyToClipboard();
  auto target = MakeEdit(NewWrappedStore());
  LoadText(*target, "");
  target->Core().PasteFromClipboard();
  EXPECT_EQ(TextOf(*target), kExtensions);
}

TEST(Clipboard, PlainTextAloneWouldNotBeExactSoThePrivateBytesArePreferred) {
  TQtClipboard clipboard;
  clipboard.SetText(kExtensions, false);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data && data->hasText());
  // Other programs get LF line breaks and the characters' Unicode forms.
  EXPECT_EQ(data->text(), QStringLiteral("①Ⅰ\u7E8Aⅰ\u7E8A￤a\n亜"));
  QMimeData plainOnly;
  plainOnly.setText(data->text());
  const auto viaUnicode = TQtClipboard::ReadMimeData(&plainOnly);
  ASSERT_TRUE(viaUnicode);
  EXPECT_NE(viaUnicode->Sjis, kExtensions);
  const auto viaBytes = clipboard.Text();
  ASSERT_TRUE(viaBytes);
  EXPECT_EQ(viaBytes->Sjis, kExtensions);
  EXPECT_FALSE(viaBytes->Box);
}

TEST(Clipboard, BoxMarkerTravelsAndForeignTextGetsCrLf) {
  TQtClipboard clipboard;
  clipboard.SetText("ab\r\ncd\r\n", true);
  auto read = clipboard.Text();
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->Box);
  // Another program's text: LF and lone CR both become CR LF; no marker.
  QGuiApplication::clipboard()->setText(QStringLiteral("x\ny\rz日本"));
  read = clipboard.Text();
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->Box);
  EXPECT_EQ(read->Sjis, "x\r\ny\r\nz\x93\xFA\x96\x7B");
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(clipboard.Text());
}

// Another program's text may hold U+0000: it goes in as a space, undo gives back the text
// before, and the pane says how many there were.
TEST(Clipboard, APastedNulBecomesASpaceAndThePaneReportsIt) {
  auto edit = MakeEdit(NewWrappedStore());
  LoadText(*edit, "x\r\n");
  int reported = 0;
  QObject::connect(edit.get(), &TVornEdit::NulBytesReplaced, [&reported](int n) { reported += n; });
  QGuiApplication::clipboard()->setText(QStringLiteral("a") + QChar(0) + QStringLiteral("b") + QChar(0));
  edit->Core().PasteFromClipboard();
  EXPECT_EQ(TextOf(*edit), "a b x\r\n");
  EXPECT_EQ(reported, 2);
  edit->Core().Undo();
  EXPECT_EQ(TextOf(*edit), "x\r\n");
}

}  // namespace
}  // namespace vorn::test
