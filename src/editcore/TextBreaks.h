// Line breaks in text that enters the editor: normalising them and cutting text into lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// Every CR LF, lone CR and lone LF becomes CR LF. A break byte is a break even right after a
// lead byte, as the store splits rows.
std::string WithCrLfBreaks(std::string_view text);

// The lines of text cut at CR LF, CR or LF; a final break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace vorn
