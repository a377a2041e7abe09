// The eight panels of an editor window's status bar.
#include "shell/StatusPanels.h"

#include <QMouseEvent>

#include <QPainter>
#include <QStyle>

namespace vorn {

TStatusPanel::TStatusPanel(QWidget* parent, bool bevel) : QWidget(parent), bevel_(bevel) {
  setMinimumHeight(fontMetrics().height() + 4);
}

void TStatusPanel::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

void TStatusPanel::SetWidthForText(const QString& sample) {
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  setFixedWidth(fontMetrics().horizontalAdvance(sample) + 3 * std::max(frame, 2));
}

void TStatusPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  if (bevel_) {
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
  const bool fixed = text_.startsWith(QLatin1Char('*'));
  if (fixed) p.fillRect(r.adjusted(1, 1, -1, -1), Qt::red);
  p.setPen(fixed ? QColor(Qt::white) : palette().color(QPalette::WindowText));
  p.drawText(r, Qt::AlignCenter, text_);
}

TStatusPanels::TStatusPanels(QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  for (int i = 0; i < spCount; ++i) panels_[i] = new TStatusPanel(this, i != spEnd);
  addWidget(panels_[spMessage], 1);
  panels_[spAutoFormat]->SetWidthForText(QStringLiteral("自動整形"));
  panels_[spBoxSelect]->SetWidthForText(QStringLiteral("箱形選択"));
  panels_[spCharCode]->SetWidthForText(QStringLiteral("*UNI(BE)"));
  panels_[spLineBreak]->SetWidthForText(QStringLiteral("*CRLF"));
  panels_[spCaret]->SetWidthForText(QStringLiteral("0000:00000"));
  panels_[spInsert]->SetWidthForText(QStringLiteral("挿入"));
  panels_[spEnd]->setFixedWidth(20);
  for (int i = spAutoFormat; i < spCount; ++i) addPermanentWidget(panels_[i]);
}

void TStatusPanels::mousePressEvent(QMouseEvent* event) {
  QStatusBar::mousePressEvent(event);
  Q_EMIT Clicked();
}

void TStatusPanels::ShowStateTexts(const std::array<std::string, spCount>& texts) {
  for (int i = spAutoFormat; i < spCount; ++i) panels_[i]->SetText(QString::fromStdString(texts[static_cast<std::size_t>(i)]));
}

}  // namespace vorn
