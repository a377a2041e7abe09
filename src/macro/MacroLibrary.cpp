// Macro files by name, the macro list's rows and name matching, and the numbered slots.
#include "macro/MacroLibrary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/sjis.h"
#include "macro/MacroFile.h"
#include "platform/VornUtil.h"
#include "shellcore/HistoryNames.h"

namespace vorn {
namespace {

// ASCII letters fold; the bytes of UTF-8 characters compare as they are.
char Fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNameI(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool StartsWithI(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameNameI(text.substr(0, prefix.size()), prefix);
}

bool LessNameI(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Fold(x) < Fold(y); });
}

bool HasExtension(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
  return file.find('.') != std::string_view::npos;
}

// A folder as this platform writes it: "/" separators (settings written elsewhere hold "\")
// and a trailing "/"; empty stays empty.
std::string FolderWithSeparator(std::string folder) {
  std::replace(folder.begin(), folder.end(), '\\', '/');
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string ToSjis(const std::string& native) {
  std::string sjis;
  NativeNameToSjis(native, sjis);  // a value the code page cannot hold names no file found here
  return sjis;
}

TPathVariableValues SjisValues(const TPathVariableValues& v) {
  TPathVariableValues s;
  s.windows = ToSjis(v.windows);
  s.system = ToSjis(v.system);
  s.temp = ToSjis(v.temp);
  s.desktop = ToSjis(v.desktop);
  s.personal = ToSjis(v.personal);
  s.startMenu = ToSjis(v.startMenu);
  s.startup = ToSjis(v.startup);
  s.exec = ToSjis(v.exec);
  s.macro = ToSjis(v.macro);
  s.user = ToSjis(v.user);
  s.openFileName = ToSjis(v.openFileName);
  return s;
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code ea, eb;
  const auto ca = std::filesystem::weakly_canonical(a, ea), cb = std::filesystem::weakly_canonical(b, eb);
  return !ea && !eb && ca == cb;
}

void AddFolderRows(const std::string& folder, const std::vector<std::string>& slotFiles,
                   std::vector<TMacroListRow>& rows) {
  std::error_code error;
  std::vector<TMacroListRow> found;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() < 4 || !SameNameI(name.substr(name.size() - 4), ".mac") || !IsRegularFile(it->path().string()))
      continue;
    TMacroListRow row;
    row.Name = name;
    row.Path = folder + name;
    const auto slot = std::find(slotFiles.begin(), slotFiles.end(), row.Path);
    row.Slot = slot == slotFiles.end() ? 0 : static_cast<int>(slot - slotFiles.begin()) + 1;
    row.Description = ReadMacroListDescription(row.Path);
    found.push_back(std::move(row));
  }
  // The folder's own order is the file system's; the program folder's rows still come first.
  std::sort(found.begin(), found.end(), [](const TMacroListRow& a, const TMacroListRow& b) { return a.Name < b.Name; });
  rows.insert(rows.end(), found.begin(), found.end());
}

}  // namespace

std::string ExpandMacroArgumentPath(std::string_view sjisText, const TPathVariableValues& values) {
  return ExpandPathVariables(sjisText, SjisValues(values));
}

std::string ExpandMacroFolder(std::string_view sjisFolder, const TPathVariableValues& values) {
  return FolderWithSeparator(SjisNameToNative(ExpandPathVariables(sjisFolder, SjisValues(values))));
}

std::optional<std::string> ResolveMacroFile(std::string_view sjisName, const TMacroFolders& folders) {
  std::string name = SjisNameToNative(ExpandPathVariables(sjisName, SjisValues(folders.Variables)));
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.empty()) return std::nullopt;
  if (!HasExtension(name)) name += ".mac";
  if (name.find('/') != std::string::npos) return IsRegularFile(name) ? std::optional(name) : std::nullopt;
  for (const std::string& folder : {FolderWithSeparator(folders.ProgramMacro), FolderWithSeparator(folders.TypeMacro)})
    if (!folder.empty() && IsRegularFile(folder + name)) return folder + name;
  return std::nullopt;
}

std::vector<TMacroListRow> ListMacroFiles(const TMacroFolders& folders, const std::vector<std::string>& slotFiles) {
  std::vector<TMacroListRow> rows;
  const std::string program = FolderWithSeparator(folders.ProgramMacro);
  const std::string type = FolderWithSeparator(folders.TypeMacro);
  if (!program.empty()) AddFolderRows(program, slotFiles, rows);
  if (!type.empty() && (program.empty() || !SameFolder(program, type))) AddFolderRows(type, slotFiles, rows);
  std::stable_sort(rows.begin(), rows.end(),
                   [](const TMacroListRow& a, const TMacroListRow& b) { return LessNameI(a.Name, b.Name); });
  return rows;
}

TMacroNameMatch MatchMacroName(const std::vector<TMacroListRow>& rows, std::string_view typed) {
  TMacroNameMatch match;
  const std::string whole = HasExtension(typed) ? std::string(typed) : std::string(typed) + ".mac";
  int starting = 0, onlyStarting = -1;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const std::string& name = rows[static_cast<std::size_t>(i)].Name;
    if (match.Selected < 0 && SameNameI(name, whole)) match.Selected = i;
    if (!StartsWithI(name, typed)) continue;
    if (match.Focus < 0) match.Focus = i;
    ++starting;
    onlyStarting = i;
  }
  if (match.Selected < 0 && starting == 1) match.Selected = onlyStarting;
  return match;
}

std::string MacroFieldName(const TMacroListRow& row) {
  const std::size_t dot = row.Name.rfind('.');
  return dot == std::string::npos ? row.Name : row.Name.substr(0, dot);
}

void TMacroSlots::Apply(const std::vector<std::string>& files, const std::vector<std::string>& strings) {
  for (int i = 0; i < kCount; ++i) {
    TMacroSet& slot = slots_[static_cast<std::size_t>(i)];
    slot = TMacroSet{};
    if (static_cast<std::size_t>(i) < files.size()) slot.FileName = files[static_cast<std::size_t>(i)];
    if (!slot.FileName.empty()) slot.Description = ReadMacroListDescription(slot.FileName);
  }
  for (int i = 0; i < kStringCount; ++i)
    strings_[static_cast<std::size_t>(i)] = static_cast<std::size_t>(i) < strings.size() ? strings[static_cast<std::size_t>(i)] : std::string();
}

std::vector<std::string> TMacroSlots::Files() const {
  std::vector<std::string> files;
  for (const TMacroSet& slot : slots_) files.push_back(slot.FileName);
  return files;
}

}  // namespace vorn
