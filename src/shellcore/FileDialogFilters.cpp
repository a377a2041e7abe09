// Filter lists of the file dialogs and the default-extension rule of the save dialogs.
#include "shellcore/FileDialogFilters.h"

#include "platform/PathPolicy.h"

namespace vorn {

namespace {

const char* const kOpenFilters =
    "すべてのファイル(*.*)|*.*|テキストファイル(*.txt)|*.txt|Ｃ言語関連(*.c *.cpp *.h)|*.c;*.cpp;*.h"
    "|Delphi関連(*.pas *.dpr)|*.pas;*.dpr|アセンブラ関連(*.asm *.inc)|*.asm;*.inc"
    "|HTML関連(*.html *.htm)|*.html;*.htm";
const char* const kSaveFilters =
    "すべてのファイル(*.*)|*.*|テキストファイル(*.txt)|*.txt|Ｃ言語関連(*.c)|*.c;*.cpp;*.h"
    "|Dephi関連(*.pas)|*.pas;*.dpr|アセンブラ関連(*.asm)|*.asm;*.inc|HTML関連(*.html)|*.html;*.htm";
const std::vector<std::string> kSaveExtensions = {"", ".txt", ".c", ".pas", ".asm", ".html"};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

TFileFilter OpenFileFilter(const std::string& extension) {
  return {"開いているファイル(*" + extension + ")", {"*" + extension}};
}

}  // namespace

std::vector<TFileFilter> ParseFilterText(const std::string& text) {
  const std::vector<std::string> parts = Split(text, '|');
  std::vector<TFileFilter> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], Split(parts[i + 1], ';')});
  return filters;
}

std::string ExtensionOf(const std::string& path) {
  const std::string name = ExtractFileName(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool FileTypeFollowsNewName(const std::string& oldName, const std::string& newName) {
  if (oldName.empty()) return true;
  std::string a = ExtensionOf(oldName), b = ExtensionOf(newName);
  auto lower = [](std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  };
  return lower(a) != lower(b);
}

TFilterList OpenDialogFilters(bool offerOpenExtension, const std::string& givenName) {
  TFilterList list;
  list.filters = ParseFilterText(kOpenFilters);
  const std::string extension = ExtensionOf(givenName);
  if (offerOpenExtension && !extension.empty()) {
    list.filters.insert(list.filters.begin() + 1, OpenFileFilter(extension));
    list.selected = 1;
  }
  list.defaultExtensions.assign(list.filters.size(), std::string());
  return list;
}

TFilterList SaveDialogFilters(const std::string& fileName) {
  TFilterList list;
  list.filters = ParseFilterText(kSaveFilters);
  list.defaultExtensions = kSaveExtensions;
  const std::string extension = ExtensionOf(fileName);
  if (!extension.empty()) {
    list.filters.insert(list.filters.begin() + 1, OpenFileFilter(extension));
    // The first filter keeps the open file's extension; the inserted one writes the name as typed.
    list.defaultExtensions[0] = extension;
    list.defaultExtensions.insert(list.defaultExtensions.begin() + 1, std::string());
    list.selected = 1;
  }
  return list;
}

TFilterList RenameDialogFilters() {
  TFilterList list;
  list.filters = ParseFilterText("すべてのファイル(*.*)|*.*|");
  list.defaultExtensions.assign(list.filters.size(), std::string());
  return list;
}

std::string CompleteSaveName(const std::string& name, const TFilterList& list, int chosen) {
  if (name.empty() || !ExtensionOf(name).empty()) return name;
  if (chosen < 0 || chosen >= static_cast<int>(list.defaultExtensions.size())) return name;
  return name + list.defaultExtensions[static_cast<std::size_t>(chosen)];
}

std::string ToolkitNameFilter(const TFileFilter& filter) {
  std::string patterns;
  for (const std::string& pattern : filter.patterns) {
    if (!patterns.empty()) patterns += ' ';
    patterns += pattern == "*.*" ? std::string("*") : pattern;
  }
  return filter.description + " (" + patterns + ")";
}

}  // namespace vorn
