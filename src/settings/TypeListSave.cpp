// Writing the type list: the index in Common.ini, one FSet ini and ".fbd" per type, stale
// files removed; and the export and import of single types.
#include "settings/TypeList.h"
#include "base/TextUtil.h"

#include "platform/VornUtil.h"
#include "platform/AtomicFile.h"
#include "settings/CommonIniUpdate.h"
#include "settings/SjisText.h"

#include <filesystem>
#include <system_error>

namespace vorn {

namespace {

// The number in "FSet<digits>.ini": the digits right after "FSet", none counting as 0; -1 for
// names that are not type files. Saturates instead of overflowing.
long long TypeFileNumber(const std::string& name) {
  if (name.size() < 8 || name.compare(0, 4, "FSet") != 0) return -1;
  const std::string ext = name.substr(name.size() - 4);
  if (ext != ".ini" && ext != ".fbd") return -1;
  long long n = 0;
  for (std::size_t i = 4; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
    n = std::min(n * 10 + (name[i] - '0'), 1LL << 40);
  return n;
}

std::string TypeSection(int index) { return "Type" + std::to_string(index); }

std::string ReadIniText(const std::string& path) {
  if (path.empty()) return {};
  return TVornMemInifile(path).GetText();
}

}  // namespace

void TTypeList::Save() {
  WriteTypeFiles();
  UpdateSharedIni(CommonIniPath(), [this](TCustomIniFile& ini) { SaveIndex(ini); });
}

void TTypeList::SaveIndex(TCustomIniFile& commonIni) {
  const int old = commonIni.ReadInteger("Type", "Count", 0);
  commonIni.WriteInteger("Type", "Count", Count());
  for (int i = 0; i < Count(); ++i) {
    commonIni.EraseSection(TypeSection(i));
    Items(i).SaveGeneral(commonIni, TypeSection(i));
  }
  for (int i = Count(); i < old; ++i) commonIni.EraseSection(TypeSection(i));
  version_ = CurrentVersion;
  commonIni.WriteInteger("Type", "Version", CurrentVersion);
}

void TTypeList::WriteTypeFiles() {
  // A type that changed position is read whole before any file is written, and every type
  // starts from the text of its own ini file (with the sections other parts keep there), all
  // taken before the first write: otherwise a type could pick up the files of the position it
  // moved to, or read its own after another type had overwritten them.
  std::vector<std::string> sources;
  for (int i = 0; i < Count(); ++i) {
    TFileSetting& type = Items(i);
    if (type.IniFileName() != TypeIniPath(i)) EnsureLoaded(type);
    sources.push_back(ReadIniText(type.IniFileName()));
  }
  for (int i = 0; i < Count(); ++i) {
    TFileSetting& type = Items(i);
    TVornMemInifile ini(TypeIniPath(i));
    ini.SetText(sources[static_cast<std::size_t>(i)]);
    if (type.Loaded()) type.SaveToIni(ini);
    else type.SaveGeneral(ini, "General");
    ini.UpdateFile();
    type.SetIniFileName(TypeIniPath(i));
    if (type.Loaded()) WriteFileAtomicallyOrThrow(type.FbdFileName(), type.SaveFbdBytes());
  }
  DeleteStaleTypeFiles();
}

void TTypeList::DeleteStaleTypeFiles() const {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folders_.User, ec)) {
    const std::string name = entry.path().filename().string();
    const long long number = TypeFileNumber(name);
    if (number >= Count()) std::filesystem::remove(entry.path(), ec);
  }
}

std::string TTypeList::Export(int index) {
  TFileSetting& type = Items(index);
  EnsureLoaded(type);
  const std::string base = type.Name == CommonTypeName() ? std::string("Std") : Utf8(SanitizeFileName(type.Name));
  const std::string path = folders_.Setting + base + ".ini";
  std::error_code ec;
  std::filesystem::create_directories(folders_.Setting, ec);
  TVornMemInifile ini(path);
  ini.SetText({});
  type.SaveToIni(ini);
  ini.UpdateFile();
  std::string fbd = path.substr(0, path.size() - 4) + ".fbd";
  WriteFileAtomicallyOrThrow(fbd, type.SaveFbdBytes());
  return path;
}

std::string TTypeList::UniqueName(const std::string& name) const {
  auto taken = [this](const std::string& candidate) {
    for (const auto& type : items_)
      if (type->Name == candidate) return true;
    return false;
  };
  if (!taken(name)) return name;
  for (int n = 1;; ++n) {
    const std::string candidate = name + "(" + std::to_string(n) + ")";
    if (!taken(candidate)) return candidate;
  }
}

int TTypeList::Import(const std::string& iniPath) {
  auto type = LoadTypeFile(iniPath);
  type->Name = UniqueName(type->Name);
  // Until the next save the type has no FSet file of its own; reading it again must not
  // reach back to the file it was imported from.
  type->SetIniFileName({});
  items_.push_back(std::move(type));
  return Count() - 1;
}

}  // namespace vorn
