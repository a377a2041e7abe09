// The Qt side of the shared utilities: the centred message box, bringing a window forward and
// TVornNotHideForm, the dialog base that centres on its owner and stays inside the work area.
#include "qtplatform/VornUtilGui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>
#include <map>

namespace vorn {

QPoint CenteredPlacement(const QRect& owner, const QSize& size, const QRect& area, int margin) {
  int x = owner.left() + (owner.width() - size.width()) / 2;
  int y = owner.top() + (owner.height() - size.height()) / 2;
  const QRect inner = area.adjusted(margin, margin, -margin, -margin);
  if (x + size.width() > inner.left() + inner.width()) x = inner.left() + inner.width() - size.width();
  if (y + size.height() > inner.top() + inner.height()) y = inner.top() + inner.height() - size.height();
  if (x < inner.left()) x = inner.left();
  if (y < inner.top()) y = inner.top();
  return QPoint(x, y);
}

QRect WorkAreaFor(const QWidget* owner) {
  QScreen* screen = owner ? owner->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

TTaskBarInfo TaskBarInfoFrom(const QRect& screen, const QRect& available) {
  TTaskBarInfo info;
  if (available == screen || !screen.contains(available)) return info;
  // The strip that the available area leaves free, on the side where it is widest.
  const int top = available.top() - screen.top(), bottom = screen.bottom() - available.bottom();
  const int left = available.left() - screen.left(), right = screen.right() - available.right();
  const int widest = std::max({top, bottom, left, right});
  if (widest == top) info.rect = QRect(screen.left(), screen.top(), screen.width(), top);
  else if (widest == bottom) info.rect = QRect(screen.left(), available.bottom() + 1, screen.width(), bottom);
  else if (widest == left) info.rect = QRect(screen.left(), screen.top(), left, screen.height());
  else info.rect = QRect(available.right() + 1, screen.top(), right, screen.height());
  info.hidden = false;
  const int middleY = screen.top() + screen.height() / 2, middleX = screen.left() + screen.width() / 2;
  if (info.rect.bottom() < middleY) info.edge = 0;
  else if (info.rect.top() > middleY) info.edge = 2;
  else info.edge = info.rect.left() > middleX ? 1 : 3;
  return info;
}

QRect TTaskBarInfo::WorkArea(const QRect& screen) const {
  QRect area = screen;
  if (hidden) return area;
  switch (edge) {
    case 0: area.setTop(rect.bottom() + 1); break;
    case 1: area.setRight(screen.right() - rect.width()); break;
    case 2: area.setBottom(screen.bottom() - rect.height()); break;
    default: area.setLeft(rect.right() + 1); break;
  }
  return area;
}

TTaskBarInfo TaskBarInfo(const QWidget* owner) {
  QScreen* screen = owner ? owner->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return TTaskBarInfo();
  return TaskBarInfoFrom(screen->geometry(), screen->availableGeometry());
}

namespace {

class TCenteredMessageBox : public QMessageBox {
public:
  TCenteredMessageBox(QWidget* owner) : QMessageBox(owner), owner_(owner) {}

protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    const QRect area = WorkAreaFor(owner_);
    const QRect ownerRect = owner_ ? owner_->window()->frameGeometry() : area;
    move(CenteredPlacement(ownerRect, frameGeometry().size(), area));
  }

private:
  QWidget* owner_;
};

struct TButtonSpec {
  TMsgDlgBtn bit;
  const char* text;
  QMessageBox::ButtonRole role;
  int result;
};

// In the order the buttons appear.
const TButtonSpec kButtons[] = {
    {mbYes, "はい(&Y)", QMessageBox::YesRole, mrYes},
    {mbNo, "いいえ(&N)", QMessageBox::NoRole, mrNo},
    {mbOK, "OK", QMessageBox::AcceptRole, mrOk},
    {mbCancel, "キャンセル", QMessageBox::RejectRole, mrCancel},
    {mbAbort, "中止(&A)", QMessageBox::RejectRole, mrAbort},
    {mbRetry, "再試行(&R)", QMessageBox::AcceptRole, mrRetry},
    {mbIgnore, "無視(&I)", QMessageBox::AcceptRole, mrIgnore},
    {mbAll, "すべて(&L)", QMessageBox::AcceptRole, mrAll},
    {mbNoToAll, "すべていいえ(&O)", QMessageBox::NoRole, mrNoToAll},
    {mbYesToAll, "すべてはい(&E)", QMessageBox::YesRole, mrYesToAll},
    {mbHelp, "ヘルプ(&H)", QMessageBox::HelpRole, mrNone},
};

QString CaptionOf(TMsgDlgType kind) {
  switch (kind) {
    case mtWarning: return QStringLiteral("警告");
    case mtError: return QStringLiteral("エラー");
    case mtInformation: return QStringLiteral("情報");
    case mtConfirmation: return QStringLiteral("確認");
    case mtCustom: break;
  }
  return QApplication::applicationName();
}

QMessageBox::Icon IconOf(TMsgDlgType kind) {
  switch (kind) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

int CenteredMessageDlg(const QString& message, TMsgDlgType kind, TMsgDlgButtons buttons, bool stayOnTop,
                       QWidget* owner) {
  TCenteredMessageBox box(owner);
  box.setWindowTitle(CaptionOf(kind));
  box.setIcon(IconOf(kind));
  box.setText(message);
  if (stayOnTop) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (buttons == 0) buttons = mbOK;
  std::map<QAbstractButton*, int> results;
  std::map<TMsgDlgBtn, QPushButton*> made;
  for (const auto& button : kButtons) {
    if (!(buttons & button.bit)) continue;
    QPushButton* b = box.addButton(QString::fromUtf8(button.text), button.role);
    results[b] = button.result;
    made[button.bit] = b;
  }
  // Enter takes OK, else Yes, else the first button; Escape takes Cancel, else No, else OK.
  for (TMsgDlgBtn bit : {mbOK, mbYes})
    if (made.count(bit)) {
      box.setDefaultButton(made[bit]);
      break;
    }
  for (TMsgDlgBtn bit : {mbCancel, mbNo, mbOK})
    if (made.count(bit)) {
      box.setEscapeButton(made[bit]);
      break;
    }
  // Only one system sound here, so every kind gets the same beep.
  QApplication::beep();
  box.exec();
  auto it = results.find(box.clickedButton());
  return it == results.end() ? static_cast<int>(mrCancel) : it->second;
}

void ForceForeground(QWidget* window) {
  if (!window) return;
  QWidget* top = window->window();
  top->raise();
  top->activateWindow();
  // Window managers may refuse to hand over the focus; the task bar then flashes the window.
  if (!top->isActiveWindow()) QApplication::alert(top);
}

TVornNotHideForm::TVornNotHideForm(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags) {}

void TVornNotHideForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  const QRect area = WorkAreaFor(owner);
  const QRect ownerRect = owner ? owner->frameGeometry() : area;
  if (QGuiApplication::screens().size() == 1) {
    const int frame = (frameGeometry().width() - geometry().width()) / 2;
    move(CenteredPlacement(ownerRect, frameGeometry().size(), area, frame));
  } else {
    move(CenteredPlacement(ownerRect, frameGeometry().size(), QRect(-100000, -100000, 200000, 200000)));
  }
}

QWidget* TVornNotHideForm::NewOkCancelButtons() {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  return buttons;
}

}  // namespace vorn
