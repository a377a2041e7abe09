// A type's ini keys and ".fbd" lists: round trips of random settings, ranges, old keys, damage.
#include "settings/FileSetting.h"
#include "settings/SjisText.h"

#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

void Randomize(TFileSetting& t, std::mt19937& rng) {
  auto b = [&] { return rng() % 2 == 1; };
  auto text = [&] { return std::string(1 + rng() % 4, static_cast<char>('a' + rng() % 26)); };
  t.Name = text();
  t.SetExtensions({"." + text(), text() + "*"});
  t.Font = {text(), static_cast<int>(rng() % 256), -static_cast<int>(rng() % 40)};
  t.FixWindow = b(); t.FixWindowCol = rng() % 300; t.FixWindowRow = rng() % 300; t.PositionFix = b();
  t.TabCol = 2 + rng() % 127; t.LineOffset = rng() % 11; t.CharOffset = rng() % 11; t.WordWrap = b();
  t.WordBytes = 10 + rng() % 491; t.VerticalScroll = b(); t.HorizontalScroll = b(); t.VerticalRuler = b();
  t.PhysicalLineNum = b(); t.LeftMarginLine = b(); t.HorizontalRuler = b(); t.EMailVisible = b();
  t.EOFVisible = b(); t.RetVisible = b(); t.TabVisible = b(); t.UrlVisible = b(); t.FileVisible = b();
  t.WSpaceVisible = b(); t.SpaceVisible = b(); t.Underline = b(); t.UnderlineColor = rng();
  t.FreeCaret = b(); t.AutoIndent = b(); t.WSpaceIndent = b(); t.SpaceIndent = b(); t.IndentWithSpace = b();
  t.IndentWidthEqTabWidth = b(); t.IndentWidth = 1 + rng() % 20; t.SeikeiWrapCount = rng() % 200;
  t.SeikeiAutoTrigger = b(); t.SeikeiAutoTriggerStr = text(); t.SeikeiVLine = b(); t.SeikeiVLineColor = rng();
  t.SeikeiCommentOnly = b(); t.ImeEnable = b(); t.KeyWordStrong = b(); t.Quotation = text();
  t.QuotationCanceler = text(); t.ExpandTab = b(); t.ExpandWSpace = b(); t.TrimRight = b();
  t.TrimRightWSpace = b(); t.BackupCreate = b(); t.ClearUndoAtSave = b(); t.NotAddFileHist = b();
  t.SaveDisableAfterSave = b(); t.ExtMacroPath = text();
  t.Commenter().SetPattern(text());
  t.Commenter().SetWholeWord(b());
  t.Commenter().SetIgnoreCase(b());
  t.Commenter().SetPlainText(b());
  t.Commenter().SetFuzzy(b());
}

TEST(FileSettingIni, RandomSettingsSurviveSaveAndLoad) {
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    TFileSetting saved(nullptr, nullptr);
    Randomize(saved, rng);
    TVornMemInifile ini("");
    saved.SaveToIni(ini);
    TFileSetting loaded(nullptr, nullptr);
    TVornMemInifile reread("");
    reread.SetText(ini.GetText());
    loaded.LoadFromIni(reread, true);
    ASSERT_TRUE(static_cast<const TFileTypeValues&>(loaded) == static_cast<const TFileTypeValues&>(saved)) << round;
    ASSERT_EQ(loaded.Extensions(), saved.Extensions());
    ASSERT_TRUE(loaded.Commenter().SameAs(saved.Commenter()));
  }
}

TEST(FileSettingIni, MissingKeysGiveDefaultsAndOutOfRangeValuesAreBroughtIntoRange) {
  TVornMemInifile ini("");
  ini.SetText("[Display]\r\nTabCol=1000\r\nLineOffset=-3\r\nWordBytes=abc\r\nFontSize=10\r\n"
              "[Caret]\r\nIndentWidth=0\r\n[General]\r\nExtCount=2147483647\r\nExt0=.A\r\n");
  TFileSetting t(nullptr, nullptr);
  t.LoadFromIni(ini, true);
  EXPECT_EQ(t.TabCol, 128);
  EXPECT_EQ(t.LineOffset, 0);
  EXPECT_EQ(t.WordBytes, 80);
  EXPECT_EQ(t.IndentWidth, 1);
  EXPECT_EQ(t.Name, UnnamedTypeName());
  EXPECT_EQ(t.Extensions(), std::vector<std::string>{".A"});  // the count cannot outrun the keys
  EXPECT_EQ(t.Font.Size(), 10);                                 // "FontSize" read when "FontHeight" is missing
  EXPECT_EQ(t.Quotation, "\"");
  EXPECT_EQ(t.QuotationCanceler, "\\");
  EXPECT_EQ(t.SeikeiVLineColor, 0xFF00000Fu);
  EXPECT_TRUE(t.Commenter().PlainText());
}

TEST(FileSettingIni, CloneCopiesEverythingButNameAndExtensions) {
  std::mt19937 rng(9);
  TFileSetting t(nullptr, nullptr);
  Randomize(t, rng);
  t.Keywords().Add().SetPattern("int");
  t.Brackets().Add().LeftBracket().SetPattern("/*");
  t.Colors()[17].SetColor(0x123456);
  auto copy = t.Clone();
  EXPECT_EQ(copy->Name, UnnamedTypeName());
  EXPECT_TRUE(copy->Extensions().empty());
  EXPECT_EQ(copy->TabCol, t.TabCol);
  EXPECT_EQ(copy->SeikeiAutoTriggerStr, t.SeikeiAutoTriggerStr);
  EXPECT_EQ(copy->SaveFbdBytes(), t.SaveFbdBytes());
  EXPECT_TRUE(copy->Commenter().SameAs(t.Commenter()));
}

TFileSetting& SampleLists(TFileSetting& t) {
  for (const char* p : {"int", "char", "while"}) {
    TKeyWord& k = t.Keywords().Add();
    k.SetPattern(p);
    k.SetColorIndex(17);
  }
  t.Colors()[5].SetColor(0x008000);
  t.Colors()[47].SetStyle(fsBold | fsItalic);
  TBracket& b = t.Brackets().Add();
  b.LeftBracket().SetPattern("/*");
  b.RightBracket().SetPattern("*/");
  b.SetColorIndex(5);
  return t;
}

TEST(FileSettingFbd, ListsSurviveSaveAndLoad) {
  TFileSetting t(nullptr, nullptr);
  const std::string bytes = SampleLists(t).SaveFbdBytes();
  TFileSetting back(nullptr, nullptr);
  EXPECT_EQ(back.LoadFbdBytes(bytes, "x.fbd"), "");
  EXPECT_EQ(back.SaveFbdBytes(), bytes);
  EXPECT_TRUE(back.Keywords().Equals(t.Keywords()));
  EXPECT_TRUE(back.Colors() == t.Colors());
}

// Every cut of a valid file: never a crash; each list is either read or left at its default;
// a cut inside a list (not at a list boundary) is reported. The record reader takes a last
// pattern without its terminating 0 as ending at the end of the data, so a cut inside the
// last keyword's pattern still reads the list.
TEST(FileSettingFbd, EveryTruncationKeepsDefaultsForWhatCannotBeRead) {
  TFileSetting t(nullptr, nullptr);
  const std::string bytes = SampleLists(t).SaveFbdBytes();
  const TVornEditColors defaults;
  TRecordWriter keywordsOnly;
  t.Keywords().SaveToStream(keywordsOnly);
  const std::size_t keywordEnd = keywordsOnly.Data().size();
  const std::size_t lastPatternStart = keywordEnd - sizeof("while");
  const std::size_t colourEnd = keywordEnd + 4 + 9 * TVornEditColors::DefaultCount;
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    TFileSetting back(nullptr, nullptr);
    back.Keywords().Add().SetPattern("stale");  // whatever was there before must go
    const std::string message = back.LoadFbdBytes(bytes.substr(0, cut), "cut.fbd");
    const bool keywordsWhole = cut >= lastPatternStart;
    EXPECT_EQ(back.Keywords().Count(), keywordsWhole ? 3 : 0) << cut;
    const bool bracketsRead = cut >= bytes.size() - sizeof("*/");
    const bool damaged = (cut > 0 && cut < lastPatternStart) || (cut > colourEnd && !bracketsRead);
    EXPECT_EQ(message.empty(), !damaged) << cut;
    if (!keywordsWhole) {
      EXPECT_TRUE(back.Colors() == defaults) << cut;
    }
    EXPECT_EQ(back.Brackets().Count(), bracketsRead ? 1 : 0) << cut;
  }
}

TEST(FileSettingFbd, OlderFilesWithFewerColoursKeepTheRestAtDefaults) {
  TRecordWriter out;
  out.WriteInt32(0);  // no keywords
  out.WriteInt32(2);  // two colour entries, then the file ends
  for (int i = 0; i < 2; ++i) {
    out.WriteInt32(0x00FFFFFF);
    out.WriteInt32(0x000000FF);
    out.WriteByte(fsBold);
  }
  TFileSetting t(nullptr, nullptr);
  EXPECT_EQ(t.LoadFbdBytes(out.Data(), "old.fbd"), "");
  EXPECT_EQ(t.Colors()[1].Color(), 0x000000FFu);
  EXPECT_EQ(t.Colors()[1].Style(), fsBold);
  EXPECT_TRUE(t.Colors()[2] == TVornEditColors()[2]);
}

}  // namespace
}  // namespace vorn
