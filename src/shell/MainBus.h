// TMainBus: the editor window's end of the bus. Other programs and editor processes bring the
// window forward, jump to a line, ask its file name, save it and close it through here.
#pragma once

#include "platform/BusEndpoint.h"
#include "shellcore/BusWindowHandler.h"

#include <QObject>

#include <sys/types.h>

#include <vector>

class QSocketNotifier;

namespace vorn {

class TEditorWindow;

class TMainBus : public QObject, private TBusWindowHandler {
  Q_OBJECT
public:
  // Child of the window: it lives and is unregistered with it.
  TMainBus(TEditorWindow& window, TBusFolder folder);
  // Registers the window; empty text or the reason it could not.
  std::string Open();
  const TBusEndpoint& Endpoint() const { return endpoint_; }
  // The main editor windows registered now.
  std::vector<std::int64_t> MainEditorIds() const;
  // Waits, without blocking the window, for a main editor window of process pid that is not
  // among known to register, brings it to the top and posts the message to it. Another
  // editor that happens to start meanwhile is never the one told. Gives up after readyMs (the
  // process getting ready) plus searchMs, or as soon as the process has ended.
  void PostToWindowOfProcess(pid_t pid, std::vector<std::int64_t> known, TBusMessage message,
                             int readyMs = 5000, int searchMs = 10000);

private:
  TBusReply SaveClose() override;
  TBusReply Save(bool onlyModified) override;
  TBusReply QueryOpenFile() override;
  TBusReply SetFocus() override;
  TBusReply BringToTop() override;
  TBusReply CloseWindow() override;
  TBusReply LineJump(bool fileLine, std::int64_t line) override;
  // The macro runs once the message is answered: it may show dialogs of its own.
  TBusReply LineMacro(const std::string& macroLine) override;
  TBusReply ExternalMacro(const std::string& macroFile) override;
  TBusReply GrepExecute() override;
  // LOAD DIFF, SET DIFF MODE, JUMP DIFF INFO, SAVE TO TEMPFILE: the window's diff part answers.
  TBusReply Diff(const TBusRequest& request, TBusMessage which) override;
  // MainBusWindow.cpp: window states and moves for the arrangement, settings reloads and the
  // outside programs' queries on the active pane.
  TBusReply QueryMinimized(bool leaveMaximized) override;
  TBusReply QueryMain() override;
  TBusReply MinimizeWindow() override;
  TBusReply MoveWindow(int x, int y, int width, int height) override;
  TBusReply Reload(TBusMessage which) override;
  TBusReply EditQuery(TBusMessage which, std::int64_t wParam, std::int64_t lParam) override;
  TBusReply DumpView();
  // Keeps the record's activation order and minimised state up to date.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Closing waits for the reply to go out: the endpoint must not vanish while it answers.
  void CloseLater();

  TEditorWindow& window_;
  TBusEndpoint endpoint_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorn
