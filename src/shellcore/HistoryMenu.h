// Captions of the file-history entries in the file menu and the station's history menu.
#pragma once

#include <string>

namespace vorn {

class TTextMeasure;

// "0&1: name (folder)" for index 0 … "&10: name (folder)" for index 9 and on: the file-name
// part padded with spaces to 20 columns (never cut), the folder shortened to what is left
// of menuWidth pixels after the text before it.
std::string FileHistoryCaption(int index, const std::string& fileName, const TTextMeasure& measure,
                               int menuWidth = 300);

}  // namespace vorn
