// TVornEditMain: the file history (caret restored on load, entry written on load, save and
// close), the folder history, and the question whether another editor shows a file.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "settings/CommonIniUpdate.h"
#include "settings/VornMemInifile.h"
#include "shell/StatusPanels.h"
#include "shellcore/FileHistoryStore.h"
#include "shellcore/FolderHistory.h"
#include "shellcore/InstanceCoordination.h"

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

// The caret goes to the remembered offset and its row to the middle of the pane, so the
// user sees the text around where they left off rather than a caret on the last row.
void TVornEditMain::RestoreCaretFromHistory() {
  if (!reserveCaret_ || FileName().empty()) return;
  std::string message;
  TFileHistoryStore(HistoryUserFolder()).Load(history_, message);
  const TFileInfo* entry = history_.Find(FileName());
  if (!entry) return;
  TVornEditCore& core = edit_->Core();
  core.SetCaretOffset(entry->caret);
  core.SetTopRow(std::max(0, core.CaretRow() - core.VisibleRows() / 2));
}

void TVornEditMain::WriteHistoryEntry() {
  if (FileName().empty()) return;
  WriteHistoryEntry(FileName(), edit_->Core().GetCaretOffset());
}

// A history that cannot be written costs the user a remembered caret, never the document:
// the failure goes to the status bar instead of a box in the middle of a save or close.
void TVornEditMain::WriteHistoryEntry(const std::string& name, int caretOffset) {
  if (!HistoryEnabled() || name.empty()) return;
  std::string message;
  const auto result = TFileHistoryStore(HistoryUserFolder()).WriteEntry(
      history_, CanonicalFileName(name), [caretOffset](TFileInfo& info) { info.caret = caretOffset; }, message);
  if (result != TFileHistoryStore::hrOk) {
    if (status_ && !message.empty()) status_->SetPanelText(TStatusPanels::spMessage, QString::fromStdString(message));
    return;
  }
  history_.SetMenuNeedsRebuild(true);
  BroadcastFileHistoryReload(Bus(), 0);
}

void TVornEditMain::AddDocumentFolderToHistory() {
  if (!HistoryEnabled() || folderHistCount_ <= 0 || FileName().empty()) return;
  const std::string name = CanonicalFileName(FileName());
  const auto slash = name.find_last_of('/');
  if (slash == std::string::npos) return;
  const std::string folder = name.substr(0, slash + 1);
  const int limit = folderHistCount_;
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
  if (!restrictAlreadyOpenMsg_) documentPrompts_.Inform(CanonicalFileName(name) + "は、既に開かれています");
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
