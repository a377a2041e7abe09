// Reading, adding to and writing the folder history section.
#include "shellcore/FolderHistory.h"

#include <algorithm>

#include "settings/VornMemInifile.h"
#include "shellcore/HistoryNames.h"

namespace vorn {
namespace {

constexpr const char* kSection = "FolderHistory";
constexpr int kStoredKeys = 30;

std::string Key(const char* stem, int n) { return stem + std::to_string(n); }

}  // namespace

std::vector<TFolderEntry> ReadFolderHistory(const TCustomIniFile& ini, int limit) {
  const int count = std::min(ini.ReadInteger(kSection, "Count", 0), limit);
  std::vector<TFolderEntry> list;
  for (int n = 0; n < count; ++n) {
    TFolderEntry e;
    e.folder = SjisNameToNative(ini.ReadString(kSection, Key("Folder", n), ""));
    e.fixed = ini.ReadBool(kSection, Key("FolderFixed", n), false);
    list.push_back(std::move(e));
  }
  std::stable_partition(list.begin(), list.end(), [](const TFolderEntry& e) { return e.fixed; });
  return list;
}

std::vector<TFolderEntry> AddToFolderHistory(std::vector<TFolderEntry> list, const std::string& folder, int limit) {
  auto it = std::find_if(list.begin(), list.end(), [&](const TFolderEntry& e) { return e.folder == folder; });
  if (it != list.end())
    std::rotate(list.begin(), it, it + 1);
  else
    list.insert(list.begin(), TFolderEntry{folder, false});
  for (int i = static_cast<int>(list.size()) - 1; i >= 1 && static_cast<int>(list.size()) > limit; --i)
    if (!list[i].fixed) list.erase(list.begin() + i);
  return list;
}

void WriteFolderHistory(TCustomIniFile& ini, const std::vector<TFolderEntry>& list) {
  int n = 0;
  for (const TFolderEntry& e : list) {
    std::string sjis;
    if (!NativeNameToSjis(e.folder, sjis)) continue;
    ini.WriteString(kSection, Key("Folder", n), sjis);
    ini.WriteBool(kSection, Key("FolderFixed", n), e.fixed);
    ++n;
  }
  ini.WriteInteger(kSection, "Count", n);
  for (int k = n; k < kStoredKeys; ++k) {
    ini.DeleteKey(kSection, Key("Folder", k));
    ini.DeleteKey(kSection, Key("FolderFixed", k));
  }
}

void ReadFileDialogSize(const TCustomIniFile& ini, TFileDialogMemory& memory) {
  memory.width = ini.ReadInteger("CommonDialog", "Width", -1);
  memory.height = ini.ReadInteger("CommonDialog", "Height", -1);
}

void WriteFileDialogSize(TCustomIniFile& ini, const TFileDialogMemory& memory) {
  ini.WriteInteger("CommonDialog", "Width", memory.width);
  ini.WriteInteger("CommonDialog", "Height", memory.height);
}

void AddFolder(TCustomIniFile& ini, const std::string& folder, int limit, const std::vector<TFolderEntry>* dialogList) {
  if (limit <= 0) return;
  std::vector<TFolderEntry> list = dialogList ? *dialogList : ReadFolderHistory(ini, limit);
  WriteFolderHistory(ini, AddToFolderHistory(std::move(list), folder, limit));
  ini.UpdateFile();
}

}  // namespace vorn
