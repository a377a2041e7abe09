// TQtClipboard: plain text through code page 932, exact bytes and the box marker privately.
#include "editor/EditClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/cp932.h"

namespace vorn {

namespace {
// Other programs here expect LF; inside, every line break is CR LF.
QString SjisToPlainText(std::string_view sjis) {
  const std::u16string u16 = Cp932ToUtf16(sjis);
  QString text = QString::fromUtf16(u16.data(), static_cast<qsizetype>(u16.size()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// What Shift_JIS cannot hold is left out and counted, never replaced by a look-alike.
std::string PlainTextToSjis(QString text, int& unheld) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return TQtClipboard::HoldableSjis(text, unheld);
}
}  // namespace

std::string TQtClipboard::HoldableSjis(const QString& text, int& dropped) {
  const TCp932Table& table = Cp932Table();
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()) * 2);
  dropped = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t u = text[i].unicode();
    if (QChar::isSurrogate(u)) {
      // Outside the basic plane (an emoji): code page 932 has none of them.
      if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) ++i;
      ++dropped;
      continue;
    }
    const std::uint16_t code = table.fromU16[u];
    if (code == Cp932NoMapping) {
      ++dropped;
      continue;
    }
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

QMimeData* TQtClipboard::MakeMimeData(std::string_view sjis, bool box) {
  auto* data = new QMimeData;
  data->setText(SjisToPlainText(sjis));
  data->setData(QString::fromLatin1(kSjisMimeType), QByteArray(sjis.data(), static_cast<qsizetype>(sjis.size())));
  // The marker's content is what the platform format held: its name and a terminating NUL.
  if (box) data->setData(QString::fromLatin1(kBoxMimeType), QByteArray(kBoxFormatName, sizeof kBoxFormatName));
  return data;
}

std::optional<TClipboardText> TQtClipboard::ReadMimeData(const QMimeData* data) {
  if (!data) return std::nullopt;
  TClipboardText out;
  out.Box = data->hasFormat(QString::fromLatin1(kBoxMimeType));
  if (data->hasFormat(QString::fromLatin1(kSjisMimeType))) {
    const QByteArray bytes = data->data(QString::fromLatin1(kSjisMimeType));
    out.Sjis.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return out;
  }
  if (!data->hasText()) return std::nullopt;
  out.Sjis = PlainTextToSjis(data->text(), out.Unheld);
  return out;
}

void TQtClipboard::SetText(std::string_view sjis, bool box) {
  QGuiApplication::clipboard()->setMimeData(MakeMimeData(sjis, box));
}

void TQtClipboard::Clear() { QGuiApplication::clipboard()->clear(); }

std::optional<TClipboardText> TQtClipboard::Text() const {
  return ReadMimeData(QGuiApplication::clipboard()->mimeData());
}

}  // namespace vorn
