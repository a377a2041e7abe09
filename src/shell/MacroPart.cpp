// TMacroPart: the macro commands with the window's dialogs, panes and painting behind them.
#include "shell/MacroPart.h"

#include "dialogs/KeyMacroListForm.h"
#include "dialogs/MacroFileDialogs.h"
#include "editor/EditClipboard.h"
#include "editor/VornEdit.h"
#include "shell/EditorWindow.h"
#include "shellcore/FunctionTable.h"

#include <QApplication>

#include "platform/VornUtil.h"

namespace vorn {

void TMacroPart::AddCommands(TCommandDispatcher& dispatcher) {
  macros_ = std::make_unique<TMacroCommands>(dispatcher, static_cast<TMacroWindow&>(*this));
}

void TMacroPart::BeforeStep(const TCommandRun& run, bool fastRepeat) {
  static const int kCursorUp = FunctionNumber("CursorUp");
  static const int kCursorDown = FunctionNumber("CursorDown");
  const TMacroPlayer& player = macros_->Player();
  if (!player.PlayingStep()) return;
  const bool fast = fastRepeat && run.Function != kCursorUp && run.Function != kCursorDown;
  window_.Editor()->Core().SetMacroPlayback(true, player.StepShift(), fast);
}

void TMacroPart::ApplySlots(const std::vector<std::string>& files, const std::vector<std::string>& strings) {
  macros_->Slots().Apply(files, strings);
}

void TMacroPart::RunLine(const std::string& sjisLine) { macros_->RunLine(sjisLine); }

void TMacroPart::RunFile(const std::string& nativeName) { macros_->RunFileByNativeName(nativeName); }

TVornEditCore& TMacroPart::CurrentPane() { return window_.Editor()->Core(); }

void TMacroPart::SetStepPlayback(bool playing, bool shift) {
  if (playedPane_ && playedPane_ != window_.Editor()) playedPane_->Core().SetMacroPlayback(false);
  playedPane_ = playing ? window_.Editor() : nullptr;
  window_.Editor()->Core().SetMacroPlayback(playing, shift);
}

std::string TMacroPart::ClipboardText() {
  const std::optional<TClipboardText> text = TQtClipboard().Text();
  return text ? text->Sjis : std::string();
}

TCharCodeKind TMacroPart::CharCode() { return window_.CharCode(); }
TLineBreakKind TMacroPart::LineBreak() { return window_.LineBreak(); }

void TMacroPart::SetBusy(bool busy) {
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

// The steps changed the panes without painting them: every window shows the result once.
void TMacroPart::RelayoutPanes() {
  window_.ForEachWindow([](TEditorWindow& w) {
    w.ForEachPane([](TVornEdit& pane) { pane.Flush(); });
    w.UpdateActions();
  });
}

void TMacroPart::ShowError(const std::string& text) { window_.Prompts().Error(text); }

TMacroFolders TMacroPart::Folders() {
  TMacroFolders folders;
  folders.ProgramMacro = ProgramFolder() + "Macro/";
  folders.Variables = DefaultPathVariableValues(window_.FileName());
  const std::string& typeFolder = window_.Process().windowType.ExtMacroPath;
  if (!typeFolder.empty()) folders.TypeMacro = ExpandMacroFolder(typeFolder, folders.Variables);
  return folders;
}

std::optional<std::string> TMacroPart::AskSaveFileName(const std::string& folder) {
  const auto& ask = window_.Services().macroDialogs.askSaveName;
  return ask ? ask(folder) : AskMacroSaveName(&window_, folder);
}

bool TMacroPart::ConfirmOkCancel(const std::string& text) { return window_.Prompts().ConfirmOkCancel(text); }

std::string TMacroPart::AskDescription(const std::string& current) {
  const auto& ask = window_.Services().macroDialogs.askDescription;
  return ask ? ask(current) : AskMacroDescription(&window_, current);
}

std::optional<std::string> TMacroPart::ChooseMacro() {
  if (const auto& choose = window_.Services().macroDialogs.chooseMacro) return choose();
  TKeyMacroListForm::TServices services;
  services.rows = [this] { return ListMacroFiles(Folders(), macros_->Slots().Files()); };
  services.editMacro = [this](const std::string& path) { window_.StartOtherCopy("\"" + path + "\""); };
  services.showHelp = [] { ShowHelp("Macro_MarcoListDlg.html"); };
  services.confirm = [this](const QString& q) { return window_.Prompts().ConfirmOkCancel(q.toStdString()); };
  services.warn = [this](const QString& t) { window_.Prompts().Warn(t.toStdString()); };
  return TKeyMacroListForm::Choose(std::move(services), &window_, listSize_);
}

void TMacroPart::RecordingChanged() { window_.UpdateTitle(); }

void TMacroPart::SuspendPanePainting(bool suspend) {
  TVornEdit* pane = window_.Editor();
  pane->setUpdatesEnabled(!suspend);
  if (!suspend) pane->Flush();
}

}  // namespace vorn
