// The two small binary files of the key map.
#include "shellcore/KeyMapFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "base/VornError.h"
#include "platform/AtomicFile.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

std::string InFolder(const std::string& folder, const char* name) {
  if (folder.empty() || folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string FullName(const std::string& path) {
  std::error_code ec;
  const auto full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// false when the file does not exist; raises when it exists and stays unreadable.
bool ReadSettingsFile(const std::string& path, const TShareRetry& retry, std::string& bytes) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return false;
  const int err = ReadFileDenyingWritersWithRetry(path, bytes, retry);
  if (err == ENOENT) return false;
  if (err != 0) throw EFileOpenError(FullName(path), std::strerror(err));
  return true;
}

std::int32_t Int32At(const std::string& bytes, std::size_t offset) {
  std::uint32_t u = 0;
  for (int b = 3; b >= 0; --b) u = (u << 8) | static_cast<unsigned char>(bytes[offset + b]);
  return static_cast<std::int32_t>(u);
}

void AppendInt32(std::string& bytes, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((u >> shift) & 0xFF);
}

}  // namespace

TKeyTable& ProcessKeyTable() {
  static TKeyTable table = TKeyTable::BuiltIn();
  return table;
}

TKeyFileResult LoadKeyFile(const std::string& userFolder, TKeyTable& table, const TShareRetry& retry) {
  std::string bytes;
  if (!ReadSettingsFile(InFolder(userFolder, kKeyFileName), retry, bytes)) return kfMissing;
  if (bytes.size() != static_cast<std::size_t>(kKeyTableBytes)) {
    table = TKeyTable::BuiltIn();
    return kfWrongSize;
  }
  table.AssignFromBytes(bytes);
  return kfLoaded;
}

void SaveKeyFile(const std::string& userFolder, const TKeyTable& table) {
  WriteFileAtomicallyOrThrow(InFolder(userFolder, kKeyFileName), table.ToBytes());
}

std::vector<int> DefaultToolBar() {
  std::vector<int> buttons;
  for (const char* name : {"NewFile", "LoadFromFile", "SaveFile", "Print", "-", "Find", "-", "Undo", "Redo", "Cut",
                           "Copy", "Paste", "-", "LeftAlign", "CenterAlign", "RightAlign"})
    buttons.push_back(name[0] == '-' ? kToolBarSeparator : FunctionByName(name)->Number);
  return buttons;
}

std::vector<int> ParseToolBarBytes(const std::string& bytes) {
  if (bytes.size() < 4) return {};
  const std::int32_t stored = Int32At(bytes, 0);
  const std::size_t present = (bytes.size() - 4) / 4;
  const std::size_t count = stored <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(stored), present);
  std::vector<int> buttons;
  buttons.reserve(count);
  // The file lists the buttons from right to left.
  for (std::size_t i = count; i-- > 0;) buttons.push_back(Int32At(bytes, 4 + 4 * i));
  return buttons;
}

std::string ToolBarBytes(const std::vector<int>& buttons) {
  std::string bytes;
  AppendInt32(bytes, static_cast<std::int32_t>(buttons.size()));
  for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) AppendInt32(bytes, *it);
  return bytes;
}

std::vector<int> LoadToolBarFile(const std::string& userFolder, const TShareRetry& retry) {
  std::string bytes;
  if (!ReadSettingsFile(InFolder(userFolder, kToolBarFileName), retry, bytes)) return DefaultToolBar();
  return ParseToolBarBytes(bytes);
}

void SaveToolBarFile(const std::string& userFolder, const std::vector<int>& buttons) {
  WriteFileAtomicallyOrThrow(InFolder(userFolder, kToolBarFileName), ToolBarBytes(buttons));
}

}  // namespace vorn
