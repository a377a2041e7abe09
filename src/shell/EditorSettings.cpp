// TEditorWindow: the common settings of "Common.ini" applied to the window and its panes, read
// at start and again when another window changed them; and the file type
// selected again after another window changed the types.
#include "shell/EditorWindow.h"

#include "base/VornError.h"
#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"
#include "platform/VornUtil.h"
#include "settings/CommonSet.h"
#include "settings/SjisText.h"
#include "shell/CommandActions.h"
#include "shell/KeyMapLoad.h"
#include "shell/MacroPart.h"

#include <QToolBar>

#include <algorithm>

namespace vorn {
namespace {

void ApplyToPane(const TCommonSet& c, TVornEdit& pane) {
  TVornEditCore& core = pane.Core();
  TVornEditCaretValues caret = core.CaretOptions();
  caret.Style = static_cast<TVornEditCaretStyle>(std::clamp(c.CaretStyle, 0, 2));
  caret.NextLine = c.MoveNextLine;
  caret.LockScroll = c.FixCaretOnScroll;
  caret.SelMove = c.SelMove;
  core.SetCaretOptions(caret);
  core.QuoteHeader = c.QuoteHeader;
  core.CopyAndSelClear = c.CopyAndSelClear;
  core.SetBrowseModeAsReadOnlyBehavior(c.BrowseModeAsReadOnlyBehavior);
  pane.SetIntelliMouseCount(c.IntellCount);
  // The common half of formatting; the wrap count, the trigger and comment-only are the type's.
  const TVornEditSeikeiOption& from = c.Seikei();
  TVornEditSeikeiOption& s = core.SeikeiOption();
  s.BeginUpdate();
  s.SetCommentThrough(from.CommentThrough() || s.CommentOnly());
  s.SetInsertSpace(from.InsertSpace());
  s.SetWordWrap(from.WordWrap());
  s.SetTabToSpace(from.TabToSpace());
  s.SetRightUninsertSpaceStr(from.RightUninsertSpaceStr());
  s.SetLeftUninsertSpaceStr(from.LeftUninsertSpaceStr());
  if (!s.CommentList().Equals(from.CommentList())) s.SetCommentList(from.CommentList());
  if (!s.ItemizeList().Equals(from.ItemizeList())) s.SetItemizeList(from.ItemizeList());
  s.EndUpdate();
}

// Receives the window's share of the settings; the panes take theirs below.
class TWindowOptionsTarget : public TSettingsWindowTarget, public TSettingsApplyTarget {
public:
  void SetTypeOptions(const TWindowTypeOptions&) override {}
  void SetCommonOptions(const TWindowCommonOptions& options) override { window = options; }
  std::vector<TSettingsPaneTarget*> Panes() override { return {}; }
  std::vector<TSettingsWindowTarget*> Windows() override { return {this}; }
  void SetTypeIniFileName(const std::string&) override {}
  void SetMacros(const std::vector<std::string>& files, const std::vector<std::string>& strings) override {
    macroFiles = files;
    macroStrings = strings;
  }

  TWindowCommonOptions window;
  std::vector<std::string> macroFiles, macroStrings;
};

}  // namespace

void TEditorWindow::LoadCommonSettings(bool reloadKeyMap) {
  TCommonSet common(ProgramFolder());
  try {
    common.LoadFrom(process_.HistoryUserFolder() + "Common.ini");
  } catch (const EVornError& e) {
    // A file another program holds or this user may not read: the defaults serve meanwhile.
    ShowMessage(e.what());
  }
  for (const std::string& message : common.TakeMessages()) ShowMessage(message);
  TWindowOptionsTarget target;
  common.ApplyToWindows(target);
  SetCommonOptions(target.window);
  if (macro_) macro_->ApplySlots(target.macroFiles, target.macroStrings);
  // The wrap rules live on the store every pane shows, so they are set once.
  ApplyCommonWrap(common, WrapOptionOf(edit_->Core().Store()));
  for (int slot = 0; slot < 2; ++slot)
    if (TVornEdit* pane = Pane(slot)) {
      ApplyToPane(common, *pane);
      pane->RepaintAll();
    }
  if (!reloadKeyMap) return;
  const TKeyMapLoadResult loaded = LoadKeyMap(*actions_, UserFolder(), false);
  toolBar_ = actions_->ToolBar();
  if (!loaded.Error.empty()) WindowPrompts().warn(QString::fromStdString(loaded.Error));
}

// Hand-edited files may hold any number; the history never shows more than it keeps. The
// window is maximised only when the setting turns on, not each time the settings come again.
void TEditorWindow::SetCommonOptions(const TWindowCommonOptions& options) {
  const bool maximizeTurnedOn = options.Maximize && !process_.common.Maximize;
  process_.common = options;
  process_.common.FileHistCount = std::clamp(options.FileHistCount, 0, TFileHistory::kMaxEntries);
  process_.common.FolderHistCount = std::clamp(options.FolderHistCount, 0, TFileHistory::kMaxEntries);
  process_.common.StationFileHistCount = std::clamp(options.StationFileHistCount, 0, TFileHistory::kMaxEntries);
  if (process_.history.MenuCount() != process_.common.FileHistCount) {
    process_.history.SetMenuCount(process_.common.FileHistCount);
    process_.history.SetMenuNeedsRebuild(true);
  }
  ShowBars(process_.common.ToolBar, process_.common.StatusBar);
  if (maximizeTurnedOn) setWindowState(windowState() | Qt::WindowMaximized);
}

// A grep result keeps the grep type; a /c value stands for the document's own name.
void TEditorWindow::ReselectFileType() {
  try {
    if (Services().reloadFileTypes) Services().reloadFileTypes();
  } catch (const EVornError& e) {
    ShowMessage(e.what());  // the types as they were read before stay in use
  }
  if (process_.appliedTypeName == GrepTypeName()) {
    if (Services().grepTypeFor) ApplyTypeSetting(Services().grepTypeFor());
  } else if (!process_.plan.fileTypeName.empty()) {
    if (Services().fileTypeFor) ApplyTypeSetting(Services().fileTypeFor(process_.plan.fileTypeName));
  } else {
    ApplyFileType();
  }
  for (int slot = 0; slot < 2; ++slot)
    if (TVornEdit* pane = Pane(slot)) pane->RepaintAll();
}

}  // namespace vorn
