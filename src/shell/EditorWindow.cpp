// TEditorWindow: the window's construction, the document's state as every window shows it,
// title and status bar, loading a document and jumping to a line.
#include "shell/EditorWindow.h"

#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "platform/cp932.h"
#include "settings/CommonIniUpdate.h"
#include "shell/CommandActions.h"
#include "shell/FileCommandsPart.h"
#include "shell/GrepPart.h"
#include "shell/JournalPart.h"
#include "shell/MacroPart.h"
#include "shell/MainBus.h"
#include "shellcore/OpenFilesPlan.h"
#include "shell/KeyMapLoad.h"
#include "shellcore/DocumentFile.h"
#include "shellcore/FileDialogFilters.h"
#include "shellcore/StatusTexts.h"
#include "shellcore/WindowTitle.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QToolBar>

#include <algorithm>
#include <exception>

namespace vorn {

TEditorWindow::TEditorWindow(std::unique_ptr<TEditorProcess> process, QWidget* parent)
    : QMainWindow(parent), ownProcess_(std::move(process)), process_(*ownProcess_) {
  process_.SetMainWindow(this);
  edit_ = new TVornEdit(Document().SharedStore(), this);
  BuildCommands();
}

TEditorWindow::TEditorWindow(TEditorProcess& process, QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), process_(process) {
  edit_ = new TVornEdit(Document().SharedStore(), this);
  BuildCommands();
}

TEditorWindow::~TEditorWindow() = default;

void TEditorWindow::SetDocumentPrompts(TDocumentPrompts* prompts) { process_.Prompts().SetTarget(prompts); }

void TEditorWindow::BuildWindow() {
  actions_->BuildMenus();
  for (const auto& part : parts_) part->MenusBuilt();
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
  connect(updateTimer_, &QTimer::timeout, this, &TEditorWindow::UpdateActions);
  status_ = new TStatusPanels(this);
  connect(status_, &TStatusPanels::Clicked, this, &TEditorWindow::ShowClickedSelectionSize);
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
    if (!loaded.Error.empty()) WindowPrompts().warn(QString::fromStdString(loaded.Error));
    if (loaded.ToolBarEmpty) RememberHiddenToolBar();
  });
}

// An empty tool bar stays hidden at the next start too.
void TEditorWindow::RememberHiddenToolBar() {
  try {
    UpdateSharedIni(UserFolder() + "Common.ini",
                    [](TCustomIniFile& ini) { ini.WriteBool("Standard", "ToolBar", false); });
  } catch (const std::exception& e) {
    WindowPrompts().warn(QString::fromStdString(e.what()));
  }
}

int TEditorWindow::MonitorNumber() const {
  const auto screens = QGuiApplication::screens();
  const int index = static_cast<int>(screens.indexOf(screen()));
  return index < 0 ? 0 : index;
}

void TEditorWindow::ShowMessage(const std::string& text) {
  if (status_ && !text.empty()) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(text));
}

void TEditorWindow::SetFileName(const std::string& name) {
  Document().SetFileName(name);
  UpdateTitle();
}

// The document's saved state is the one truth; every pane asks it.
void TEditorWindow::SetModified(bool modified) {
  if (modified)
    Document().MarkUnsaved();
  else
    Document().MarkSaved();
  UpdateTitle();
}

void TEditorWindow::SetCharCode(TCharCodeKind kind) {
  Document().FileSettings().CharCode = kind;
  UpdateStatusOfAllWindows();
}

void TEditorWindow::SetLineBreak(TLineBreakKind kind) {
  Document().FileSettings().LineBreak = (kind == lbCR || kind == lbLF) ? kind : lbCRLF;
  UpdateStatusOfAllWindows();
}

void TEditorWindow::SetOpenCodeGiven(bool given) {
  Document().FileSettings().OpenCodeGiven = given;
  UpdateStatusOfAllWindows();
}

void TEditorWindow::SetLineBreakGiven(bool given) {
  Document().FileSettings().LineBreakGiven = given;
  UpdateStatusOfAllWindows();
}

// A pane in browse mode stays read-only whatever the file allows.
void TEditorWindow::SetReadOnly(bool readOnly) {
  Document().FileSettings().ReadOnly = readOnly;
  ForEachWindow([readOnly](TEditorWindow& w) {
    w.ForEachPane([readOnly](TVornEdit& pane) {
      if (!pane.Core().BrowseMode()) pane.Core().SetReadOnly(readOnly);
    });
  });
  UpdateTitle();
}

void TEditorWindow::SetBrowseMode(bool on) {
  Commands().SetBrowseMode(on);
  process_.browseMode = on;
  ForEachWindow([on](TEditorWindow& w) { w.ForEachPane([on](TVornEdit& pane) { pane.Core().SetBrowseMode(on); }); });
  UpdateTitle();
  ScheduleUpdate();
}

// Every window's title shows the document's state and the window count, so all change together.
void TEditorWindow::UpdateTitle() {
  ForEachWindow([](TEditorWindow& w) { w.UpdateOwnTitle(); });
}

void TEditorWindow::UpdateOwnTitle() {
  TTitleState state;
  state.fileName = Document().FileName();
  state.modified = Document().Modified();
  state.browseMode = BrowseMode();
  state.readOnly = ReadOnly();
  state.recordingMacro = macro_ && macro_->Recording();
  const std::vector<TEditorWindow*> windows = WindowList();
  state.windowCount = static_cast<int>(windows.size());
  state.windowIndex = static_cast<int>(std::find(windows.begin(), windows.end(), this) - windows.begin());
  const QString title = QString::fromStdString(BuildWindowTitle(state));
  if (windowTitle() != title) setWindowTitle(title);
}

void TEditorWindow::UpdateStatusOfAllWindows() {
  ForEachWindow([](TEditorWindow& w) { w.UpdateStatus(); });
}

void TEditorWindow::UpdateStatus() {
  if (!status_) return;
  const TDocumentFileSettings& file = Document().FileSettings();
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

TVornEditStrings& TEditorWindow::Lines() { return edit_->Lines(); }

QString TEditorWindow::ShownText() const {
  std::u16string rows;
  edit_->Lines().WriteText([&rows](std::string_view piece) { rows += Cp932ToUtf16(piece); }, "\n");
  return QString::fromUtf16(rows.data(), static_cast<qsizetype>(rows.size()));
}

// The file line holding the caret, and the caret column plus the byte lengths of the earlier
// rows of its line, so a wrapped line reads as one line.
QString TEditorWindow::CaretPositionText() const {
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

void TEditorWindow::ShowCaretPosition() {
  if (process_.editSinceStatus) {
    process_.lastEdit = TRowCol{edit_->Core().CaretRow(), edit_->Core().CaretCol()};
    process_.editSinceStatus = false;
  }
  UpdateStatus();
}

void TEditorWindow::ReportDroppedCharacters(int count) {
  if (!status_) return;
  status_->SetPanelText(TStatusPanels::spMessage,
                        QStringLiteral("Shift_JIS で表せない %1 文字は入力できませんでした").arg(count));
}

void TEditorWindow::ReportNulBytesReplaced(int count) {
  if (!status_) return;
  status_->SetPanelText(TStatusPanels::spMessage, QStringLiteral("NUL 文字 %1 個を空白に置き換えました").arg(count));
}

bool TEditorWindow::LoadDocument(const std::string& name, bool reload) {
  if (!reload && BroughtForwardElsewhere(name)) return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool loaded = Commands().LoadDocument(name);
  QApplication::restoreOverrideCursor();
  if (!loaded) return false;
  edit_->Core().SetCaretPos(0, 0);
  AfterDocumentCommand();
  RestoreFromHistory();
  AddDocumentFolderToHistory();
  WriteHistoryEntry();
  process_.ForgetLastEdit();
  UpdateStatus();
  journal_->AfterLoad(name);
  return true;
}

void TEditorWindow::JumpToLine(const TJumpTarget& target) {
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

void TEditorWindow::AfterDocumentCommand() {
  ForEachWindow([](TEditorWindow& w) { w.FollowDocument(); });
}

// The panes follow the document: read-only state (browse mode keeps a pane read-only), rows.
void TEditorWindow::FollowDocument() {
  ForEachPane([this](TVornEdit& pane) {
    TVornEditCore& core = pane.Core();
    if (!core.BrowseMode()) core.SetReadOnly(ReadOnly());
    if (core.CaretRow() > core.LastCaretRow()) core.SetCaretPos(core.LastCaretRow(), 0);
    pane.Flush();
  });
  if (FileName() != process_.appliedTypeName) {
    if (FileTypeFollowsNewName(process_.appliedTypeName, FileName())) ApplyFileType();
    process_.appliedTypeName = FileName();
  }
  UpdateTitle();
  UpdateStatus();
  ScheduleUpdate();
}

void TEditorWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) CheckFileOnActivation();
}

void TEditorWindow::CheckFileOnActivation() {
  if (FileName().empty()) return;
  if (Commands().CheckForeignChange() != TFileChange::Unchanged) AfterDocumentCommand();
}

const TBusFolder& TEditorWindow::CoordinationBus() { return bus_ ? bus_->Endpoint().Folder() : process_.Bus(); }

void TEditorWindow::ShowGrepResult(const TGrepOutcome& outcome) { grep_->ShowGrepResult(outcome); }

void TEditorWindow::RunHandedGrep() { grep_->RunHandedGrep(); }

void TEditorWindow::CloseWithoutQuestion() {
  closing_ = true;
  if (!close()) closing_ = false;
}

void TEditorWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TEditorWindow::dropEvent(QDropEvent* event) {
  std::vector<std::string> names;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) names.push_back(url.toLocalFile().toStdString());
  const std::vector<std::string> files = DroppedFiles(names);
  if (files.empty()) return;
  event->acceptProposedAction();
  fileCommands_->OpenFiles(files, false, ckSjis);
}

}  // namespace vorn
