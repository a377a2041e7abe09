// TEditorWindow: the window's parts and dispatcher with its hooks, and the actions' states.
#include "shell/EditorWindow.h"

#include "editor/VornEdit.h"
#include "shell/CommandActions.h"
#include "shell/CoordinationPart.h"
#include "shell/DiffPart.h"
#include "shell/FileCommandsPart.h"
#include "shell/GrepPart.h"
#include "shell/HelpPart.h"
#include "shell/JournalPart.h"
#include "shell/HistoryMenuPart.h"
#include "shell/LayoutPart.h"
#include "shell/MacroPart.h"
#include "shell/ProgramExecPart.h"
#include "shell/PrintPart.h"
#include "shell/MarksPart.h"
#include "shell/SearchPart.h"
#include "shell/SmallCommandsPart.h"
#include "shell/FormatPart.h"
#include "shell/SettingsPart.h"
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

TFunctionSet TEditorWindow::BuiltFunctions() const {
  TFunctionSet built;
  for (int n = 0; n < kFunctionCount; ++n) built.set(static_cast<std::size_t>(n), dispatcher_.Has(n));
  return built;
}

// The pane commands work on whichever pane is current when they run; every other group of
// commands is a part of the window.
void TEditorWindow::BuildCommands() {
  AddPaneCommands(dispatcher_, [this]() -> TVornEditCore& { return edit_->Core(); });
  auto fileCommands = std::make_unique<TFileCommandsPart>(*this);
  fileCommands_ = fileCommands.get();
  auto grep = std::make_unique<TGrepPart>(*this);
  grep_ = grep.get();
  auto macro = std::make_unique<TMacroPart>(*this);
  macro_ = macro.get();
  parts_.push_back(std::move(fileCommands));
  parts_.push_back(std::move(grep));
  parts_.push_back(std::move(macro));
  parts_.push_back(std::make_unique<TLayoutPart>(*this));
  parts_.push_back(std::make_unique<TSmallCommandsPart>(*this));
  parts_.push_back(std::make_unique<TFormatPart>(*this));
  parts_.push_back(std::make_unique<TCoordinationPart>(*this));
  parts_.push_back(std::make_unique<THistoryMenuPart>(*this));
  parts_.push_back(std::make_unique<THelpPart>(*this));
  parts_.push_back(std::make_unique<TDiffPart>(*this));
  diff_ = static_cast<TDiffPart*>(parts_.back().get());
  parts_.push_back(std::make_unique<TProgramExecPart>(*this));
  parts_.push_back(std::make_unique<TPrintPart>(*this));
  parts_.push_back(std::make_unique<TJournalPart>(*this));
  journal_ = static_cast<TJournalPart*>(parts_.back().get());
  parts_.push_back(std::make_unique<TSearchPart>(*this));
  parts_.push_back(std::make_unique<TMarksPart>(*this));
  parts_.push_back(std::make_unique<TSettingsPart>(*this));
  for (const auto& part : parts_) part->AddCommands(dispatcher_);
  dispatcher_.AddBeforeHook([this](const TCommandRun& run) { BeforeCommand(run); });
  dispatcher_.AddAfterHook([this](const TCommandRun& run) { AfterCommand(run); });
  actions_ = new TCommandActions(this, dispatcher_, [this](const std::string& name) { RunCommand(name); });
  actions_->UpdateStates(CommandState());
}

TCommandState TEditorWindow::CommandState() const {
  TCommandState state;
  state.ReadOnly = ReadOnly();
  state.BrowseMode = BrowseMode();
  state.FileName = !FileName().empty();
  state.ClipboardText = clipboardHasText_;
  state.Split = Split();
  state.VerticalMax = verticalMax_;
  state.MacroReplayable = macro_ && macro_->CanReplay();
  state.DiffShown = diff_ && diff_->Shown();
  state.DiffPartner = diff_ && diff_->HasPartner();
  const TVornEditCore& core = edit_->Core();
  state.Selection = core.HasSelection();
  state.CanUndo = core.CanUndo();
  state.CanRedo = core.CanRedo();
  state.BoxSelection = core.BoxMode();
  return state;
}

bool TEditorWindow::RunFunction(int function, bool shiftHeld) { return dispatcher_.Run(function, shiftHeld); }

// The fast-repeat flag the movements read belongs to the pane the command works on.
void TEditorWindow::BeforeCommand(const TCommandRun& run) {
  const TCommandPreExecute::TStep step = preExecute_.Step(SteadyMs(), false, false, run);
  edit_->Core().SetKeyRepeat(step.FastRepeat);
  if (macro_->Replaying()) macro_->BeforeStep(run, step.FastRepeat);
}

const std::vector<std::string>* TEditorWindow::MacroArguments() const { return macro_ ? macro_->Arguments() : nullptr; }

// While a macro replays, the panes paint and the actions follow once, when it ends.
void TEditorWindow::AfterCommand(const TCommandRun& run) {
  edit_->Core().SetKeyRepeat(false);
  if (macro_->Replaying()) {
    Q_EMIT FunctionRan(run.Function);
    return;
  }
  edit_->Flush();
  actions_->UpdateStates(CommandState());
  UpdateTitle();
  UpdateStatus();
  ScheduleUpdate();
  Q_EMIT FunctionRan(run.Function);
}

void TEditorWindow::RunCommand(const std::string& name) {
  for (const auto& part : parts_)
    if (part->RunNamedCommand(name)) break;
  ScheduleUpdate();
}

// A change in one window shows in the actions of all: they share the document.
void TEditorWindow::ScheduleUpdate() {
  ForEachWindow([](TEditorWindow& w) {
    if (w.updateTimer_ && !w.updateTimer_->isActive()) w.updateTimer_->start(0);
  });
}

// Reads only the document, the core and the cached clipboard state: cheap enough for every pass.
void TEditorWindow::UpdateActions() {
  if (!actions_) return;
  actions_->UpdateStates(CommandState());
  UpdateTitle();
  UpdateStatus();
  ShowSelectionSize();
}

// Panel 0 tells the selection's size while there is one; measuring walks the rows, so it is
// done only when the selection's ends move.
void TEditorWindow::ShowSelectionSize() {
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

void TEditorWindow::ShowClickedSelectionSize() {
  const TVornEditCore& core = edit_->Core();
  if (!status_ || !core.HasSelection()) return;
  const TTextRange range = core.SelectionOffsets();
  const std::int64_t bytes = static_cast<std::int64_t>(range.End) - range.Start;
  status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(ClickedSelectionSizeText(bytes)));
}

}  // namespace vorn
