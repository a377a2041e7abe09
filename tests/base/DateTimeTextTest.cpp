// Tests of the date and time text tokens.
#include "base/DateTimeText.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

// Friday 3 February 2006, 09:05:07.
const TDateTimeParts kFriday{2006, 2, 3, 9, 5, 7, 5};

TEST(FormatDateTimeText, TheDateExampleWithTheJapaneseWeekday) {
  EXPECT_EQ(FormatDateTimeText("%YYYY%/%ZM%/%ZD%(%JWEEK%)", kFriday), "2006/02/03(\x8b\xe0)");
}

TEST(FormatDateTimeText, PercentSignsAndUnknownTokens) {
  EXPECT_EQ(FormatDateTimeText("100%%", kFriday), "100%");
  EXPECT_EQ(FormatDateTimeText("a%Nope%b", kFriday), "ab");
  EXPECT_EQ(FormatDateTimeText("50% off", kFriday), "50% off");
  EXPECT_EQ(FormatDateTimeText("%yyyy%", kFriday), "");  // tokens are case-sensitive
}

TEST(FormatDateTimeText, DoubleByteCharactersAreSteppedOverWhole) {
  // "ア" 83 41 around a token, and a double-byte character inside a token that ends it.
  EXPECT_EQ(FormatDateTimeText("\x83\x41%DD%\x83\x41", kFriday), "\x83\x41" "3\x83\x41");
  EXPECT_EQ(FormatDateTimeText("%\x81%%DD", kFriday), "DD");
}

TEST(FormatDateTimeText, NumbersPlainPaddedAndFullWidth) {
  EXPECT_EQ(FormatDateTimeText("%YY%|%MM%|%DD%|%HH%|%FF%|%SS%", kFriday), "06|2|3|9|5|7");
  EXPECT_EQ(FormatDateTimeText("%ZM%|%ZD%|%ZH%|%ZF%|%ZS%", kFriday), "02|03|09|05|07");
  EXPECT_EQ(FormatDateTimeText("%WY%", kFriday), "\x82\x4f\x82\x55");
  EXPECT_EQ(FormatDateTimeText("%WYWY%", kFriday), "\x82\x51\x82\x4f\x82\x4f\x82\x55");
  EXPECT_EQ(FormatDateTimeText("%WMWM%|%WZWM%", kFriday), "\x82\x51|\x82\x4f\x82\x51");
  EXPECT_EQ(FormatDateTimeText("%WDWD%|%WZWD%", kFriday), "\x82\x52|\x82\x4f\x82\x52");
  EXPECT_EQ(FormatDateTimeText("%WHWH%|%WZWH%|%WFWF%|%WZWF%|%WSWS%|%WZWS%", kFriday),
            "\x82\x58|\x82\x4f\x82\x58|\x82\x54|\x82\x4f\x82\x54|\x82\x56|\x82\x4f\x82\x56");
  TDateTimeParts late{2026, 12, 31, 23, 59, 58, 4};
  EXPECT_EQ(FormatDateTimeText("%MM%%DD%%HH%%FF%%SS%", late), "1231235958");
}

TEST(FormatDateTimeText, MonthAndWeekdayNames) {
  EXPECT_EQ(FormatDateTimeText("%Month% %MONTH% %Mon% %MON%", kFriday), "February FEBRUARY Feb FEB");
  EXPECT_EQ(FormatDateTimeText("%Week% %WEEK% %Wek% %WEK%", kFriday), "Friday FRIDAY Fri FRI");
  const char* japanese[] = {"\x93\xfa", "\x8c\x8e", "\x89\xce", "\x90\x85", "\x96\xd8", "\x8b\xe0", "\x93\x79"};
  for (int d = 0; d < 7; ++d) {
    TDateTimeParts t = kFriday;
    t.weekday = d;
    EXPECT_EQ(FormatDateTimeText("%JWEEK%", t), japanese[d]);
  }
}

}  // namespace
}  // namespace vorn
