// The messages editor windows exchange over the bus: their names, parameters and wire frames.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// One value per message name; the names travel on the wire, so an outside program needs only
// the names. The last four stand for the system's close and minimise commands and for the
// moves the arrangement commands ask of a window's owner.
enum class TBusMessage : int {
  bmSaveClose, bmSave, bmQueryOpenFile, bmSetFocus, bmLineJump, bmQueryMinimized, bmQueryMain,
  bmLoadCommonSet, bmLoadExtSet, bmLoadFileHistory, bmGrepExecute, bmLoadDiff, bmSetDiffMode,
  bmJumpDiffInfo, bmSaveToTempFile, bmLineMacroExec, bmExternalMacroExec, bmGetVorneFileName,
  bmGetCaretRowPos, bmGetCaretColPos, bmGetTopRow, bmRowToLine, bmLineToRow, bmSetCaretPos,
  bmSetTopRow, bmCharToRow, bmCharToCol, bmRowColToChar, bmChangeStation,
  bmClose, bmMinimize, bmMove, bmTop,
  bmCount
};

constexpr int kRegisteredBusMessageCount = 29;

// "VORNEDITOR SAVE CLOSE" … ; for the extra verbs "CLOSE", "MINIMIZE", "MOVE", "TOP".
std::string_view BusMessageName(TBusMessage message);
// Exact, case-sensitive lookup, as registered names are.
std::optional<TBusMessage> BusMessageFromName(std::string_view name);

// Strings travel with the message in place of a global atom. The limit is a path's length,
// not the atom's 255 characters: a file name cut at 255 bytes would never equal the name it
// was cut from, and the open-file query would miss deep paths.
constexpr std::size_t kMaxBusText = 4096;
constexpr std::size_t kMaxBusNameLength = 64;

struct TBusRequest {
  std::string name;           // the message name as sent (unknown names are answered so)
  std::int64_t wParam = 0;
  std::int64_t lParam = 0;
  std::optional<std::string> text;  // absent is "atom 0"
  std::int64_t sender = 0;    // the sending endpoint's id, 0 for outside programs
  bool wantsReply = false;    // a send; a post wants none
};

enum class TBusStatus : std::int32_t {
  bsHandled = 0,
  bsNotHandled = 1,     // known message that this window does not act on (yet)
  bsUnknownMessage = 2,
  bsBadRequest = 3,
  // Never on the wire: the sender's own findings.
  bsTimedOut = 100,
  bsNoPeer = 101,       // nobody listens at that address (gone, or never there)
  bsPeerClosed = 102,   // the peer went away before answering
};

struct TBusReply {
  TBusStatus status = TBusStatus::bsNotHandled;
  std::int64_t result = 0;
  std::optional<std::string> text;
};

// A readable reason for a status, for the client and for messages to the user.
std::string_view BusStatusText(TBusStatus status);

// Wire frames. Encode truncates text to kMaxBusText. Decode answers nullopt while the frame
// is incomplete and sets bad when the bytes can never become a frame.
std::string EncodeBusRequest(const TBusRequest& request);
std::optional<TBusRequest> DecodeBusRequest(std::string_view bytes, std::size_t& used, bool& bad);
std::string EncodeBusReply(const TBusReply& reply);
std::optional<TBusReply> DecodeBusReply(std::string_view bytes, std::size_t& used, bool& bad);

}  // namespace vorn
