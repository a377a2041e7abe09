// The print settings: clamps, Assign, Common.ini, the paper table and the templates.
#include "printcore/PaperSizes.h"
#include "printcore/PrintTemplate.h"
#include "printcore/StringsPrinter.h"
#include "settings/VornMemInifile.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(StringsPrinter, SettersClampToTheirRanges) {
  TStringsPrinter p;
  p.SetColumnCount(0);
  EXPECT_EQ(p.ColumnCount(), 1);
  p.SetColumnCount(5);
  EXPECT_EQ(p.ColumnCount(), 3);
  p.SetColumnSpace(-3);
  EXPECT_EQ(p.ColumnSpace(), 0);
  p.SetColumnSpace(250);
  EXPECT_EQ(p.ColumnSpace(), 100);
  for (auto set : {&TStringsPrinter::SetMarginLeft, &TStringsPrinter::SetMarginRight, &TStringsPrinter::SetMarginTop,
                   &TStringsPrinter::SetMarginBottom}) {
    TStringsPrinter q;
    (q.*set)(101);
    EXPECT_EQ(q.Values().MarginLeft + q.Values().MarginRight + q.Values().MarginTop + q.Values().MarginBottom, 100);
    (q.*set)(-1);
    EXPECT_EQ(q.Values().MarginLeft + q.Values().MarginRight + q.Values().MarginTop + q.Values().MarginBottom, 0);
  }
  p.SetFontSize(0);
  EXPECT_EQ(p.FontSize(), 1);
}

TEST(StringsPrinter, AssignCopiesEverySettingAndNotifiesOnce) {
  TStringsPrinter a;
  a.SetColumnCount(2);
  a.SetColumnSpace(7);
  a.SetFileName("/tmp/a.txt");
  a.SetFontName("IPAGothic");
  a.SetFontSize(12);
  a.SetHeader("%F");
  a.SetFooter("%p");
  a.SetHeaderAlign(haLeft);
  a.SetFooterAlign(haRight);
  a.SetLineNumber(true);
  a.SetLineNumberSeparator("|");
  a.SetMarginLeft(1);
  a.SetMarginRight(2);
  a.SetMarginTop(3);
  a.SetMarginBottom(4);
  a.SetPVLeft(5);
  a.SetPVTop(6);
  a.SetPVWidth(700);
  a.SetPVHeight(800);
  a.SetPVMaximized(true);
  // Every field differs from the default, so a field Assign forgot shows as a difference.
  const TStringsPrinter defaults;
  EXPECT_FALSE(a.Values() == defaults.Values());
  TStringsPrinter b;
  int changes = 0;
  b.SetOnChange([&](TNotifyPersistent*) { ++changes; });
  b.Assign(a);
  EXPECT_TRUE(b == a);
  EXPECT_EQ(changes, 1);
  b.Assign(a);
  EXPECT_EQ(changes, 1);
}

TEST(StringsPrinter, CommonIniRoundTripsAndClampsHandEditedValues) {
  TVornMemInifile ini("");
  TStringsPrinter a;
  a.SetColumnCount(3);
  a.SetHeader("\x83\x65%p");  // "テ%p"
  a.SetHeaderAlign(haCenter);
  a.SetLineNumber(true);
  a.SetMarginTop(15);
  a.SaveTo(ini);
  TStringsPrinter b;
  b.LoadFrom(ini);
  EXPECT_TRUE(b == a);

  ini.EraseSection("Print");
  ini.WriteInteger("Print", "ColumnCount", 9);
  ini.WriteInteger("Print", "MarginLeft", 400);
  ini.WriteInteger("Print", "HeaderAlign", 17);
  TStringsPrinter c;
  c.SetFooter("kept");
  c.LoadFrom(ini);
  EXPECT_EQ(c.ColumnCount(), 3);
  EXPECT_EQ(c.MarginLeft(), 100);
  EXPECT_EQ(c.HeaderAlign(), haNone);
  EXPECT_EQ(c.Footer(), "kept");  // a missing key keeps the current value
}

TEST(StringsPrinter, PreviewDefaultsAreHalfWidthTwoThirdsHeightCentred) {
  TStringsPrinter p;
  p.SetPreviewDefaults(1001, 769);
  EXPECT_EQ(p.PVWidth(), 500);
  EXPECT_EQ(p.PVHeight(), 512);
  EXPECT_EQ(p.PVLeft(), 250);
  EXPECT_EQ(p.PVTop(), 128);
}

TEST(PaperSizes, EveryCodeOneToSixtyEightHasANamedRow) {
  for (int code = kFirstPaperCode; code <= kLastPaperCode; ++code) {
    const TPaperSize* p = PaperSizeOf(code);
    ASSERT_NE(p, nullptr) << code;
    EXPECT_EQ(p->Name.substr(0, 8), "DMPAPER_") << code;
    EXPECT_GT(p->WidthMm, 0) << code;
    EXPECT_GT(p->HeightMm, 0) << code;
  }
  struct {
    int code;
    const char* name;
    int w, h;
  } known[] = {{9, "DMPAPER_A4", 210, 297},  {8, "DMPAPER_A3", 297, 420},
               {13, "DMPAPER_B5", 182, 257}, {12, "DMPAPER_B4", 250, 354},
               {43, "DMPAPER_JAPANESE_POSTCARD", 100, 148}, {48, "DMPAPER_RESERVED_48", 100, 100},
               {49, "DMPAPER_RESERVED_49", 100, 100}, {1, "DMPAPER_LETTER", 216, 279},
               {68, "DMPAPER_A3_EXTRA_TRANSVERSE", 322, 445}};
  for (const auto& k : known) {
    int w = -1, h = -1;
    PaperSizeMm(k.code, w, h);
    EXPECT_EQ(PaperName(k.code), k.name);
    EXPECT_EQ(w, k.w) << k.name;
    EXPECT_EQ(h, k.h) << k.name;
  }
  int w = -1, h = -1;
  PaperSizeMm(69, w, h);
  EXPECT_EQ(w + h, 0);
  EXPECT_EQ(PaperName(0), "");
  EXPECT_EQ(PaperName(-1), "");
}

TEST(PrintTemplate, ReplacesEveryKeyword) {
  TTemplateValues v;
  v.Page = 12;
  v.FileName = "/home/u/doc/\x93\xfa\x96\x7b.txt";  // 日本.txt
  v.Year = 2026;
  v.Month = 3;
  v.Day = 7;
  v.Time = "9:05";
  EXPECT_EQ(ExpandPrintTemplate("%f|%F|%p|%y/%m/%d %t", v),
            "/home/u/doc/\x93\xfa\x96\x7b.txt|\x93\xfa\x96\x7b.txt|12|2026/3/7 9:05");
  EXPECT_EQ(FileNameWithoutPath("C:\\old\\a.txt"), "a.txt");
  EXPECT_EQ(FileNameWithoutPath(""), "");
}

TEST(PrintTemplate, UnknownKeywordsAndALonePercentPrintLiterally) {
  const TTemplateValues v;
  EXPECT_EQ(ExpandPrintTemplate("100%%", v), "100%");
  EXPECT_EQ(ExpandPrintTemplate("%q%Z", v), "qZ");
  // A template ending in "%" must not read the byte after the string.
  EXPECT_EQ(ExpandPrintTemplate("50%", v), "50%");
  EXPECT_EQ(ExpandPrintTemplate("%", v), "%");
  // A double-byte character after "%" is taken whole, never split into a lead and a "%"-free tail.
  EXPECT_EQ(ExpandPrintTemplate("%\x8a\xbf%p", v), "\x8a\xbf" "1");
  // "p" as the trail byte of a double-byte character is no keyword.
  EXPECT_EQ(ExpandPrintTemplate("\x81\x70", v), "\x81\x70");
  // A lone lead byte at the end is copied without reading past it.
  EXPECT_EQ(ExpandPrintTemplate(std::string_view("a%\x8a", 3), v), "a\x8a");
}

}  // namespace
}  // namespace vorn
