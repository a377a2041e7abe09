// TVornEditStation: the resident station's history, settings and bus answers.
#include "shell/Station.h"

#include "base/VornError.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"
#include "settings/CommonSet.h"
#include "shellcore/FileHistoryStore.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

namespace vorn {

TVornEditStation::TVornEditStation(std::string historyFolder) : historyFolder_(std::move(historyFolder)) {
  setObjectName(QStringLiteral("TVornEditMain"));
  setWindowTitle(QStringLiteral("VORNEDITORSTATION"));
  setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
  resize(0, 0);
  LoadCommonSettings();
  LoadFileHistory();
}

TVornEditStation::~TVornEditStation() = default;

std::string TVornEditStation::HistoryFolder() const { return historyFolder_.empty() ? UserFolder() : historyFolder_; }

std::string TVornEditStation::OpenBus(const TBusFolder& folder) {
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
}

bool TVornEditStation::StartEditor(const std::string& params) {
  std::string error;
  if (StartProgram(CurrentExecutablePath(), params, &error, nullptr, TChildReaping::crThread)) return true;
  lastMessage_ = "VornEditor: " + error;
  return false;
}

// The reply goes out before the station's loop ends.
TBusReply TVornEditStation::CloseWindow() {
  QTimer::singleShot(0, qApp, [] { QApplication::quit(); });
  return Handled(1);
}

TBusReply TVornEditStation::Reload(TBusMessage which) {
  switch (which) {
    case TBusMessage::bmLoadFileHistory: LoadFileHistory(); return Handled(1);
    case TBusMessage::bmLoadCommonSet: LoadCommonSettings(); return Handled(1);
    default: return NotHandled();
  }
}

}  // namespace vorn
