// TEditorWindow: the file type chosen by the document's name, applied to the window's pane
// through the settings' apply interfaces and handed on to the editor core.
#include "shell/EditorWindow.h"

#include "base/VornError.h"
#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"
#include "settings/SjisText.h"
#include "settings/FileSetting.h"
#include "settings/SettingsPaneRecords.h"
#include "settings/SettingsApplyTarget.h"

#include <QFontDatabase>

#include <algorithm>

namespace vorn {
namespace {

// The pane's option records as the file type fills them, starting from the pane's current
// caret so that what the common settings chose there (next line, style, scroll lock, moving
// a selection) stays as it is.
class TPaneRecords : public TSettingsPaneRecords {
public:
  TPaneRecords(const TVornEditCaretValues& current, bool modified)
      : TSettingsPaneRecords(RegexpBinding()), modified_(modified) {
    caret.SetValues(current);
  }
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

TPaneLook LookOf(const TPaneRecords& r) {
  TPaneLook look;
  const TVornEditMarks& m = r.marks;
  look.Marks = {m.EofMark(), m.RetMark(), m.Underline(), m.WordWrapLine(), m.TabMark(), m.DBSpaceMark(), m.SpaceMark()};
  look.VerticalRuler = r.typeOptions.VerticalRuler;
  look.HorizontalRuler = r.typeOptions.HorizontalRuler;
  look.PhysicalLineNum = r.typeOptions.PhysicalLineNum;
  look.LeftMarginLine = r.typeOptions.LeftMarginLine;
  look.WrapMarker = r.seikei.AutoTrigger();
  look.WrapCount = r.seikei.WrapCount();
  return look;
}

// The type's font where it names one of its own and the face is installed; the stored
// default face of another platform leaves the control's own font.
QFont FontOf(const TFontSpec& stored) {
  QFont font = DefaultEditFont();
  if (stored == DefaultEditorFont()) return font;
  const QString face = QString::fromStdString(Utf8(stored.Name));
  if (!face.isEmpty() && QFontDatabase::hasFamily(face)) font.setFamily(face);
  if (stored.Height < 0)
    font.setPixelSize(-stored.Height);
  else if (stored.Height > 0)
    font.setPointSize(std::max(1, stored.Size()));
  return font;
}

}  // namespace

// The type's records reach every pane: caret and tab behaviour, what a save cleans up, the
// view options (colours, keywords, brackets), marks, margins, rulers and font.
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
  auto view = std::make_shared<TVornEditViewInfo>(RegexpBinding());
  view->Assign(records.pane.view);
  const TPaneLook look = LookOf(records.pane);
  const QFont font = FontOf(options.Font);
  // The panes share one store: the type's wrap width and word wrap are cut into it once. A
  // gigabyte is cut in steps while the window stays usable.
  TVornEditScreenStrings& store = edit_->Core().Store();
  WrapOptionOf(store).SetWrapByte(records.pane.wrap.WrapByte());
  store.SetWordWrap(options.WordWrap);
  ForEachPane([&](TVornEdit& pane) {
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
    const TVornEditViewInfo& typeView = records.pane.view;
    core.SetHotSpotKinds({typeView.Url(), typeView.Mail(), typeView.FileObj(), typeView.MailId()});
    if (!(pane.EditFont() == font)) pane.SetEditFont(font);
    pane.SetViewOptions(view);
    pane.SetLook(look);
    pane.SetImeControl(options.ImeControl);
    pane.RepaintAll();
  });
  process_.appliedTypeTabs = edit_->Core().CaretOptions().TabSpaceCount;
  process_.appliedTypeLineNumbers = look.VerticalRuler;
}

}  // namespace vorn
