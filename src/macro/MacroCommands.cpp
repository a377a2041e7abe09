// The macro functions' handlers.
#include "macro/MacroCommands.h"

#include "editcore/EditCore.h"
#include "macro/MacroFile.h"
#include "platform/VornUtil.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/HistoryNames.h"

namespace vorn {

TMacroCommands::TMacroCommands(TCommandDispatcher& dispatcher, TMacroWindow& window)
    : window_(window), player_(dispatcher, window), recorder_(dispatcher, [this] { return player_.Running(); }) {
  AddHandlers(dispatcher);
}

void TMacroCommands::AddHandlers(TCommandDispatcher& dispatcher) {
  dispatcher.Set(FunctionNumber("ToggleMacroRecord"), [this](bool) {
    recorder_.Toggle();
    window_.RecordingChanged();
  });
  dispatcher.Set(FunctionNumber("ReplayMacro"), [this](bool) {
    if (CanReplay()) player_.Replay(recorder_.Set());
  });
  dispatcher.Set(FunctionNumber("SaveMacro"), [this](bool) { SaveMacro(); });
  dispatcher.Set(FunctionNumber("LoadMacro"), [this](bool) { LoadMacro(); });
  dispatcher.Set(FunctionNumber("ExtMacroExecute"), [this](bool) { ExtMacroExecute(); });
  dispatcher.Set(FunctionNumber("ExecInputMacro"), [this](bool) { ExecInputMacro(); });
  for (int n = 1; n <= TMacroSlots::kCount; ++n)
    dispatcher.Set(FunctionNumber("Macro" + std::to_string(n)), [this, n](bool) { RunSlot(n - 1); });
}

bool TMacroCommands::RunFileByName(std::string_view sjisName) {
  const std::optional<std::string> path = ResolveMacroFile(sjisName, window_.Folders());
  return !path || player_.ReplayFile(*path);
}

bool TMacroCommands::RunFileByNativeName(const std::string& name) {
  std::string sjis;
  if (NativeNameToSjis(name, sjis)) return RunFileByName(sjis);
  // A name the code page cannot hold can still name a file as it is.
  return !IsRegularFile(name) || player_.ReplayFile(name);
}

void TMacroCommands::SaveMacro() {
  const std::optional<std::string> path = window_.AskSaveFileName(window_.Folders().ProgramMacro);
  if (!path) return;
  if (!path->empty() && IsRegularFile(*path) && !window_.ConfirmOkCancel("同名のファイルが存在します。上書きしますか"))
    return;
  TMacroSet& set = recorder_.Set();
  set.Description = window_.AskDescription(set.Description);
  set.FileName = *path;
  if (const std::string error = SaveMacroFile(set); !error.empty()) window_.ShowError(error);
}

void TMacroCommands::LoadMacro() {
  const std::optional<std::string> path = window_.ChooseMacro();
  if (!path || !IsRegularFile(*path)) return;
  TMacroSet loaded;
  loaded.FileName = *path;
  if (const std::string error = LoadMacroFile(loaded); !error.empty()) {
    window_.ShowError(error);
    return;
  }
  recorder_.Set() = std::move(loaded);
}

void TMacroCommands::ExtMacroExecute() {
  const std::vector<std::string>* arguments = player_.Arguments();
  if (arguments && !arguments->empty() && !arguments->front().empty()) {
    RunFileByName(arguments->front());
    return;
  }
  if (const std::optional<std::string> path = window_.ChooseMacro()) player_.ReplayFile(*path);
}

// The slot forgets its steps after each run, so that an edited file is read again next time.
void TMacroCommands::RunSlot(int index) {
  TMacroSet& slot = slots_.Slot(index);
  struct TForget {
    TMacroSet& slot;
    ~TForget() { slot.Steps.clear(); }
  } forget{slot};
  player_.Replay(slot);
}

void TMacroCommands::ExecInputMacro() {
  TVornEditCore& pane = window_.CurrentPane();
  struct TPainting {
    TMacroWindow& window;
    explicit TPainting(TMacroWindow& w) : window(w) { window.SuspendPanePainting(true); }
    ~TPainting() { window.SuspendPanePainting(false); }
  } painting(window_);
  const int row = pane.CaretRow(), col = pane.CaretCol();
  pane.CursorLeft(TMoveFlags{});
  pane.SelectWord();
  const std::string word = pane.GetSelText();
  const std::vector<TMacroListRow> rows = ListMacroFiles(window_.Folders(), slots_.Files());
  const TMacroNameMatch match = word.empty() ? TMacroNameMatch{} : MatchMacroName(rows, SjisNameToNative(word));
  if (match.Selected >= 0) {
    pane.InsertText(std::string_view());
    player_.ReplayFile(rows[static_cast<std::size_t>(match.Selected)].Path);
    return;
  }
  pane.ClearSelection();
  pane.SetCaretPos(row, col);
}

}  // namespace vorn
