// TMainBus: the editor window's end of the bus. Other programs and editor processes bring the
// window forward, jump to a line, ask its file name, save it and close it through here.
#pragma once

#include "platform/BusEndpoint.h"
#include "shellcore/BusWindowHandler.h"

#include <QObject>

#include <vector>

class QSocketNotifier;

namespace vorn {

class TVornEditMain;

class TMainBus : public QObject, private TBusWindowHandler {
  Q_OBJECT
public:
  // Child of the window: it lives and is unregistered with it.
  TMainBus(TVornEditMain& window, TBusFolder folder);
  // Registers the window; empty text or the reason it could not.
  std::string Open();
  const TBusEndpoint& Endpoint() const { return endpoint_; }
  // The main editor windows registered now.
  std::vector<std::int64_t> MainEditorIds() const;
  // Waits, without blocking the window, for a main editor not among known to register, then
  // posts the message to it; gives up after timeoutMs.
  void PostToNewWindow(std::vector<std::int64_t> known, TBusMessage message, int timeoutMs = 10000);

private:
  TBusReply SaveClose() override;
  TBusReply Save(bool onlyModified) override;
  TBusReply QueryOpenFile() override;
  TBusReply SetFocus() override;
  TBusReply BringToTop() override;
  TBusReply CloseWindow() override;
  TBusReply LineJump(bool fileLine, std::int64_t line) override;
  TBusReply GrepExecute() override;
  TBusReply Reload(TBusMessage which) override;
  // Closing waits for the reply to go out: the endpoint must not vanish while it answers.
  void CloseLater(bool discard);

  TVornEditMain& window_;
  TBusEndpoint endpoint_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vorn
