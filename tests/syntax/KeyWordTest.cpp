// Keyword, search-condition and bracket classes: records, text forms, list assignment and view application.
#include "syntax/KeyWord.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}

template <class T>
std::string Save(const T& obj) {
  TRecordWriter w;
  obj.SaveToStream(w);
  return w.Data();
}

TEST(KeyWordRecord, PacksColourAndGroupAndReadsBackEqual) {
  TKeyWord k;
  k.SetColorIndex(17);
  k.SetHighlightGroup(2);
  k.SetIgnoreCase(true);
  k.SetPlainText(false);
  k.SetPattern("a\x82\xa0" "b");
  EXPECT_EQ(Save(k), Bytes({1, 1, 0, 0, 0x11, 0x02, 0, 0}) + "a\x82\xa0" "b" + std::string(1, '\0'));

  TKeyWord back;
  const std::string rData = Save(k);
  TRecordReader r(rData);
  back.LoadFromStream(r);
  EXPECT_TRUE(back.SameAs(k));
  EXPECT_TRUE(r.AtEnd());
}

TEST(KeyWordRecord, TruncatedRecordsRaiseAndCutStringsEndAtTheData) {
  TKeyWord k;
  const std::string shortFixedData = Bytes({1, 0, 0});
  TRecordReader shortFixed(shortFixedData);
  EXPECT_THROW(k.LoadFromStream(shortFixed), ERecordReadError);
  const std::string cutStringData = Bytes({0, 0, 0, 0, 5, 0, 0, 0, 'a', 'b'});
  TRecordReader cutString(cutStringData);
  k.LoadFromStream(cutString);
  EXPECT_EQ(k.Pattern(), "ab");
  EXPECT_EQ(k.ColorIndex(), 5);
  EXPECT_TRUE(k.PlainText());
}

TEST(KeyWordRecord, FindAndGrepConditionsCarryTheirExtraFields) {
  TFindKeyWord f;
  EXPECT_FALSE(f.UpperTarget());
  f.SetPattern("x");
  f.SetReplaceMode(true);
  f.SetReplaceText("y");
  const std::string data = Save(f);
  EXPECT_EQ(data.substr(10), Bytes({1, 'y', 0}));
  TFindKeyWord f2;
  TRecordReader r(data);
  f2.LoadFromStream(r);
  EXPECT_TRUE(f2.ReplaceMode());
  EXPECT_EQ(f2.ReplaceText(), "y");

  TGrepKeyWord g;
  EXPECT_EQ(g.ColorIndex(), 31);
  EXPECT_TRUE(g.KeepDialogFolder);
  EXPECT_FALSE(g.UpperTarget());
  g.SetPattern("p");
  g.SubFolders = g.RunAtOnce = g.DetectCode = true;
  g.KeepDialogFolder = false;
  g.FileMask = "*.c;*.h";
  g.BaseFolder = "/src";
  const std::string gd = Save(g);
  EXPECT_EQ(gd.substr(10, 7), Bytes({1, 0, 0, 0, 1, 1, 0}));
  TGrepKeyWord g2;
  TRecordReader gr(gd);
  g2.LoadFromStream(gr);
  EXPECT_EQ(Save(g2), gd);
  TGrepKeyWord g3;
  g3.Assign(g2);
  EXPECT_EQ(Save(g3), gd);
}

TEST(KeyWordRecord, StreamsHoldRecordsBackToBack) {
  TKeyWordList list;
  list.Add().SetPattern("a");
  TBracketList brackets;
  brackets.Add().LeftBracket().SetPattern("<");
  TMemoryStream stream;
  SaveRecordTo(list, stream);
  SaveRecordTo(brackets, stream);
  stream.SetPosition(0);
  TKeyWordList list2;
  TBracketList brackets2;
  LoadRecordFrom(list2, stream);
  LoadRecordFrom(brackets2, stream);
  EXPECT_TRUE(list2.Equals(list));
  EXPECT_EQ(brackets2.Items(0).LeftBracket().Pattern(), "<");
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(KeyWordText, QuotesDoubledAndFlagsInOrder) {
  TKeyWord k;
  k.SetPattern("say \"hi\", ok");
  k.SetIgnoreCase(true);
  k.SetPlainText(false);
  EXPECT_EQ(k.ToText(), "\"say \"\"hi\"\", ok\",1,0,1,0");
  TKeyWord back;
  back.FromText(k.ToText());
  EXPECT_TRUE(back.SameAs(k));
  // Fewer fields set what they give and keep the rest.
  TKeyWord partial;
  partial.FromText("\"z\",1");
  EXPECT_EQ(partial.Pattern(), "z");
  EXPECT_TRUE(partial.IgnoreCase());
  EXPECT_TRUE(partial.PlainText());
}

TEST(KeyWordList, RecordsReadBackAndLoadingReplacesTheItems) {
  TKeyWordList list;
  list.Add().SetPattern("one");
  list.Add().SetPattern("two");
  const std::string data = Save(list);
  TKeyWordList back;
  back.Add().SetPattern("stale");
  TRecordReader r(data);
  back.LoadFromStream(r);
  EXPECT_TRUE(back.Equals(list));
  auto clone = list.Clone();
  EXPECT_TRUE(clone->Equals(list));
  // A damaged count that promises more records than there are ends in a read error, not a crash.
  std::string damaged = data;
  damaged[0] = 100;
  TRecordReader dr(damaged);
  EXPECT_THROW(back.LoadFromStream(dr), ERecordReadError);
}

TEST(EditKeywords, UpperTextNeedAndFirstMatchInListOrder) {
  TKeyWordList list;
  TKeyWord& a = list.Add();
  a.SetPattern("bc");
  TKeyWord& b = list.Add();
  b.SetPattern("ab");
  EXPECT_FALSE(list.NeedsUpperText());
  b.SetIgnoreCase(true);
  EXPECT_TRUE(list.NeedsUpperText());
  int pos = -1, len = 0;
  EXPECT_EQ(list.FindAt("xabc", 0, &pos, &len), &a);
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(list.FindAt("xab", 0), &b);
  EXPECT_EQ(list.FindAt("xyz", 0), nullptr);
  a.Cache().Valid = true;
  list.ResetCaches();
  EXPECT_FALSE(a.Cache().Valid);
}

TEST(EditKeywords, AssignResizesAndCopiesKeywordFields) {
  TKeyWordList src, dst;
  TKeyWord& k = src.Add();
  k.SetPattern("k");
  k.SetColorIndex(24);
  k.SetRangeStart(3);
  k.SetHighlightGroup(1);
  EXPECT_TRUE(k.IsLineEmphasis());
  dst.Add();
  dst.Add();
  int calls = 0;
  dst.SetOnChange([&](TNotifyPersistent*) { ++calls; });
  dst.Assign(src);
  EXPECT_EQ(calls, 1);
  ASSERT_EQ(dst.Count(), 1);
  EXPECT_TRUE(dst.Equals(src));
  EXPECT_EQ(dst.Items(0).RangeStart(), 3);
  dst.Items(0).SetRangeEnd(9);
  EXPECT_FALSE(dst.Equals(src));
}

TBracket& MakeBracket(TBracketList& list, const std::string& left, const std::string& right) {
  TBracket& b = list.Add();
  b.LeftBracket().SetPattern(left);
  b.RightBracket().SetPattern(right);
  return b;
}

TEST(BracketRecord, WrittenInVersionTwoAndReadBackWithAllFields) {
  TBracketList list;
  TBracket& b = MakeBracket(list, "/*", "*/");
  b.SetColorIndex(5);
  b.SetRightBracketCount(3);
  b.SetRightBracketEscapeChar("\\");
  EXPECT_TRUE(b.LineOnly());
  b.SetLineOnly(false);
  EXPECT_TRUE(b.LineOnly());
  const std::string data = Save(list);
  EXPECT_EQ(data.substr(4, 9), Bytes({0xFF, 2, 5, 3, 0, 0, 0, '\\', 1}));
  TBracketList back;
  TRecordReader r(data);
  back.LoadFromStream(r);
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(Save(back), data);
  EXPECT_EQ(back.Items(0).RightBracketEscapeChar(), "\\");
}

TEST(BracketRecord, OlderVersionsReadWithDefaults) {
  TKeyWord left, right;
  left.SetPattern("<<");
  left.SetPlainText(false);
  right.SetPattern(">>");
  std::string v1 = Bytes({0xFF, 1, 7}) + Save(left) + Save(right);
  TBracket b;
  b.SetRightBracketCount(4);
  b.SetRightBracketEscapeChar("x");
  TRecordReader r1(v1);
  b.LoadFromStream(r1);
  EXPECT_EQ(b.ColorIndex(), 7);
  EXPECT_FALSE(b.LineOnly());
  EXPECT_EQ(b.RightBracketCount(), 1);
  EXPECT_EQ(b.RightBracketEscapeChar(), "");
  EXPECT_FALSE(b.LeftBracket().PlainText());

  // Version 0 has no marker: colour, then two bare strings that become plain text.
  const std::string r0Data = Bytes({9, '(', '*', 0, '*', ')', 0});
  TRecordReader r0(r0Data);
  b.LoadFromStream(r0);
  EXPECT_EQ(b.ColorIndex(), 9);
  EXPECT_EQ(b.LeftBracket().Pattern(), "(*");
  EXPECT_EQ(b.RightBracket().Pattern(), "*)");
  EXPECT_TRUE(b.LeftBracket().PlainText());
  EXPECT_TRUE(b.RightBracket().PlainText());
}

TEST(BracketRecord, UnsupportedVersionAndTruncationRaise) {
  TBracket b;
  const std::string rData = Bytes({0xFF, 3, 0});
  TRecordReader r(rData);
  try {
    b.LoadFromStream(r);
    FAIL() << "version 3 was accepted";
  } catch (const EKeyWordError& e) {
    EXPECT_STREQ(e.what(), "TBracket: サポートされていないバージョンデータです");
  }
  const std::string cutData = Bytes({0xFF, 2, 5, 1, 0});
  TRecordReader cut(cutData);
  EXPECT_THROW(b.LoadFromStream(cut), ERecordReadError);
  const std::string markerData = Bytes({0xFF});
  TRecordReader marker(markerData);
  EXPECT_THROW(b.LoadFromStream(marker), ERecordReadError);
}

TEST(BracketList, AssignResizesAndCopiesEveryField) {
  TBracketList src, dst;
  MakeBracket(src, "a", "b").SetRightBracketCount(2);
  MakeBracket(src, "c", "d").SetRightBracketEscapeChar("!");
  MakeBracket(dst, "x", "y");
  dst.Assign(src);
  EXPECT_EQ(Save(dst), Save(src));
  TBracketList empty;
  dst.Assign(empty);
  EXPECT_EQ(dst.Count(), 0);
}

TEST(BracketList, ApplyToViewReplacesTheCollectionOnlyWhenItDiffers) {
  TBracketList list;
  TBracket& b = MakeBracket(list, "/*", "*/");
  b.SetColorIndex(5);
  b.SetRightBracketEscapeChar("\\");
  TVornEditViewInfo view;
  view.Brackets().Add();
  view.Brackets().Add();
  int calls = 0;
  view.SetOnChange([&](TNotifyPersistent*) { ++calls; });
  list.ApplyToView(view);
  ASSERT_EQ(view.Brackets().Count(), 1);
  const TVornEditBracketItem& item = view.Brackets().Items(0);
  EXPECT_EQ(item.ColorIndex(), 5);
  EXPECT_EQ(item.LeftBracket().Pattern(), "/*");
  EXPECT_TRUE(item.LeftBracket().PlainText());
  EXPECT_EQ(item.RightBracketEscapeChar(), "\\");
  EXPECT_EQ(calls, 1);
  list.ApplyToView(view);
  EXPECT_EQ(calls, 1);

  for (int i = 0; i < 14; ++i) MakeBracket(list, "(", ")");
  EXPECT_THROW(list.ApplyToView(view), EBracketCollectionError);
}

}  // namespace
}  // namespace vorn
