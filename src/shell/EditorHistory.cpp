// TEditorWindow: the file history (caret and marks restored on load, entry written on load,
// save and close), the folder history, and the question whether another editor shows a file.
#include "shell/EditorWindow.h"

#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "settings/CommonIniUpdate.h"
#include "settings/VornMemInifile.h"
#include "shell/StatusPanels.h"
#include "shellcore/FileHistoryStore.h"
#include "shellcore/FolderHistory.h"
#include "shellcore/InstanceCoordination.h"
#include "store/EditLineMark.h"

#include <filesystem>
#include <map>
#include <system_error>

namespace vorn {

void TEditorWindow::SetHistoryPlaces(std::string userFolder, std::string busRuntimeFolder) {
  Services().historyUserFolder = std::move(userFolder);
  Services().busRuntimeFolder = std::move(busRuntimeFolder);
}

bool TEditorWindow::HistoryEnabled() const { return !process_.plan.noHistory; }

void TEditorWindow::LoadFileHistory() {
  std::string message;
  if (TFileHistoryStore(process_.HistoryUserFolder()).Load(process_.history, message) != TFileHistoryStore::hrNoFile)
    process_.history.SetMenuNeedsRebuild(true);
  if (!message.empty()) ShowMessage(message);
}

// Marks of the text that was shown before never carry over to the new one, whatever the
// history says about it.
void TEditorWindow::RestoreFromHistory() {
  edit_->Core().Store().LineMarkTable().ClearMarks(true, true);
  if (FileName().empty() || (!process_.common.ReserveCaret && !process_.common.ReserveMark)) return;
  LoadFileHistory();
  const TFileInfo* entry = process_.history.Find(FileName());
  if (!entry) return;
  if (process_.common.ReserveCaret) RestoreCaret(*entry);
  if (process_.common.ReserveMark) RestoreMarks(*entry);
}

// The caret goes to the remembered offset and its row to the middle of the pane, so the
// user sees the text around where they left off rather than a caret on the last row. A
// split window shows it in the upper pane, the lower one carrying on right below.
void TEditorWindow::RestoreCaret(const TFileInfo& entry) {
  if (Split() && edit_ != Pane(0)) MakePaneCurrent(Pane(0));
  TVornEditCore& core = edit_->Core();
  core.SetCaretOffset(entry.caret);
  const int top = std::max(0, core.CaretRow() - core.VisibleRows() / 2);
  core.SetTopRow(top);
  edit_->Flush();
  if (TVornEdit* lower = Pane(1)) {
    const int lowerTop = std::min(top + core.VisibleRows(), lower->Core().LastCaretRow());
    lower->Core().SetTopRow(lowerTop);
    lower->Core().SetCaretPos(lowerTop, 0);
    lower->Flush();
  }
}

// A stored file may come from an older text or another program: marks past the end or below
// zero are dropped rather than pointing nowhere.
void TEditorWindow::RestoreMarks(const TFileInfo& entry) {
  TVornEditLineMark& marks = edit_->Core().Store().LineMarkTable();
  const int lines = edit_->Core().Store().LineCount();
  marks.BeginUpdate();
  for (int n = 0; n < TVornEditLineMark::NumberedCount; ++n) {
    const int line = entry.numberedMarks[static_cast<std::size_t>(n)];
    marks.SetNumbered(n, line >= 0 && line < lines ? line : -1);
  }
  for (const std::int32_t line : entry.marks)
    if (line >= 0 && line < lines) marks.AddUnnumbered(line);
  marks.EndUpdate();
}

TFileInfo TEditorWindow::PaneHistoryState() const {
  TFileInfo state;
  state.caret = edit_->Core().GetCaretOffset();
  const TVornEditLineMark& marks = edit_->Core().Store().LineMarkTable();
  for (int n = 0; n < TVornEditLineMark::NumberedCount; ++n) state.numberedMarks[static_cast<std::size_t>(n)] = marks.Numbered(n);
  for (int i = 0; i < marks.UnnumberedCount(); ++i) state.marks.push_back(marks.Unnumbered(i));
  return state;
}

void TEditorWindow::WriteHistoryEntry() {
  if (FileName().empty()) return;
  WriteHistoryEntry(FileName(), PaneHistoryState());
}

// A history that cannot be written costs the user a remembered caret, never the document:
// the failure goes to the status bar instead of a box in the middle of a save or close.
void TEditorWindow::WriteHistoryEntry(const std::string& name, const TFileInfo& state) {
  if (!HistoryEnabled() || name.empty()) return;
  std::string message;
  const auto result = TFileHistoryStore(process_.HistoryUserFolder()).WriteEntry(
      process_.history, CanonicalFileName(name),
      [&state](TFileInfo& info) {
        info.caret = state.caret;
        info.numberedMarks = state.numberedMarks;
        info.marks = state.marks;
      },
      message);
  if (result != TFileHistoryStore::hrOk) {
    ShowMessage(message);
    return;
  }
  process_.history.SetMenuNeedsRebuild(true);
  BroadcastFileHistoryReload(process_.Bus(), BusId());
}

void TEditorWindow::AddDocumentFolderToHistory() {
  if (!HistoryEnabled() || process_.common.FolderHistCount <= 0 || FileName().empty()) return;
  const std::string name = CanonicalFileName(FileName());
  const auto slash = name.find_last_of('/');
  if (slash == std::string::npos) return;
  const std::string folder = name.substr(0, slash + 1);
  const int limit = process_.common.FolderHistCount;
  // As with the file history, a folder history that cannot be written must not stop the load;
  // a user folder that does not exist yet is made.
  try {
    std::error_code ignored;
    std::filesystem::create_directories(process_.HistoryUserFolder(), ignored);
    UpdateSharedIni(process_.HistoryUserFolder() + "Common.ini", [&folder, limit](TCustomIniFile& ini) {
      WriteFolderHistory(ini, AddToFolderHistory(ReadFolderHistory(ini, limit), folder, limit));
    });
  } catch (const std::exception& e) {
    if (status_) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(e.what()));
  }
}

// The window's own endpoint is left out of the query: it would be asked from the thread that
// must answer it, and every open would wait out the query's time-out.
std::int64_t TEditorWindow::WindowShowingFile(const std::string& name) {
  return FindWindowShowingFile(process_.Bus(), name, BusId(), std::string());
}

bool TEditorWindow::BroughtForwardElsewhere(const std::string& name) {
  const std::int64_t window = WindowShowingFile(name);
  if (window == 0) return false;
  if (!process_.common.RestrictAlreadyOpenMsg) Prompts().Inform(CanonicalFileName(name) + "は、既に開かれています");
  std::string message;
  if (!ActivateWindow(process_.Bus(), window, message) && status_)
    status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
  return true;
}

std::vector<std::string> TEditorWindow::BringForwardWindowsShowing(const std::vector<std::string>& names,
                                                                    const TWindowLookup& lookup) {
  std::vector<std::string> failed;
  for (const std::string& name : names) {
    std::string message;
    if (!ActivateWindow(process_.Bus(), lookup(name), message)) {
      failed.push_back(name);
      if (status_) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
    }
  }
  return failed;
}

}  // namespace vorn
