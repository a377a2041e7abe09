// The operations editors carry out on one another: find the window showing a file, hand a
// start-up request to it, activate, and broadcast to every editor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/BusClient.h"
#include "platform/BusFolder.h"

namespace vorn {

// The status-bar text when another editor cannot be activated (a modal dialog is open there).
inline constexpr const char* kCannotActivateMessage = "他のVornEditorをアクティブにできません";

struct TOpenFileEntry {
  std::string fileName;   // as the window answered (its canonical name, or the untitled marker)
  std::int64_t window = 0;
};

// Asks every other main editor for its file, all at once, in most-recently-activated order.
// Windows that do not answer in time are left out.
std::vector<TOpenFileEntry> OpenFileList(const TBusFolder& folder, std::int64_t ownMain,
                                         int timeoutMs = kBusQueryTimeoutMs);

// The window that shows fileName: ownMain when it is the caller's own document, else the
// first other main editor whose answer equals the canonical name exactly, else 0.
std::int64_t FindWindowShowingFile(const TBusFolder& folder, const std::string& fileName, std::int64_t ownMain,
                                   const std::string& ownFileName);

// Activation: sends "VORNEDITOR SETFOCUS" when the window is enabled. Answers false, with
// kCannotActivateMessage in message, when it is disabled or does not answer.
bool ActivateWindow(const TBusFolder& folder, std::int64_t window, std::string& message);

// What the command line asks of the window that gets the file: /j, /l and /m.
struct TStartupRequests {
  std::optional<std::int64_t> lineJump;  // 1-based, -1 for the end of the text
  bool fileLine = false;                 // /j counts file lines rather than display numbering
  std::optional<std::string> lineMacro;
  std::optional<std::string> macroFile;
};

struct TStartupHandOff {
  bool handedOff = false;       // another window shows the file: end without a window
  std::int64_t window = 0;
  std::string message;          // kCannotActivateMessage when activation failed
};

// The start-up open-file query: when another editor shows fileName, activates it, sends it
// the line jump and the line macro (both handled before this returns) and posts the macro
// file, then reports handedOff; the caller ends without showing a window. A process that is
// still creating its first window passes ownMain 0.
TStartupHandOff HandOffToOpenWindow(const TBusFolder& folder, const std::string& fileName,
                                    const TStartupRequests& requests, std::int64_t ownMain = 0);

struct TBroadcast {
  TBusRequest request;
  std::int64_t ownMain = 0;     // left out, as are its sub windows (they are not main editors)
  std::int64_t excluded = 0;
  bool alsoToStation = false;   // posts only
  bool focusFirst = false;      // posts: SETFOCUS before the message
  bool activateAfter = false;   // sends: activate each window after it handled the message
  int timeoutMs = kBusActionTimeoutMs;
};

// Posts to every other main editor (and the station when asked). Returns the number reached.
int BroadcastPost(const TBusFolder& folder, const TBroadcast& broadcast);
// Sends to every other main editor in turn, most recently activated first, waiting for each.
// Returns the replies in that order.
std::vector<TBusReply> BroadcastSend(const TBusFolder& folder, const TBroadcast& broadcast);

// The reload broadcast after the file history was written: every other main editor and the
// station re-read "FileHist.fhd".
int BroadcastFileHistoryReload(const TBusFolder& folder, std::int64_t ownMain);

// A request for a message by value, with optional text.
TBusRequest MakeBusRequest(TBusMessage message, std::int64_t wParam = 0, std::int64_t lParam = 0,
                           std::optional<std::string> text = std::nullopt);

}  // namespace vorn
