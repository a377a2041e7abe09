// What an editor window implements to answer the bus, one virtual per group of messages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/BusMessage.h"

namespace vorn {

// The answer of a window that has no file name yet, to the open-file query.
inline constexpr const char* kUntitledMarker = "[無題]";

// Every virtual answers "not handled" until a window overrides it, so messages of commands
// that are not built yet are received and answered, never lost in silence.
class TBusWindowHandler {
public:
  virtual ~TBusWindowHandler() = default;

  // "VORNEDITOR SAVE CLOSE", "VORNEDITOR SAVE" (onlyModified from WParam 1).
  virtual TBusReply SaveClose();
  virtual TBusReply Save(bool onlyModified);
  // Answer with OpenFileReply(the document's full file name).
  virtual TBusReply QueryOpenFile();
  // "VORNEDITOR SETFOCUS", QUERY MINIMIZED / QUERY MAIN, and the system-command stand-ins.
  virtual TBusReply SetFocus();
  virtual TBusReply QueryMinimized(bool leaveMaximized);
  virtual TBusReply QueryMain();
  virtual TBusReply CloseWindow();
  virtual TBusReply MinimizeWindow();
  virtual TBusReply MoveWindow(int x, int y, int width, int height);
  virtual TBusReply BringToTop();
  // LOAD COMMON SET, LOAD EXT SET, LOAD FILE HISTORY.
  virtual TBusReply Reload(TBusMessage which);
  // LINEJUMP: line is 1-based, -1 for the end of the text.
  virtual TBusReply LineJump(bool fileLine, std::int64_t line);
  virtual TBusReply LineMacro(const std::string& macroLine);
  virtual TBusReply ExternalMacro(const std::string& macroFile);
  virtual TBusReply GrepExecute();
  // LOAD DIFF, SET DIFF MODE, JUMP DIFF INFO, SAVE TO TEMPFILE.
  virtual TBusReply Diff(const TBusRequest& request, TBusMessage which);
  // The caret, row and offset queries and moves of outside programs.
  virtual TBusReply EditQuery(TBusMessage which, std::int64_t wParam, std::int64_t lParam);
  // The full path of the running executable; answered here for every window.
  virtual TBusReply VorneFileName();
  virtual TBusReply ChangeStation();

  static TBusReply NotHandled() { return TBusReply(); }
  static TBusReply Handled(std::int64_t result = 0) { return TBusReply{TBusStatus::bsHandled, result, {}}; }
  static TBusReply HandledText(std::string text) { return TBusReply{TBusStatus::bsHandled, 1, std::move(text)}; }
  // The open-file answer: the name (native bytes), or the untitled marker when it is empty.
  static TBusReply OpenFileReply(const std::string& fileName) {
    return HandledText(fileName.empty() ? std::string(kUntitledMarker) : fileName);
  }
};

// Routes one request to the handler's virtual. Unknown names answer bsUnknownMessage.
TBusReply DispatchBusRequest(TBusWindowHandler& handler, const TBusRequest& request);

// MOVE carries a rectangle in two parameters: x and y in WParam, width and height in LParam,
// each as a signed 32-bit half (high half first).
std::int64_t PackBusPair(int high, int low);
void UnpackBusPair(std::int64_t packed, int& high, int& low);

}  // namespace vorn
