// TWindowServices: what the windows of one process ask of the world outside them — questions
// to the user, the file dialogs, starting programs, the file types, the desktop, and where the
// history and the bus are kept. One object per process: the program fills in the real ones,
// a test replaces any of them, and every window and part of the process sees the change.
#pragma once

#include "shellcore/DocumentCommands.h"

#include <QString>

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorn {

class TFileSetting;
class TGrepKeyWord;
struct TDiffRequest;
struct TDiffPartnerItem;
struct TProgramExecRequest;

// Answers of a confirmation box, numbered as the platform's dialog results.
enum TDialogAnswer : int { daYes = 6, daNo = 7, daCancel = 2 };

struct TWindowServices {
  // The user interactions of a start.
  struct TPrompts {
    std::function<TDialogAnswer(const QString& text)> askCreateMissing;
    std::function<QString(const QString& folder)> chooseFileIn;
    std::function<void(const QString& text)> warn;
  };
  // The dialogs of the file commands; nullopt stands for Cancel.
  struct TFileDialogs {
    std::function<std::optional<TSaveAsRequest>()> askSaveAs;
    std::function<std::optional<std::pair<std::string, std::optional<TCharCodeKind>>>(bool reload)> askOpen;
    std::function<std::optional<std::string>()> askRename;
  };
  // The file type that claims a file name; nullptr leaves the panes as they are.
  using TFileTypeSource = std::function<TFileSetting*(const std::string& fileName)>;
  // The grep dialog: gets the offered word (Shift_JIS) and fills the condition; false for Cancel.
  using TGrepAsk = std::function<bool(const std::string& sjisWord, TGrepKeyWord& run)>;
  // Starts a copy of the program and answers its process id (0 when unknown).
  using TProcessStarter = std::function<pid_t(const std::string& params, const std::string& workingFolder)>;
  using TDesktopOpen = std::function<bool(const std::string& path, bool showInFolder)>;

  // The dialogs of the macro commands; empty ones are the real dialogs.
  struct TMacroDialogs {
    std::function<std::optional<std::string>(const std::string& folder)> askSaveName;  // native
    std::function<std::string(const std::string& current)> askDescription;           // Shift_JIS
    std::function<std::optional<std::string>()> chooseMacro;                          // native
  };

  TPrompts prompts;
  TFileDialogs fileDialogs;
  TMacroDialogs macroDialogs;
  // Runs instead of starting another copy of the program; receives the parameter text.
  std::function<void(const std::string& params)> startProgram;
  // Takes precedence over startProgram where the started process must be found again.
  TProcessStarter startProcess;
  // False keeps the command line's further files from starting copies (tests).
  bool handOffEnabled = true;
  TFileTypeSource fileTypeFor;
  // The "GREP" type a grep result is shown with.
  std::function<TFileSetting*()> grepTypeFor;
  // Reads the file types again after another window changed them.
  std::function<void()> reloadFileTypes;
  // Empty: the grep dialog itself.
  TGrepAsk askGrep;
  // Empty: the diff and run-program dialogs; they fill the request and answer false for Cancel.
  std::function<bool(const std::vector<TDiffPartnerItem>& partners, TDiffRequest& request)> askDiff;
  std::function<bool(TProgramExecRequest& request)> askProgram;
  // Empty: the desktop's file manager and program associations.
  TDesktopOpen desktopOpen;
  // Where "Grep.fhd" is handed over; empty for the user folder.
  std::string grepHandOffFolder;
  // Where the history files and "Common.ini" are read; empty for the user folder.
  std::string historyUserFolder;
  // The runtime folder of the bus that finds the other editors; empty for the user's own.
  std::string busRuntimeFolder;
};

}  // namespace vorn
