// Message routing to the window handler and the defaults of a window that acts on nothing.
#include "shellcore/BusWindowHandler.h"

#include <unistd.h>

#include <climits>

namespace vorn {

TBusReply TBusWindowHandler::SaveClose() { return NotHandled(); }
TBusReply TBusWindowHandler::Save(bool) { return NotHandled(); }
TBusReply TBusWindowHandler::QueryOpenFile() { return NotHandled(); }
TBusReply TBusWindowHandler::SetFocus() { return NotHandled(); }
TBusReply TBusWindowHandler::QueryMinimized(bool) { return NotHandled(); }
TBusReply TBusWindowHandler::QueryMain() { return NotHandled(); }
TBusReply TBusWindowHandler::CloseWindow() { return NotHandled(); }
TBusReply TBusWindowHandler::MinimizeWindow() { return NotHandled(); }
TBusReply TBusWindowHandler::MoveWindow(int, int, int, int) { return NotHandled(); }
TBusReply TBusWindowHandler::BringToTop() { return NotHandled(); }
TBusReply TBusWindowHandler::Reload(TBusMessage) { return NotHandled(); }
TBusReply TBusWindowHandler::LineJump(bool, std::int64_t) { return NotHandled(); }
TBusReply TBusWindowHandler::LineMacro(const std::string&) { return NotHandled(); }
TBusReply TBusWindowHandler::ExternalMacro(const std::string&) { return NotHandled(); }
TBusReply TBusWindowHandler::GrepExecute() { return NotHandled(); }
TBusReply TBusWindowHandler::Diff(const TBusRequest&, TBusMessage) { return NotHandled(); }
TBusReply TBusWindowHandler::EditQuery(TBusMessage, std::int64_t, std::int64_t) { return NotHandled(); }
TBusReply TBusWindowHandler::ChangeStation() { return NotHandled(); }

TBusReply TBusWindowHandler::VorneFileName() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path);
  return n > 0 ? HandledText(std::string(path, n)) : NotHandled();
}

std::int64_t PackBusPair(int high, int low) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32) |
                                   static_cast<std::uint32_t>(low));
}

void UnpackBusPair(std::int64_t packed, int& high, int& low) {
  high = static_cast<std::int32_t>(static_cast<std::uint64_t>(packed) >> 32);
  low = static_cast<std::int32_t>(static_cast<std::uint64_t>(packed) & 0xFFFFFFFFu);
}

namespace {

TBusReply DispatchWindowMessage(TBusWindowHandler& h, TBusMessage m, const TBusRequest& r) {
  int a = 0, b = 0, c = 0, d = 0;
  switch (m) {
    case TBusMessage::bmSetFocus: return h.SetFocus();
    case TBusMessage::bmQueryMinimized: return h.QueryMinimized(r.wParam == 1);
    case TBusMessage::bmQueryMain: return h.QueryMain();
    case TBusMessage::bmClose: return h.CloseWindow();
    case TBusMessage::bmMinimize: return h.MinimizeWindow();
    case TBusMessage::bmTop: return h.BringToTop();
    case TBusMessage::bmMove:
      UnpackBusPair(r.wParam, a, b);
      UnpackBusPair(r.lParam, c, d);
      return h.MoveWindow(a, b, c, d);
    default: return TBusWindowHandler::NotHandled();
  }
}

}  // namespace

TBusReply DispatchBusRequest(TBusWindowHandler& h, const TBusRequest& r) {
  const std::optional<TBusMessage> m = BusMessageFromName(r.name);
  if (!m) return TBusReply{TBusStatus::bsUnknownMessage, 0, {}};
  const std::string text = r.text.value_or(std::string());
  switch (*m) {
    case TBusMessage::bmSaveClose: return h.SaveClose();
    case TBusMessage::bmSave: return h.Save(r.wParam == 1);
    case TBusMessage::bmQueryOpenFile: return h.QueryOpenFile();
    case TBusMessage::bmLoadCommonSet:
    case TBusMessage::bmLoadExtSet:
    case TBusMessage::bmLoadFileHistory: return h.Reload(*m);
    case TBusMessage::bmLineJump: return h.LineJump(r.wParam == 1, r.lParam);
    case TBusMessage::bmLineMacroExec: return r.text ? h.LineMacro(text) : TBusReply{TBusStatus::bsBadRequest, 0, {}};
    case TBusMessage::bmExternalMacroExec:
      return r.text ? h.ExternalMacro(text) : TBusReply{TBusStatus::bsBadRequest, 0, {}};
    case TBusMessage::bmGrepExecute: return h.GrepExecute();
    case TBusMessage::bmLoadDiff:
    case TBusMessage::bmSetDiffMode:
    case TBusMessage::bmJumpDiffInfo:
    case TBusMessage::bmSaveToTempFile: return h.Diff(r, *m);
    case TBusMessage::bmGetVorneFileName: return h.VorneFileName();
    case TBusMessage::bmChangeStation: return h.ChangeStation();
    case TBusMessage::bmGetCaretRowPos:
    case TBusMessage::bmGetCaretColPos:
    case TBusMessage::bmGetTopRow:
    case TBusMessage::bmRowToLine:
    case TBusMessage::bmLineToRow:
    case TBusMessage::bmSetCaretPos:
    case TBusMessage::bmSetTopRow:
    case TBusMessage::bmCharToRow:
    case TBusMessage::bmCharToCol:
    case TBusMessage::bmRowColToChar: return h.EditQuery(*m, r.wParam, r.lParam);
    default: return DispatchWindowMessage(h, *m, r);
  }
}

}  // namespace vorn
