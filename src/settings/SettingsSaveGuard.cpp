// Fingerprints of the settings files and the guarded save.
#include "settings/SettingsSaveGuard.h"

#include "platform/FileBytes.h"
#include "platform/NamedLock.h"
#include "platform/VornUtil.h"
#include "settings/VornMemInifile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vorn {

const char* const kSettingsDialogLockName = "VORNEDITOR_SETTINGS_DIALOG_MUTEX";

namespace {

constexpr int kLockTimeoutMs = 10000;

class TFnv {
public:
  void Add(std::string_view bytes) {
    for (unsigned char c : bytes) hash_ = (hash_ ^ c) * 0x100000001B3ull;
    // A separator, so that moving bytes from one part to the next changes the hash.
    hash_ = (hash_ ^ 0xFFu) * 0x100000001B3ull;
  }
  std::uint64_t Value() const { return hash_; }

private:
  std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

// A missing or unreadable file counts as its own state, not as an empty file.
void AddFile(TFnv& h, const std::string& path) {
  h.Add(path);
  if (!IsRegularFile(path)) {
    h.Add("<none>");
    return;
  }
  try {
    const TByteBuffer bytes = ReadFileBytes(path);
    h.Add(std::string_view(bytes.Data(), bytes.Size()));
  } catch (const std::exception&) {
    h.Add("<unreadable>");
  }
}

bool IsTypeFile(const std::string& name) {
  if (name.size() < 8 || name.compare(0, 4, "FSet") != 0) return false;
  const std::string ext = name.substr(name.size() - 4);
  return ext == ".ini" || ext == ".fbd";
}

}  // namespace

std::uint64_t TypeSettingsFingerprint(const std::string& userFolder) {
  TFnv h;
  const TVornMemInifile common(userFolder + "Common.ini");
  std::vector<std::string> sections;
  common.ReadSections(sections);
  for (const std::string& s : sections) {
    if (s.size() < 4 || s.compare(0, 4, "Type") != 0) continue;
    std::vector<std::string> lines;
    common.ReadSectionValues(s, lines);
    h.Add(s);
    for (const std::string& line : lines) h.Add(line);
  }
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(userFolder, ec)) {
    const std::string name = entry.path().filename().string();
    if (IsTypeFile(name)) files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  for (const std::string& name : files) AddFile(h, userFolder + name);
  return h.Value();
}

std::uint64_t KeyMapFingerprint(const std::string& userFolder) {
  TFnv h;
  AddFile(h, userFolder + "Key.dat");
  AddFile(h, userFolder + "ToolBar.dat");
  return h.Value();
}

std::string ConcurrentSaveQuestion(const std::string& whatUtf8) {
  return "この画面を開いた後に、ほかのエディタが" + whatUtf8 +
         "を保存しました。\r\nほかのエディタの設定を残しますか？\r\n（はい: この画面の変更を保存しない / "
         "いいえ: この画面の設定で上書きする）";
}

TSettingsSaveGuard::TSettingsSaveGuard(TFingerprint fingerprint)
    : fingerprint_(std::move(fingerprint)), opened_(fingerprint_()) {}

bool TSettingsSaveGuard::ChangedElsewhere() const { return fingerprint_() != opened_; }

bool TSettingsSaveGuard::Save(const std::function<bool()>& keepOthers, const std::function<void()>& save) {
  TNamedLock lock;
  // A peer hung while holding the lock must not cost the user the change.
  lock.Acquire(kSettingsDialogLockName, kLockTimeoutMs);
  if (ChangedElsewhere() && keepOthers()) return false;
  save();
  opened_ = fingerprint_();
  return true;
}

}  // namespace vorn
