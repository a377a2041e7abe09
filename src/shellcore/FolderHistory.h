// The folder history of the open and save dialogs, kept in "Common.ini" [FolderHistory].
#pragma once

#include <string>
#include <vector>

namespace vorn {

class TCustomIniFile;

struct TFolderEntry {
  std::string folder;   // native bytes
  bool fixed = false;   // never pushed out

  bool operator==(const TFolderEntry& o) const { return folder == o.folder && fixed == o.fixed; }
};

// What the open and save dialogs remember between uses: the folder history with its fixed
// flags (the dialog may change them) and the dialog's size, -1 when none was kept.
struct TFileDialogMemory {
  std::vector<TFolderEntry> folders;
  int width = -1;
  int height = -1;
};

// "Common.ini" [CommonDialog] Width and Height.
void ReadFileDialogSize(const TCustomIniFile& ini, TFileDialogMemory& memory);
void WriteFileDialogSize(TCustomIniFile& ini, const TFileDialogMemory& memory);

// The stored list: the first min(Count, limit) entries, fixed ones moved to the top in order.
std::vector<TFolderEntry> ReadFolderHistory(const TCustomIniFile& ini, int limit);

// Puts folder at the top (moved when present, compared exactly as the file system does), then
// drops unfixed entries from the end, never the first, while the list exceeds limit. Pure.
std::vector<TFolderEntry> AddToFolderHistory(std::vector<TFolderEntry> list, const std::string& folder, int limit);

// Writes Count, FolderN and FolderFixedN, deleting the keys from Count to 29. Folders that
// code page 932 cannot hold are left out. The caller saves the file.
void WriteFolderHistory(TCustomIniFile& ini, const std::vector<TFolderEntry>& list);

// Adding a folder: nothing when limit is 0; the dialog's list (with its changed fixed flags)
// when given, else the stored one; the result written and the ini file saved.
void AddFolder(TCustomIniFile& ini, const std::string& folder, int limit,
               const std::vector<TFolderEntry>* dialogList = nullptr);

}  // namespace vorn
