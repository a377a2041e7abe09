// TEditorWindow: the file type chosen by the document's name, applied to the window's pane
// through the settings' apply interfaces and handed on to the editor core.
#include "shell/EditorWindow.h"

#include "base/VornError.h"
#include "editor/VornEdit.h"
#include "settings/FileSetting.h"
#include "settings/SettingsPaneRecords.h"
#include "settings/SettingsApplyTarget.h"

namespace vorn {
namespace {

// The pane's option records as the file type fills them, starting from the pane's current
// caret so that what the common settings chose there (next line, style, scroll lock, moving
// a selection) stays as it is.
class TPaneRecords : public TSettingsPaneRecords {
public:
  TPaneRecords(const TVornEditCaretValues& current, bool modified) : modified_(modified) { caret.SetValues(current); }
  bool DocumentModified() const override { return modified_; }

private:
  bool modified_;
};

class TWindowRecords : public TSettingsWindowTarget, public TSettingsApplyTarget {
public:
  TWindowRecords(const TVornEditCaretValues& current, bool modified) : pane(current, modified) {}
  void SetTypeOptions(const TWindowTypeOptions& options) override { window = options; }
  void SetCommonOptions(const TWindowCommonOptions&) override {}
  std::vector<TSettingsPaneTarget*> Panes() override { return {&pane}; }
  std::vector<TSettingsWindowTarget*> Windows() override { return {this}; }
  void SetTypeIniFileName(const std::string&) override {}
  void SetMacros(const std::vector<std::string>&, const std::vector<std::string>&) override {}

  TPaneRecords pane;
  TWindowTypeOptions window;
};

}  // namespace

// Only the parts the pane takes so far reach it: the caret and tab behaviour and what a save
// cleans up; colours, margins and the wrap width follow with the pane's option records.
void TEditorWindow::ApplyFileType() {
  process_.appliedTypeName = FileName();
  if (Services().fileTypeFor) ApplyTypeSetting(Services().fileTypeFor(FileName()));
}

void TEditorWindow::ApplyTypeSetting(TFileSetting* type) {
  if (!type) return;
  TWindowRecords records(Pane(0)->Core().CaretOptions(), Modified());
  try {
    type->ApplyToEditors(records);
  } catch (const EVornError& e) {
    // The type's own files are read on first use; one that cannot be read leaves the panes
    // as they are and is read again next time.
    ShowMessage(e.what());
    return;
  }
  process_.windowType = records.window;
  const TPaneTypeOptions& options = records.pane.typeOptions;
  ForEachPane([&records, &options](TVornEdit& pane) {
    TVornEditCore& core = pane.Core();
    core.SetCaretOptions(records.pane.caret.Values());
    core.SaveCleanUp = {options.TrimRight, options.TrimRightWSpace, options.ExpandTab, options.ExpandWSpace,
                        options.ClearUndoAtSave};
    const TVornEditSeikeiOption& type = records.pane.seikei;
    TVornEditSeikeiOption& seikei = core.SeikeiOption();
    seikei.BeginUpdate();
    seikei.SetWrapCount(type.WrapCount());
    seikei.SetAutoTrigger(type.AutoTrigger());
    seikei.SetAutoTriggerStr(type.AutoTriggerStr());
    seikei.SetCommentOnly(type.CommentOnly());
    if (type.CommentOnly()) seikei.SetCommentThrough(true);
    seikei.EndUpdate();
    core.AlignWidth = type.WrapCount();
    const TVornEditViewInfo& view = records.pane.view;
    core.SetHotSpotKinds({view.Url(), view.Mail(), view.FileObj(), view.MailId()});
    pane.RepaintAll();
  });
  process_.appliedTypeTabs = edit_->Core().CaretOptions().TabSpaceCount;
}

}  // namespace vorn
