// Open-file queries, activation, the start-up hand-off and the broadcasts over the bus.
#include "shellcore/InstanceCoordination.h"

#include "platform/VornUtil.h"

namespace vorn {

TBusRequest MakeBusRequest(TBusMessage message, std::int64_t wParam, std::int64_t lParam,
                           std::optional<std::string> text) {
  TBusRequest r;
  r.name = std::string(BusMessageName(message));
  r.wParam = wParam;
  r.lParam = lParam;
  r.text = std::move(text);
  return r;
}

std::vector<TOpenFileEntry> OpenFileList(const TBusFolder& folder, std::int64_t ownMain, int timeoutMs) {
  std::vector<std::int64_t> targets;
  for (const TBusPeer& p : OtherMainEditors(folder.List(), ownMain)) targets.push_back(p.id);
  TBusRequest query = MakeBusRequest(TBusMessage::bmQueryOpenFile);
  query.sender = ownMain;
  const std::vector<TBusReply> replies = SendBusMessageToAll(folder, targets, query, timeoutMs);
  std::vector<TOpenFileEntry> list;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const TBusReply& r = replies[i];
    if (r.status == TBusStatus::bsHandled && r.result != 0 && r.text) list.push_back({*r.text, targets[i]});
  }
  return list;
}

std::int64_t FindWindowShowingFile(const TBusFolder& folder, const std::string& fileName, std::int64_t ownMain,
                                   const std::string& ownFileName) {
  const std::string name = CanonicalFileName(fileName);
  if (name.empty()) return 0;
  if (ownMain != 0 && !ownFileName.empty() && CanonicalFileName(ownFileName) == name) return ownMain;
  for (const TOpenFileEntry& e : OpenFileList(folder, ownMain))
    if (e.fileName == name) return e.window;
  return 0;
}

bool ActivateWindow(const TBusFolder& folder, std::int64_t window, std::string& message) {
  TBusPeer peer;
  if (folder.Find(window, peer) && peer.enabled) {
    const TBusReply r = SendBusMessage(folder, window, MakeBusRequest(TBusMessage::bmSetFocus));
    if (r.status == TBusStatus::bsHandled || r.status == TBusStatus::bsNotHandled) return true;
  }
  message = kCannotActivateMessage;
  return false;
}

TStartupHandOff HandOffToOpenWindow(const TBusFolder& folder, const std::string& fileName,
                                    const TStartupRequests& requests, std::int64_t ownMain) {
  TStartupHandOff result;
  result.window = FindWindowShowingFile(folder, fileName, ownMain, std::string());
  if (result.window == 0 || result.window == ownMain) return result;
  result.handedOff = true;
  ActivateWindow(folder, result.window, result.message);
  if (requests.lineJump)
    SendBusMessage(folder, result.window,
                   MakeBusRequest(TBusMessage::bmLineJump, requests.fileLine ? 1 : 0, *requests.lineJump),
                   kBusActionTimeoutMs);
  if (requests.lineMacro)
    SendBusMessage(folder, result.window, MakeBusRequest(TBusMessage::bmLineMacroExec, 0, 0, requests.lineMacro),
                   kBusActionTimeoutMs);
  if (requests.macroFile)
    PostBusMessage(folder, result.window, MakeBusRequest(TBusMessage::bmExternalMacroExec, 0, 0, requests.macroFile));
  return result;
}

int BroadcastPost(const TBusFolder& folder, const TBroadcast& b) {
  const std::vector<TBusPeer> all = folder.List();
  TBusRequest request = b.request;
  request.sender = b.ownMain;
  int reached = 0;
  for (const TBusPeer& p : OtherMainEditors(all, b.ownMain)) {
    if (p.id == b.excluded) continue;
    if (b.focusFirst) PostBusMessage(folder, p.id, MakeBusRequest(TBusMessage::bmSetFocus));
    reached += PostBusMessage(folder, p.id, request) ? 1 : 0;
  }
  if (b.alsoToStation) {
    const std::int64_t station = FindStation(all);
    if (station != 0 && station != b.ownMain) reached += PostBusMessage(folder, station, request) ? 1 : 0;
  }
  return reached;
}

std::vector<TBusReply> BroadcastSend(const TBusFolder& folder, const TBroadcast& b) {
  TBusRequest request = b.request;
  request.sender = b.ownMain;
  std::vector<TBusReply> replies;
  for (const TBusPeer& p : OtherMainEditors(folder.List(), b.ownMain)) {
    if (p.id == b.excluded) continue;
    replies.push_back(SendBusMessage(folder, p.id, request, b.timeoutMs));
    std::string ignored;
    if (b.activateAfter) ActivateWindow(folder, p.id, ignored);
  }
  return replies;
}

int BroadcastFileHistoryReload(const TBusFolder& folder, std::int64_t ownMain) {
  TBroadcast b;
  b.request = MakeBusRequest(TBusMessage::bmLoadFileHistory);
  b.ownMain = ownMain;
  b.alsoToStation = true;
  return BroadcastPost(folder, b);
}

}  // namespace vorn
