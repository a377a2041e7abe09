// The bundled icon set as the theme's fallback, and the numbered pictures drawn over it.
#include "qtplatform/ThemeIcons.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <utility>

namespace vorn {
namespace {

constexpr const char* kBundledTheme = "VornEditor";
constexpr const char* kBundledRoot = ":/icons";

// The picture with its number in a dark rounded tag, drawn at the size asked for.
class TNumberedIconEngine : public QIconEngine {
public:
  TNumberedIconEngine(QIcon base, int number) : base_(std::move(base)), number_(number) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    base_.paint(painter, rect, Qt::AlignCenter, mode, state);
    const QString text = QString::number(number_);
    QFont font = painter->font();
    font.setBold(true);
    font.setPixelSize(qMax(6, rect.height() * 9 / 16));
    painter->save();
    painter->setFont(font);
    painter->setRenderHint(QPainter::Antialiasing);
    const int width = qMin(rect.width(), painter->fontMetrics().horizontalAdvance(text) + rect.width() / 8 + 1);
    const QRectF tag(rect.right() + 1 - width, rect.bottom() + 1 - font.pixelSize() - 1, width, font.pixelSize() + 1);
    painter->setPen(Qt::NoPen);
    painter->setBrush(mode == QIcon::Disabled ? QColor(0x88, 0x8a, 0x85) : QColor(0x2e, 0x34, 0x36));
    painter->drawRoundedRect(tag, 2, 2);
    painter->setPen(Qt::white);
    painter->drawText(tag, Qt::AlignCenter, text);
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
  }
  QIconEngine* clone() const override { return new TNumberedIconEngine(base_, number_); }

private:
  QIcon base_;
  int number_;
};

QString NameOf(std::string_view name) { return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())); }

}  // namespace

void InstallBundledIcons() {
  static bool installed = false;
  if (std::exchange(installed, true)) return;
  QStringList paths = QIcon::themeSearchPaths();
  if (!paths.contains(QLatin1String(kBundledRoot))) paths << QLatin1String(kBundledRoot);
  QIcon::setThemeSearchPaths(paths);
  QIcon::setFallbackThemeName(QLatin1String(kBundledTheme));
  // A session without a theme of its own (a bare X server, an unknown desktop) takes the
  // bundled set as the theme, so that nothing falls back to blank buttons.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
    QIcon::setThemeName(QLatin1String(kBundledTheme));
}

QIcon NamedIcon(std::string_view name, int number) {
  InstallBundledIcons();
  QIcon icon = QIcon::fromTheme(NameOf(name));
  if (icon.isNull()) icon = BundledIcon(name);
  if (number < 0 || icon.isNull()) return icon;
  return QIcon(new TNumberedIconEngine(icon, number));
}

QIcon BundledIcon(std::string_view name) {
  const QString base = QStringLiteral("%1/%2/").arg(QLatin1String(kBundledRoot), QLatin1String(kBundledTheme));
  QIcon icon;
  for (const char* size : {"16x16", "22x22", "24x24", "32x32"}) {
    const QString file = base + QLatin1String(size) + QStringLiteral("/actions/") + NameOf(name) + QStringLiteral(".png");
    if (QFile::exists(file)) icon.addFile(file);
  }
  const QString svg = base + QStringLiteral("scalable/actions/") + NameOf(name) + QStringLiteral(".svg");
  if (QFile::exists(svg)) icon.addFile(svg);
  return icon;
}

}  // namespace vorn
