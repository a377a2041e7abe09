// TVornEditMain: the common settings of "Common.ini" applied to the window and its panes, read
// at start and again when another window changed them; and the file type
// selected again after another window changed the types.
#include "shell/Main.h"

#include "base/VornError.h"
#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"
#include "platform/VornUtil.h"
#include "settings/CommonSet.h"
#include "settings/SjisText.h"
#include "shell/CommandActions.h"
#include "shell/KeyMapLoad.h"

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
}

// Receives the window's share of the settings; the panes take theirs below.
class TWindowOptionsTarget : public TSettingsWindowTarget, public TSettingsApplyTarget {
public:
  void SetTypeOptions(const TWindowTypeOptions&) override {}
  void SetCommonOptions(const TWindowCommonOptions& options) override { window = options; }
  std::vector<TSettingsPaneTarget*> Panes() override { return {}; }
  std::vector<TSettingsWindowTarget*> Windows() override { return {this}; }
  void SetTypeIniFileName(const std::string&) override {}
  void SetMacros(const std::vector<std::string>&, const std::vector<std::string>&) override {}

  TWindowCommonOptions window;
};

}  // namespace

void TVornEditMain::LoadCommonSettings(bool reloadKeyMap) {
  TCommonSet common(ProgramFolder());
  try {
    common.LoadFrom(HistoryUserFolder() + "Common.ini");
  } catch (const EVornError& e) {
    // A file another program holds or this user may not read: the defaults serve meanwhile.
    ShowHistoryMessage(e.what());
  }
  for (const std::string& message : common.TakeMessages()) ShowHistoryMessage(message);
  TWindowOptionsTarget target;
  common.ApplyToWindows(target);
  SetCommonOptions(target.window);
  if (stationMode_) return;
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
  if (!loaded.Error.empty()) prompts_.warn(QString::fromStdString(loaded.Error));
}

// Hand-edited files may hold any number; the history never shows more than it keeps. The
// window is maximised only when the setting turns on, not each time the settings come again.
void TVornEditMain::SetCommonOptions(const TWindowCommonOptions& options) {
  const bool maximizeTurnedOn = options.Maximize && !common_.Maximize;
  common_ = options;
  common_.FileHistCount = std::clamp(options.FileHistCount, 0, TFileHistory::kMaxEntries);
  common_.FolderHistCount = std::clamp(options.FolderHistCount, 0, TFileHistory::kMaxEntries);
  common_.StationFileHistCount = std::clamp(options.StationFileHistCount, 0, TFileHistory::kMaxEntries);
  if (history_.MenuCount() != common_.FileHistCount) {
    history_.SetMenuCount(common_.FileHistCount);
    history_.SetMenuNeedsRebuild(true);
  }
  if (stationMode_) return;
  ShowBars(common_.ToolBar, common_.StatusBar);
  if (maximizeTurnedOn) setWindowState(windowState() | Qt::WindowMaximized);
}

// A grep result keeps the grep type; a /c value stands for the document's own name.
void TVornEditMain::ReselectFileType() {
  if (stationMode_) return;
  try {
    if (reloadFileTypes_) reloadFileTypes_();
  } catch (const EVornError& e) {
    ShowHistoryMessage(e.what());  // the types as they were read before stay in use
  }
  if (appliedTypeName_ == GrepTypeName()) {
    if (grepTypeFor_) ApplyTypeSetting(grepTypeFor_());
  } else if (!plan_.fileTypeName.empty()) {
    if (fileTypeFor_) ApplyTypeSetting(fileTypeFor_(plan_.fileTypeName));
  } else {
    ApplyFileType();
  }
  for (int slot = 0; slot < 2; ++slot)
    if (TVornEdit* pane = Pane(slot)) pane->RepaintAll();
}

}  // namespace vorn
