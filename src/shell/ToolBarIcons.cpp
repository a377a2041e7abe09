// Drawn pictures: a tile in the colour of the command's category with the initials of its name,
// so that buttons without a theme icon still tell themselves apart.
#include "shell/ToolBarIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <string_view>
#include <utility>

#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

constexpr std::pair<std::string_view, const char*> kThemeNames[] = {
    {"NewFile", "document-new"},          {"LoadFromFile", "document-open"},
    {"CloseOpen", "document-revert"},     {"SaveFile", "document-save"},
    {"SaveAs", "document-save-as"},       {"Print", "document-print"},
    {"Close", "application-exit"},        {"CloseFile", "document-close"},
    {"Undo", "edit-undo"},                {"Redo", "edit-redo"},
    {"Cut", "edit-cut"},                  {"Copy", "edit-copy"},
    {"Paste", "edit-paste"},              {"Delete", "edit-delete"},
    {"SelectAll", "edit-select-all"},     {"Find", "edit-find"},
    {"Replace", "edit-find-replace"},     {"FindDown", "go-down"},
    {"FindUp", "go-up"},                  {"MoveFileStart", "go-top"},
    {"MoveFileEnd", "go-bottom"},         {"MoveLineStart", "go-first"},
    {"MoveLineEnd", "go-last"},           {"NextPage", "go-next"},
    {"PrevPage", "go-previous"},          {"JumpRow", "go-jump"},
    {"LeftAlign", "format-justify-left"}, {"CenterAlign", "format-justify-center"},
    {"RightAlign", "format-justify-right"}, {"InsertIndent", "format-indent-more"},
    {"ReverseIndent", "format-indent-less"}, {"NewWindow", "window-new"},
    {"ToggleInsertMode", "insert-text"},  {"ShowMarkList", "bookmarks-organize"},
    {"ToggleMark", "bookmark-new"},       {"ProgramExec", "system-run"},
};

QColor CategoryColour(int category) {
  static const QColor kColours[kCategoryCount] = {
      QColor(0x60, 0x60, 0x60), QColor(0x3A, 0x6E, 0xA5), QColor(0x2E, 0x8B, 0x57), QColor(0x8E, 0x5A, 0xB5),
      QColor(0xB0, 0x3A, 0x2E), QColor(0xC2, 0x7C, 0x0E), QColor(0x1F, 0x7A, 0x8C), QColor(0xA5, 0x3A, 0x6E),
      QColor(0x4B, 0x5F, 0x8C), QColor(0x8C, 0x6D, 0x1F), QColor(0x55, 0x6B, 0x2F)};
  return category >= 0 && category < kCategoryCount ? kColours[category] : kColours[0];
}

// Up to two capitals of the name, or its first letter; the digit of numbered families.
QString Initials(std::string_view name) {
  QString text;
  for (char c : name)
    if ((c >= 'A' && c <= 'Z') && text.size() < 2) text += QChar(c);
  if (!name.empty() && name.back() >= '0' && name.back() <= '9') text = text.left(1) + QChar(name.back());
  return text.isEmpty() && !name.empty() ? QString(QChar(name.front())) : text;
}

QPixmap DrawTile(int side, const QColor& colour, const QString& text) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(colour.darker(140));
  painter.setBrush(colour);
  painter.drawRoundedRect(QRectF(0.5, 0.5, side - 1, side - 1), side / 6.0, side / 6.0);
  QFont font = painter.font();
  font.setPixelSize(side * (text.size() > 1 ? 7 : 10) / 16);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, text);
  return pixmap;
}

// Draws at the size asked for, when asked: a window creates 168 icons but shows few of them.
class TTileIconEngine : public QIconEngine {
public:
  TTileIconEngine(QColor colour, QString text) : colour_(colour), text_(std::move(text)) {}
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const int side = std::max(1, std::min(size.width(), size.height()));
    return DrawTile(side, mode == QIcon::Disabled ? QColor(0xA0, 0xA0, 0xA0) : colour_, text_);
  }
  QIconEngine* clone() const override { return new TTileIconEngine(colour_, text_); }

private:
  QColor colour_;
  QString text_;
};

}  // namespace

QIcon DrawnFunctionIcon(int function) {
  const TFunctionInfo* f = FunctionByNumber(function);
  if (!f) return QIcon(new TTileIconEngine(CategoryColour(0), QString()));
  return QIcon(new TTileIconEngine(CategoryColour(f->Category), Initials(f->Name)));
}

QIcon FunctionIcon(int function) {
  const TFunctionInfo* f = FunctionByNumber(function);
  if (f)
    for (const auto& [name, theme] : kThemeNames)
      if (name == f->Name) return QIcon::fromTheme(QString::fromLatin1(theme), DrawnFunctionIcon(function));
  return DrawnFunctionIcon(function);
}

}  // namespace vorn
