// TStationTray: icon, menu, hot key, and what each menu entry starts.
#include "shell/StationTray.h"

#include "qtplatform/FontTextMeasure.h"
#include "qtplatform/GlobalHotKey.h"
#include "qtplatform/PopupMenuEx.h"
#include "qtplatform/TaskTray.h"
#include "qtplatform/ThemeIcons.h"
#include "shell/Station.h"
#include "shell/StationCommands.h"

#include <QAction>
#include <QCursor>
#include <QMessageBox>
#include <QTimer>

namespace vorn {
namespace {

constexpr const char* kAppIcon = "org.vorneditor.VornEditor";
constexpr int kIconRetryMs = 2000;

THotKeyState StateOf(TGlobalHotKey::TResult result) {
  switch (result) {
    case TGlobalHotKey::grRegistered: return hkRegistered;
    case TGlobalHotKey::grTaken: return hkTaken;
    case TGlobalHotKey::grNoKey: return hkNoKey;
    case TGlobalHotKey::grUnavailable: break;
  }
  return hkUnavailable;
}

}  // namespace

TStationTray::TStationTray(TVornEditStation& station)
    : QObject(&station), station_(station), commands_(new TStationCommands(station)) {
  menu_ = new TPopupMenuEx(&station);
  connect(menu_, &QMenu::aboutToShow, this, [this] {
    state_.MenuOpened();
    FillHistoryMenu();
  });
  connect(menu_, &TPopupMenuEx::DonePopup, this, [this] {
    if (state_.MenuClosed()) Q_EMIT HistoryReloadDue();
  });
  hotKey_ = new TGlobalHotKey(this);
  connect(hotKey_, &TGlobalHotKey::Pressed, this, &TStationTray::HotKeyPressed);
  connect(hotKey_, &TGlobalHotKey::Refused, this, [this] {
    hotKeyState_ = hkTaken;
    BuildMenu();
  });
  tray_ = new TTaskTray(this);
  tray_->SetIcon(NamedIcon(kAppIcon));
  tray_->SetTipString(QStringLiteral("VornEditor"));
  tray_->SetPopupMenuR(menu_);
  connect(tray_, &TTaskTray::DblClick, this, [this](int button) {
    if (TStationState::StartsEditorOnDoubleClick(button)) station_.StartEditor(std::string());
  });
  iconRetry_ = new QTimer(this);
  iconRetry_->setInterval(kIconRetryMs);
  connect(iconRetry_, &QTimer::timeout, this, &TStationTray::RegisterIcon);
  BuildMenu();
}

TStationTray::~TStationTray() { hotKey_->Unregister(); }

void TStationTray::Apply(const TStationSettings& settings) {
  const bool first = !applied_;
  applied_ = true;
  chord_ = settings.HotKey;
  hotKey_->Unregister();
  hotKeyState_ = chord_ ? StateOf(hotKey_->Register({chord_->VirtualKey, chord_->Modifiers})) : hkNone;
  BuildMenu();
  if (first) {
    CreateIcon();
    TellWhenUnreachable();
  } else if (hotKeyState_ == hkTaken || hotKeyState_ == hkNoKey) {
    // Chosen in the settings dialog just now: the user learns at once why it does nothing.
    QMessageBox* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("VornEditor"),
                                       QString::fromStdString(HotKeyNotice(hotKeyState_, chord_)));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
  }
}

void TStationTray::CreateIcon() {
  if (tray_->Registered()) return;
  RegisterIcon();
}

bool TStationTray::IconShown() const { return tray_->Registered(); }

// Without a notification area the icon is tried again now and then, so a panel that starts
// after the station still gets it.
void TStationTray::RegisterIcon() {
  try {
    tray_->SetRegistered(true);
    iconRetry_->stop();
  } catch (const ETrayError&) {
    if (!iconRetry_->isActive()) iconRetry_->start();
  }
}

// A station with neither an icon nor a hot key cannot be reached at all: said once, without
// holding the station up (it runs on and shows its icon when an area appears).
void TStationTray::TellWhenUnreachable() {
  if (toldUnreachable_ || tray_->Registered() || hotKeyState_ == hkRegistered) return;
  toldUnreachable_ = true;
  QString text = QStringLiteral("タスクトレイに登録できません");
  if (const std::string notice = HotKeyNotice(hotKeyState_, chord_); !notice.empty())
    text += QStringLiteral("\n") + QString::fromStdString(notice);
  QMessageBox* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("VornEditor"), text);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

void TStationTray::HotKeyPressed() {
  if (!state_.PopsUpOnHotKey()) return;
  tray_->ReleaseButton(TTaskTray::tbRight, QCursor::pos());
}

void TStationTray::BuildMenu() {
  if (menu_->Showing()) return;  // rebuilt the next time; never under the user's mouse
  menu_->clear();
  historyMenu_ = nullptr;
  for (const TStationMenuEntry& entry : StationMenuEntries(HotKeyNotice(hotKeyState_, chord_))) {
    if (entry.Kind == scSeparator) {
      menu_->addSeparator();
      continue;
    }
    const QString caption = QString::fromStdString(entry.Caption);
    if (entry.Kind == scHistory) {
      historyMenu_ = menu_->addMenu(caption);
      continue;
    }
    QAction* action = menu_->addAction(caption);
    if (entry.Kind == scNotice) {
      action->setEnabled(false);
      continue;
    }
    connect(action, &QAction::triggered, this, [this, entry] { Run(entry); });
  }
}

void TStationTray::FillHistoryMenu() {
  if (!historyMenu_) return;
  historyMenu_->clear();
  const TFileHistory& history = station_.History();
  const TFontTextMeasure measure(historyMenu_->font());
  const std::vector<std::string> captions =
      StationHistoryCaptions(history, station_.Settings().HistoryMenuCount, measure);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    QAction* item = historyMenu_->addAction(QString::fromStdString(captions[i]));
    connect(item, &QAction::triggered, this,
            [this, name = history.Items()[i].fileName] { station_.StartEditor(StationHistoryParams(name)); });
  }
  historyMenu_->setEnabled(!captions.empty());
  menuAt_ = QCursor::pos();
}

void TStationTray::Run(const TStationMenuEntry& entry) {
  switch (entry.Kind) {
    case scNewEditor: station_.StartEditor(std::string()); break;
    case scOpen: commands_->Open(menuAt_); break;
    case scFunction: commands_->Run(entry.Function, menuAt_); break;
    case scEndStation: station_.End(); break;
    default: break;
  }
}

}  // namespace vorn
