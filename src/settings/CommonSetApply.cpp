// Applying the common settings to every editor window and pane of the process.
#include "settings/CommonSet.h"

#include <algorithm>

namespace vorn {

namespace {


TPaneCommonOptions PaneOptions(const TCommonValues& c) {
  return {c.UndoSize, c.IntellCount, c.ToneFindStr, c.BrowseModeAsReadOnlyBehavior, c.CopyAndSelClear, c.QuoteHeader};
}


// Only the common half of the seikei record: wrap count, trigger and comment-only belong to
// the file type, and a type's comment-only still forces comment-through.
void ApplySeikei(const TVornEditSeikeiOption& c, TVornEditSeikeiOption& s) {
  s.BeginUpdate();
  s.SetCommentThrough(c.CommentThrough() || s.CommentOnly());
  s.SetInsertSpace(c.InsertSpace());
  s.SetWordWrap(c.WordWrap());
  s.SetTabToSpace(c.TabToSpace());
  s.SetRightUninsertSpaceStr(c.RightUninsertSpaceStr());
  s.SetLeftUninsertSpaceStr(c.LeftUninsertSpaceStr());
  if (!s.CommentList().Equals(c.CommentList())) s.SetCommentList(c.CommentList());
  if (!s.ItemizeList().Equals(c.ItemizeList())) s.SetItemizeList(c.ItemizeList());
  s.EndUpdate();
}

void ApplyToPane(const TCommonSet& c, TSettingsPaneTarget& pane) {
  pane.SetCommonOptions(PaneOptions(c));
  TVornEditCaret& caret = pane.Caret();
  caret.BeginUpdate();
  caret.SetStyle(static_cast<TVornEditCaretStyle>(std::clamp(c.CaretStyle, 0, 2)));
  caret.SetNextLine(c.MoveNextLine);
  caret.SetLockScroll(c.FixCaretOnScroll);
  caret.SetSelMove(c.SelMove);
  caret.EndUpdate();
  ApplyCommonWrap(c, pane.WrapOption());
  ApplySeikei(c.Seikei(), pane.SeikeiOption());
}

}  // namespace

TWindowCommonOptions WindowCommonOptions(const TCommonValues& c) {
  TWindowCommonOptions o;
  o.ToolBar = c.ToolBar;
  o.StatusBar = c.StatusBar;
  o.PositionFixX = c.PositionFixX;
  o.PositionFixY = c.PositionFixY;
  o.FileHistCount = c.FileHistMenuCount;
  o.FolderHistCount = c.FolderHistCount;
  o.StationFileHistCount = c.StationFileHistMenuCount;
  o.ReserveCaret = c.ReserveCaret;
  o.ReserveMark = c.ReserveMark;
  o.Maximize = c.Maximize;
  o.Station = c.Station;
  o.UseOpenFileExtAsFilter = c.UseOpenFileExtAsFilter;
  o.QueryCloseAllMultiWindow = c.QueryCloseAllMultiWindow;
  o.RestrictAlreadyOpenMsg = c.RestrictAlreadyOpenMsg;
  o.HotKey = c.HotKey;
  o.HotKeyModifier = c.HotKeyModifier;
  o.CloseAtAllClose = c.CloseAtAllClose;
  return o;
}

void ApplyCommonWrap(const TCommonValues& c, TVornEditWrapOption& w) {
  w.BeginUpdate();
  w.SetFollowPunctuation(c.FollowPunctuation);
  w.SetLeading(c.Leading);
  w.SetFollowRetMark(c.FollowRetMark);
  w.SetWordBreak(c.WordBreak);
  w.SetLeadStr(c.LeadStr);
  w.SetFollowStr(c.FollowStr);
  w.EndUpdate();
}

void TCommonSet::ApplyToWindows(TSettingsApplyTarget& target) const {
  target.SetMacros(std::vector<std::string>(Macros.begin(), Macros.end()),
                   std::vector<std::string>(MacroStr.begin(), MacroStr.end()));
  for (TSettingsWindowTarget* window : target.Windows()) {
    window->SetCommonOptions(WindowCommonOptions(*this));
    for (TSettingsPaneTarget* pane : window->Panes()) ApplyToPane(*this, *pane);
  }
}

}  // namespace vorn
