// TVornEditMain: the editor window, its document state, title and status bar, and the
// command-line passes that open the named documents into it.
#include "shell/Main.h"

#include "dialogs/DocumentFileDialog.h"
#include "editor/VornEdit.h"
#include "shell/CommandActions.h"
#include "shell/KeyMapLoad.h"
#include "settings/CommonIniUpdate.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/StatusTexts.h"
#include "platform/VornUtil.h"
#include "platform/ProcessStart.h"
#include "platform/cp932.h"
#include "shellcore/DocumentFile.h"
#include "shellcore/WindowTitle.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QToolBar>

#include <algorithm>
#include <exception>

#include <unistd.h>

namespace vorn {
namespace {

QString FromPath(const std::string& path) { return QString::fromStdString(path); }

TVornEditMain::TPrompts DefaultPrompts(QWidget* owner) {
  TVornEditMain::TPrompts p;
  p.askCreateMissing = [owner](const QString& text) {
    const auto answer = QMessageBox::question(owner, QStringLiteral("VornEditor"), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    return answer == QMessageBox::Yes ? daYes : answer == QMessageBox::No ? daNo : daCancel;
  };
  p.chooseFileIn = [owner](const QString& folder) {
    return QFileDialog::getOpenFileName(owner, QString(), folder,
                                        QStringLiteral("すべてのファイル(*.*) (*);;テキストファイル(*.txt) (*.txt)"));
  };
  p.warn = [owner](const QString& text) { QMessageBox::warning(owner, QStringLiteral("VornEditor"), text); };
  return p;
}

// Questions as message boxes; messages through the window's warning, which tests capture.
class TWindowPromptBoxes : public TDocumentPromptBoxes {
public:
  TWindowPromptBoxes(QWidget* owner, const TVornEditMain::TPrompts& prompts)
      : TDocumentPromptBoxes(owner), prompts_(prompts) {}
  void Warn(const std::string& text) override { prompts_.warn(QString::fromStdString(text)); }
  void Error(const std::string& text) override { prompts_.warn(QString::fromStdString(text)); }

private:
  const TVornEditMain::TPrompts& prompts_;
};

}  // namespace

TVornEditMain::TVornEditMain(bool stationMode, QWidget* parent)
    : QMainWindow(parent),
      stationMode_(stationMode),
      ownDocument_(std::make_unique<TVornDocument>()),
      document_(*ownDocument_),
      prompts_(DefaultPrompts(this)) {
  setObjectName(QStringLiteral("TVornEditMain"));
  edit_ = new TVornEdit(document_.SharedStore(), this);
  promptBoxes_ = std::make_unique<TWindowPromptBoxes>(this, prompts_);
  documentPrompts_.SetTarget(promptBoxes_.get());
  ownCommands_ = std::make_unique<TDocumentCommands>(document_, edit_->Lines(), documentPrompts_);
  commands_ = ownCommands_.get();
  InstallFileDialogs();
  BuildCommands();
  if (stationMode_) {
    edit_->hide();
    setWindowTitle(QStringLiteral("VORNEDITORSTATION"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    resize(0, 0);
    return;
  }
  BuildWindow();
  UpdateTitle();
  UpdateStatus();
}

// A sub window: its own panes, key map, menus and status bar over the main window's document;
// the questions and dialogs are the main window's, so a test's replacements reach it too.
TVornEditMain::TVornEditMain(TVornEditMain& mainWindow)
    : QMainWindow(&mainWindow, Qt::Window),
      stationMode_(false),
      document_(mainWindow.document_),
      prompts_(mainWindow.prompts_),
      mainWindow_(&mainWindow) {
  setObjectName(QStringLiteral("TVornEditSub"));
  setAttribute(Qt::WA_DeleteOnClose);
  edit_ = new TVornEdit(document_.SharedStore(), this);
  promptBoxes_ = std::make_unique<TWindowPromptBoxes>(this, prompts_);
  documentPrompts_.SetTarget(&mainWindow.documentPrompts_);
  commands_ = mainWindow.commands_;
  TakeServicesOf(mainWindow);
  BuildCommands();
  BuildWindow();
  ShowBars(common_.ToolBar, common_.StatusBar);
}

// The sub windows go first, while the list they leave still exists.
TVornEditMain::~TVornEditMain() { DeleteSubWindows(); }

void TVornEditMain::BuildWindow() {
  actions_->BuildMenus();
  InstallWindowMenuList();
  WireFileHistoryMenu();
  actions_->BuildToolBar(DefaultToolBar());
  toolBar_ = actions_->ToolBar();
  setAcceptDrops(true);
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    clipboardHasText_ = clipboard->mimeData() && clipboard->mimeData()->hasText();
    connect(clipboard, &QClipboard::dataChanged, this, [this, clipboard] {
      clipboardHasText_ = clipboard->mimeData() && clipboard->mimeData()->hasText();
      ScheduleUpdate();
    });
  }
  updateTimer_ = new QTimer(this);
  updateTimer_->setSingleShot(true);
  connect(updateTimer_, &QTimer::timeout, this, &TVornEditMain::UpdateActions);
  status_ = new TStatusPanels(this);
  connect(status_, &TStatusPanels::Clicked, this, &TVornEditMain::ShowClickedSelectionSize);
  setStatusBar(status_);
  setCentralWidget(edit_);
  ConnectPane(edit_);
  WatchPaneFocus();
  edit_->setFocus();
  resize(800, 600);
  BuildLayout();
  // The user's key map and tool bar come once the window is up, so a slow or locked file
  // never delays the first paint.
  QTimer::singleShot(300, this, [this] {
    const TKeyMapLoadResult loaded = LoadKeyMap(*actions_, UserFolder(), false);
    toolBar_ = actions_->ToolBar();
    if (!loaded.Error.empty()) prompts_.warn(QString::fromStdString(loaded.Error));
    if (loaded.ToolBarEmpty) RememberHiddenToolBar();
  });
}

// An empty tool bar stays hidden at the next start too.
void TVornEditMain::RememberHiddenToolBar() {
  try {
    UpdateSharedIni(UserFolder() + "Common.ini",
                    [](TCustomIniFile& ini) { ini.WriteBool("Standard", "ToolBar", false); });
  } catch (const std::exception& e) {
    prompts_.warn(QString::fromStdString(e.what()));
  }
}

int TVornEditMain::MonitorNumber() const {
  const auto screens = QGuiApplication::screens();
  const int index = static_cast<int>(screens.indexOf(screen()));
  return index < 0 ? 0 : index;
}

void TVornEditMain::SetFileName(const std::string& name) {
  document_.SetFileName(name);
  UpdateTitle();
}

// The document's saved state is the one truth; every pane asks it.
void TVornEditMain::SetModified(bool modified) {
  if (modified)
    document_.MarkUnsaved();
  else
    document_.MarkSaved();
  UpdateTitle();
}

void TVornEditMain::SetCharCode(TCharCodeKind kind) {
  document_.FileSettings().CharCode = kind;
  UpdateStatusOfAllWindows();
}

void TVornEditMain::SetLineBreak(TLineBreakKind kind) {
  document_.FileSettings().LineBreak = (kind == lbCR || kind == lbLF) ? kind : lbCRLF;
  UpdateStatusOfAllWindows();
}

void TVornEditMain::SetOpenCodeGiven(bool given) {
  document_.FileSettings().OpenCodeGiven = given;
  UpdateStatusOfAllWindows();
}

void TVornEditMain::SetLineBreakGiven(bool given) {
  document_.FileSettings().LineBreakGiven = given;
  UpdateStatusOfAllWindows();
}

// A pane in browse mode stays read-only whatever the file allows.
void TVornEditMain::SetReadOnly(bool readOnly) {
  document_.FileSettings().ReadOnly = readOnly;
  ForEachWindow([readOnly](TVornEditMain& w) {
    w.ForEachPane([readOnly](TVornEdit& pane) {
      if (!pane.Core().BrowseMode()) pane.Core().SetReadOnly(readOnly);
    });
  });
  UpdateTitle();
}

void TVornEditMain::SetBrowseMode(bool on) {
  commands_->SetBrowseMode(on);
  ForEachWindow([on](TVornEditMain& w) {
    w.browseMode_ = on;
    w.ForEachPane([on](TVornEdit& pane) { pane.Core().SetBrowseMode(on); });
  });
  UpdateTitle();
  ScheduleUpdate();
}

// Every window's title shows the document's state and the window count, so all change together.
void TVornEditMain::UpdateTitle() {
  ForEachWindow([](TVornEditMain& w) { w.UpdateOwnTitle(); });
}

void TVornEditMain::UpdateOwnTitle() {
  if (stationMode_) return;
  TTitleState state;
  state.fileName = document_.FileName();
  state.modified = document_.Modified();
  state.browseMode = browseMode_;
  state.readOnly = ReadOnly();
  const std::vector<TVornEditMain*> windows = WindowList();
  state.windowCount = static_cast<int>(windows.size());
  state.windowIndex = static_cast<int>(std::find(windows.begin(), windows.end(), this) - windows.begin());
  const QString title = QString::fromStdString(BuildWindowTitle(state));
  if (windowTitle() != title) setWindowTitle(title);
}

void TVornEditMain::UpdateStatusOfAllWindows() {
  ForEachWindow([](TVornEditMain& w) { w.UpdateStatus(); });
}

void TVornEditMain::UpdateStatus() {
  if (!status_) return;
  const TDocumentFileSettings& file = document_.FileSettings();
  const TVornEditCore& core = edit_->Core();
  TStatusState state;
  state.boxSelection = core.BoxMode();
  state.charCode = file.CharCode;
  state.openCodeGiven = file.OpenCodeGiven;
  state.lineBreak = file.LineBreak;
  state.lineBreakGiven = file.LineBreakGiven;
  state.caret = CaretLineColumn(core.Store(), core.CaretRow(), core.CaretCol(), false);
  state.overwrite = core.OverwriteMode();
  status_->ShowStateTexts(StatusPanelTexts(state));
}

TVornEditStrings& TVornEditMain::Lines() { return edit_->Lines(); }

QString TVornEditMain::ShownText() const {
  std::u16string rows;
  edit_->Lines().WriteText([&rows](std::string_view piece) { rows += Cp932ToUtf16(piece); }, "\n");
  return QString::fromUtf16(rows.data(), static_cast<qsizetype>(rows.size()));
}

// The file line holding the caret, and the caret column plus the byte lengths of the earlier
// rows of its line, so a wrapped line reads as one line.
QString TVornEditMain::CaretPositionText() const {
  const TVornEditCore& core = edit_->Core();
  const int row = core.CaretRow();
  int col = core.CaretCol();
  if (row > 0 && row < core.RowCount()) {
    const int first = core.Store().FirstRowOfLine(row);
    core.Store().ForEachRow(first, row - first, [&col](std::string_view text, TRowWord) {
      col += static_cast<int>(text.size());
    });
  }
  return QString::asprintf("%5d:%4d", core.RowToLine(row) + 1, col + 1);
}

void TVornEditMain::ShowCaretPosition() {
  if (editSinceStatus_) {
    lastEdit_ = TRowCol{edit_->Core().CaretRow(), edit_->Core().CaretCol()};
    editSinceStatus_ = false;
  }
  UpdateStatus();
}

void TVornEditMain::ReportDroppedCharacters(int count) {
  if (!status_) return;
  status_->SetPanelText(TStatusPanels::spMessage,
                        QStringLiteral("Shift_JIS で表せない %1 文字は入力できませんでした").arg(count));
}

void TVornEditMain::ReportNulBytesReplaced(int count) {
  if (!status_) return;
  status_->SetPanelText(TStatusPanels::spMessage, QStringLiteral("NUL 文字 %1 個を空白に置き換えました").arg(count));
}

bool TVornEditMain::LoadDocument(const std::string& name, bool reload) {
  if (!reload && BroughtForwardElsewhere(name)) return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool loaded = commands_->LoadDocument(name);
  QApplication::restoreOverrideCursor();
  if (!loaded) return false;
  edit_->Core().SetCaretPos(0, 0);
  AfterDocumentCommand();
  RestoreFromHistory();
  AddDocumentFolderToHistory();
  WriteHistoryEntry();
  ForgetLastEdit();
  UpdateStatus();
  return true;
}

bool TVornEditMain::OpenNamedArgument(const std::string& argument) {
  const std::string name = CanonicalFileName(argument);
  if (IsRegularFile(name)) {
    LoadDocument(name, false);
  } else if (DirectoryExists(name)) {
    ::chdir(name.c_str());
    const QString chosen = prompts_.chooseFileIn(FromPath(name));
    if (!chosen.isEmpty()) LoadDocument(chosen.toStdString(), false);
  } else {
    const QString text = FromPath(name) + QStringLiteral("はみつかりません。新規作成しますか？") +
                         QStringLiteral("\r\n\r\n") + QStringLiteral("（関連づけがうまくいかない場合は、") +
                         QStringLiteral("VornEditorヘルプの「起動方法」－「関連づけ」") +
                         QStringLiteral("のページを参照してください）");
    switch (prompts_.askCreateMissing(text)) {
      case daCancel: return false;
      case daYes:
        SetFileName(name);
        SetCharCode(document_.FileSettings().OpenCodeGiven ? document_.FileSettings().OpenCode : ckSjis);
        SetLineBreak(document_.FileSettings().LineBreakGiven ? plan_.lineBreak : lbCRLF);
        break;
      default: break;
    }
  }
  return true;
}

bool TVornEditMain::ProcessCommandLine(const std::vector<std::string>& args) {
  plan_ = PlanCommandLine(args);
  LoadCommonSettings(false);
  LoadFileHistory();
  // pass 1
  monitorIndex_ = plan_.monitorIndex;
  if (plan_.openCodeGiven) {
    document_.FileSettings().OpenCodeGiven = true;
    document_.FileSettings().OpenCode = plan_.openCode;
    document_.FileSettings().CharCode = plan_.openCode;
  }
  if (plan_.lineBreakGiven) {
    document_.FileSettings().LineBreakGiven = true;
    document_.FileSettings().GivenLineBreak = plan_.lineBreak;
  }
  document_.FileSettings().LineBreak = plan_.lineBreak;
  if (plan_.stayOnTop) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (plan_.grepMask && !stationMode_) RequestGrepDialog(*plan_.grepMask);
  // pass 2
  for (const auto& named : plan_.namedFiles) {
    if (!document_.FileName().empty()) break;
    if (!OpenNamedArgument(named)) return false;
  }
  if (plan_.jump) JumpToLine(*plan_.jump);
  ApplyPass3();
  if (plan_.namedFiles.size() > 1) HandOff();
  creationDone_ = true;
  if (FileName().empty()) ApplyFileType();  // an untitled document takes the common type
  SizeByColumnsAndRows(monitorIndex_);
  UpdateTitle();
  UpdateStatus();
  return true;
}

void TVornEditMain::JumpToLine(const TJumpTarget& target) {
  TVornEditCore& core = edit_->Core();
  if (target.toEnd) {
    core.MoveFileEnd();
  } else if (target.line > 0) {
    core.GoToPosition(core.LineToRow(target.line - 1), 0);
  } else {
    return;
  }
  edit_->Flush();
}

void TVornEditMain::ApplyPass3() {
  if (plan_.browseMode) SetBrowseMode(true);
  if (plan_.forgetFileName) document_.SetFileName(std::string());
  if (plan_.currentFolder) ::chdir(plan_.currentFolder->c_str());
  if (plan_.statusBarVisible || plan_.toolBarVisible)
    ShowBars(plan_.toolBarVisible.value_or(!toolBar_->isHidden()), plan_.statusBarVisible.value_or(!status_->isHidden()));
  if (plan_.maximized) setWindowState(*plan_.maximized ? Qt::WindowMaximized : Qt::WindowMinimized);
}

void TVornEditMain::HandOff() {
  handOffParams_ = HandOffParamText(plan_, MonitorNumber());
  if (!handOffEnabled_) return;
  std::string error;
  if (!StartProgram(CurrentExecutablePath(), handOffParams_, &error))
    prompts_.warn(QStringLiteral("VornEditor: ") + QString::fromStdString(error));
}

}  // namespace vorn
