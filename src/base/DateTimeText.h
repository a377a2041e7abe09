// The date and time text of the date input command: "%YYYY%/%ZM%/%ZD%(%JWEEK%)" and the other
// tokens, giving Shift_JIS text.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace vorn {

struct TDateTimeParts {
  int year = 1970;
  int month = 1;   // 1-12
  int day = 1;     // 1-31
  int hour = 0;    // 0-23
  int minute = 0;
  int second = 0;
  int weekday = 4;  // 0 Sunday ... 6 Saturday
};

// The parts of a moment in the local time zone.
TDateTimeParts LocalDateTimeParts(std::chrono::system_clock::time_point time);

// Tokens between two "%" are replaced by their values (unknown tokens by nothing); "%%" gives
// "%"; a "%" without a closing "%" stays. Format and result are Shift_JIS.
std::string FormatDateTimeText(std::string_view format, const TDateTimeParts& time);
std::string FormatDateTimeText(std::string_view format, std::chrono::system_clock::time_point time);

}  // namespace vorn
