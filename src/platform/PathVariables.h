// Path variables ("%Temp%", "%OpenFileFolder%", "%Delimiter=/%" ...) in file names given to macros
// and settings, and the shortening of long paths for menus.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// The values the variables stand for. Folders end with "/". The defaults are native (UTF-8)
// paths; a caller that expands Shift_JIS text converts the values to Shift_JIS first.
struct TPathVariableValues {
  std::string windows;    // "%Windows%": no such folder here; "/etc/" stands in
  std::string system;     // "%System%": "/usr/bin/" stands in
  std::string temp;       // "%Temp%"
  std::string desktop;    // "%Desktop%"
  std::string personal;   // "%Personal%": the documents folder
  std::string startMenu;  // "%StartMenu%": the desktop entries folder
  std::string startup;    // "%Startup%": the autostart folder
  std::string exec;       // "%Exec%": the program folder
  std::string macro;      // "%Macro%"
  std::string user;       // "%User%"
  std::string openFileName;  // the document's file name, empty for an untitled document
};

// The values of this process and user, for the document openFileName.
TPathVariableValues DefaultPathVariableValues(const std::string& openFileName);

// Replaces the variables (names in any letter case) by their values; "%Delimiter=x%" makes
// every later value use x in place of "/" (the two file-name-part variables excepted), and an
// empty x switches that off. Double-byte characters are stepped over whole, so a trail byte
// "%" never starts a variable. Inserted values are not scanned again.
std::string ExpandPathVariables(std::string_view text, const TPathVariableValues& values);
std::string ExpandPathVariables(std::string_view text, const std::string& openFileName = std::string());

// Width of a text in pixels, as the menu font draws it.
class TTextMeasure {
public:
  virtual ~TTextMeasure() = default;
  virtual int TextWidth(std::string_view text) const = 0;
};

// Shortens a path for a menu by replacing leading folders with ".../" until it fits maxWidth.
// The file name is never cut, even when it alone is wider.
std::string ShortenPath(std::string_view path, const TTextMeasure& measure, int maxWidth);

}  // namespace vorn
