// TFolderHistoryPopup: rows with fixed-flag check boxes; a click or Enter sends the dialog to
// a folder, and the check states go back to the dialog's list when the pop-up closes.
#include "dialogs/FolderHistoryPopup.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace vorn {
namespace {

constexpr int kMaxRows = 30;

}  // namespace

TFolderHistoryPopup::TFolderHistoryPopup(const std::vector<TFolderEntry>& folders, QWidget* owner)
    : QListWidget(owner) {
  setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_DeleteOnClose);
  setMouseTracking(true);  // the row under the mouse is selected as the mouse moves
  setVerticalScrollBarPolicy(folders.size() > kMaxRows ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (const TFolderEntry& entry : folders) {
    auto* item = new QListWidgetItem(QString::fromStdString(entry.folder), this);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(entry.fixed ? Qt::Checked : Qt::Unchecked);
  }
  connect(this, &QListWidget::itemEntered, this, [this](QListWidgetItem* item) { setCurrentItem(item); });
  if (count() > 0) setCurrentRow(0);
}

// Tall enough for up to thirty rows and 30 pixels wider than the widest folder, though never
// narrower than the style needs for check box and text.
void TFolderHistoryPopup::PopUpBeside(const QWidget* anchor) {
  const QFontMetrics metrics(font());
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(item(i)->text()));
  const int frame = 2 * frameWidth();
  const int rows = std::min(count(), kMaxRows);
  const int width = std::max(widest + 30, sizeHintForColumn(0)) + frame;
  const int height = rows * std::max(1, sizeHintForRow(0)) + frame;
  resize(width, height);
  QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
  if (const QScreen* screen = anchor->screen()) {
    if (at.y() + height > screen->availableGeometry().bottom()) at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height);
  }
  move(at);
  show();
  setFocus();
}

std::vector<bool> TFolderHistoryPopup::FixedFlags() const {
  std::vector<bool> fixed;
  for (int i = 0; i < count(); ++i) fixed.push_back(item(i)->checkState() == Qt::Checked);
  return fixed;
}

void TFolderHistoryPopup::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Choose(currentItem()); return;
    case Qt::Key_Escape: close(); return;
    default: QListWidget::keyPressEvent(event);
  }
}

void TFolderHistoryPopup::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::LeftButton && at.x() > kCheckBoxRight) {
    if (QListWidgetItem* hit = itemAt(at)) {
      Choose(hit);
      return;
    }
  }
  QListWidget::mouseReleaseEvent(event);
}

void TFolderHistoryPopup::hideEvent(QHideEvent* event) {
  QListWidget::hideEvent(event);
  if (closedOnce_) return;
  closedOnce_ = true;
  Q_EMIT Closed(FixedFlags());
}

// The flags reach the dialog before it moves, so a choice never loses a changed check box.
void TFolderHistoryPopup::Choose(const QListWidgetItem* item) {
  if (!item) return;
  const QString folder = item->text();
  close();
  Q_EMIT FolderChosen(folder);
}

}  // namespace vorn
