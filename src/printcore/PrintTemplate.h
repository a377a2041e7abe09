// Header and footer templates: "%" keywords replaced by the page, the file and the time.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// What the keywords stand for on one page; the texts are Shift_JIS.
struct TTemplateValues {
  int Page = 1;
  std::string FileName;  // with its path
  int Year = 0;
  int Month = 0;
  int Day = 0;
  std::string Time;  // the short time format
};

// The file name after its last "/" (a stored "\" counts too).
std::string FileNameWithoutPath(std::string_view path);

// %p %f %F %y %m %d %t are replaced; "%" before any other character yields that character,
// and a "%" that ends the template stays as it is.
std::string ExpandPrintTemplate(std::string_view text, const TTemplateValues& values);

}  // namespace vorn
