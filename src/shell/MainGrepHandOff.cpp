// TVornEditMain: starting a copy of the program whose process is to be found again, the grep
// requests that open the dialog pre-filled, and what a tag jump from a grep result passes on.
#include "shell/Main.h"

#include "platform/BusFolder.h"
#include "platform/Cp932Utf8.h"
#include "platform/ProcessStart.h"
#include "shell/StatusPanels.h"
#include "shellcore/GrepHandOff.h"
#include "shellcore/InstanceCoordination.h"
#include "shellcore/TagJump.h"
#include "syntax/KeyWord.h"

#include <QTimer>

namespace vorn {

pid_t TVornEditMain::StartOtherCopyProcess(const std::string& params, const std::string& workingFolder) {
  if (startProcess_) return startProcess_(params, workingFolder);
  if (startProgram_) {
    startProgram_(params);
    return 0;
  }
  std::string error;
  pid_t pid = 0;
  if (!StartProgram(CurrentExecutablePath(), params, &error, &pid, TChildReaping::crThread, workingFolder)) {
    documentPrompts_.Error("VornEditor: " + error);
    return 0;
  }
  return pid;
}

void TVornEditMain::RequestGrepDialog(const std::string& mask) {
  TGrepKeyWord request;
  request.FileMask = mask;
  request.KeepDialogFolder = false;
  request.RunAtOnce = false;
  const std::string error = WriteGrepHandOff(GrepHandOffFolder(), request);
  if (!error.empty()) {
    documentPrompts_.Error(error);
    return;
  }
  // As the message to the own window would: once the window runs, not while it is created.
  QTimer::singleShot(0, this, [this] { RunHandedGrep(); });
}

std::string TVornEditMain::GrepFindMacro() const {
  const std::shared_ptr<TGrepKeyWord>& shown = MainWindow()->shownGrep_;
  if (!shown || !FileName().empty() || shown->Pattern().empty()) return {};
  TTagJumpFind find;
  find.Keyword = shown->Pattern();
  // The find command's order: Case, Word, UseJre, Fuzz.
  find.Options[0] = shown->IgnoreCase() ? 0 : 1;
  find.Options[1] = shown->WholeWord() ? 1 : 0;
  find.Options[2] = shown->PlainText() ? 0 : 1;
  find.Options[3] = shown->Fuzzy() ? 1 : 0;
  return TagJumpFindMacro(find);
}

// Another editor shows the file: it jumps there and runs the find step instead of a new copy.
bool TVornEditMain::JumpInWindowShowing(const std::string& path, std::optional<int> line, const std::string& macro) {
  TStartupRequests requests;
  if (line) requests.lineJump = *line;
  if (!macro.empty()) requests.lineMacro = macro;
  const TStartupHandOff handOff = HandOffToOpenWindow(Bus(), path, requests, BusId());
  if (!handOff.message.empty())
    StatusPanels()->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(handOff.message));
  return handOff.handedOff;
}

}  // namespace vorn
