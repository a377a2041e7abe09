// TEditMetrics: font measuring and the visible rows and columns of the viewport.
#include "editor/EditMetrics.h"

#include <QFontMetrics>

#include <algorithm>

namespace vorn {

void TEditMetrics::Measure(const QFont& font) {
  const QFontMetrics m(font);
  cellWidth_ = std::max(1, m.averageCharWidth());
  fontHeight_ = std::max(1, m.height() + m.leading());
  ascent_ = m.ascent();
}

void TEditMetrics::SetClientSize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
}

// The viewport excludes the scroll bars already, so no bar sizes are taken off here. Below 1
// the core clamps; the raw value stays visible to tests of collapsed panes.
int TEditMetrics::VisibleRows() const { return (height_ - top_ - 5) / RowHeight(); }

int TEditMetrics::VisibleCols() const { return (width_ - left_ - cellWidth_ / 2) / cellWidth_; }

int TEditMetrics::ScreenRows() const { return std::max(1, screenHeight_ / RowHeight()); }

int TEditMetrics::PaintedRows() const { return std::max(0, (height_ - top_ + RowHeight() - 1) / RowHeight()); }

QFont DefaultEditFont() {
  QFont font(QStringLiteral("IPAGothic"));
  font.setPointSize(12);
  font.setStyleHint(QFont::TypeWriter);
  font.setKerning(false);
  return font;
}

}  // namespace vorn
