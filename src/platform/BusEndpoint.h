// A window's listening end of the bus: registers it, receives messages and answers them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/BusFolder.h"
#include "platform/BusMessage.h"

namespace vorn {

// One endpoint per window. Driven by whoever owns the loop: a Qt socket notifier on Fd()
// that calls ProcessPending(), or WaitAndProcess() in a plain loop. Handlers run on the
// caller's thread; a reply is written as soon as the handler returns.
class TBusEndpoint {
public:
  using THandler = std::function<TBusReply(const TBusRequest&)>;

  explicit TBusEndpoint(TBusFolder folder = TBusFolder::Default());
  TBusEndpoint(const TBusEndpoint&) = delete;
  TBusEndpoint& operator=(const TBusEndpoint&) = delete;
  ~TBusEndpoint() { Close(); }

  // Registers the window and starts listening. Returns an empty text or the reason it cannot
  // (the folder is not ours, the socket cannot be made).
  std::string Open(const std::string& className, const std::string& title, THandler handler);
  void Close();
  bool IsOpen() const { return listenFd_ >= 0; }

  std::int64_t Id() const { return peer_.id; }
  int Fd() const { return listenFd_; }
  const TBusFolder& Folder() const { return folder_; }
  const TBusPeer& Record() const { return peer_; }

  // Each republishes the record; false when it could not be written.
  bool SetTitle(const std::string& title);
  bool SetStates(bool enabled, bool minimized);
  bool MarkActivated();

  // Accepts and answers every connection waiting now. Returns the number of messages handled.
  // A sender that connected but whose frame does not arrive within a short wait is dropped,
  // so a broken or hostile peer cannot stall the window.
  int ProcessPending();
  // Waits up to timeoutMs for a connection, then processes. Returns the number handled.
  int WaitAndProcess(int timeoutMs);

private:
  void Serve(int connection);

  TBusFolder folder_;
  TBusPeer peer_;
  THandler handler_;
  int listenFd_ = -1;
  int lockFd_ = -1;
};

// The id the next endpoint of this process will take: process id in the high bits, a serial
// number of the process's windows in the low 16, so ids sort by process, then by creation.
std::int64_t NextBusEndpointId();

}  // namespace vorn
