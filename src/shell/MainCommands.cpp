// TVornEditMain: the actions and keys of the window, and the pane's own functions (moves,
// selection, clipboard, editing) run through the editor core.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "shell/CommandActions.h"
#include "shellcore/StatusTexts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <chrono>

namespace vorn {
namespace {

using TCase = TVornEditCore::TCaseMapping;

struct TEditFunction {
  std::string_view name;
  void (*run)(TVornEditCore& core, bool shiftHeld);
};

// Movements extend the selection while Shift is held; everything else ignores Shift.
constexpr TEditFunction kEditFunctions[] = {
    {"CursorUp", [](TVornEditCore& c, bool s) { c.CursorUp({false, s}); }},
    {"CursorDown", [](TVornEditCore& c, bool s) { c.CursorDown({false, s}); }},
    {"CursorRight", [](TVornEditCore& c, bool s) { c.CursorRight({false, s}); }},
    {"CursorLeft", [](TVornEditCore& c, bool s) { c.CursorLeft({false, s}); }},
    {"WordRight", [](TVornEditCore& c, bool s) { c.WordRight({false, s}); }},
    {"WordLeft", [](TVornEditCore& c, bool s) { c.WordLeft({false, s}); }},
    {"MoveLineStart", [](TVornEditCore& c, bool s) { c.MoveLineStart({false, s}); }},
    {"MoveLineEnd", [](TVornEditCore& c, bool s) { c.MoveLineEnd({false, s}); }},
    {"MoveLogicalLineStart", [](TVornEditCore& c, bool s) { c.MoveLogicalLineStart({false, s}); }},
    {"MoveLogicalLineEnd", [](TVornEditCore& c, bool s) { c.MoveLogicalLineEnd({false, s}); }},
    {"MoveFileStart", [](TVornEditCore& c, bool s) { c.MoveFileStart({false, s}); }},
    {"MoveFileEnd", [](TVornEditCore& c, bool s) { c.MoveFileEnd({false, s}); }},
    {"NextPage", [](TVornEditCore& c, bool s) { c.NextPage({false, s}); }},
    {"PrevPage", [](TVornEditCore& c, bool s) { c.PrevPage({false, s}); }},
    {"MoveWindowStart", [](TVornEditCore& c, bool s) { c.MoveWindowStart({false, s}); }},
    {"MoveWindowEnd", [](TVornEditCore& c, bool s) { c.MoveWindowEnd({false, s}); }},
    {"LineDown", [](TVornEditCore& c, bool s) { c.LineDown({false, s}); }},
    {"LineUp", [](TVornEditCore& c, bool s) { c.LineUp({false, s}); }},
    {"SelectAll", [](TVornEditCore& c, bool) { c.SelectAll(); }},
    {"Copy", [](TVornEditCore& c, bool) { c.CopyToClipboard(); }},
    {"InyouCopy", [](TVornEditCore& c, bool) { c.InyouCopy(); }},
    {"Paste", [](TVornEditCore& c, bool) { c.PasteFromClipboard(); }},
    {"Cut", [](TVornEditCore& c, bool) { c.CutToClipboard(); }},
    {"SelectWord", [](TVornEditCore& c, bool) { c.SelectWord(); }},
    {"SelectLine", [](TVornEditCore& c, bool) { c.SelectLine(c.CaretRow()); }},
    {"CopyWord", [](TVornEditCore& c, bool) { c.CopyWord(); }},
    {"CopyLine", [](TVornEditCore& c, bool) { c.CopyLine(); }},
    {"InyouPaste", [](TVornEditCore& c, bool) { c.InyouPaste(); }},
    {"BoxSelection", [](TVornEditCore& c, bool) { c.SetBoxMode(!c.BoxMode()); }},
    {"Delete", [](TVornEditCore& c, bool) { c.DeleteChar(); }},
    {"DeleteLine", [](TVornEditCore& c, bool) { c.DeleteLine(); }},
    {"DeleteLineEnd", [](TVornEditCore& c, bool) { c.DeleteLineEnd(); }},
    {"DeleteLineStart", [](TVornEditCore& c, bool) { c.DeleteLineStart(); }},
    {"DeleteWord", [](TVornEditCore& c, bool) { c.DeleteWord(); }},
    {"BackSpace", [](TVornEditCore& c, bool) { c.BackSpace(); }},
    {"Enter", [](TVornEditCore& c, bool) { c.InsertLineBreak(); }},
    {"Tab", [](TVornEditCore& c, bool) { c.TabKey(false, false); }},
    {"InsertEmptyLine", [](TVornEditCore& c, bool) { c.InsertEmptyLine(); }},
    {"Undo", [](TVornEditCore& c, bool) { c.Undo(); }},
    {"Redo", [](TVornEditCore& c, bool) { c.Redo(); }},
    {"ExchangeUpperLower", [](TVornEditCore& c, bool) { c.ChangeCase(TCase::Exchange); }},
    {"ChangeUpperCase", [](TVornEditCore& c, bool) { c.ChangeCase(TCase::Upper); }},
    {"ChangeLowerCase", [](TVornEditCore& c, bool) { c.ChangeCase(TCase::Lower); }},
    {"TabToSpace", [](TVornEditCore& c, bool) { c.TabToSpace(); }},
    {"SpaceToTab", [](TVornEditCore& c, bool) { c.SpaceToTab(); }},
    {"InsertIndent", [](TVornEditCore& c, bool) { c.InsertIndent(); }},
    {"ReverseIndent", [](TVornEditCore& c, bool) { c.ReverseIndent(); }},
    {"CenterAlign", [](TVornEditCore& c, bool) { c.CenterAlign(); }},
    {"LeftAlign", [](TVornEditCore& c, bool) { c.LeftAlign(); }},
    {"RightAlign", [](TVornEditCore& c, bool) { c.RightAlign(); }},
    {"ToggleInsertMode", [](TVornEditCore& c, bool) { c.SetOverwriteMode(!c.OverwriteMode()); }},
};

// The window's document functions (MainFileCommands.cpp).
constexpr std::string_view kFileFunctions[] = {
    "NewFile", "LoadFromFile", "CloseOpen", "CloseFile", "SaveFile", "SaveAs", "ReadFileToCaret",
    "SaveClose", "Close", "Destroy", "EditFilename", "ToggleBrowseMode", "SaveSelectedToFile",
    "ChangeOpenFileCode", "OpenFilenameCopy", "OpenExplorer", "OpenFileExec",
};

// The window's small commands (MainSmallCommands.cpp).
constexpr std::string_view kSmallFunctions[] = {
    "JumpPrevModifiedPos", "ToggleFreeCaret", "EncodeQuote", "InputDateTime", "InputDate", "InputTime",
    "Message", "CopyStr", "BeginUpdate", "EndUpdate",
};

const TEditFunction* EditFunctionOf(int function) {
  const TFunctionInfo* info = FunctionByNumber(function);
  if (!info) return nullptr;
  for (const TEditFunction& f : kEditFunctions)
    if (f.name == info->Name) return &f;
  return nullptr;
}

std::int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// Asked on every function run, so the names are looked up once.
TFunctionSet TVornEditMain::BuiltFunctions() {
  static const TFunctionSet built = [] {
    TFunctionSet set = FunctionSetOf(kFileFunctions) | FunctionSetOf(kSmallFunctions) |
                       FunctionSetOf(std::array<std::string_view, 3>{"Grep", "TagJump", "MaximizeVertical"});
    for (const TEditFunction& f : kEditFunctions) set.set(static_cast<std::size_t>(FunctionNumber(f.name)));
    return set | PaneFunctions() | CoordinationFunctions();
  }();
  return built;
}

void TVornEditMain::BuildCommands() {
  TCommandActions::THandlers handlers;
  handlers.runFunction = [this](int function, bool shift) { RunFunction(function, shift); };
  handlers.runCommand = [this](const std::string& name) { RunCommand(name); };
  actions_ = new TCommandActions(this, std::move(handlers), BuiltFunctions());
  // The settings dialogs are not part of the window yet; their items must not look usable.
  for (const char* name : {"EditCommonSet", "EditExtSet"})
    if (QAction* action = actions_->ActionByName(name)) action->setEnabled(false);
}

bool TVornEditMain::RunFunction(int function, bool shiftHeld) {
  const TFunctionInfo* info = FunctionByNumber(function);
  if (!info || !BuiltFunctions().test(static_cast<std::size_t>(function))) return false;
  const TCommandPreExecute::TStep step =
      preExecute_.Step(SteadyMs(), stationMode_, false, false, info->ShiftExtends, shiftHeld);
  edit_->Core().SetKeyRepeat(step.FastRepeat);
  const bool ran = RunEditFunction(function, shiftHeld) || RunFileFunction(function, shiftHeld) ||
                   RunPaneFunction(function, shiftHeld) || RunGrepFunction(function) ||
                   RunSmallFunction(function) || RunCoordinationFunction(function) ||
                   RunLayoutFunction(function);
  edit_->Core().SetKeyRepeat(false);
  ScheduleUpdate();
  if (ran) Q_EMIT FunctionRan(function);
  return ran;
}

bool TVornEditMain::RunEditFunction(int function, bool shiftHeld) {
  const TEditFunction* f = EditFunctionOf(function);
  if (!f) return false;
  f->run(edit_->Core(), shiftHeld);
  edit_->Flush();
  UpdateTitle();
  UpdateStatus();
  return true;
}

void TVornEditMain::RunCommand(const std::string& name) {
  if (!RunHelpCommand(name)) RunLayoutCommand(name);
  ScheduleUpdate();
}


bool TVornEditMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress && !forwardingKey_ && actions_)
    return FilterEditKey(static_cast<QKeyEvent*>(event));
  return QMainWindow::eventFilter(watched, event);
}

// The key map comes first. A key it takes still types its character, as a separate character
// message would, unless its function already stood for that character (Ctrl+H must not also
// type a backspace); a key it leaves goes to the pane whole, or without its character.
bool TVornEditMain::FilterEditKey(QKeyEvent* event) {
  const TKeyDispatch dispatch = actions_->HandleKeyDown(*event);
  const bool suppress = actions_->TakeSuppressFlag();
  if (!dispatch.Consumed && (!suppress || event->text().isEmpty())) return false;
  if (dispatch.Consumed && (suppress || event->text().isEmpty())) return true;
  const int key = dispatch.Consumed ? int(Qt::Key_unknown) : event->key();
  const QString text = dispatch.Consumed ? event->text() : QString();
  QKeyEvent part(event->type(), key, event->modifiers(), text, event->isAutoRepeat(),
                 static_cast<quint16>(event->count()));
  forwardingKey_ = true;
  QApplication::sendEvent(edit_, &part);
  forwardingKey_ = false;
  return true;
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
  const TVornEditCore& core = edit_->Core();
  const bool editable = !ReadOnly() && !browseMode_;
  const bool selected = core.HasSelection();
  static const std::string_view kChanging[] = {
      "Cut", "Delete", "DeleteLine", "DeleteLineEnd", "DeleteLineStart", "DeleteWord", "BackSpace", "Enter",
      "Tab", "InsertEmptyLine", "ExchangeUpperLower", "ChangeUpperCase", "ChangeLowerCase", "TabToSpace",
      "SpaceToTab", "InsertIndent", "ReverseIndent", "CenterAlign", "LeftAlign", "RightAlign", "Paste",
      "InyouPaste", "ReadFileToCaret"};
  for (std::string_view name : kChanging) actions_->SetFunctionEnabled(FunctionNumber(name), editable);
  actions_->SetFunctionEnabled(FunctionNumber("Cut"), editable && selected);
  actions_->SetFunctionEnabled(FunctionNumber("Copy"), selected);
  actions_->SetFunctionEnabled(FunctionNumber("InyouCopy"), selected);
  actions_->SetFunctionEnabled(FunctionNumber("SaveSelectedToFile"), selected);
  actions_->SetFunctionEnabled(FunctionNumber("Paste"), editable && clipboardHasText_);
  actions_->SetFunctionEnabled(FunctionNumber("InyouPaste"), editable && clipboardHasText_);
  actions_->SetFunctionEnabled(FunctionNumber("Undo"), editable && core.CanUndo());
  actions_->SetFunctionEnabled(FunctionNumber("Redo"), editable && core.CanRedo());
  actions_->SetFunctionEnabled(FunctionNumber("CloseOpen"), !FileName().empty());
  for (std::string_view name : {"OpenFilenameCopy", "OpenExplorer", "OpenFileExec"})
    actions_->SetFunctionEnabled(FunctionNumber(name), !FileName().empty());
  UpdatePaneActions();
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
