// TVornEditMain: the document's functions (new, open, reload, save, save as, insert, rename,
// close), the close question, the change check on activation and dropped files.
#include "shell/Main.h"

#include "dialogs/CodeSelectForm.h"
#include "dialogs/DocumentFileDialog.h"
#include "editor/VornEdit.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"
#include "shellcore/FileDialogFilters.h"
#include "shellcore/InsertFile.h"
#include "shellcore/OpenFilesPlan.h"
#include "shellcore/SaveSelection.h"
#include "store/EditLineMark.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <map>

#include <sys/stat.h>

namespace vorn {
namespace {

bool Exists(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0;
}

}  // namespace

void TVornEditMain::SetFileDialogs(TFileDialogs dialogs) {
  if (dialogs.askSaveAs) fileDialogs_.askSaveAs = std::move(dialogs.askSaveAs);
  if (dialogs.askOpen) fileDialogs_.askOpen = std::move(dialogs.askOpen);
  if (dialogs.askRename) fileDialogs_.askRename = std::move(dialogs.askRename);
  if (!IsSubWindow()) commands_->SetSaveAsChooser([this] { return fileDialogs_.askSaveAs(); });
}

// The real dialogs; tests replace them through SetFileDialogs.
void TVornEditMain::InstallFileDialogs() {
  fileDialogs_.askSaveAs = [this]() -> std::optional<TSaveAsRequest> {
    const TDocumentFileSettings& file = document_.FileSettings();
    const TSaveCodeChoice current{file.CharCode, file.LineBreak, file.OpenCodeGiven, file.LineBreakGiven};
    TFileDialogMemory memory = ReadFileDialogMemory();
    auto request = TDocumentFileDialog::AskSaveAs(QString::fromStdString(FileName()), current, memory, this);
    KeepFileDialogMemory(memory, request ? request->name : std::string());
    return request;
  };
  fileDialogs_.askOpen = [this](bool reload) -> std::optional<std::pair<std::string, std::optional<TCharCodeKind>>> {
    const TDocumentFileSettings& file = document_.FileSettings();
    const std::optional<TCharCodeKind> fixed =
        file.OpenCodeGiven ? std::optional<TCharCodeKind>(file.OpenCode) : std::nullopt;
    TFileDialogMemory memory = ReadFileDialogMemory();
    const auto choice = TDocumentFileDialog::AskOpen(QString::fromStdString(FileName()),
                                                     common_.UseOpenFileExtAsFilter, reload, fixed, memory, this);
    KeepFileDialogMemory(memory, choice ? choice->name.toStdString() : std::string());
    if (!choice) return std::nullopt;
    return std::make_pair(choice->name.toStdString(), choice->code);
  };
  fileDialogs_.askRename = [this]() -> std::optional<std::string> {
    TDocumentFileDialog dialog(TDocumentFileDialog::TKind::Rename, QString::fromStdString(FileName()), false, this);
    dialog.SetMemory(ReadFileDialogMemory());
    const bool chosen = dialog.exec() == QDialog::Accepted;
    const std::string name = chosen ? dialog.ChosenName().toStdString() : std::string();
    KeepFileDialogMemory(dialog.Memory(), name);
    if (!chosen) return std::nullopt;
    return name;
  };
  if (!IsSubWindow()) commands_->SetSaveAsChooser([this] { return fileDialogs_.askSaveAs(); });
}

// Every document function leaves the panes of all windows following the document.
void TVornEditMain::AddFileCommands() {
  const auto add = [this](std::string_view name, std::function<void()> run) {
    dispatcher_.Set(FunctionNumber(name), [this, run = std::move(run)](bool) {
      run();
      AfterDocumentCommand();
    });
  };
  add("NewFile", [this] { NewFileCommand(); });
  add("LoadFromFile", [this] { OpenFileCommand(); });
  add("CloseOpen", [this] { ReloadCommand(true); });  // the plain reload is the macro's "1"
  add("CloseFile", [this] { CloseDocumentCommand(); });
  add("SaveFile", [this] {
    if (commands_->SaveDocument()) WriteHistoryEntry();
  });
  add("SaveAs", [this] { SaveAsCommand(); });
  add("ReadFileToCaret", [this] { InsertFileCommand(); });
  // The close comes once the command is over: a save asked for by another process gets its
  // answer before the window goes.
  add("SaveClose", [this] {
    if (!Modified() || commands_->SaveDocument())
      QTimer::singleShot(0, MainWindow(), [main = MainWindow()] { main->CloseWithoutQuestion(); });
  });
  add("Close", [this] { MainWindow()->close(); });
  add("Destroy", [this] { MainWindow()->CloseWithoutQuestion(); });
  add("EditFilename", [this] { RenameCommand(); });
  add("ToggleBrowseMode", [this] { SetBrowseMode(!browseMode_); });
  add("SaveSelectedToFile", [this] { SaveSelectionCommand(); });
  add("ChangeOpenFileCode", [this] { ChangeSaveCodeCommand(); });
  add("OpenFilenameCopy", [this] { QGuiApplication::clipboard()->setText(QString::fromStdString(FileName())); });
  add("OpenExplorer", [this] { OpenInDesktop(true); });
  add("OpenFileExec", [this] { OpenInDesktop(false); });
}

void TVornEditMain::AfterDocumentCommand() {
  ForEachWindow([](TVornEditMain& w) { w.FollowDocument(); });
}

// The panes follow the document: read-only state (browse mode keeps a pane read-only), rows.
void TVornEditMain::FollowDocument() {
  ForEachPane([this](TVornEdit& pane) {
    TVornEditCore& core = pane.Core();
    if (!core.BrowseMode()) core.SetReadOnly(ReadOnly());
    if (core.CaretRow() > core.LastCaretRow()) core.SetCaretPos(core.LastCaretRow(), 0);
    pane.Flush();
  });
  if (FileName() != appliedTypeName_) {
    if (FileTypeFollowsNewName(appliedTypeName_, FileName())) ApplyFileType();
    appliedTypeName_ = FileName();
  }
  UpdateTitle();
  UpdateStatus();
  ScheduleUpdate();
}

// What a new copy of the program needs to know of this window to open files as it would.
TOpenWindowState TVornEditMain::OpenWindowState() const {
  const TDocumentFileSettings& file = document_.FileSettings();
  TOpenWindowState state;
  state.hasFileName = !FileName().empty();
  state.modified = Modified();
  state.openCodeGiven = file.OpenCodeGiven;
  state.openCode = file.OpenCode;
  state.lineBreakGiven = file.LineBreakGiven;
  state.lineBreak = file.LineBreak;
  state.monitor = MonitorNumber();
  return state;
}

void TVornEditMain::NewFileCommand() { StartOtherCopy(NewFileParams(OpenWindowState())); }

void TVornEditMain::OpenFileCommand() {
  const auto choice = fileDialogs_.askOpen(false);
  if (!choice) return;
  OpenFiles({choice->first}, choice->second.has_value(), choice->second.value_or(ckSjis));
}

// An empty, unmodified window takes the first file; the others go to a new copy.
void TVornEditMain::OpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code) {
  const TOpenWindowState state = OpenWindowState();
  std::map<std::string, std::int64_t> shownIn;
  const TWindowLookup lookup = [this, &shownIn](const std::string& name) {
    const auto [it, added] = shownIn.try_emplace(name, 0);
    if (added) it->second = WindowShowingFile(name);
    return it->second;
  };
  const TOpenFilesPlan plan =
      PlanOpenFiles(names, codeGiven, code, state, [&lookup](const std::string& name) { return lookup(name) != 0; });
  BringForwardWindowsShowing(plan.showElsewhere, lookup);
  if (plan.openHere) {
    if (codeGiven) {
      document_.FileSettings().OpenCodeGiven = true;
      document_.FileSettings().OpenCode = code;
    }
    if (LoadDocument(*plan.openHere, false)) SizeByColumnsAndRows(-2);
  }
  if (!plan.newProcessParams.empty()) StartOtherCopy(plan.newProcessParams);
}

void TVornEditMain::StartOtherCopy(const std::string& params) { StartOtherCopyProcess(params); }

void TVornEditMain::ReloadCommand(bool ask) {
  if (!ask) {
    commands_->Reload();
    return;
  }
  const auto choice = fileDialogs_.askOpen(true);
  if (choice) commands_->ReloadWithCode(choice->second, choice->first);
}

void TVornEditMain::SaveAsCommand() {
  const auto request = fileDialogs_.askSaveAs();
  if (request && commands_->SaveDocumentAs(*request)) WriteHistoryEntry();
}

void TVornEditMain::InsertFileCommand() {
  if (ReadOnly() || browseMode_) return;
  const auto choice = fileDialogs_.askOpen(false);
  if (!choice) return;
  const auto text = ReadFileForInsert(choice->first, choice->second, documentPrompts_);
  if (text) edit_->Core().InsertText(text->text);
}

void TVornEditMain::RenameCommand() {
  const auto name = fileDialogs_.askRename();
  if (name && !name->empty()) commands_->Rename(*name);
}

void TVornEditMain::SaveSelectionCommand() {
  const TVornEditCore& core = edit_->Core();
  if (!core.HasSelection()) return;
  const auto request = fileDialogs_.askSaveAs();
  if (!request || request->name.empty()) return;
  if (Exists(request->name) && !documentPrompts_.ConfirmOkCancel(TDocumentCommands::OverwriteQuestion(request->name)))
    return;
  const TDocumentFileSettings& file = document_.FileSettings();
  TSelectionTarget target{request->name, file.CharCode, file.LineBreak, false};
  if (request->code) {
    target.code = request->code->charCode;
    target.lineBreak = request->code->lineBreak;
  }
  WriteSelectionToFile(core.GetSelText(), target, documentPrompts_);
}

void TVornEditMain::ChangeSaveCodeCommand() {
  const TDocumentFileSettings& file = document_.FileSettings();
  TCodeSelectForm form(this);
  form.SetCharCode(file.CharCode);
  form.SetLineBreak(file.LineBreak);
  if (form.exec() != QDialog::Accepted) return;
  commands_->ChangeSaveCode({form.CharCode(), form.LineBreak(), file.OpenCodeGiven, file.LineBreakGiven});
}

// The entry keeps the caret and marks the document had; it is written only once the document is closed,
// so a cancelled save question leaves the history as it was.
void TVornEditMain::CloseDocumentCommand() {
  const std::string name = FileName();
  const TFileInfo state = PaneHistoryState();
  if (!commands_->CloseDocument()) return;
  WriteHistoryEntry(name, state);
  edit_->Core().Store().LineMarkTable().ClearMarks(true, true);
  ForgetLastEdit();
}

void TVornEditMain::CloseWithoutQuestion() {
  closing_ = true;
  if (!close()) closing_ = false;
}

void TVornEditMain::closeEvent(QCloseEvent* event) {
  if ((!closing_ && !stationMode_ && Modified() && !commands_->QuerySave()) || !ConfirmCloseAllWindows()) {
    event->ignore();
    AfterDocumentCommand();
    return;
  }
  if (!stationMode_) WriteHistoryEntry();
  CloseSubWindows();
  event->accept();
}

void TVornEditMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) CheckFileOnActivation();
}

void TVornEditMain::CheckFileOnActivation() {
  if (stationMode_ || FileName().empty()) return;
  if (commands_->CheckForeignChange() != TFileChange::Unchanged) AfterDocumentCommand();
}

void TVornEditMain::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TVornEditMain::dropEvent(QDropEvent* event) {
  std::vector<std::string> names;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) names.push_back(url.toLocalFile().toStdString());
  const std::vector<std::string> files = DroppedFiles(names);
  if (files.empty()) return;
  event->acceptProposedAction();
  OpenFiles(files, false, ckSjis);
}

}  // namespace vorn
