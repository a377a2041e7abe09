// TVornEditMain: the common settings applied to the window and its panes, and the file type
// selected again after another window changed the types.
#include "shell/Main.h"

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

// The wrap rules live on the store both panes show, so they are set once.
void ApplyWrapRules(const TCommonSet& c, TVornEditScreenStrings& store) {
  TVornEditWrapOption& w = WrapOptionOf(store);
  w.BeginUpdate();
  w.SetFollowPunctuation(c.FollowPunctuation);
  w.SetLeading(c.Leading);
  w.SetFollowRetMark(c.FollowRetMark);
  w.SetWordBreak(c.WordBreak);
  w.SetLeadStr(c.LeadStr);
  w.SetFollowStr(c.FollowStr);
  w.EndUpdate();
}

}  // namespace

void TVornEditMain::LoadCommonSettings(bool reloadKeyMap) {
  TCommonSet common(ProgramFolder());
  common.LoadFrom(HistoryUserFolder() + "Common.ini");
  for (const std::string& message : common.TakeMessages())
    if (status_) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
  reserveCaret_ = common.ReserveCaret;
  folderHistCount_ = common.FolderHistCount;
  restrictAlreadyOpenMsg_ = common.RestrictAlreadyOpenMsg;
  closeAtAllClose_ = common.CloseAtAllClose;
  if (stationMode_) return;
  if (toolBar_) toolBar_->setVisible(common.ToolBar);
  if (status_) status_->setVisible(common.StatusBar);
  ApplyWrapRules(common, edit_->Core().Store());
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

// A grep result keeps the grep type; a /c value stands for the document's own name.
void TVornEditMain::ReselectFileType() {
  if (stationMode_) return;
  if (reloadFileTypes_) reloadFileTypes_();
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
