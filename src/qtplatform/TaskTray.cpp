// TTaskTray: identifiers, registration and the mouse on the icon.
#include "qtplatform/TaskTray.h"

#include <QCursor>
#include <QSystemTrayIcon>

#include <algorithm>
#include <map>

#include "qtplatform/PopupMenuEx.h"

namespace vorn {
namespace {

constexpr int kMaxTip = 63;

std::map<int, TTaskTray*>& Trays() {
  static std::map<int, TTaskTray*> trays;
  return trays;
}

bool AnyMenuShown() {
  for (const auto& [id, tray] : Trays())
    for (TPopupMenuEx* menu : {tray->PopupMenuL(), tray->PopupMenuR()})
      if (menu && menu->Showing()) return true;
  return false;
}

}  // namespace

TTaskTray::TTaskTray(QObject* parent) : QObject(parent), tray_(new QSystemTrayIcon(this)) {
  id_ = Trays().empty() ? 1 : Trays().rbegin()->first + 1;
  Trays()[id_] = this;
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) { Activated(r); });
}

TTaskTray::~TTaskTray() { Trays().erase(id_); }

void TTaskTray::SetIcon(const QIcon& icon) {
  icon_ = icon;
  Update();
}

void TTaskTray::SetIconID(int id) {
  if (id <= 0) throw ETrayError("0以下は指定できません");
  if (id == id_) return;
  if (Trays().count(id)) throw ETrayError("同じアイコン識別子が有ります");
  Trays().erase(id_);
  id_ = id;
  Trays()[id_] = this;
}

void TTaskTray::SetTipString(const QString& tip) {
  tip_ = tip.left(kMaxTip);
  Update();
}

void TTaskTray::SetRegistered(bool registered) {
  if (!registered) {
    tray_->hide();
    registered_ = false;
    return;
  }
  if (icon_.isNull()) throw ETrayError("アイコンが指定されていません");
  if (!QSystemTrayIcon::isSystemTrayAvailable()) throw ETrayError("タスクトレイに登録できません");
  registered_ = true;
  Update();
  tray_->show();
}

void TTaskTray::Update() {
  if (!registered_) return;
  tray_->setIcon(icon_);
  tray_->setToolTip(tip_);
}

bool TTaskTray::Busy() { return AnyMenuShown(); }

void TTaskTray::ReleaseButton(TButton button, const QPoint& pos) {
  if (Busy()) return;
  Q_EMIT MouseUp(button);
  TPopupMenuEx* menu = button == tbLeft ? menuL_ : button == tbRight ? menuR_ : nullptr;
  if (menu) menu->popup(pos);
}

// The area reports clicks, not raw buttons: a click stands for a press and a release of that
// button, and a double click of the left button comes on its own.
void TTaskTray::Activated(int reason) {
  if (Busy()) return;
  const QPoint pos = QCursor::pos();
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      Q_EMIT MouseDown(tbLeft);
      ReleaseButton(tbLeft, pos);
      break;
    case QSystemTrayIcon::Context:
      Q_EMIT MouseDown(tbRight);
      ReleaseButton(tbRight, pos);
      break;
    case QSystemTrayIcon::MiddleClick:
      Q_EMIT MouseDown(tbMiddle);
      ReleaseButton(tbMiddle, pos);
      break;
    case QSystemTrayIcon::DoubleClick: Q_EMIT DblClick(tbLeft); break;
    default: break;
  }
}

}  // namespace vorn
