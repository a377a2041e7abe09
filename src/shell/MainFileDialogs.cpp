// TVornEditMain: what the open and save dialogs remember in "Common.ini" between uses, their
// size and the folder history with its fixed flags.
#include "shell/Main.h"

#include "platform/VornUtil.h"
#include "settings/CommonIniUpdate.h"
#include "settings/VornMemInifile.h"

#include <exception>

namespace vorn {

// A Common.ini that cannot be read leaves the dialog as it comes, never unopened.
TFileDialogMemory TVornEditMain::ReadFileDialogMemory() {
  TFileDialogMemory memory;
  try {
    const TVornMemInifile ini(HistoryUserFolder() + "Common.ini");
    ReadFileDialogSize(ini, memory);
    if (common_.FolderHistCount > 0) memory.folders = ReadFolderHistory(ini, common_.FolderHistCount);
  } catch (const std::exception& e) {
    ShowHistoryMessage(e.what());
  }
  return memory;
}

// The size is kept however the dialog closed; the folder list, with the flags the user
// changed in it, only with a chosen file, whose folder goes to its top.
void TVornEditMain::KeepFileDialogMemory(const TFileDialogMemory& memory, const std::string& chosenName) {
  const int limit = common_.FolderHistCount;
  std::string folder;
  if (!chosenName.empty() && limit > 0) {
    const std::string name = CanonicalFileName(chosenName);
    folder = name.substr(0, name.find_last_of('/') + 1);
  }
  try {
    UpdateSharedIni(HistoryUserFolder() + "Common.ini", [&](TCustomIniFile& ini) {
      WriteFileDialogSize(ini, memory);
      if (!folder.empty()) WriteFolderHistory(ini, AddToFolderHistory(memory.folders, folder, limit));
    });
  } catch (const std::exception& e) {
    ShowHistoryMessage(e.what());
  }
}

}  // namespace vorn
