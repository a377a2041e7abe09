// Header and footer template expansion, walked character by character over Shift_JIS.
#include "printcore/PrintTemplate.h"

#include "base/sjis.h"

namespace vorn {

std::string FileNameWithoutPath(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); i += sjis::CharLen(path, i))
    if (path[i] == '/' || path[i] == '\\') start = i + 1;
  return std::string(path.substr(start));
}

std::string ExpandPrintTemplate(std::string_view text, const TTemplateValues& values) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t len = sjis::CharLen(text, i);
    if (text[i] != '%' || i + 1 >= text.size()) {
      out.append(text.substr(i, len));
      i += len;
      continue;
    }
    const std::size_t keyLen = sjis::CharLen(text, i + 1);
    switch (text[i + 1]) {
      case 'p': out += std::to_string(values.Page); break;
      case 'f': out += values.FileName; break;
      case 'F': out += FileNameWithoutPath(values.FileName); break;
      case 'y': out += std::to_string(values.Year); break;
      case 'm': out += std::to_string(values.Month); break;
      case 'd': out += std::to_string(values.Day); break;
      case 't': out += values.Time; break;
      default: out.append(text.substr(i + 1, keyLen)); break;
    }
    i += 1 + keyLen;
  }
  return out;
}

}  // namespace vorn
