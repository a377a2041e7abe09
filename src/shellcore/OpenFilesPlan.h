// Which of several names a window opens itself, which it only brings forward because another
// window shows them, and the command line of the new process that opens the rest.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "encoding/jconvert.h"
#include "textfile/JConvStrList.h"

namespace vorn {

// What of the window decides where files open.
struct TOpenWindowState {
  bool hasFileName = false;
  bool modified = false;
  bool grepRunning = false;
  bool grepResult = false;
  bool openCodeGiven = false;
  TCharCodeKind openCode = ckSjis;
  bool lineBreakGiven = false;
  TLineBreakKind lineBreak = lbCRLF;
  int monitor = 0;
};

struct TOpenFilesPlan {
  std::optional<std::string> openHere;     // loaded into this window as Open with Shift does
  std::vector<std::string> showElsewhere;  // another window shows these: bring it forward
  std::string newProcessParams;            // empty when no new process is needed
};

// Answers whether another editor window shows the file (instance coordination).
using TShownElsewhere = std::function<bool(const std::string&)>;
// The name a link leads to; ResolveShortcut on disk.
using TLinkResolver = std::function<std::string(const std::string&)>;

// The plan for names opened by the open command, dropped files or history entries. codeGiven
// and code are the code the caller fixed for these files.
TOpenFilesPlan PlanOpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code,
                             const TOpenWindowState& window, const TShownElsewhere& shownElsewhere,
                             const TLinkResolver& resolve);
TOpenFilesPlan PlanOpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code,
                             const TOpenWindowState& window, const TShownElsewhere& shownElsewhere);

// The command line of a new empty editor: the window's fixed code and line break, its monitor.
std::string NewFileParams(const TOpenWindowState& window);
// The command line of a new editor on a file shipped with the program, on the window's monitor.
std::string ShippedFileParams(const std::string& path, int monitor);

// Of the dropped names, the existing files (folders and missing names are left out).
std::vector<std::string> DroppedFiles(const std::vector<std::string>& names);

}  // namespace vorn
