// The menu-bar file icon: a drag of the document's file, or the window menu after a held press.
#include "shell/DocumentIcon.h"

#include "platform/VornUtil.h"

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QUrl>

namespace vorn {
namespace {

QIcon FileIcon(const QWidget& widget) { return widget.style()->standardIcon(QStyle::SP_FileIcon); }

int IconExtent(const QWidget& widget) { return widget.style()->pixelMetric(QStyle::PM_SmallIconSize); }

}  // namespace

TDocumentIcon::TDocumentIcon(std::function<std::string()> fileName, QWidget* parent)
    : QWidget(parent), fileName_(std::move(fileName)) {
  setObjectName(QStringLiteral("DocumentIcon"));
  menuTimer_.setSingleShot(true);
  menuTimer_.setInterval(kMenuDelayMs);
  connect(&menuTimer_, &QTimer::timeout, this, &TDocumentIcon::OpenWindowMenu);
}

QSize TDocumentIcon::sizeHint() const {
  const int extent = IconExtent(*this);
  return {extent + 6, extent + 4};
}

void TDocumentIcon::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int extent = IconExtent(*this);
  const QRect square((width() - extent) / 2, (height() - extent) / 2, extent, extent);
  FileIcon(*this).paint(&p, square, Qt::AlignCenter, fileName_().empty() ? QIcon::Disabled : QIcon::Normal);
}

// An untitled document has no file to drag and no icon to hold: the press goes on as any
// press on the menu bar would.
void TDocumentIcon::mousePressEvent(QMouseEvent* event) {
  const bool button = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
  if (!button || fileName_().empty()) {
    event->ignore();
    return;
  }
  pressed_ = true;
  pressAt_ = event->position().toPoint();
  menuTimer_.start();
  event->accept();
}

void TDocumentIcon::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_ || event->buttons() == Qt::NoButton) return;
  if ((event->position().toPoint() - pressAt_).manhattanLength() < QApplication::startDragDistance()) return;
  pressed_ = false;
  menuTimer_.stop();
  StartDrag();
}

// A name whose file is not (or no longer) on disk would hand the drop target a dead link.
void TDocumentIcon::StartDrag() {
  const std::string name = fileName_();
  if (!IsRegularFile(name)) return;
  auto* data = new QMimeData;
  data->setUrls({QUrl::fromLocalFile(QString::fromStdString(name))});
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->setPixmap(FileIcon(*this).pixmap(IconExtent(*this)));
  drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
}

void TDocumentIcon::OpenWindowMenu() {
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (!wasPressed || !window()->isEnabled()) return;
  WindowMenu()->popup(mapToGlobal(QPoint(0, height())));
}

QMenu* TDocumentIcon::WindowMenu() {
  if (menu_) return menu_;
  menu_ = new QMenu(this);
  QWidget* w = window();
  const auto add = [this, w](const QString& caption, void (QWidget::*slot)()) {
    QAction* action = menu_->addAction(caption);
    connect(action, &QAction::triggered, w, slot);
    return action;
  };
  QAction* restore = add(QStringLiteral("元のサイズに戻す(&R)"), &QWidget::showNormal);
  QAction* minimize = add(QStringLiteral("最小化(&N)"), &QWidget::showMinimized);
  QAction* maximize = add(QStringLiteral("最大化(&X)"), &QWidget::showMaximized);
  menu_->addSeparator();
  connect(menu_->addAction(QStringLiteral("閉じる(&C)")), &QAction::triggered, w, &QWidget::close);
  connect(menu_, &QMenu::aboutToShow, this, [w, restore, minimize, maximize] {
    const Qt::WindowStates state = w->windowState();
    const bool maximized = state.testFlag(Qt::WindowMaximized);
    const bool minimized = state.testFlag(Qt::WindowMinimized);
    restore->setEnabled(maximized || minimized);
    minimize->setEnabled(!minimized);
    maximize->setEnabled(!maximized);
  });
  return menu_;
}

}  // namespace vorn
