// TVornEditMain: the file type chosen by the document's name, applied to the window's pane
// through the settings' apply interfaces and handed on to the editor core.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "settings/FileSetting.h"
#include "settings/SettingsPaneRecords.h"
#include "settings/SettingsApplyTarget.h"

namespace vorn {
namespace {

// The pane's option records as the file type fills them.
class TPaneRecords : public TSettingsPaneRecords {
public:
  explicit TPaneRecords(bool modified) : modified_(modified) {}
  bool DocumentModified() const override { return modified_; }

private:
  bool modified_;
};

class TWindowRecords : public TSettingsWindowTarget, public TSettingsApplyTarget {
public:
  explicit TWindowRecords(bool modified) : pane(modified) {}
  void SetTypeOptions(const TWindowTypeOptions& options) override { window = options; }
  void SetCommonOptions(const TWindowCommonOptions&) override {}
  std::vector<TSettingsPaneTarget*> Panes() override { return {&pane}; }
  std::vector<TSettingsWindowTarget*> Windows() override { return {this}; }
  void SetTypeIniFileName(const std::string&) override {}
  void SetMacros(const std::vector<std::string>&, const std::vector<std::string>&) override {}

  TPaneRecords pane;
  TWindowTypeOptions window;
};

TVornEditCaretValues CaretValuesOf(const TVornEditCaret& c) {
  TVornEditCaretValues v;
  v.AutoCursor = c.AutoCursor();
  v.AutoIndent = c.AutoIndent();
  v.FreeCaret = c.FreeCaret();
  v.InTab = c.InTab();
  v.KeepCaret = c.KeepCaret();
  v.LockScroll = c.LockScroll();
  v.NextLine = c.NextLine();
  v.PrevSpaceIndent = c.PrevSpaceIndent();
  v.RowSelect = c.RowSelect();
  v.SelDragMode = c.SelDragMode();
  v.SelMove = c.SelMove();
  v.SoftTab = c.SoftTab();
  v.Style = c.Style();
  v.TabIndent = c.TabIndent();
  v.TabSpaceCount = c.TabSpaceCount();
  v.WSpaceIndent = c.WSpaceIndent();
  v.IndentWithSpace = c.IndentWithSpace();
  v.IndentWidthEqTabWidth = c.IndentWidthEqTabWidth();
  v.IndentWidth = c.IndentWidth();
  v.ChangeColorForImeStatus = c.ChangeColorForImeStatus();
  return v;
}

}  // namespace

// Only the parts the pane takes so far reach it: the caret and tab behaviour and what a save
// cleans up; colours, margins and the wrap width follow with the pane's option records.
void TVornEditMain::ApplyFileType() {
  appliedTypeName_ = FileName();
  if (fileTypeFor_) ApplyTypeSetting(fileTypeFor_(FileName()));
}

void TVornEditMain::ApplyTypeSetting(TFileSetting* type) {
  if (!type) return;
  TWindowRecords records(Modified());
  type->ApplyToEditors(records);
  windowType_ = records.window;
  const TPaneTypeOptions& options = records.pane.typeOptions;
  ForEachPane([&records, &options](TVornEdit& pane) {
    TVornEditCore& core = pane.Core();
    core.SetCaretOptions(CaretValuesOf(records.pane.caret));
    core.SaveCleanUp = {options.TrimRight, options.TrimRightWSpace, options.ExpandTab, options.ExpandWSpace,
                        options.ClearUndoAtSave};
    pane.RepaintAll();
  });
  appliedTypeTabs_ = edit_->Core().CaretOptions().TabSpaceCount;
}

}  // namespace vorn
