// TSearchPart: the find and replace commands and the controller between the dialog and the panes.
#include "shell/SearchPart.h"

#include "shell/EditorWindow.h"

#include "base/TextUtil.h"
#include "dialogs/FindExecForm.h"
#include "dialogs/FindForm.h"
#include "editor/VornEdit.h"
#include "macro/MacroCommands.h"
#include "platform/Cp932Utf8.h"
#include "settings/FileSetting.h"
#include "shell/MacroPart.h"
#include "shellcore/FindHistory.h"
#include "shellcore/FunctionTable.h"

#include <QComboBox>
#include <QCheckBox>

namespace vorn {
namespace {

struct TLineSpan {
  int First = -1;
  int Last = -1;
};

// The lines of a selection over several rows; a selection that ends at the start of a row
// does not take that row's line.
TLineSpan SelectionLines(const TVornEditCore& core) {
  if (!core.HasSelection()) return {};
  const TByteRange& b = core.Selection().Bytes;
  if (b.StartRow == b.EndRow) return {};
  const TVornEditScreenStrings& store = core.Store();
  int last = store.RowToLine(b.EndRow);
  if (b.EndByte == 0 && store.FirstRowOfLine(b.EndRow) == b.EndRow && last > store.RowToLine(b.StartRow)) --last;
  return {store.RowToLine(b.StartRow), last};
}

// Whole lines first..last, over the wrapped rows of the last one.
void SelectLines(TVornEditCore& core, int first, int last) {
  const TVornEditScreenStrings& store = core.Store();
  const int end = last < 0 ? store.Count() : store.LineToRow(last + 1);
  core.SelectRows(store.LineToRow(first), end);
}

// What a pane's condition was before the dialog took its highlighting away.
struct TSetAside {
  TVornEditCore* Core;
  std::string Pattern;
  int RangeStart;
};

}  // namespace

TVornEditCore& TSearchPart::Core() const { return window_.Editor()->Core(); }

void TSearchPart::AddCommands(TCommandDispatcher& dispatcher) {
  const auto add = [&dispatcher](std::string_view name, std::function<void(bool)> run) {
    dispatcher.Set(FunctionNumber(name), std::move(run));
  };
  add("Find", [this](bool) { FindCommand(false); });
  add("Replace", [this](bool) { FindCommand(true); });
  add("FindDown", [this](bool) { FindDownCommand(); });
  add("FindUp", [this](bool) { FindUpCommand(); });
  add("FindComeback", [this](bool) { Core().GoToPosition(searchStart_.Row, searchStart_.Col); });
  add("ClearFindItem", [this](bool) { window_.ForEachPane([](TVornEdit& pane) { pane.Core().ClearFindItem(); }); });
  add("SearchBracket", [this](bool shift) { SearchBracketCommand(shift); });
}

std::string TSearchPart::TypeIniPath() const {
  const TWindowServices& services = window_.Services();
  if (!services.fileTypeFor) return {};
  const TFileSetting* type = services.fileTypeFor(window_.Process().appliedTypeName);
  return type ? type->IniFileName() : std::string();
}

void TSearchPart::ShowStatus(const std::string& sjis) { window_.ShowMessage(Cp932ToUtf8(sjis)); }

// Fills the dialog and, unless a replayed step gives the condition, shows it. False for Cancel
// (or a replayed condition that does not compile).
bool TSearchPart::AskCondition(TFindForm& form, bool replace, TFindMacroStep& step, bool& fromMacro) {
  TVornEditCore& core = Core();
  const std::vector<std::string>* args = window_.MacroArguments();
  fromMacro = args && FindStepFromMacroArgs(*args, replace, step);
  if (fromMacro) {
    form.SetStartHead(false);
    form.SetSearchWord(step.Pattern);
    form.ReplaceStrCombo()->setEditText(QString::fromStdString(Cp932ToUtf8(step.Replacement)));
    form.UseJreCheck()->setChecked(step.UseJre);
    form.CaseCheck()->setChecked(step.Case);
    form.WordCheck()->setChecked(step.Word);
    form.FuzzCheck()->setChecked(step.Fuzz);
    return form.RunAction(static_cast<TFindForm::TAction>(step.Action));
  }
  if (!core.HasSelection())
    form.SetSearchWord(TrimBlanks(core.WordAtCaret(), true, true));
  else if (core.Selection().Bytes.StartRow == core.Selection().Bytes.EndRow)
    form.SetSearchWord(core.GetSelText());
  else
    form.SetSearchWord(std::string());
  return form.exec() == QDialog::Accepted;
}

void TSearchPart::FindCommand(bool replace) {
  TVornEditCore& core = Core();
  const bool recording = window_.Macro().Recording() && window_.Dispatcher().Depth() <= 1;
  TFindForm form(window_.Process().HistoryUserFolder() + kFindHistoryFileName, TypeIniPath(), replace, &window_);
  if (!form.HistoryError().empty()) ShowStatus(form.HistoryError());
  form.SetStartHead(startHead_);
  form.FillFrom(core.FindCondition());
  const bool hadRange = core.FindCondition().RangeStart() >= 0 || core.FindCondition().RangeEnd() >= 0;
  // The old word is not highlighted while the dialog is open.
  std::vector<TSetAside> aside;
  window_.ForEachPane([&aside](TVornEdit& pane) {
    TVornEditKeyword& c = pane.Core().FindCondition();
    aside.push_back({&pane.Core(), c.Pattern(), c.RangeStart()});
    c.SetRangeStart(-1);
    c.SetPattern(std::string());
    pane.RepaintAll();
  });
  TLineSpan lines = SelectionLines(core);
  const TLineSpan opened = lines;
  const TRowCol openCaret = core.Caret();
  form.ShowRange = [&core](int first, int last) {
    core.ClearSelection();
    SelectLines(core, first, last);
  };
  form.HideRange = [&core, opened, openCaret] {
    core.ClearSelection();
    if (opened.First >= 0)
      SelectLines(core, opened.First, opened.Last);
    else
      core.SetCaretPos(openCaret.Row, openCaret.Col);
  };
  TFindMacroStep step;
  bool fromMacro = false;
  if (!AskCondition(form, replace, step, fromMacro)) {
    for (const TSetAside& a : aside) {
      a.Core->FindCondition().SetPattern(a.Pattern);
      a.Core->FindCondition().SetRangeStart(a.RangeStart);
    }
    window_.ForEachPane([](TVornEdit& pane) { pane.RepaintAll(); });
    return;
  }
  if (const TLineSpan now = SelectionLines(core); now.First >= 0) lines = now;
  if (fromMacro && step.PrevRange && form.PrevRangeFirst() >= 0) lines = {form.PrevRangeFirst(), form.PrevRangeLast()};
  core.ClearSelection();
  if (lines.First < 0)
    core.SetCaretPos(openCaret.Row, openCaret.Col);
  else
    core.SetCaretPos(core.Store().LineToRow(lines.First), 0);
  searchStart_ = core.Caret();
  TFindKeyWord& condition = form.Condition();
  condition.SetRangeStart(lines.First);
  condition.SetRangeEnd(lines.First < 0 ? -1 : lines.Last < 0 ? -1 : lines.Last + 1);
  if (form.StartHead()) {
    core.SetCaretPos(0, 0);
    condition.SetRangeStart(-1);
  }
  window_.ForEachPane([&condition](TVornEdit& pane) {
    pane.Core().FindCondition().Assign(condition);
    pane.RepaintAll();
  });
  if (recording) {
    TFindMacroStep recorded;
    recorded.Pattern = condition.Pattern();
    recorded.Replacement = condition.ReplaceText();
    recorded.Case = !condition.IgnoreCase();
    recorded.Word = condition.WholeWord();
    recorded.UseJre = !condition.PlainText();
    recorded.Fuzz = condition.Fuzzy();
    recorded.Action = form.Action();
    recorded.PrevRange = hadRange || lines.First >= 0;
    window_.Macro().Macros().Recorder().StoreDialogInput(FunctionNumber(replace ? "Replace" : "Find"),
                                                        FindStepMacroArgs(recorded, replace));
  }
  startHead_ = form.StartHead();
  switch (form.Action()) {
    case TFindForm::faDown: FindDownCommand(); break;
    case TFindForm::faUp: FindUpCommand(); break;
    case TFindForm::faRepeatReplace:
      window_.ForEachPane([](TVornEdit& pane) { pane.Core().FindCondition().SetRepeatReplace(true); });
      FindDownCommand();
      break;
    case TFindForm::faReplaceAll: ReplaceAllCommand(fromMacro && step.NoMessage, fromMacro && step.NoProgress); break;
    case TFindForm::faNone: break;
  }
}

int TSearchPart::Confirm(bool withAll) {
  if (const auto& ask = window_.Services().confirmReplace) return ask(withAll);
  TVornEdit* pane = window_.Editor();
  pane->Flush();
  const QPoint caret = pane->viewport()->mapToGlobal(pane->CaretRect().bottomLeft());
  return AskReplace(&window_, caret, withAll);
}

void TSearchPart::FindDownCommand() {
  TFindExecForm exec(&window_);
  exec.SetTotalLength(Core().TextLength());
  const int r = Core().FindDown([this] { return Confirm(true); },
                                [&exec](int kind, int count, int position) { return exec.Progress(kind, count, position); });
  if (!(r & TVornEditCore::frFound)) ShowStatus(FindNoMatchText());
  if (r & TVornEditCore::frAllReplaced) {
    ShowStatus(ReplaceCountStatusText(exec.FinalCount()));
    window_.Prompts().Inform(Cp932ToUtf8(ReplaceResultMessage(exec.FinalCount())));
  }
}

void TSearchPart::FindUpCommand() {
  const int r = Core().FindUp([this] { return Confirm(false); });
  if (!(r & TVornEditCore::frFound)) ShowStatus(FindNoMatchText());
}

void TSearchPart::ReplaceAllCommand(bool noMessage, bool noProgress) {
  TFindExecForm exec(&window_);
  exec.SetShown(!noProgress);
  exec.SetTotalLength(Core().TextLength());
  exec.Status = [this](const std::string& text) { ShowStatus(text); };
  const int r = Core().ReplaceAll(0, [&exec](int kind, int count, int position) { return exec.Progress(kind, count, position); });
  exec.hide();
  ShowStatus(ReplaceCountStatusText(r));
  if (!noMessage) window_.Prompts().Inform(Cp932ToUtf8(ReplaceResultMessage(r)));
}

void TSearchPart::SearchBracketCommand(bool shift) {
  switch (Core().SearchBracket(TMoveFlags{false, shift})) {
    case -1: window_.ShowMessage("カーソル位置の文字は括弧ではありません"); break;
    case -2: window_.ShowMessage("対応する右括弧はありませんでした"); break;
    case -3: window_.ShowMessage("対応する左括弧はありませんでした"); break;
    default: break;
  }
}

}  // namespace vorn
