// The editor's command line: switch recognition, switch values, and the three passes reduced
// to a plan that the main window carries out.
#pragma once

#include "platform/PathPolicy.h"
#include "encoding/jconvert.h"
#include "textfile/CodeLetters.h"
#include "textfile/JConvStrList.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// /j: "E" (any case) is the end of the text; otherwise the number, 0 when it is not one.
struct TJumpTarget {
  bool toEnd = false;
  int line = 0;
};
TJumpTarget ParseJumpValue(std::string_view value);
// /x: the monitor number, -1 when it is not a number.
int ParseMonitorValue(std::string_view value);

// The station gate looks at every argument, upper-cased, for "/H" or "/A" exactly.
bool TakesStationGate(const std::vector<std::string>& args);
// Station mode needs the switch to stand alone: exactly one argument, "-h", "/h", "-a" or "/a".
bool IsStationModeCommand(const std::vector<std::string>& args);
// True for "/a" or "-a" alone: the current folder becomes the Desktop.
bool IsDesktopStationCommand(const std::vector<std::string>& args);
// Any three-character "-z-" or "/z-" (any case of z) starts the window minimised.
bool StartsMinimized(const std::vector<std::string>& args);

// What the three passes over the arguments decide before any window acts on them.
struct TCommandLinePlan {
  // pass 1
  std::string fileTypeName;  // /c: the value with the switch letter in front ("-c.pl" -> "c.pl")
  bool noHistory = false;    // /f
  std::optional<std::string> grepMask;  // /g, spaces trimmed
  std::optional<TJumpTarget> jump;      // /j
  std::optional<std::string> macroLine;  // /l
  std::optional<std::string> macroFile;  // /m
  bool openCodeGiven = false;
  TCharCodeKind openCode = ckSjis;  // /o
  bool lineBreakGiven = false;
  TLineBreakKind lineBreak = lbCRLF;  // /r
  int monitorIndex = -1;              // /x
  bool stayOnTop = false;             // /y
  // pass 2: every argument that is not a switch, or names an existing file, as written
  std::vector<std::string> namedFiles;
  // pass 3
  std::string switchText;  // each switch as written, followed by one space
  bool browseMode = false;  // /b
  bool escCloses = false;   // /e
  bool forgetFileName = false;  // /n
  std::optional<std::string> currentFolder;  // /p (the last one wins)
  std::optional<bool> statusBarVisible;      // /s, /s-
  std::optional<bool> toolBarVisible;        // /t, /t-
  std::optional<bool> maximized;             // /z: true maximised, false minimised
};

TCommandLinePlan PlanCommandLine(const std::vector<std::string>& args, const TPathExists& exists = PathExistsOnDisk);

// The parameter text for the copy of the program that opens every named file but the first:
// the switch text, then each further entry quoted and followed by " -x<monitor> ".
std::string HandOffParamText(const TCommandLinePlan& plan, int monitor);

}  // namespace vorn
