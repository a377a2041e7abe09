// TGrepPart: grep from the window, grep requests handed over, and the tag jump.
#include "shell/GrepPart.h"

#include "dialogs/GrepExecForm.h"
#include "dialogs/GrepForm.h"
#include "editor/VornEdit.h"
#include "macro/MacroLibrary.h"
#include "platform/Cp932Utf8.h"
#include "platform/BusMessage.h"
#include "platform/PathPolicy.h"
#include "shell/EditorWindow.h"
#include "shell/MainBus.h"
#include "shellcore/InstanceCoordination.h"
#include "platform/VornUtil.h"
#include "settings/SjisText.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/GrepDialogState.h"
#include "shellcore/GrepHandOff.h"
#include "shellcore/TagJump.h"
#include "syntax/KeyWord.h"

#include <QTimer>

#include <filesystem>

namespace vorn {
namespace {

QString FromSjis(const std::string& sjis) { return QString::fromStdString(Cp932ToUtf8(sjis)); }

}  // namespace

bool TGrepPart::AskGrep(const std::string& sjisWord, TGrepKeyWord& run) {
  if (const TWindowServices::TGrepAsk& ask = window_.Services().askGrep) return ask(sjisWord, run);
  const std::shared_ptr<TGrepKeyWord>& pending = window_.Process().pendingGrep;
  TGrepForm form(UserFolder() + kGrepIniFileName, window_.FileName(), &window_);
  form.SetSearchWord(sjisWord);
  if (pending) form.SetPendingMask(pending->FileMask, pending->KeepDialogFolder);
  if (form.exec() != QDialog::Accepted) return false;
  run.Assign(form.Condition());
  return true;
}

void TGrepPart::AddCommands(TCommandDispatcher& dispatcher) {
  dispatcher.Set(FunctionNumber("Grep"), [this](bool) { GrepCommand(); });
  dispatcher.Set(FunctionNumber("TagJump"), [this](bool) { TagJumpCommand(); });
}

// A replayed grep step with a search word runs without the dialog.
bool TGrepPart::ConditionFromMacro(TGrepKeyWord& run) const {
  const std::vector<std::string>* given = window_.MacroArguments();
  if (!given || given->empty() || given->front().empty()) return false;
  std::vector<std::string> arguments = *given;
  if (arguments.size() > 1)
    arguments[1] = ExpandMacroArgumentPath(arguments[1], DefaultPathVariableValues(window_.FileName()));
  std::error_code error;
  std::string folder = std::filesystem::current_path(error).string();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return GrepConditionFromMacroArgs(arguments, folder, run);
}

void TGrepPart::GrepCommand() {
  TGrepKeyWord run;
  // Without a selection, the word at the caret, as if it were selected for the moment.
  TVornEditCore& core = window_.Editor()->Core();
  std::string word = core.GetSelLength() > 0 ? core.GetSelText() : core.WordAtCaret();
  const std::shared_ptr<TGrepKeyWord>& pending = window_.Process().pendingGrep;
  if (pending && !pending->Pattern().empty()) {
    word = pending->Pattern();
    pending->SetPattern(std::string());
  }
  if (!ConditionFromMacro(run) && !AskGrep(word, run)) return;
  run.RunAtOnce = true;
  // A window that already serves a document keeps it: the run goes to a new copy.
  if (!window_.FileName().empty() || window_.Modified()) {
    HandOffGrep(run);
    return;
  }
  ExecuteGrep(run);
}

void TGrepPart::ExecuteGrep(const TGrepKeyWord& run) {
  TGrepExecForm exec(&window_);
  const TGrepOutcome outcome = exec.Execute(run);
  if (!outcome.Started) return;
  window_.Process().shownGrep = std::make_shared<TGrepKeyWord>();
  window_.Process().shownGrep->Assign(run);
  ShowGrepResult(outcome);
}

// The condition another window handed over; a damaged or missing record is told, not run.
void TGrepPart::RunHandedGrep() {
  TGrepKeyWord run;
  std::string reason;
  if (!ReadGrepHandOff(window_.Process().GrepHandOffFolder(), run, reason)) {
    window_.Prompts().Error(reason);
    return;
  }
  if (run.RunAtOnce) {
    ExecuteGrep(run);
    return;
  }
  window_.Process().pendingGrep = std::make_shared<TGrepKeyWord>();
  window_.Process().pendingGrep->Assign(run);
  GrepCommand();
}

void TGrepPart::HandOffGrep(const TGrepKeyWord& run) {
  const std::string error = WriteGrepHandOff(window_.Process().GrepHandOffFolder(), run);
  if (!error.empty()) {
    window_.Prompts().Error(error);
    return;
  }
  // The new copy learns of the record from the message once its window is on the bus.
  TMainBus* bus = window_.BusEndpoint();
  const std::vector<std::int64_t> known = bus ? bus->MainEditorIds() : std::vector<std::int64_t>{};
  // A search of this window's own file starts the copy in that file's folder.
  const std::string& fileName = window_.FileName();
  const std::string folder = run.FileMask == fileName ? ExtractFilePath(fileName) : std::string();
  const pid_t pid = window_.StartOtherCopy("-x" + std::to_string(window_.MonitorNumber()), folder);
  if (bus) bus->PostToWindowOfProcess(pid, known, TBusMessage::bmGrepExecute);
}

void TGrepPart::ShowGrepResult(const TGrepOutcome& outcome) {
  if (!outcome.Started) return;
  TEditorProcess& process = window_.Process();
  window_.Lines().SetTextStr(outcome.Text);
  window_.Document().MarkSaved();
  process.grepLines = outcome.Lines;
  window_.Editor()->Core().SetCaretPos(0, 0);
  // F3 finds the grep's pattern in the result, and its matches are coloured.
  if (const std::shared_ptr<TGrepKeyWord>& shown = process.shownGrep)
    window_.ForEachPane([&shown](TVornEdit& pane) { pane.Core().SetFindCondition(*shown); });
  window_.AfterDocumentCommand();
  process.appliedTypeName = GrepTypeName();
  if (process.Services().grepTypeFor) window_.ApplyTypeSetting(process.Services().grepTypeFor());
  window_.StatusPanels()->SetPanelText(TStatusPanels::spMessage, FromSjis(outcome.StatusText));
  // The results show what was searched for in the find colour.
  if (process.shownGrep)
    window_.ForEachPane([&process](TVornEdit& pane) { pane.Core().FindCondition().Assign(*process.shownGrep); });
  window_.SizeByColumnsAndRows(-2);
}

// A grep result line keeps its real path, which a name Shift_JIS cannot hold needs to open.
std::string TGrepPart::TagJumpPath(const std::string& shownName, const std::string& lineText) const {
  for (const TGrepResultLine& line : window_.Process().grepLines)
    if (line.Text == lineText && !line.Path.empty()) return line.Path;
  return Cp932ToUtf8(shownName);
}

void TGrepPart::TagJumpCommand() {
  TVornEditCore& core = window_.Editor()->Core();
  const std::string lineText = window_.Lines().Get(core.CaretRow());
  const TTagJumpTarget target =
      ScanTagJump(lineText, [](const std::string& sjisName) { return IsRegularFile(Cp932ToUtf8(sjisName)); });
  if (!target.Found) {
    if (!target.Name.empty())
      window_.StatusPanels()->SetPanelText(TStatusPanels::spMessage, FromSjis(TagJumpNotFoundText(target.Name)));
    return;
  }
  const std::string path = TagJumpPath(target.Name, lineText);
  // A grep result stays for the next jump: the file opens elsewhere, as from any document.
  TEditorProcess& process = window_.Process();
  if (!window_.FileName().empty() || window_.Modified() || process.shownGrep) {
    const std::string macro = GrepFindMacro();
    if (JumpInWindowShowing(path, target.Line, macro)) return;
    TTagJumpTarget native = target;
    native.Name = path;
    window_.StartOtherCopy(TagJumpParameters(native, macro, window_.MonitorNumber()));
    return;
  }
  if (!window_.LoadDocument(path, false)) return;
  process.grepLines.clear();
  process.shownGrep.reset();
  if (target.Line) window_.JumpToLine(TJumpTarget{false, *target.Line});
}

void TGrepPart::RequestGrepDialog(const std::string& mask) {
  TGrepKeyWord request;
  request.FileMask = mask;
  request.KeepDialogFolder = false;
  request.RunAtOnce = false;
  const std::string error = WriteGrepHandOff(window_.Process().GrepHandOffFolder(), request);
  if (!error.empty()) {
    window_.Prompts().Error(error);
    return;
  }
  // As the message to the own window would: once the window runs, not while it is created.
  QTimer::singleShot(0, &window_, [this] { RunHandedGrep(); });
}

std::string TGrepPart::GrepFindMacro() const {
  const std::shared_ptr<TGrepKeyWord>& shown = window_.Process().shownGrep;
  if (!shown || !window_.FileName().empty() || shown->Pattern().empty()) return {};
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
bool TGrepPart::JumpInWindowShowing(const std::string& path, std::optional<int> line, const std::string& macro) {
  TStartupRequests requests;
  if (line) requests.lineJump = *line;
  if (!macro.empty()) requests.lineMacro = macro;
  const TStartupHandOff handOff = HandOffToOpenWindow(window_.Process().Bus(), path, requests, window_.BusId());
  window_.ShowMessage(handOff.message);
  return handOff.handedOff;
}

}  // namespace vorn
