// TStationTray: the station's icon in the notification area, its menu and its global hot key.
// The icon waits for a notification area that is not there yet (a session whose panel starts
// after the station); the hot key alone pops the same menu up meanwhile.
#pragma once

#include <QObject>
#include <QPoint>

#include <memory>
#include <optional>

#include "shellcore/StationMenu.h"

class QAction;
class QMenu;
class QTimer;

namespace vorn {

class TGlobalHotKey;
class TPopupMenuEx;
class TStationCommands;
class TTaskTray;
class TVornEditStation;

class TStationTray : public QObject {
  Q_OBJECT
public:
  explicit TStationTray(TVornEditStation& station);
  ~TStationTray() override;

  // Follows the settings: the hot key is registered again (or released), the menu's notice
  // line says what became of it. Called at start and on every reload of "Common.ini".
  void Apply(const TStationSettings& settings);
  // Puts the icon into the notification area when it is not there ("VORNEDITOR CHANGE STATION").
  void CreateIcon();

  // The reload rules while the menu is open.
  TStationState& State() { return state_; }

  // The hot key's effect: the menu at the mouse, unless it is open already.
  void HotKeyPressed();

  // For tests and the user's look: the menu, whether the icon is in the area, the hot key's state.
  TPopupMenuEx* Menu() const { return menu_; }
  bool IconShown() const;
  THotKeyState HotKeyState() const { return hotKeyState_; }

Q_SIGNALS:
  // The menu closed after the history was held back from a reload.
  void HistoryReloadDue();

private:
  void BuildMenu();
  void FillHistoryMenu();
  void RegisterIcon();
  void Run(const TStationMenuEntry& entry);
  void TellWhenUnreachable();

  TVornEditStation& station_;
  TTaskTray* tray_ = nullptr;
  TPopupMenuEx* menu_ = nullptr;
  QMenu* historyMenu_ = nullptr;
  TGlobalHotKey* hotKey_ = nullptr;
  TStationCommands* commands_ = nullptr;
  QTimer* iconRetry_ = nullptr;
  TStationState state_;
  std::optional<THotKeyChord> chord_;
  THotKeyState hotKeyState_ = hkNone;
  bool applied_ = false;
  bool toldUnreachable_ = false;
  QPoint menuAt_;
};

}  // namespace vorn
