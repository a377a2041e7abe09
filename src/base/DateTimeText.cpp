// The date and time text of the date input command: "%YYYY%/%ZM%/%ZD%(%JWEEK%)" and the other
// tokens, giving Shift_JIS text.
#include "base/DateTimeText.h"

#include <ctime>

#include "base/sjis.h"

namespace vorn {

namespace {

constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
// 日 月 火 水 木 金 土 in Shift_JIS.
constexpr const char* kJapaneseWeekdays[] = {"\x93\xfa", "\x8c\x8e", "\x89\xce", "\x90\x85",
                                             "\x96\xd8", "\x8b\xe0", "\x93\x79"};

std::string Upper(std::string s) { return sjis::UpperAscii(s); }

std::string Two(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

// "０" to "９" are 82 4F to 82 58.
std::string Wide(const std::string& digits) {
  std::string out;
  for (char c : digits) {
    if (c >= '0' && c <= '9') {
      out += '\x82';
      out += static_cast<char>(0x4F + (c - '0'));
    } else {
      out += c;
    }
  }
  return out;
}

bool TokenValue(std::string_view token, const TDateTimeParts& t, std::string& value) {
  const std::string year = std::to_string(t.year);
  const std::string yy = year.size() > 2 ? year.substr(2, 2) : std::string();
  const std::string month = (t.month >= 1 && t.month <= 12) ? kMonths[t.month - 1] : "";
  const std::string week = (t.weekday >= 0 && t.weekday <= 6) ? kWeekdays[t.weekday] : "";
  const struct {
    std::string_view token;
    std::string value;
  } table[] = {
      {"YYYY", year},
      {"WYWY", Wide(year)},
      {"YY", yy},
      {"WY", Wide(yy)},
      {"MM", std::to_string(t.month)},
      {"ZM", Two(t.month)},
      {"WMWM", Wide(std::to_string(t.month))},
      {"WZWM", Wide(Two(t.month))},
      {"Month", month},
      {"MONTH", Upper(month)},
      {"Mon", month.substr(0, 3)},
      {"MON", Upper(month.substr(0, 3))},
      {"DD", std::to_string(t.day)},
      {"ZD", Two(t.day)},
      {"WDWD", Wide(std::to_string(t.day))},
      {"WZWD", Wide(Two(t.day))},
      {"JWEEK", (t.weekday >= 0 && t.weekday <= 6) ? kJapaneseWeekdays[t.weekday] : ""},
      {"Week", week},
      {"WEEK", Upper(week)},
      {"Wek", week.substr(0, 3)},
      {"WEK", Upper(week.substr(0, 3))},
      {"HH", std::to_string(t.hour)},
      {"ZH", Two(t.hour)},
      {"WHWH", Wide(std::to_string(t.hour))},
      {"WZWH", Wide(Two(t.hour))},
      {"FF", std::to_string(t.minute)},
      {"ZF", Two(t.minute)},
      {"WFWF", Wide(std::to_string(t.minute))},
      {"WZWF", Wide(Two(t.minute))},
      {"SS", std::to_string(t.second)},
      {"ZS", Two(t.second)},
      {"WSWS", Wide(std::to_string(t.second))},
      {"WZWS", Wide(Two(t.second))},
  };
  for (const auto& e : table)
    if (e.token == token) {
      value = e.value;
      return true;
    }
  return false;
}

}  // namespace

TDateTimeParts LocalDateTimeParts(std::chrono::system_clock::time_point time) {
  std::time_t tt = std::chrono::system_clock::to_time_t(time);
  std::tm tm {};
  localtime_r(&tt, &tm);
  return TDateTimeParts{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_wday};
}

std::string FormatDateTimeText(std::string_view format, const TDateTimeParts& time) {
  std::string out;
  std::size_t pos = 0;
  while (pos < format.size()) {
    std::size_t n = sjis::CharLen(format, pos);
    if (n == 2 || format[pos] != '%') {
      out.append(format.substr(pos, n));
      pos += n;
      continue;
    }
    if (pos + 1 < format.size() && format[pos + 1] == '%') {
      out += '%';
      pos += 2;
      continue;
    }
    std::size_t close = pos + 1;
    while (close < format.size() && format[close] != '%') close += sjis::CharLen(format, close);
    if (close >= format.size()) {  // no closing "%": the "%" is ordinary text
      out += '%';
      ++pos;
      continue;
    }
    std::string value;
    if (TokenValue(format.substr(pos + 1, close - pos - 1), time, value)) out += value;
    pos = close + 1;
  }
  return out;
}

std::string FormatDateTimeText(std::string_view format, std::chrono::system_clock::time_point time) {
  return FormatDateTimeText(format, LocalDateTimeParts(time));
}

}  // namespace vorn
