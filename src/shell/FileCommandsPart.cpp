// TFileCommandsPart: the document's functions, dropped files, and the file dialogs' memory.
#include "shell/FileCommandsPart.h"

#include "dialogs/CodeSelectForm.h"
#include "dialogs/DocumentFileDialog.h"
#include "editor/VornEdit.h"
#include "platform/PathVariables.h"
#include "platform/VornUtil.h"
#include "settings/CommonIniUpdate.h"
#include "settings/VornMemInifile.h"
#include "shell/EditorWindow.h"
#include "shell/HelpPart.h"
#include "shellcore/FileDialogFilters.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/InsertFile.h"
#include "shellcore/SaveSelection.h"
#include "store/EditLineMark.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <exception>
#include <map>

#include <sys/stat.h>

namespace vorn {
namespace {

bool Exists(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0;
}

}  // namespace

// Every document function leaves the panes of all windows following the document.
void TFileCommandsPart::AddCommands(TCommandDispatcher& dispatcher) {
  TEditorWindow& w = window_;
  const auto add = [&dispatcher, &w](std::string_view name, std::function<void()> run) {
    dispatcher.Set(FunctionNumber(name), [&w, run = std::move(run)](bool) {
      run();
      w.AfterDocumentCommand();
    });
  };
  TDocumentCommands& commands = w.Commands();
  add("NewFile", [this] { window_.StartOtherCopy(NewFileParams(OpenWindowState())); });
  add("LoadFromFile", [this] { OpenFileCommand(); });
  add("CloseOpen", [this] { ReloadCommand(true); });  // the plain reload is the macro's "1"
  add("CloseFile", [this] { CloseDocumentCommand(); });
  add("SaveFile", [&w, &commands] {
    if (commands.SaveDocument()) w.WriteHistoryEntry();
  });
  add("SaveAs", [this] { SaveAsCommand(); });
  add("ReadFileToCaret", [this] { InsertFileCommand(); });
  // The close comes once the command is over: a save asked for by another process gets its
  // answer before the window goes.
  add("SaveClose", [&w, &commands] {
    if (!w.Modified() || commands.SaveDocument())
      QTimer::singleShot(0, w.MainWindow(), [main = w.MainWindow()] { main->CloseWithoutQuestion(); });
  });
  add("Close", [&w] { w.MainWindow()->close(); });
  add("Destroy", [&w] { w.MainWindow()->CloseWithoutQuestion(); });
  add("EditFilename", [this] { RenameCommand(); });
  add("ToggleBrowseMode", [&w] { w.SetBrowseMode(!w.BrowseMode()); });
  add("SaveSelectedToFile", [this] { SaveSelectionCommand(); });
  add("ChangeOpenFileCode", [this] { ChangeSaveCodeCommand(); });
  add("OpenFilenameCopy", [&w] { QGuiApplication::clipboard()->setText(QString::fromStdString(w.FileName())); });
  add("OpenExplorer", [&w] { OpenInDesktop(w, true); });
  add("OpenFileExec", [&w] { OpenInDesktop(w, false); });
}

// The real dialogs; tests replace them in the services.
void TFileCommandsPart::InstallFileDialogs(TEditorWindow& w) {
  TWindowServices::TFileDialogs& dialogs = w.Services().fileDialogs;
  dialogs.askSaveAs = [&w]() -> std::optional<TSaveAsRequest> {
    const TDocumentFileSettings& file = w.Document().FileSettings();
    const TSaveCodeChoice current{file.CharCode, file.LineBreak, file.OpenCodeGiven, file.LineBreakGiven};
    TFileDialogMemory memory = ReadFileDialogMemory(w);
    auto request = TDocumentFileDialog::AskSaveAs(QString::fromStdString(w.FileName()), current, memory, &w);
    KeepFileDialogMemory(w, memory, request ? request->name : std::string());
    return request;
  };
  dialogs.askOpen = [&w](bool reload) -> std::optional<std::pair<std::string, std::optional<TCharCodeKind>>> {
    const TDocumentFileSettings& file = w.Document().FileSettings();
    const std::optional<TCharCodeKind> fixed =
        file.OpenCodeGiven ? std::optional<TCharCodeKind>(file.OpenCode) : std::nullopt;
    TFileDialogMemory memory = ReadFileDialogMemory(w);
    const auto choice = TDocumentFileDialog::AskOpen(QString::fromStdString(w.FileName()),
                                                     w.CommonOptions().UseOpenFileExtAsFilter, reload, fixed, memory, &w);
    KeepFileDialogMemory(w, memory, choice ? choice->name.toStdString() : std::string());
    if (!choice) return std::nullopt;
    return std::make_pair(choice->name.toStdString(), choice->code);
  };
  dialogs.askRename = [&w]() -> std::optional<std::string> {
    TDocumentFileDialog dialog(TDocumentFileDialog::TKind::Rename, QString::fromStdString(w.FileName()), false, &w);
    dialog.SetMemory(ReadFileDialogMemory(w));
    const bool chosen = dialog.exec() == QDialog::Accepted;
    const std::string name = chosen ? dialog.ChosenName().toStdString() : std::string();
    KeepFileDialogMemory(w, dialog.Memory(), name);
    if (!chosen) return std::nullopt;
    return name;
  };
}

// A Common.ini that cannot be read leaves the dialog as it comes, never unopened.
TFileDialogMemory TFileCommandsPart::ReadFileDialogMemory(TEditorWindow& w) {
  TFileDialogMemory memory;
  try {
    const TVornMemInifile ini(w.Process().HistoryUserFolder() + "Common.ini");
    ReadFileDialogSize(ini, memory);
    const int limit = w.CommonOptions().FolderHistCount;
    if (limit > 0) memory.folders = ReadFolderHistory(ini, limit);
  } catch (const std::exception& e) {
    w.ShowMessage(e.what());
  }
  return memory;
}

// The size is kept however the dialog closed; the folder list, with the flags the user
// changed in it, only with a chosen file, whose folder goes to its top.
void TFileCommandsPart::KeepFileDialogMemory(TEditorWindow& w, const TFileDialogMemory& memory,
                                             const std::string& chosenName) {
  const int limit = w.CommonOptions().FolderHistCount;
  std::string folder;
  if (!chosenName.empty() && limit > 0) {
    const std::string name = CanonicalFileName(chosenName);
    folder = name.substr(0, name.find_last_of('/') + 1);
  }
  try {
    UpdateSharedIni(w.Process().HistoryUserFolder() + "Common.ini", [&](TCustomIniFile& ini) {
      WriteFileDialogSize(ini, memory);
      if (!folder.empty()) WriteFolderHistory(ini, AddToFolderHistory(memory.folders, folder, limit));
    });
  } catch (const std::exception& e) {
    w.ShowMessage(e.what());
  }
}

TOpenWindowState TFileCommandsPart::OpenWindowState() const {
  const TDocumentFileSettings& file = window_.Document().FileSettings();
  TOpenWindowState state;
  state.hasFileName = !window_.FileName().empty();
  state.modified = window_.Modified();
  state.openCodeGiven = file.OpenCodeGiven;
  state.openCode = file.OpenCode;
  state.lineBreakGiven = file.LineBreakGiven;
  state.lineBreak = file.LineBreak;
  state.monitor = window_.MonitorNumber();
  return state;
}

void TFileCommandsPart::OpenFileCommand() {
  const auto choice = window_.Services().fileDialogs.askOpen(false);
  if (!choice) return;
  OpenFiles({choice->first}, choice->second.has_value(), choice->second.value_or(ckSjis));
}

void TFileCommandsPart::OpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code) {
  const TOpenWindowState state = OpenWindowState();
  std::map<std::string, std::int64_t> shownIn;
  const TEditorWindow::TWindowLookup lookup = [this, &shownIn](const std::string& name) {
    const auto [it, added] = shownIn.try_emplace(name, 0);
    if (added) it->second = window_.WindowShowingFile(name);
    return it->second;
  };
  const TOpenFilesPlan plan =
      PlanOpenFiles(names, codeGiven, code, state, [&lookup](const std::string& name) { return lookup(name) != 0; });
  window_.BringForwardWindowsShowing(plan.showElsewhere, lookup);
  if (plan.openHere) {
    if (codeGiven) {
      window_.Document().FileSettings().OpenCodeGiven = true;
      window_.Document().FileSettings().OpenCode = code;
    }
    if (window_.LoadDocument(*plan.openHere, false)) window_.SizeByColumnsAndRows(-2);
  }
  if (!plan.newProcessParams.empty()) window_.StartOtherCopy(plan.newProcessParams);
}

void TFileCommandsPart::ReloadCommand(bool ask) {
  if (!ask) {
    window_.Commands().Reload();
    return;
  }
  const auto choice = window_.Services().fileDialogs.askOpen(true);
  if (choice) window_.Commands().ReloadWithCode(choice->second, choice->first);
}

void TFileCommandsPart::SaveAsCommand() {
  const auto request = window_.Services().fileDialogs.askSaveAs();
  if (request && window_.Commands().SaveDocumentAs(*request)) window_.WriteHistoryEntry();
}

void TFileCommandsPart::InsertFileCommand() {
  if (window_.ReadOnly() || window_.BrowseMode()) return;
  const auto choice = window_.Services().fileDialogs.askOpen(false);
  if (!choice) return;
  const auto text = ReadFileForInsert(choice->first, choice->second, window_.Prompts());
  if (text) window_.Editor()->Core().InsertText(text->text);
}

void TFileCommandsPart::RenameCommand() {
  const auto name = window_.Services().fileDialogs.askRename();
  if (name && !name->empty()) window_.Commands().Rename(*name);
}

void TFileCommandsPart::SaveSelectionCommand() {
  const TVornEditCore& core = window_.Editor()->Core();
  if (!core.HasSelection()) return;
  const auto request = window_.Services().fileDialogs.askSaveAs();
  if (!request || request->name.empty()) return;
  TDocumentPrompts& prompts = window_.Prompts();
  if (Exists(request->name) && !prompts.ConfirmOkCancel(TDocumentCommands::OverwriteQuestion(request->name))) return;
  const TDocumentFileSettings& file = window_.Document().FileSettings();
  TSelectionTarget target{request->name, file.CharCode, file.LineBreak, false};
  if (request->code) {
    target.code = request->code->charCode;
    target.lineBreak = request->code->lineBreak;
  }
  WriteSelectionToFile(core.GetSelText(), target, prompts);
}

void TFileCommandsPart::ChangeSaveCodeCommand() {
  const TDocumentFileSettings& file = window_.Document().FileSettings();
  TCodeSelectForm form(&window_);
  form.SetCharCode(file.CharCode);
  form.SetLineBreak(file.LineBreak);
  if (form.exec() != QDialog::Accepted) return;
  window_.Commands().ChangeSaveCode({form.CharCode(), form.LineBreak(), file.OpenCodeGiven, file.LineBreakGiven});
}

// The entry keeps the caret and marks the document had; it is written only once the document
// is closed, so a cancelled save question leaves the history as it was.
void TFileCommandsPart::CloseDocumentCommand() {
  const std::string name = window_.FileName();
  const TFileInfo state = window_.PaneHistoryState();
  if (!window_.Commands().CloseDocument()) return;
  window_.WriteHistoryEntry(name, state);
  window_.Document().Store().LineMarkTable().ClearMarks(true, true);
  window_.Process().ForgetLastEdit();
}

// With Shift the entry replaces this window's document. The document it replaces keeps its
// caret and marks in the history too, as it does when it is closed or replaced by Open.
void TFileCommandsPart::OpenHistoryEntry(const std::string& name, bool withShift) {
  TEditorWindow& w = window_;
  if (!w.FileName().empty() && CanonicalFileName(w.FileName()) == CanonicalFileName(name)) return;
  const TDocumentFileSettings& file = w.Document().FileSettings();
  if (!withShift) {
    OpenFiles({name}, file.OpenCodeGiven, file.OpenCode);
    return;
  }
  if (w.Modified() && !w.Commands().QuerySave()) return;
  const std::string previous = w.FileName();
  const TFileInfo previousState = w.PaneHistoryState();
  if (!w.LoadDocument(name, false)) return;
  w.WriteHistoryEntry(previous, previousState);
  w.WriteHistoryEntry();
}

}  // namespace vorn
