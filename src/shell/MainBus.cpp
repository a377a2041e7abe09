// TMainBus and the window's bus registration: the answers the window gives other processes.
#include "shell/MainBus.h"

#include "editor/VornEdit.h"
#include "shell/EditorWindow.h"
#include "shell/DiffPart.h"
#include "shell/MacroPart.h"

#include "platform/BusClient.h"
#include "shellcore/FunctionTable.h"
#include "platform/ProcessStart.h"
#include "shellcore/BusEditQuery.h"
#include "shellcore/GrepHandOff.h"
#include "shellcore/InstanceCoordination.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace vorn {

TMainBus::TMainBus(TEditorWindow& window, TBusFolder folder)
    : QObject(&window), window_(window), endpoint_(std::move(folder)) {}

std::string TMainBus::Open() {
  const char* className = window_.IsSubWindow() ? "TVornEditSub" : "TVornEditMain";
  const std::string error = endpoint_.Open(className, window_.windowTitle().toStdString(),
                                           [this](const TBusRequest& request) {
                                             if (request.name == kDumpViewMessage) return DumpView();
                                             return DispatchBusRequest(*this, request);
                                           });
  if (!error.empty()) return error;
  notifier_ = new QSocketNotifier(endpoint_.Fd(), QSocketNotifier::Read, this);
  window_.installEventFilter(this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { endpoint_.ProcessPending(); });
  // Other processes find windows by their recorded titles, so the record follows the caption.
  connect(&window_, &QWidget::windowTitleChanged, this,
          [this](const QString& title) { endpoint_.SetTitle(title.toStdString()); });
  return {};
}

// The reply tells whether the file now holds the text.
TBusReply TMainBus::Save(bool onlyModified) {
  if (onlyModified && !window_.Modified()) return Handled(1);
  const bool ran = window_.RunFunction(FunctionNumber("SaveFile"), false);
  return Handled(ran && !window_.Modified() ? 1 : 0);
}

// A failed or refused save keeps the window: closing would lose the text.
TBusReply TMainBus::SaveClose() {
  const bool ran = window_.RunFunction(FunctionNumber("SaveClose"), false);
  return Handled(ran && !window_.Modified() ? 1 : 0);
}

TBusReply TMainBus::QueryOpenFile() { return OpenFileReply(window_.FileName()); }

TBusReply TMainBus::SetFocus() {
  if (window_.isMinimized()) window_.showNormal();
  window_.raise();
  window_.activateWindow();
  endpoint_.MarkActivated();
  return Handled(1);
}

TBusReply TMainBus::BringToTop() { return SetFocus(); }

TBusReply TMainBus::CloseWindow() {
  CloseLater();
  return Handled(1);
}

TBusReply TMainBus::LineMacro(const std::string& macroLine) {
  QTimer::singleShot(0, &window_, [window = &window_, macroLine] { window->Macro().RunLine(macroLine); });
  return Handled(1);
}

TBusReply TMainBus::ExternalMacro(const std::string& macroFile) {
  QTimer::singleShot(0, &window_, [window = &window_, macroFile] { window->Macro().RunFile(macroFile); });
  return Handled(1);
}

// fileLine counts the lines of the file; otherwise line counts the rows the pane shows.
TBusReply TMainBus::LineJump(bool fileLine, std::int64_t line) {
  TVornEditCore& core = window_.Editor()->Core();
  if (line == -1) {
    window_.JumpToLine(TJumpTarget{true, 0});
  } else if (line > 0 && line <= INT32_MAX && fileLine) {
    window_.JumpToLine(TJumpTarget{false, static_cast<int>(line)});
  } else if (line > 0 && line <= core.LastCaretRow() + 1) {
    core.GoToPosition(static_cast<int>(line - 1), 0);
    window_.Editor()->Flush();
  } else {
    return Handled(0);
  }
  window_.UpdateStatus();
  return Handled(1);
}

std::string TEditorWindow::OpenBus(const TBusFolder& folder) {
  delete bus_;
  bus_ = new TMainBus(*this, folder);
  const std::string error = bus_->Open();
  if (!error.empty()) {
    delete bus_;
    bus_ = nullptr;
  }
  return error;
}

std::int64_t TEditorWindow::BusId() const { return bus_ ? bus_->Endpoint().Id() : 0; }

// The run shows a modal progress window: it starts after the reply, not inside the answer.
TBusReply TMainBus::GrepExecute() {
  QTimer::singleShot(0, &window_, [w = &window_] { w->RunHandedGrep(); });
  return Handled(1);
}

// Another process wrote the file history: the file menu shows the new list when next opened.
std::vector<std::int64_t> TMainBus::MainEditorIds() const {
  std::vector<std::int64_t> ids;
  for (const TBusPeer& peer : endpoint_.Folder().List())
    if (peer.IsMainWindow()) ids.push_back(peer.id);
  return ids;
}

void TMainBus::PostToWindowOfProcess(pid_t pid, std::vector<std::int64_t> known, TBusMessage message, int readyMs,
                                     int searchMs) {
  if (pid <= 0) return;
  auto* poll = new QTimer(this);
  auto waited = std::make_shared<QElapsedTimer>();
  waited->start();
  const int limitMs = readyMs + searchMs;
  connect(poll, &QTimer::timeout, this, [this, poll, waited, pid, known = std::move(known), message, limitMs] {
    const std::int64_t id = HandOffWindow(endpoint_.Folder().List(), pid, endpoint_.Id(), known);
    if (id != 0) {
      PostBusMessage(endpoint_.Folder(), id, MakeBusRequest(TBusMessage::bmTop));
      PostBusMessage(endpoint_.Folder(), id, MakeBusRequest(message));
      poll->deleteLater();
      return;
    }
    if (waited->elapsed() > limitMs || !ProcessRunning(pid)) poll->deleteLater();
  });
  poll->start(50);
}

TBusReply TMainBus::Diff(const TBusRequest& request, TBusMessage which) { return window_.Diff().Answer(request, which); }

void TMainBus::CloseLater() {
  QTimer::singleShot(0, &window_, [w = &window_] { w->close(); });
}

}  // namespace vorn
