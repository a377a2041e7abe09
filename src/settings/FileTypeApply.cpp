// Applying a file type to the editor windows: the option records built from the first pane's
// current ones with the type's values, then window and pane settings.
#include "settings/FileSetting.h"

#include "settings/SettingsApplyTarget.h"
#include "settings/TypeList.h"

#include <memory>

namespace vorn {

namespace {

constexpr int kUnderlineColorIndex = 42;
constexpr int kSeikeiLineColorIndex = 43;

// The records a type decides, filled once and assigned to every pane that differs.
struct TTypeRecords {
  explicit TTypeRecords(TSettingsPaneTarget& first)
      : caret(first.Caret()), view(std::make_unique<TVornEditViewInfo>(first.View().Keywords().Engine())) {
    margin.Assign(first.Margin());
    marks.Assign(first.Marks());
    view->Assign(first.View());
  }
  TVornEditCaret caret;
  TVornEditMargin margin;
  TVornEditMarks marks;
  std::unique_ptr<TVornEditViewInfo> view;
};

void FillCaret(const TFileTypeValues& t, TVornEditCaret& c) {
  c.SetTabSpaceCount(t.TabCol);
  c.SetFreeCaret(t.FreeCaret);
  c.SetAutoIndent(t.AutoIndent);
  c.SetWSpaceIndent(t.WSpaceIndent);
  c.SetTabIndent(!t.SpaceIndent);
  c.SetIndentWithSpace(t.IndentWithSpace);
  c.SetIndentWidthEqTabWidth(t.IndentWidthEqTabWidth);
  c.SetIndentWidth(t.IndentWidth);
}

void FillMarks(const TFileTypeValues& t, TVornEditMarks& m) {
  m.SetEofMark(t.EOFVisible);
  m.SetRetMark(t.RetVisible);
  m.SetTabMark(t.TabVisible);
  m.SetDBSpaceMark(t.WSpaceVisible);
  m.SetSpaceMark(t.SpaceVisible);
  m.SetUnderline(t.Underline);
  m.SetWordWrapLine(t.SeikeiVLine);
}

void FillView(const TFileSetting& t, TVornEditViewInfo& v) {
  v.SetMail(t.EMailVisible);
  v.SetUrl(t.UrlVisible);
  v.SetFileObj(t.FileVisible);
  v.SetKeyword(t.KeyWordStrong);
  v.SetQuotation(t.Quotation);
  v.SetQuotationCanceler(t.QuotationCanceler);
  v.Colors().Assign(t.Colors());
  v.Colors()[kUnderlineColorIndex].SetColor(t.UnderlineColor);
  v.Colors()[kSeikeiLineColorIndex].SetColor(t.SeikeiVLineColor);
  v.Keywords().Assign(t.Keywords());
  v.Commenter1().Assign(t.Commenter());
  t.Brackets().ApplyToView(v);
}

bool SameView(const TVornEditViewInfo& a, const TVornEditViewInfo& b) {
  return a.Mail() == b.Mail() && a.Url() == b.Url() && a.FileObj() == b.FileObj() && a.Keyword() == b.Keyword() &&
         a.MailId() == b.MailId() && a.Quotation() == b.Quotation() &&
         a.QuotationCanceler() == b.QuotationCanceler() && a.Colors() == b.Colors() &&
         a.Keywords().Equals(b.Keywords()) && a.Commenter1().SameAs(b.Commenter1()) &&
         a.Brackets().Equals(b.Brackets());
}

TPaneTypeOptions PaneOptions(const TFileTypeValues& t) {
  TPaneTypeOptions o;
  o.Font = t.Font;
  o.WordWrap = t.WordWrap;
  o.ScrollBars = t.VerticalScroll ? (t.HorizontalScroll ? ssBoth : ssVertical)
                                  : (t.HorizontalScroll ? ssHorizontal : ssNone);
  o.ImeControl = t.ImeEnable;
  o.ExpandTab = t.ExpandTab;
  o.ExpandWSpace = t.ExpandWSpace;
  o.TrimRight = t.TrimRight;
  o.TrimRightWSpace = t.TrimRightWSpace;
  o.ClearUndoAtSave = t.ClearUndoAtSave;
  o.VerticalRuler = t.VerticalRuler;
  o.LeftMarginLine = t.LeftMarginLine;
  o.PhysicalLineNum = t.PhysicalLineNum;
  o.HorizontalRuler = t.HorizontalRuler;
  return o;
}

TWindowTypeOptions WindowOptions(const TFileTypeValues& t) {
  return {t.FixWindow,      t.FixWindowCol,         t.FixWindowRow, t.PositionFix, t.BackupCreate,
          t.NotAddFileHist, t.SaveDisableAfterSave, t.ExtMacroPath};
}

void FillSeikei(const TFileTypeValues& t, TVornEditSeikeiOption& s) {
  s.BeginUpdate();
  s.SetWrapCount(t.SeikeiWrapCount);
  s.SetAutoTrigger(t.SeikeiAutoTrigger);
  s.SetAutoTriggerStr(t.SeikeiAutoTriggerStr);
  s.SetCommentOnly(t.SeikeiCommentOnly);
  if (t.SeikeiCommentOnly) s.SetCommentThrough(true);
  s.EndUpdate();
}

// Applies to one pane; true when its tab width, word wrap or wrap width changed, which
// invalidates the undo records of a modified document.
bool ApplyToPane(const TFileSetting& t, const TTypeRecords& r, TSettingsPaneTarget& pane) {
  const int oldTab = pane.Caret().TabSpaceCount();
  const bool oldWrap = pane.WordWrap();
  const int oldWrapByte = pane.WrapOption().WrapByte();
  pane.SetTypeOptions(PaneOptions(t));
  pane.WrapOption().SetWrapByte(t.WordBytes);
  if (!(pane.Caret() == r.caret)) pane.Caret().Assign(r.caret);
  if (!(pane.Margin() == r.margin)) pane.Margin().Assign(r.margin);
  if (!(pane.Marks() == r.marks)) pane.Marks().Assign(r.marks);
  if (!SameView(pane.View(), *r.view)) pane.View().Assign(*r.view);
  FillSeikei(t, pane.SeikeiOption());
  pane.Repaint();
  return oldTab != pane.Caret().TabSpaceCount() || oldWrap != pane.WordWrap() ||
         oldWrapByte != pane.WrapOption().WrapByte();
}

}  // namespace

void TFileSetting::ApplyToEditors(TSettingsApplyTarget& target) {
  if (owner_) owner_->EnsureLoaded(*this);
  target.SetTypeIniFileName(iniFileName_);
  const std::vector<TSettingsWindowTarget*> windows = target.Windows();
  if (windows.empty() || windows[0]->Panes().empty()) return;
  TTypeRecords records(*windows[0]->Panes()[0]);
  FillCaret(*this, records.caret);
  records.margin.SetLine(LineOffset);
  records.margin.SetCharacter(CharOffset);
  FillMarks(*this, records.marks);
  FillView(*this, *records.view);

  bool layoutChanged = false;
  std::vector<TSettingsPaneTarget*> panes;
  for (TSettingsWindowTarget* window : windows) {
    window->SetTypeOptions(WindowOptions(*this));
    for (TSettingsPaneTarget* pane : window->Panes()) {
      layoutChanged = ApplyToPane(*this, records, *pane) || layoutChanged;
      panes.push_back(pane);
    }
  }
  if (!layoutChanged) return;
  for (TSettingsPaneTarget* pane : panes)
    if (pane->DocumentModified()) pane->ClearUndo();
}

}  // namespace vorn
