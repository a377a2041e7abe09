// TVornEditMain: grep from the window (the dialog, the run, the result shown in the window or
// handed to a new copy of the program) and the tag jump from a result line to its file.
#include "shell/Main.h"

#include "dialogs/GrepExecForm.h"
#include "dialogs/GrepForm.h"
#include "editor/VornEdit.h"
#include "platform/Cp932Utf8.h"
#include "platform/BusMessage.h"
#include "platform/PathPolicy.h"
#include "shell/MainBus.h"
#include "platform/VornUtil.h"
#include "settings/SjisText.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/GrepDialogState.h"
#include "shellcore/GrepHandOff.h"
#include "shellcore/TagJump.h"
#include "syntax/KeyWord.h"

namespace vorn {
namespace {

QString FromSjis(const std::string& sjis) { return QString::fromStdString(Cp932ToUtf8(sjis)); }

}  // namespace

void TVornEditMain::InstallGrepDialog() {
  askGrep_ = [this](const std::string& sjisWord, TGrepKeyWord& run) {
    TGrepForm form(UserFolder() + kGrepIniFileName, FileName(), this);
    form.SetSearchWord(sjisWord);
    if (pendingGrep_) form.SetPendingMask(pendingGrep_->FileMask, pendingGrep_->KeepDialogFolder);
    if (form.exec() != QDialog::Accepted) return false;
    run.Assign(form.Condition());
    return true;
  };
}

void TVornEditMain::AddGrepCommands() {
  dispatcher_.Set(FunctionNumber("Grep"), [this](bool) { GrepCommand(); });
  dispatcher_.Set(FunctionNumber("TagJump"), [this](bool) { TagJumpCommand(); });
}

void TVornEditMain::GrepCommand() {
  if (!askGrep_) InstallGrepDialog();
  TGrepKeyWord run;
  // Without a selection, the word at the caret, as if it were selected for the moment.
  TVornEditCore& core = edit_->Core();
  std::string word = core.GetSelLength() > 0 ? core.GetSelText() : core.WordAtCaret();
  if (pendingGrep_ && !pendingGrep_->Pattern().empty()) {
    word = pendingGrep_->Pattern();
    pendingGrep_->SetPattern(std::string());
  }
  if (!askGrep_(word, run)) return;
  run.RunAtOnce = true;
  // A window that already serves a document keeps it: the run goes to a new copy.
  if (stationMode_ || !FileName().empty() || Modified()) {
    HandOffGrep(run);
    return;
  }
  ExecuteGrep(run);
}

void TVornEditMain::ExecuteGrep(const TGrepKeyWord& run) {
  TGrepExecForm exec(this);
  const TGrepOutcome outcome = exec.Execute(run);
  if (!outcome.Started) return;
  MainWindow()->shownGrep_ = std::make_shared<TGrepKeyWord>();
  MainWindow()->shownGrep_->Assign(run);
  ShowGrepResult(outcome);
}

// The condition another window handed over; a damaged or missing record is told, not run.
void TVornEditMain::RunHandedGrep() {
  TGrepKeyWord run;
  std::string reason;
  if (!ReadGrepHandOff(GrepHandOffFolder(), run, reason)) {
    documentPrompts_.Error(reason);
    return;
  }
  if (run.RunAtOnce) {
    ExecuteGrep(run);
    return;
  }
  pendingGrep_ = std::make_shared<TGrepKeyWord>();
  pendingGrep_->Assign(run);
  GrepCommand();
}

std::string TVornEditMain::GrepHandOffFolder() const {
  return grepHandOffFolder_.empty() ? UserFolder() : grepHandOffFolder_;
}

void TVornEditMain::HandOffGrep(const TGrepKeyWord& run) {
  const std::string error = WriteGrepHandOff(GrepHandOffFolder(), run);
  if (!error.empty()) {
    documentPrompts_.Error(error);
    return;
  }
  // The new copy learns of the record from the message once its window is on the bus.
  const std::vector<std::int64_t> known = bus_ ? bus_->MainEditorIds() : std::vector<std::int64_t>{};
  // A search of this window's own file starts the copy in that file's folder.
  const std::string folder = run.FileMask == FileName() ? ExtractFilePath(FileName()) : std::string();
  const pid_t pid = StartOtherCopyProcess("-x" + std::to_string(MonitorNumber()), folder);
  if (bus_) bus_->PostToWindowOfProcess(pid, known, TBusMessage::bmGrepExecute);
}

void TVornEditMain::ShowGrepResult(const TGrepOutcome& outcome) {
  if (!outcome.Started) return;
  Lines().SetTextStr(outcome.Text);
  document_.MarkSaved();
  MainWindow()->grepLines_ = outcome.Lines;
  edit_->Core().SetCaretPos(0, 0);
  AfterDocumentCommand();
  appliedTypeName_ = GrepTypeName();
  if (grepTypeFor_) ApplyTypeSetting(grepTypeFor_());
  StatusPanels()->SetPanelText(TStatusPanels::spMessage, FromSjis(outcome.StatusText));
  SizeByColumnsAndRows(-2);
}

// A grep result line keeps its real path, which a name Shift_JIS cannot hold needs to open.
std::string TVornEditMain::TagJumpPath(const std::string& shownName, const std::string& lineText) const {
  for (const TGrepResultLine& line : MainWindow()->grepLines_)
    if (line.Text == lineText && !line.Path.empty()) return line.Path;
  return Cp932ToUtf8(shownName);
}

void TVornEditMain::TagJumpCommand() {
  TVornEditCore& core = edit_->Core();
  const std::string lineText = Lines().Get(core.CaretRow());
  const TTagJumpTarget target =
      ScanTagJump(lineText, [](const std::string& sjisName) { return IsRegularFile(Cp932ToUtf8(sjisName)); });
  if (!target.Found) {
    if (!target.Name.empty())
      StatusPanels()->SetPanelText(TStatusPanels::spMessage, FromSjis(TagJumpNotFoundText(target.Name)));
    return;
  }
  const std::string path = TagJumpPath(target.Name, lineText);
  // A grep result stays for the next jump: the file opens elsewhere, as from any document.
  if (!FileName().empty() || Modified() || MainWindow()->shownGrep_) {
    const std::string macro = GrepFindMacro();
    if (JumpInWindowShowing(path, target.Line, macro)) return;
    TTagJumpTarget native = target;
    native.Name = path;
    StartOtherCopy(TagJumpParameters(native, macro, MonitorNumber()));
    return;
  }
  if (!LoadDocument(path, false)) return;
  MainWindow()->grepLines_.clear();
  MainWindow()->shownGrep_.reset();
  if (target.Line) JumpToLine(TJumpTarget{false, *target.Line});
}

}  // namespace vorn
