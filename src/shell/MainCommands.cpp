// TVornEditMain: the window's dispatcher with its handlers and hooks, and the actions' states.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "shell/CommandActions.h"
#include "shellcore/PaneCommands.h"
#include "shellcore/StatusTexts.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <chrono>

namespace vorn {
namespace {

std::int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TFunctionSet TVornEditMain::BuiltFunctions() const {
  TFunctionSet built;
  for (int n = 0; n < kFunctionCount; ++n) built.set(static_cast<std::size_t>(n), dispatcher_.Has(n));
  return built;
}

void TVornEditMain::BuildCommands() {
  AddPaneCommands(dispatcher_, [this]() -> TVornEditCore& { return edit_->Core(); });
  AddFileCommands();
  AddPaneLayoutCommands();
  AddGrepCommands();
  AddSmallCommands();
  AddCoordinationCommands();
  dispatcher_.AddBeforeHook([this](const TCommandRun& run) { BeforeCommand(run); });
  dispatcher_.AddAfterHook([this](const TCommandRun& run) { AfterCommand(run); });
  actions_ = new TCommandActions(this, dispatcher_, [this](const std::string& name) { RunCommand(name); });
  actions_->UpdateStates(CommandState());
  // The settings dialogs are not part of the window yet; their items must not look usable.
  for (const char* name : {"EditCommonSet", "EditExtSet"})
    if (QAction* action = actions_->ActionByName(name)) action->setEnabled(false);
}

TCommandState TVornEditMain::CommandState() const {
  TCommandState state;
  state.ReadOnly = ReadOnly();
  state.BrowseMode = browseMode_;
  state.FileName = !FileName().empty();
  state.ClipboardText = clipboardHasText_;
  state.Split = Split();
  state.VerticalMax = verticalMax_;
  if (edit_) {
    const TVornEditCore& core = edit_->Core();
    state.Selection = core.HasSelection();
    state.CanUndo = core.CanUndo();
    state.CanRedo = core.CanRedo();
    state.BoxSelection = core.BoxMode();
  }
  return state;
}

bool TVornEditMain::RunFunction(int function, bool shiftHeld) { return dispatcher_.Run(function, shiftHeld); }

// The fast-repeat flag the movements read belongs to the pane the command works on.
void TVornEditMain::BeforeCommand(const TCommandRun& run) {
  const TCommandPreExecute::TStep step = preExecute_.Step(SteadyMs(), stationMode_, false, run);
  edit_->Core().SetKeyRepeat(step.FastRepeat);
}

void TVornEditMain::AfterCommand(const TCommandRun& run) {
  edit_->Core().SetKeyRepeat(false);
  edit_->Flush();
  actions_->UpdateStates(CommandState());
  UpdateTitle();
  UpdateStatus();
  ScheduleUpdate();
  Q_EMIT FunctionRan(run.Function);
}

void TVornEditMain::RunCommand(const std::string& name) {
  if (!RunHelpCommand(name)) RunLayoutCommand(name);
  ScheduleUpdate();
}

// A change in one window shows in the actions of all: they share the document.
void TVornEditMain::ScheduleUpdate() {
  ForEachWindow([](TVornEditMain& w) {
    if (w.updateTimer_ && !w.updateTimer_->isActive()) w.updateTimer_->start(0);
  });
}

// Reads only the document, the core and the cached clipboard state: cheap enough for every pass.
void TVornEditMain::UpdateActions() {
  if (!actions_ || stationMode_) return;
  actions_->UpdateStates(CommandState());
  UpdateTitle();
  UpdateStatus();
  ShowSelectionSize();
}

// Panel 0 tells the selection's size while there is one; measuring walks the rows, so it is
// done only when the selection's ends move.
void TVornEditMain::ShowSelectionSize() {
  if (!status_) return;
  const TVornEditCore& core = edit_->Core();
  // Turning box selection on tells how the mouse makes one.
  if (core.BoxMode() != boxModeShown_) {
    boxModeShown_ = core.BoxMode();
    if (boxModeShown_ && !core.HasSelection()) {
      status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(BoxSelectionHintText()));
      return;
    }
  }
  const bool selected = core.HasSelection();
  if (!selected && !showingSelectionSize_) return;
  const TSelectionKey key{core.SelectionAnchor(), core.Caret(), core.BoxMode(), core.RowCount()};
  if (selected && showingSelectionSize_ && key == shownSelection_) return;
  showingSelectionSize_ = selected;
  shownSelection_ = key;
  if (!selected) {
    status_->SetPanelText(TStatusPanels::spMessage, QString());
    return;
  }
  const TTextRange range = core.SelectionOffsets();
  const std::int64_t bytes = static_cast<std::int64_t>(range.End) - range.Start;
  const QString text = QString::fromStdString(SelectionSizeText(bytes, bytes >= kLargeSelectionBytes));
  status_->SetPanelText(TStatusPanels::spMessage, text);
}

void TVornEditMain::ShowClickedSelectionSize() {
  const TVornEditCore& core = edit_->Core();
  if (!status_ || !core.HasSelection()) return;
  const TTextRange range = core.SelectionOffsets();
  const std::int64_t bytes = static_cast<std::int64_t>(range.End) - range.Start;
  status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(ClickedSelectionSizeText(bytes)));
}

}  // namespace vorn
