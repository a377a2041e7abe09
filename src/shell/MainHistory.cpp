// TVornEditMain: the file history (caret and marks restored on load, entry written on load,
// save and close), the folder history, and the question whether another editor shows a file.
#include "shell/Main.h"

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

void TVornEditMain::SetHistoryPlaces(std::string userFolder, std::string busRuntimeFolder) {
  historyUserFolder_ = std::move(userFolder);
  busFolder_ = std::make_unique<TBusFolder>(std::move(busRuntimeFolder));
}

std::string TVornEditMain::HistoryUserFolder() const {
  return historyUserFolder_.empty() ? UserFolder() : historyUserFolder_;
}

const TBusFolder& TVornEditMain::Bus() {
  if (!busFolder_) busFolder_ = std::make_unique<TBusFolder>(TBusFolder::Default());
  return *busFolder_;
}

bool TVornEditMain::HistoryEnabled() const { return !stationMode_ && !plan_.noHistory; }

void TVornEditMain::LoadFileHistory() {
  std::string message;
  if (TFileHistoryStore(HistoryUserFolder()).Load(history_, message) != TFileHistoryStore::hrNoFile)
    history_.SetMenuNeedsRebuild(true);
  if (!message.empty()) ShowHistoryMessage(message);
}

void TVornEditMain::ShowHistoryMessage(const std::string& message) {
  if (status_ && !message.empty()) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
}

// Marks of the text that was shown before never carry over to the new one, whatever the
// history says about it.
void TVornEditMain::RestoreFromHistory() {
  edit_->Core().Store().LineMarkTable().ClearMarks(true, true);
  if (FileName().empty() || (!common_.ReserveCaret && !common_.ReserveMark)) return;
  LoadFileHistory();
  const TFileInfo* entry = history_.Find(FileName());
  if (!entry) return;
  if (common_.ReserveCaret) RestoreCaret(*entry);
  if (common_.ReserveMark) RestoreMarks(*entry);
}

// The caret goes to the remembered offset and its row to the middle of the pane, so the
// user sees the text around where they left off rather than a caret on the last row. A
// split window shows it in the upper pane, the lower one carrying on right below.
void TVornEditMain::RestoreCaret(const TFileInfo& entry) {
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
void TVornEditMain::RestoreMarks(const TFileInfo& entry) {
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

TFileInfo TVornEditMain::PaneHistoryState() const {
  TFileInfo state;
  state.caret = edit_->Core().GetCaretOffset();
  const TVornEditLineMark& marks = edit_->Core().Store().LineMarkTable();
  for (int n = 0; n < TVornEditLineMark::NumberedCount; ++n) state.numberedMarks[static_cast<std::size_t>(n)] = marks.Numbered(n);
  for (int i = 0; i < marks.UnnumberedCount(); ++i) state.marks.push_back(marks.Unnumbered(i));
  return state;
}

void TVornEditMain::WriteHistoryEntry() {
  if (FileName().empty()) return;
  WriteHistoryEntry(FileName(), PaneHistoryState());
}

// A history that cannot be written costs the user a remembered caret, never the document:
// the failure goes to the status bar instead of a box in the middle of a save or close.
void TVornEditMain::WriteHistoryEntry(const std::string& name, const TFileInfo& state) {
  if (!HistoryEnabled() || name.empty()) return;
  std::string message;
  const auto result = TFileHistoryStore(HistoryUserFolder()).WriteEntry(
      history_, CanonicalFileName(name),
      [&state](TFileInfo& info) {
        info.caret = state.caret;
        info.numberedMarks = state.numberedMarks;
        info.marks = state.marks;
      },
      message);
  if (result != TFileHistoryStore::hrOk) {
    ShowHistoryMessage(message);
    return;
  }
  history_.SetMenuNeedsRebuild(true);
  BroadcastFileHistoryReload(Bus(), BusId());
}

void TVornEditMain::AddDocumentFolderToHistory() {
  if (!HistoryEnabled() || common_.FolderHistCount <= 0 || FileName().empty()) return;
  const std::string name = CanonicalFileName(FileName());
  const auto slash = name.find_last_of('/');
  if (slash == std::string::npos) return;
  const std::string folder = name.substr(0, slash + 1);
  const int limit = common_.FolderHistCount;
  // As with the file history, a folder history that cannot be written must not stop the load;
  // a user folder that does not exist yet is made.
  try {
    std::error_code ignored;
    std::filesystem::create_directories(HistoryUserFolder(), ignored);
    UpdateSharedIni(HistoryUserFolder() + "Common.ini", [&folder, limit](TCustomIniFile& ini) {
      WriteFolderHistory(ini, AddToFolderHistory(ReadFolderHistory(ini, limit), folder, limit));
    });
  } catch (const std::exception& e) {
    if (status_) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(e.what()));
  }
}

// The window's own endpoint is left out of the query: it would be asked from the thread that
// must answer it, and every open would wait out the query's time-out.
std::int64_t TVornEditMain::WindowShowingFile(const std::string& name) {
  return FindWindowShowingFile(Bus(), name, BusId(), std::string());
}

bool TVornEditMain::BroughtForwardElsewhere(const std::string& name) {
  const std::int64_t window = WindowShowingFile(name);
  if (window == 0) return false;
  if (!common_.RestrictAlreadyOpenMsg) documentPrompts_.Inform(CanonicalFileName(name) + "は、既に開かれています");
  std::string message;
  if (!ActivateWindow(Bus(), window, message) && status_)
    status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
  return true;
}

std::vector<std::string> TVornEditMain::BringForwardWindowsShowing(const std::vector<std::string>& names,
                                                                    const TWindowLookup& lookup) {
  std::vector<std::string> failed;
  for (const std::string& name : names) {
    std::string message;
    if (!ActivateWindow(Bus(), lookup(name), message)) {
      failed.push_back(name);
      if (status_) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
    }
  }
  return failed;
}

}  // namespace vorn
