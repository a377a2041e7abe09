// TSettingsPart: the three settings dialogs and the reloads after their OK.
#include "shell/SettingsPart.h"

#include "dialogs/EditCommonSetForm.h"
#include "dialogs/ExtSetForm.h"
#include "dialogs/KeyMacroListForm.h"
#include "macro/MacroLibrary.h"
#include "editor/VornEdit.h"
#include "options/EditSeikeiOption.h"
#include "platform/BusMessage.h"
#include "platform/VornUtil.h"
#include "settings/CommonIniUpdate.h"
#include "settings/SjisText.h"
#include "shell/EditorWindow.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/InstanceCoordination.h"
#include "shellcore/KeyMapFiles.h"

namespace vorn {

void TSettingsPart::AddCommands(TCommandDispatcher& dispatcher) {
  dispatcher.Set(FunctionNumber("QuickSeikeiSet"), [this](bool) { QuickSeikeiSet(); });
}

bool TSettingsPart::RunNamedCommand(const std::string& name) {
  if (name == "EditExtSet") EditExtSet();
  else if (name == "EditCommonSet") EditCommonSet();
  else return false;
  return true;
}

void TSettingsPart::TellOtherEditors(int message) {
  TBroadcast b;
  b.request = MakeBusRequest(static_cast<TBusMessage>(message));
  b.ownMain = window_.MainWindow() ? window_.MainWindow()->BusId() : window_.BusId();
  b.alsoToStation = message == static_cast<int>(TBusMessage::bmLoadCommonSet);
  BroadcastPost(window_.CoordinationBus(), b);
}

// The type applied on OK is chosen again from the saved list, by each window for its own
// document, exactly as when another editor announces the change.
void TSettingsPart::EditExtSet() {
  TExtSetContext context;
  context.Folders = {UserFolder(), SettingTemplateFolder()};
  context.DocumentName = window_.FileName();
  context.TypeHint = window_.Process().plan.fileTypeName;
  context.Grep = window_.Process().appliedTypeName == GrepTypeName();
  context.rememberPosition = [this] {
    TEditorProcess& process = window_.Process();
    const TEditorWindow* main = window_.MainWindow() ? window_.MainWindow() : &window_;
    const QPoint at = main->pos();
    if (RememberFixedPosition(UserFolder() + "Common.ini", process.windowType.PositionFix, at.x(), at.y())) {
      process.common.PositionFixX = at.x();
      process.common.PositionFixY = at.y();
    }
  };
  TExtSetForm form(std::move(context), &window_);
  if (form.exec() != QDialog::Accepted) return;
  if (form.AppliedWithoutSaving()) {
    window_.ApplyTypeSetting(form.Shown());
    window_.Process().typeHeldUnsaved = true;
    return;
  }
  window_.Process().typeHeldUnsaved = false;
  window_.ReselectFileType();
  window_.ForEachWindow([this](TEditorWindow& w) {
    if (&w != &window_ && !w.Process().typeHeldUnsaved) w.ReselectFileType();
  });
  TellOtherEditors(static_cast<int>(TBusMessage::bmLoadExtSet));
}

void TSettingsPart::ReloadKeyMaps() {
  window_.ForEachWindow([](TEditorWindow& w) { w.LoadCommonSettings(true); });
}

void TSettingsPart::EditCommonSet() {
  // The dialog starts from the stored table, whatever an earlier Cancel left behind.
  ReloadKeyMaps();
  TCommonSetContext context;
  context.ProgramFolder = ProgramFolder();
  context.UserFolder = window_.Process().HistoryUserFolder();
  context.Table = &ProcessKeyTable();
  // The list shows the standard macro folder only: the type's own folder is set aside here.
  context.chooseMacro = [this](const std::vector<std::string>& slots) -> std::optional<std::string> {
    if (const auto& choose = window_.Services().macroDialogs.chooseMacro) return choose();
    TKeyMacroListForm::TServices services;
    services.rows = [slots] { return ListMacroFiles({ProgramFolder() + "Macro/", {}, {}}, slots); };
    services.editMacro = [this](const std::string& path) { window_.StartOtherCopy("\"" + path + "\""); };
    services.showHelp = [] { ShowHelp("Macro_MarcoListDlg.html"); };
    services.confirm = [this](const QString& q) {
      return CenteredMessageDlg(q, mtConfirmation, mbOK | mbCancel, false, &window_) == mrOk;
    };
    services.warn = [this](const QString& t) { CenteredMessageDlg(t, mtWarning, mbOK, false, &window_); };
    QSize size;
    return TKeyMacroListForm::Choose(std::move(services), &window_, size);
  };
  context.editMacro = [this](const std::string& path) { window_.StartOtherCopy("\"" + path + "\""); };
  TEditCommonSetForm form(std::move(context), &window_);
  const bool ok = form.exec() == QDialog::Accepted;
  ReloadKeyMaps();
  if (ok) TellOtherEditors(static_cast<int>(TBusMessage::bmLoadCommonSet));
}

void TSettingsPart::QuickSeikeiSet() {
  TVornEdit* pane = window_.Editor();
  TSeikeiPropForm form(&window_);
  form.Show(pane->Core().SeikeiOption());
  if (form.exec() != QDialog::Accepted) return;
  form.Store(pane->Core().SeikeiOption());
}

}  // namespace vorn
