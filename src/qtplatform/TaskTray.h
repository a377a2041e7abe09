// TTaskTray: an icon in the desktop's notification area with a pop-up menu for each mouse
// button, over QSystemTrayIcon (the StatusNotifierItem protocol on current desktops, the
// XEmbed tray elsewhere). Identifiers are unique within the process.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

#include "base/VornError.h"

class QSystemTrayIcon;

namespace vorn {

class TPopupMenuEx;

class ETrayError : public EVornError {
public:
  using EVornError::EVornError;
};

class TTaskTray : public QObject {
  Q_OBJECT
public:
  enum TButton { tbLeft = 0, tbRight = 1, tbMiddle = 2 };

  // Takes the next free identifier: 1 for the first tray, else the highest in use + 1.
  explicit TTaskTray(QObject* parent = nullptr);
  ~TTaskTray() override;

  const QIcon& Icon() const { return icon_; }
  void SetIcon(const QIcon& icon);
  int IconID() const { return id_; }
  // ETrayError "0以下は指定できません" for 0 or less, "同じアイコン識別子が有ります" for one in use.
  void SetIconID(int id);
  // The tip as the area shows it: at most 63 characters.
  QString TipString() const { return tip_; }
  void SetTipString(const QString& tip);
  bool Registered() const { return registered_; }
  // ETrayError "アイコンが指定されていません" without an icon, "タスクトレイに登録できません"
  // when the desktop has no notification area.
  void SetRegistered(bool registered);

  TPopupMenuEx* PopupMenuL() const { return menuL_; }
  TPopupMenuEx* PopupMenuR() const { return menuR_; }
  void SetPopupMenuL(TPopupMenuEx* menu) { menuL_ = menu; }
  void SetPopupMenuR(TPopupMenuEx* menu) { menuR_ = menu; }

  // What a button's release over the icon does, also for a hot key that stands in for the
  // right button: the mouse-up event, then that button's menu at pos. Nothing while a menu of
  // any tray is shown, so a second click or key does not open a second menu.
  void ReleaseButton(TButton button, const QPoint& pos);

  // True while one of the process's trays shows a menu.
  static bool Busy();

Q_SIGNALS:
  void MouseDown(int button);
  void MouseUp(int button);
  void DblClick(int button);

private:
  void Update();
  void Activated(int reason);

  QSystemTrayIcon* tray_ = nullptr;
  QIcon icon_;
  QString tip_;
  int id_ = 0;
  bool registered_ = false;
  TPopupMenuEx* menuL_ = nullptr;
  TPopupMenuEx* menuR_ = nullptr;
};

}  // namespace vorn
