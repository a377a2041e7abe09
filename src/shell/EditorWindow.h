// TEditorWindow: one editor window over its process's document — the panes, the dispatcher
// with the window's parts, the menus, tool bar and status bar, the title, and what the window
// does with the document (load, jump, file type, histories, common settings). The main
// window and a sub window are both editor windows; the main one also owns the process.
//
// Errors, shell: a command, start step or bus message catches what it calls and shows it where
// the user sees it (message box or status bar); the application's event dispatch catches what
// is left, so no failure ends the process.
#pragma once

#include "dialogs/DocumentPromptBoxes.h"
#include "shell/EditorProcess.h"
#include "shell/PaneKeys.h"
#include "shell/StatusPanels.h"
#include "shell/WindowPart.h"
#include "shell/WindowServices.h"
#include "shellcore/CommandDispatcher.h"
#include "shellcore/CommandPreExecute.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyPath.h"
#include "shellcore/OpenFilesPlan.h"

#include <QMainWindow>
#include <QRect>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSplitter;
class QTimer;
class QToolBar;

namespace vorn {

class TCommandActions;
class TDocumentIcon;
class TFileCommandsPart;
class TFileSetting;
class TGrepPart;
class TJournalPart;
class TMacroPart;
class TDiffPart;
class TMainBus;
class TVornEdit;
class TVornEditSub;
struct TGrepOutcome;

class TEditorWindow : public QMainWindow {
  Q_OBJECT
public:
  using TPrompts = TWindowServices::TPrompts;
  using TFileDialogs = TWindowServices::TFileDialogs;

  ~TEditorWindow() override;

  TEditorProcess& Process() const { return process_; }
  TWindowServices& Services() const { return process_.Services(); }
  TVornDocument& Document() const { return process_.Document(); }
  TDocumentCommands& Commands() const { return process_.Commands(); }
  // The questions of the document commands; nullptr restores the message boxes.
  void SetDocumentPrompts(TDocumentPrompts* prompts);
  TDocumentPrompts& Prompts() const { return process_.Prompts(); }

  // --- the document as the window shows it -----------------------------------------------
  const std::string& FileName() const { return Document().FileName(); }
  bool Modified() const { return Document().Modified(); }
  TCharCodeKind CharCode() const { return Document().FileSettings().CharCode; }
  TLineBreakKind LineBreak() const { return Document().FileSettings().LineBreak; }
  bool ReadOnly() const { return Document().FileSettings().ReadOnly; }
  bool BrowseMode() const { return process_.browseMode; }
  void SetBrowseMode(bool on);
  void SetFileName(const std::string& name);
  void SetModified(bool modified);
  void SetCharCode(TCharCodeKind kind);
  void SetLineBreak(TLineBreakKind kind);
  void SetOpenCodeGiven(bool given);
  void SetLineBreakGiven(bool given);
  void SetReadOnly(bool readOnly);
  // Loads name into the document (unless another editor shows it, which comes forward); the
  // history's caret and marks follow.
  bool LoadDocument(const std::string& name, bool reload);
  void JumpToLine(const TJumpTarget& target);
  // Every window's panes follow the document after a document command.
  void AfterDocumentCommand();
  const TCommandLinePlan& Plan() const { return process_.plan; }
  const std::string& HandOffParams() const { return process_.handOffParams; }
  void SetHandOffEnabled(bool enabled) { Services().handOffEnabled = enabled; }

  // --- title, status bar and actions -----------------------------------------------------------
  void UpdateTitle();
  void UpdateStatus();
  void UpdateStatusOfAllWindows();
  // Brings actions and status bar up to date with the document and the cached clipboard state.
  void UpdateActions();
  void ScheduleUpdate();
  TStatusPanels* StatusPanels() const { return status_; }
  // Says text in the status bar's message panel (nothing for a window without one).
  void ShowMessage(const std::string& text);
  // The text as the control holds it, rows joined by LF.
  QString ShownText() const;
  // "%5d:%4d" of the caret's line and column, as the status bar shows it.
  QString CaretPositionText() const;
  int MonitorNumber() const;

  // --- commands ------------------------------------------------------------------------------
  TCommandActions* Actions() const { return actions_; }
  // Every numbered function runs through here, from keys, menus, the tool bar and the bus.
  TCommandDispatcher& Dispatcher() { return dispatcher_; }
  // The functions this window has handlers for; the rest of the table stays disabled.
  TFunctionSet BuiltFunctions() const;
  // Runs function n through the dispatcher; false when it has no handler or is not enabled now.
  bool RunFunction(int function, bool shiftHeld);
  void RunCommand(const std::string& name);
  // The running macro step's arguments; nullptr when no macro runs.
  const std::vector<std::string>* MacroArguments() const;
  // Keyboard macros: recording, replay, the slots (MacroPart.cpp).
  TMacroPart& Macro() const { return *macro_; }
  TFileCommandsPart& FileCommands() const { return *fileCommands_; }
  TGrepPart& Grep() const { return *grep_; }
  // Difference marks, the diff partner and its messages (DiffPart.cpp).
  TDiffPart& Diff() const { return *diff_; }
  TJournalPart& Journal() const { return *journal_; }
Q_SIGNALS:
  // A function ran through the dispatcher (a key, a menu, the tool bar, the bus).
  void FunctionRan(int function);

public:
  // --- panes (EditorPanes.cpp) -----------------------------------------------------------------
  // The pane the commands work on.
  TVornEdit* Editor() const { return edit_; }
  TVornEditStrings& Lines();
  // Slot 0 is the upper (or only) pane, slot 1 the lower one; nullptr for an empty slot.
  bool Split() const { return lowerPane_ != nullptr; }
  TVornEdit* Pane(int slot) const;
  // False when the window is split already or its pane is too short for two.
  bool SplitPanes();
  void UnsplitPanes();
  void MoveSplitter(bool up);
  void MakePaneCurrent(TVornEdit* pane);
  // The upper (or only) pane, then the lower one.
  void ForEachPane(const std::function<void(TVornEdit&)>& visit) const;
  // Moves the focus to the next (or previous) pane of all the process's windows.
  void TogglePaneFocus(bool backwards);

  // --- the windows of the process (EditorWindows.cpp) ------------------------------------------
  bool IsSubWindow() const { return process_.MainWindow() != this; }
  TEditorWindow* MainWindow() const { return process_.MainWindow(); }
  std::vector<TEditorWindow*> WindowList() const { return process_.Windows(); }
  // Over a copy of the list: a visit may close a window.
  void ForEachWindow(const std::function<void(TEditorWindow&)>& visit) const;
  // NewWindowAction: another window over the document, showing what the current pane shows.
  TVornEditSub* OpenSubWindow();
  void SetQueryCloseAllMultiWindow(bool on) { process_.common.QueryCloseAllMultiWindow = on; }
  static const std::string& CloseAllWindowsQuestion();
  // Starts a copy of the program with params, in workingFolder (empty: this process's current
  // folder); its process id, 0 when it could not be started (said to the user) or is unknown.
  pid_t StartOtherCopy(const std::string& params, const std::string& workingFolder = {});

  // --- the bus (MainBus.cpp) ---------------------------------------------------------------------
  // Registers the window on the bus under folder; empty text or the reason it could not.
  std::string OpenBus(const TBusFolder& folder);
  // The window's bus id, 0 before OpenBus succeeded.
  std::int64_t BusId() const;
  TMainBus* BusEndpoint() const { return bus_; }
  // The bus the window is registered on; before that the user's, so commands still reach the
  // other editors.
  const TBusFolder& CoordinationBus();

  // --- file history (EditorHistory.cpp) --------------------------------------------------------
  void SetHistoryPlaces(std::string userFolder, std::string busRuntimeFolder);
  const TFileHistory& History() const { return process_.history; }
  // Reads "FileHist.fhd" again (at start and when another process wrote it).
  void LoadFileHistory();
  void WriteHistoryEntry();
  void WriteHistoryEntry(const std::string& name, const TFileInfo& state);
  // The caret offset and line marks of the document as the entry keeps them.
  TFileInfo PaneHistoryState() const;
  // The window of another editor that shows the file, 0 when none does.
  std::int64_t WindowShowingFile(const std::string& name);
  // Activates each window; answers the names whose window could not be brought forward.
  using TWindowLookup = std::function<std::int64_t(const std::string&)>;
  std::vector<std::string> BringForwardWindowsShowing(const std::vector<std::string>& names,
                                                      const TWindowLookup& lookup);

  // --- settings (EditorSettings.cpp) -----------------------------------------------------------
  // Reads "Common.ini" of the user folder and applies it to the window and its panes, and
  // with reloadKeyMap the key map too.
  void LoadCommonSettings(bool reloadKeyMap);
  void SetCommonOptions(const TWindowCommonOptions& options);
  const TWindowCommonOptions& CommonOptions() const { return process_.common; }
  // Applies the file type the document's name selects; remembered so a new name re-applies.
  void ApplyFileType();
  void ApplyTypeSetting(TFileSetting* type);
  // Re-reads the file types and selects this window's type again.
  void ReselectFileType();
  // The tab width the last applied file type gave the pane.
  int AppliedTypeTabs() const { return process_.appliedTypeTabs; }

  // --- size and place (EditorLayout.cpp) -------------------------------------------------------
  // Sizes the window for the file type's columns and rows; nothing when the type's automatic
  // size is off or the window is maximised. monitor -2 leaves the window where it is, -1 keeps
  // its offset from the desktop origin, n puts it at the same offset on monitor n.
  void SizeByColumnsAndRows(int monitor);
  // Puts the window's frame at the rect; a size of 0 keeps the size, cut to the work area.
  void PlaceFrame(int x, int y, int width, int height);
  // Check marks and visibility of both bars at once.
  void ShowBars(bool toolBar, bool statusBar);
  bool VerticallyMaximized() const { return verticalMax_; }
  void ToggleVerticalMaximize();
  TDocumentIcon* DocumentIcon() const { return documentIcon_; }

  // What activation does: notices another program's change to the file.
  void CheckFileOnActivation();
  // Closes without the save question: the document's fate is decided.
  void CloseWithoutQuestion();
  // The grep result's window shows it (kept for the tests and the bus).
  void ShowGrepResult(const TGrepOutcome& outcome);
  void RunHandedGrep();

protected:
  // The main window, which owns its process, and a further window over another's process;
  // subclass constructors call BuildWindow once they are ready.
  TEditorWindow(std::unique_ptr<TEditorProcess> process, QWidget* parent);
  TEditorWindow(TEditorProcess& process, QWidget* parent, Qt::WindowFlags flags);
  void BuildWindow();
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The document's fate is decided; the close asks nothing more.
  bool Closing() const { return closing_; }
  void SetClosing(bool on) { closing_ = on; }
  void ShowLikePane(const TVornEdit& from);
  TPrompts& WindowPrompts() const { return Services().prompts; }

private:
  void BuildCommands();
  // What the traits of the functions look at, read for every run and every update.
  TCommandState CommandState() const;
  void BeforeCommand(const TCommandRun& run);
  void AfterCommand(const TCommandRun& run);
  void ShowSelectionSize();
  // A click on the status bar measures a selection too large to measure on every change.
  void ShowClickedSelectionSize();
  void RememberHiddenToolBar();
  void UpdateOwnTitle();
  void FollowDocument();
  void ShowCaretPosition();
  void ReportDroppedCharacters(int count);
  void ReportNulBytesReplaced(int count);
  void ConnectPane(TVornEdit* pane);
  void WatchPaneFocus();
  // History (EditorHistory.cpp).
  bool HistoryEnabled() const;
  void RestoreFromHistory();
  void RestoreCaret(const TFileInfo& entry);
  void RestoreMarks(const TFileInfo& entry);
  void AddDocumentFolderToHistory();
  // Another editor shows the file: says so (unless told not to) and brings it forward.
  bool BroughtForwardElsewhere(const std::string& name);
  // Layout (EditorLayout.cpp).
  void BuildLayout();
  void GeometryChanged(bool resized);

  std::unique_ptr<TEditorProcess> ownProcess_;  // the main window's
  TEditorProcess& process_;
  TCommandDispatcher dispatcher_{[this] { return CommandState(); }};
  TKeyPath keyPath_{dispatcher_, ProcessKeyTable()};
  // The pane a key arrives at is the one its function works on.
  TPaneKeys paneKeys_{keyPath_, [this](TVornEdit& pane) {
    if (&pane == upperPane_ || &pane == lowerPane_) edit_ = &pane;
  }};
  TCommandPreExecute preExecute_;
  std::vector<std::unique_ptr<TWindowPart>> parts_;
  TFileCommandsPart* fileCommands_ = nullptr;
  TGrepPart* grep_ = nullptr;
  TMacroPart* macro_ = nullptr;
  TDiffPart* diff_ = nullptr;
  TJournalPart* journal_ = nullptr;
  TCommandActions* actions_ = nullptr;
  TMainBus* bus_ = nullptr;  // a child object

  TVornEdit* edit_ = nullptr;
  TVornEdit* upperPane_ = nullptr;  // both set only while split
  TVornEdit* lowerPane_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  TStatusPanels* status_ = nullptr;
  TDocumentIcon* documentIcon_ = nullptr;
  QTimer* updateTimer_ = nullptr;
  bool clipboardHasText_ = false;  // cached from the clipboard's change signal
  bool showingSelectionSize_ = false;
  struct TSelectionKey {
    TRowCol anchor, caret;
    bool box = false;
    int rows = 0;
    bool operator==(const TSelectionKey&) const = default;
  };
  TSelectionKey shownSelection_;
  bool boxModeShown_ = false;
  bool closing_ = false;
  bool verticalMax_ = false;
  QRect normalGeometry_;            // the frame before vertical maximisation
  int verticalMaxHeight_ = 0;       // the height vertical maximisation gave the window
  bool fitFrameWhenKnown_ = false;  // sized before the window manager told the frame
};

}  // namespace vorn
