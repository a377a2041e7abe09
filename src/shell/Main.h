// TVornEditMain: the editor window, its document state, title and status bar, and the
// command-line passes that open the named documents into it.
//
// Errors, shell: a command, start step or bus message catches what it calls and shows it where
// the user sees it (message box or status bar); the application's event dispatch catches what
// is left, so no failure ends the process.
#pragma once

#include "dialogs/DocumentPromptBoxes.h"
#include "shellcore/CommandDispatcher.h"
#include "shellcore/CommandLine.h"
#include "shellcore/CommandPreExecute.h"
#include "shellcore/DocumentCommands.h"
#include "shellcore/FileHistory.h"
#include "platform/BusFolder.h"
#include "shellcore/KeyDispatch.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyPath.h"
#include "shellcore/OpenFilesPlan.h"
#include "shell/PaneKeys.h"
#include "shell/StatusPanels.h"
#include "document/VornDocument.h"
#include "search/GrepOptions.h"
#include "settings/SettingsApplyTarget.h"
#include "shellcore/FolderHistory.h"
#include "textfile/JConvStrList.h"

#include <optional>
#include <utility>

#include <QMainWindow>
#include <QRect>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QSplitter;
class QToolBar;
class QTimer;

namespace vorn {

class TVornEdit;
class TDocumentIcon;
class TVornEditSub;
class TCommandActions;
struct TWindowRect;
class TFileSetting;
class TGrepKeyWord;
class TBusFolder;
class TMainBus;
struct TGrepOutcome;

// The document commands' questions go to the message boxes, or to whatever a test puts in
// their place; the commands hold one reference for their whole life.
class TSwitchablePrompts : public TDocumentPrompts {
public:
  explicit TSwitchablePrompts(TDocumentPrompts* target) : target_(target) {}
  void SetTarget(TDocumentPrompts* target) { target_ = target; }
  bool ConfirmOkCancel(const std::string& text) override { return target_->ConfirmOkCancel(text); }
  TPromptAnswer AskYesNoCancel(const std::string& text) override { return target_->AskYesNoCancel(text); }
  TPromptAnswer AskYesNoCancelOnTop(const std::string& text) override { return target_->AskYesNoCancelOnTop(text); }
  void Warn(const std::string& text) override { target_->Warn(text); }
  void Error(const std::string& text) override { target_->Error(text); }
  void Inform(const std::string& text) override { target_->Inform(text); }

private:
  TDocumentPrompts* target_;
};

// Answers of a confirmation box, numbered as the platform's dialog results.
enum TDialogAnswer : int { daYes = 6, daNo = 7, daCancel = 2 };

class TVornEditMain : public QMainWindow {
  Q_OBJECT
public:
  // The user interactions the window needs while starting, replaceable by tests.
  struct TPrompts {
    std::function<TDialogAnswer(const QString& text)> askCreateMissing;
    std::function<QString(const QString& folder)> chooseFileIn;
    std::function<void(const QString& text)> warn;
  };

  // The dialogs the file commands show, replaceable by tests; nullopt stands for Cancel.
  struct TFileDialogs {
    std::function<std::optional<TSaveAsRequest>()> askSaveAs;
    std::function<std::optional<std::pair<std::string, std::optional<TCharCodeKind>>>(bool reload)> askOpen;
    std::function<std::optional<std::string>()> askRename;
  };

  explicit TVornEditMain(bool stationMode, QWidget* parent = nullptr);
  ~TVornEditMain() override;

  void SetPrompts(TPrompts prompts) { prompts_ = std::move(prompts); }
  // nullptr restores the message boxes.
  void SetDocumentPrompts(TDocumentPrompts* prompts) { documentPrompts_.SetTarget(prompts ? prompts : promptBoxes_.get()); }
  void SetFileDialogs(TFileDialogs dialogs);
  // Runs instead of starting another copy of the program (new file, files this window cannot
  // take); receives the parameter text.
  void SetProgramStarter(std::function<void(const std::string& params)> start) { startProgram_ = std::move(start); }

  // Answers the file type that claims a file name; without one the pane keeps its defaults.
  using TFileTypeSource = std::function<TFileSetting*(const std::string& fileName)>;
  void SetFileTypeSource(TFileTypeSource source) { fileTypeFor_ = std::move(source); }
  // The tab width the last applied file type gave the pane.
  int AppliedTypeTabs() const { return appliedTypeTabs_; }

  // Instance coordination (MainBus.cpp): registers the window on the bus under folder; empty
  // text or the reason it could not.
  std::string OpenBus(const TBusFolder& folder);
  // The window's bus id, 0 before OpenBus succeeded.
  std::int64_t BusId() const;
  // Grep (MainGrep.cpp). The dialog is replaceable by tests: it gets the offered word
  // (Shift_JIS) and fills the condition, false for Cancel.
  using TGrepAsk = std::function<bool(const std::string& sjisWord, TGrepKeyWord& run)>;
  void SetGrepDialog(TGrepAsk ask) { askGrep_ = std::move(ask); }
  void ShowGrepResult(const TGrepOutcome& outcome);
  // Runs the condition in "Grep.fhd" of the folder (the user folder when empty), as a window
  // that handed a grep over asks.
  void SetGrepHandOffFolder(std::string folder) { grepHandOffFolder_ = std::move(folder); }
  void RunHandedGrep();
  // The "GREP" file type the result is shown with.
  void SetGrepTypeSource(std::function<TFileSetting*()> source) { grepTypeFor_ = std::move(source); }

  TCommandActions* Actions() const { return actions_; }
  TDocumentCommands& Commands() { return *commands_; }
  // Every numbered function runs through here, from keys, menus, the tool bar and the bus.
  TCommandDispatcher& Dispatcher() { return dispatcher_; }
  // The functions this window has handlers for; the rest of the table stays disabled.
  TFunctionSet BuiltFunctions() const;
  // Runs function n through the dispatcher; false when it has no handler or is not enabled now.
  bool RunFunction(int function, bool shiftHeld);
  void RunCommand(const std::string& name);
  // Brings actions and status bar up to date with the document and the cached clipboard state.
  void UpdateActions();
Q_SIGNALS:
  // A function ran through its action (a key, a menu, the tool bar).
  void FunctionRan(int function);

public:
  // What activation does: notices another program's change to the file.
  void CheckFileOnActivation();
  bool BrowseMode() const { return browseMode_; }
  void SetBrowseMode(bool on);

  // Runs the three passes over the arguments; hands every named file but the first to a new
  // copy of the program. Returns false when the process should end without showing a window.
  bool ProcessCommandLine(const std::vector<std::string>& args);

  bool LoadDocument(const std::string& name, bool reload);

  void SetFileName(const std::string& name);
  void SetModified(bool modified);
  void SetCharCode(TCharCodeKind kind);
  void SetLineBreak(TLineBreakKind kind);
  void SetOpenCodeGiven(bool given);
  void SetLineBreakGiven(bool given);
  void SetReadOnly(bool readOnly);
  void UpdateTitle();
  void UpdateStatus();

  TVornDocument& Document() { return document_; }
  const std::string& FileName() const { return document_.FileName(); }
  TVornEditStrings& Lines();
  TVornEdit* Editor() const { return edit_; }
  bool Modified() const { return document_.Modified(); }
  TCharCodeKind CharCode() const { return document_.FileSettings().CharCode; }
  TLineBreakKind LineBreak() const { return document_.FileSettings().LineBreak; }
  bool ReadOnly() const { return document_.FileSettings().ReadOnly; }
  bool StationMode() const { return stationMode_; }
  const TCommandLinePlan& Plan() const { return plan_; }
  TStatusPanels* StatusPanels() const { return status_; }
  // The text as the control holds it, rows joined by LF.
  QString ShownText() const;
  // "%5d:%4d" of the caret's line and column, as the status bar shows it.
  QString CaretPositionText() const;
  // The parameter text of the last hand-off, empty when there was none.
  const std::string& HandOffParams() const { return handOffParams_; }
  void SetHandOffEnabled(bool enabled) { handOffEnabled_ = enabled; }
  int MonitorNumber() const;

  // MainPanes.cpp: one or two panes over the document. Slot 0 is the upper (or only) pane,
  // slot 1 the lower one; nullptr for an empty slot.
  bool Split() const { return lowerPane_ != nullptr; }
  TVornEdit* Pane(int slot) const;
  // False when the window is split already or its pane is too short for two.
  bool SplitPanes();
  void UnsplitPanes();
  void MakePaneCurrent(TVornEdit* pane);

protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void BuildWindow();
  void BuildCommands();
  // What the traits of the functions look at, read for every run and every update.
  TCommandState CommandState() const;
  void BeforeCommand(const TCommandRun& run);
  void AfterCommand(const TCommandRun& run);
  // MainFileCommands.cpp: the document's functions.
  void AddFileCommands();
  void OpenFileCommand();
  void ReloadCommand(bool ask);
  void InstallFileDialogs();
  void CloseWithoutQuestion();
  // Applies the file type the document's name selects; remembered so a new name re-applies.
  void ApplyFileType();
  void SaveAsCommand();
  void InsertFileCommand();
  void RenameCommand();
  void SaveSelectionCommand();
  void ChangeSaveCodeCommand();
  void NewFileCommand();
  TOpenWindowState OpenWindowState() const;
  void OpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code);
  void StartOtherCopy(const std::string& params);
  void AfterDocumentCommand();
  void ScheduleUpdate();
  void ShowSelectionSize();
  void RememberHiddenToolBar();
  // A click on the status bar measures a selection too large to measure on every change.
  void ShowClickedSelectionSize();
  void ApplyPass3();
  // Opens one argument of pass 2; false when the user cancelled the start.
  bool OpenNamedArgument(const std::string& argument);
  void ShowCaretPosition();
  void ReportDroppedCharacters(int count);
  void ReportNulBytesReplaced(int count);
  void JumpToLine(const TJumpTarget& target);
  void HandOff();
  void AddPaneLayoutCommands();
  void MoveSplitter(bool up);
  void TogglePaneFocus(bool backwards);
  void ConnectPane(TVornEdit* pane);
  void WatchPaneFocus();
  TVornEdit* upperPane_ = nullptr;  // both set only while split
  TVornEdit* lowerPane_ = nullptr;
  QSplitter* splitter_ = nullptr;

  // Grep (MainGrep.cpp).
  void AddGrepCommands();
  void InstallGrepDialog();
  void GrepCommand();
  void HandOffGrep(const TGrepKeyWord& run);
  void ExecuteGrep(const TGrepKeyWord& run);
  std::string GrepHandOffFolder() const;
  std::string grepHandOffFolder_;
  void TagJumpCommand();
  std::string TagJumpPath(const std::string& shownName, const std::string& lineText) const;
  void ApplyTypeSetting(TFileSetting* type);
  TGrepAsk askGrep_;
  friend class TMainBus;
  TMainBus* bus_ = nullptr;  // a child object
  std::function<TFileSetting*()> grepTypeFor_;
  // The shown result's lines with their real paths; kept on the main window.
  std::vector<TGrepResultLine> grepLines_;

  bool stationMode_;
  bool browseMode_ = false;
  bool creationDone_ = false;
  int monitorIndex_ = -1;
  TCommandLinePlan plan_;
  std::string handOffParams_;
  bool handOffEnabled_ = true;

  // The main window owns the document and its commands; a sub window works on the main's.
  std::unique_ptr<TVornDocument> ownDocument_;
  TVornDocument& document_;
  std::unique_ptr<TDocumentPrompts> promptBoxes_;
  TSwitchablePrompts documentPrompts_{nullptr};
  std::unique_ptr<TDocumentCommands> ownCommands_;
  TDocumentCommands* commands_ = nullptr;
  TFileDialogs fileDialogs_;
  std::function<void(const std::string&)> startProgram_;
  TCommandActions* actions_ = nullptr;
  TCommandDispatcher dispatcher_{[this] { return CommandState(); }};
  TKeyPath keyPath_{dispatcher_, ProcessKeyTable()};
  // The pane a key arrives at is the one its function works on.
  TPaneKeys paneKeys_{keyPath_, [this](TVornEdit& pane) {
    if (&pane == upperPane_ || &pane == lowerPane_) edit_ = &pane;
  }};
  TCommandPreExecute preExecute_;
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
  bool closing_ = false;  // the document's fate is decided; the close asks nothing more
  std::string appliedTypeName_;
  TFileTypeSource fileTypeFor_;
  int appliedTypeTabs_ = 0;
  // The pane over the document's store; a station window has one too, unshown, so that every
  // document operation has a control to work through.
  TVornEdit* edit_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  TStatusPanels* status_ = nullptr;
  TPrompts prompts_;

  // MainSmallCommands.cpp.
  void AddSmallCommands();
  void EncodeQuoteCommand();
  void InsertDateTime(std::string_view which);
  // Where the last edit left the caret; Row -1 when nothing was edited since the document came.
  TRowCol lastEdit_{-1, -1};
  bool editSinceStatus_ = false;
  void ForgetLastEdit() {
    lastEdit_ = TRowCol{-1, -1};
    editSinceStatus_ = false;
  }
  // The running macro step's arguments; nullptr when no macro runs, as now: macros come later.
  const std::vector<std::string>* MacroArguments() const { return nullptr; }

  // MainHelp.cpp: the help menu; false when name is not one of its items.
  bool RunHelpCommand(const std::string& name);
  void OpenHelpPage(const std::string& page);
  // Shows the file in the file manager, or opens it with its program; tests replace the desktop.
  void OpenInDesktop(bool showInFolder);
public:
  using TDesktopOpen = std::function<bool(const std::string& path, bool showInFolder)>;
  void SetDesktopOpener(TDesktopOpen open) { desktopOpen_ = std::move(open); }
private:
  TDesktopOpen desktopOpen_;

  // MainHistory.cpp: the file and folder history and the editors of other processes.
public:
  // Where the history files lie and which bus finds the other editors (tests use their own).
  void SetHistoryPlaces(std::string userFolder, std::string busRuntimeFolder);
  // The window's share of the common settings (MainCommonSet.cpp): read from "Common.ini" of
  // the user folder at start, applied here.
  void SetCommonOptions(const TWindowCommonOptions& options);
  const TWindowCommonOptions& CommonOptions() const { return common_; }
  const TFileHistory& History() const { return history_; }
  // Reads "FileHist.fhd" again (at start and when another process wrote it) and marks the
  // file menu for rebuilding.
  void LoadFileHistory();
  // MainHistoryMenu.cpp: the file menu's history entries, rebuilt when the menu opens.
  void RebuildFileHistoryMenu();
  // What a click on a history entry does; withShift replaces this window's document.
  void OpenHistoryEntry(const std::string& name, bool withShift);
  // The window of another editor that shows the file, 0 when none does.
  std::int64_t WindowShowingFile(const std::string& name);

private:
  using TWindowLookup = std::function<std::int64_t(const std::string&)>;
  std::string HistoryUserFolder() const;
  const TBusFolder& Bus();
  bool HistoryEnabled() const;
  void WireFileHistoryMenu();
  void RestoreFromHistory();
  void RestoreCaret(const TFileInfo& entry);
  void RestoreMarks(const TFileInfo& entry);
  // The caret offset and line marks of the document as the entry keeps them.
  TFileInfo PaneHistoryState() const;
  void WriteHistoryEntry();
  void WriteHistoryEntry(const std::string& name, const TFileInfo& state);
  void ShowHistoryMessage(const std::string& message);
  // The dialogs' folder history and size in "Common.ini" (MainFileDialogs.cpp).
  TFileDialogMemory ReadFileDialogMemory();
  void KeepFileDialogMemory(const TFileDialogMemory& memory, const std::string& chosenName);
  void AddDocumentFolderToHistory();
  // Another editor shows the file: says so (unless told not to) and brings it forward.
  bool BroughtForwardElsewhere(const std::string& name);
  void CloseDocumentCommand();
  // Activates each window; answers the names whose window could not be brought forward.
  std::vector<std::string> BringForwardWindowsShowing(const std::vector<std::string>& names,
                                                      const TWindowLookup& lookup);
  TFileHistory history_;
  std::string historyUserFolder_;
  std::unique_ptr<TBusFolder> busFolder_;

  // MainCoordination.cpp: the commands over every editor, the arrangement of all editor
  // windows and the window menu's list; MainCommonSettings.cpp: settings reloads.
public:
  // Reads "Common.ini" of the user folder and applies it to the window and its panes, and
  // with reloadKeyMap the key map too: at creation (the key map comes later), and with it when
  // another window changed the settings.
  void LoadCommonSettings(bool reloadKeyMap);
  // Re-reads the file types (through reload) and selects this window's type again.
  void SetFileTypeReload(std::function<void()> reload) { reloadFileTypes_ = std::move(reload); }
  void ReselectFileType();
  // Puts the window's frame at rect; a size of 0 keeps the size, cut to the work area.
  void PlaceFrame(int x, int y, int width, int height);

private:
  struct TArrangedWindow {
    std::int64_t id = 0;
    TVornEditMain* own = nullptr;  // a window of this process, moved directly
  };
  void AddCoordinationCommands();
  const TBusFolder& CoordinationBus();
  std::int64_t ProcessMainBusId();
  std::vector<TArrangedWindow> ArrangedWindows(bool skipMinimized, bool mainsOnly, bool leaveMaximized);
  void SaveAll(bool onlyModified);
  void SaveCloseAll();
  void CloseAll();
  void TileAll(int tiling);
  void CascadeAll();
  void MinimizeAll();
  void ActivateNeighbour(bool next);
  bool ArrangementUnavailable();
  void BringArrangedToTop(const TArrangedWindow& window);
  void PlaceArranged(const TArrangedWindow& window, const TWindowRect& rect);
  void InstallWindowMenuList();
  void FillWindowMenuList();
  std::function<void()> reloadFileTypes_;

  // Starting a copy whose process must be found again (MainGrepHandOff.cpp): the grep
  // hand-off posts to the window of exactly that process.
public:
  // Runs instead of starting the copy and answers the started process's id (0 when unknown);
  // takes precedence over SetProgramStarter where the id is needed.
  using TProcessStarter = std::function<pid_t(const std::string& params, const std::string& workingFolder)>;
  void SetProcessStarter(TProcessStarter start) { startProcess_ = std::move(start); }

  // The /g switch: hands this window a grep request for mask (empty pattern, the current
  // folder searched), which opens the grep dialog pre-filled once the window runs.
  void RequestGrepDialog(const std::string& mask);

private:
  // The started copy's process id, 0 when it could not be started (said to the user) or the
  // starter does not tell.
  // Empty workingFolder: the copy starts in this process's current folder.
  pid_t StartOtherCopyProcess(const std::string& params, const std::string& workingFolder = {});
  // The find step a tag jump from this grep result passes on: the grep's keyword with its
  // options; empty when the window shows no grep result.
  std::string GrepFindMacro() const;
  bool JumpInWindowShowing(const std::string& path, std::optional<int> line, const std::string& macro);
  TProcessStarter startProcess_;
  // A handed-over request that is not to run at once: the dialog opens with its word, mask
  // and folder rule. The word is used once; mask and folder rule stay for later greps.
  std::shared_ptr<TGrepKeyWord> pendingGrep_;
  // The condition of the grep whose result this window shows (kept for the tag jump).
  std::shared_ptr<TGrepKeyWord> shownGrep_;

  // MainLayout.cpp: the window's size by columns and rows, vertical maximisation, the tool and
  // status bars, and the document icon that drags the file.
public:
  // Sizes the window for the file type's columns and rows; nothing when the type's automatic
  // size is off or the window is maximised. monitor -2 leaves the window where it is, -1 keeps
  // its offset from the desktop origin, n puts it at the same offset on monitor n (in the
  // order of QGuiApplication::screens()).
  void SizeByColumnsAndRows(int monitor);
  bool VerticallyMaximized() const { return verticalMax_; }
  // The common settings' part for the window: the bars, the fixed position and "Maximize",
  // which maximises the window when it turns on.
  // Check marks and visibility of both bars at once.
  void ShowBars(bool toolBar, bool statusBar);
  TDocumentIcon* DocumentIcon() const { return documentIcon_; }

private:
  void BuildLayout();
  void RunLayoutCommand(const std::string& name);
  void ToggleVerticalMaximize();
  void WriteBarStates();
  void GeometryChanged(bool resized);
  TWindowTypeOptions windowType_;
  bool verticalMax_ = false;
  QRect normalGeometry_;  // the frame before vertical maximisation
  int verticalMaxHeight_ = 0;  // the height vertical maximisation gave the window
  bool fitFrameWhenKnown_ = false;  // sized before the window manager told the frame
  TDocumentIcon* documentIcon_ = nullptr;
  TWindowCommonOptions common_;

  // MainWindows.cpp: the windows of the process. The main window owns the sub windows and
  // the process's state (document, modified flag, code, line break, file stamp, grep result);
  // every window reaches that state through MainWindow().
public:
  TVornEditMain* MainWindow() const { return mainWindow_; }
  bool IsSubWindow() const { return mainWindow_ != this; }
  // The main window first, then the sub windows in the order they were opened.
  std::vector<TVornEditMain*> WindowList() const;
  void ForEachWindow(const std::function<void(TVornEditMain&)>& visit) const;
  // The upper (or only) pane, then the lower one.
  void ForEachPane(const std::function<void(TVornEdit&)>& visit) const;
  // NewWindowAction: another window over the document, showing what the current pane shows.
  TVornEditSub* OpenSubWindow();
  void SetQueryCloseAllMultiWindow(bool on) { common_.QueryCloseAllMultiWindow = on; }
  static const std::string& CloseAllWindowsQuestion();

protected:
  // The part of a sub window that is a window like the main one, over the main's document.
  explicit TVornEditMain(TVornEditMain& mainWindow);

private:
  friend class TVornEditSub;
  void UpdateOwnTitle();
  void UpdateStatusOfAllWindows();
  void FollowDocument();
  void TakeServicesOf(const TVornEditMain& mainWindow);
  bool ConfirmCloseAllWindows();
  void CloseSubWindows();
  void DeleteSubWindows();
  void ForgetSubWindow(TVornEditSub* sub);
  void ShowLikePane(const TVornEdit& from, bool browseMode);
  TVornEditMain* mainWindow_ = this;
  std::vector<TVornEditSub*> subWindows_;
  bool deletingSubWindows_ = false;
};

}  // namespace vorn
