// TVornEditStation: the resident station's history, settings and bus answers.
#include "shell/Station.h"

#include "base/VornError.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"
#include "settings/CommonSet.h"
#include "settings/VornMemInifile.h"
#include "shell/StationTray.h"
#include "shellcore/FileHistoryStore.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

namespace vorn {

TVornEditStation::TVornEditStation(std::string historyFolder) : historyFolder_(std::move(historyFolder)) {
  setObjectName(QStringLiteral("TVornEditMain"));
  setWindowTitle(QStringLiteral("VORNEDITORSTATION"));
  setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
  resize(0, 0);
  // The station shows no window of its own: closing the last dialog it opened must not end it.
  QApplication::setQuitOnLastWindowClosed(false);
  LoadCommonSettings();
  LoadFileHistory();
}

TVornEditStation::~TVornEditStation() = default;

std::string TVornEditStation::HistoryFolder() const { return historyFolder_.empty() ? UserFolder() : historyFolder_; }

std::string TVornEditStation::OpenBus(const TBusFolder& folder) {
  bus_ = folder;
  auto endpoint = std::make_unique<TBusEndpoint>(folder);
  const std::string error = endpoint->Open("TVornEditMain", windowTitle().toStdString(),
                                           [this](const TBusRequest& request) { return DispatchBusRequest(*this, request); });
  if (!error.empty()) return error;
  endpoint_ = std::move(endpoint);
  notifier_ = new QSocketNotifier(endpoint_->Fd(), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { endpoint_->ProcessPending(); });
  return {};
}

void TVornEditStation::LoadFileHistory() {
  std::string message;
  TFileHistoryStore(HistoryFolder()).Load(history_, message);
  history_.SetMenuCount(common_.StationFileHistCount);
  if (!message.empty()) lastMessage_ = message;
}

// A file another program holds or this user may not read: the defaults serve meanwhile.
void TVornEditStation::LoadCommonSettings() {
  TCommonSet common(ProgramFolder());
  try {
    common.LoadFrom(HistoryFolder() + "Common.ini");
  } catch (const EVornError& e) {
    lastMessage_ = e.what();
  }
  for (const std::string& message : common.TakeMessages()) lastMessage_ = message;
  common_ = WindowCommonOptions(common);
  common_.StationFileHistCount = std::clamp(common_.StationFileHistCount, 0, TFileHistory::kMaxEntries);
  history_.SetMenuCount(common_.StationFileHistCount);
  try {
    settings_ = ReadStationSettings(TVornMemInifile(HistoryFolder() + "Common.ini"));
  } catch (const EVornError& e) {
    lastMessage_ = e.what();
  }
  // The hot key follows the settings every time they are read.
  if (tray_) tray_->Apply(settings_);
}

void TVornEditStation::ShowInTray() {
  if (tray_) return;
  tray_ = new TStationTray(*this);
  // The history held back while the menu was open is read once it closed.
  connect(tray_, &TStationTray::HistoryReloadDue, this, [this] { LoadFileHistory(); });
  tray_->Apply(settings_);
}

void TVornEditStation::Tell(const std::string& message) {
  lastMessage_ = message;
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("VornEditor"), QString::fromStdString(message));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

void TVornEditStation::End() {
  QTimer::singleShot(0, qApp, [] { QApplication::quit(); });
}

bool TVornEditStation::StartEditor(const std::string& params) { return StartEditorProcess(params) > 0; }

pid_t TVornEditStation::StartEditorProcess(const std::string& params) {
  std::string error;
  pid_t pid = 0;
  if (StartProgram(CurrentExecutablePath(), params, &error, &pid, TChildReaping::crThread)) return pid;
  lastMessage_ = "VornEditor: " + error;
  return 0;
}

// The reply goes out before the station's loop ends.
TBusReply TVornEditStation::CloseWindow() {
  End();
  return Handled(1);
}

// While the tray menu is open the history under the user's mouse stays; it is read when the
// menu closes. The settings and the hot key are read at once.
TBusReply TVornEditStation::Reload(TBusMessage which) {
  const auto reloadHistory = [this] {
    if (!tray_ || tray_->State().ReloadsHistoryNow()) LoadFileHistory();
  };
  switch (which) {
    case TBusMessage::bmLoadFileHistory: reloadHistory(); return Handled(1);
    case TBusMessage::bmLoadCommonSet:
      LoadCommonSettings();
      reloadHistory();
      return Handled(1);
    default: return NotHandled();
  }
}

TBusReply TVornEditStation::ChangeStation() {
  if (!tray_) ShowInTray();
  tray_->CreateIcon();
  return Handled(1);
}

}  // namespace vorn
