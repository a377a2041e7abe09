// The settings dialogs' rules without a display: type list buttons and names, limits and their
// messages, the list operations, the colour page, the key page and the guarded save.
#include "shellcore/CommonSetRules.h"
#include "shellcore/ExtSetRules.h"
#include "shellcore/FunctionTable.h"
#include "settings/ColorSet.h"
#include "settings/CommonIniUpdate.h"
#include "settings/CommonSet.h"
#include "settings/SettingsSaveGuard.h"

#include "../settings/SettingsTestUtil.h"
#include "../Unprivileged.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

namespace vorn {
namespace {

using test::TScratchFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The list starts as 共通, GREP: rebuilt in the order the test names.
void Rebuild(TTypeList& list, std::initializer_list<const char*> names) {
  while (list.Count() > 1) list.Remove(list.Count() - 1);
  for (const char* n : names) list.Add().Name = Sjis(n);
}

TEST(ExtSetTypeList, ButtonsFollowPositionAndTheGrepType) {
  TScratchFolder dir;
  TTypeList list({dir.Path(), dir.Path()});
  Rebuild(list, {"X", "GREP"});
  EXPECT_EQ(TypeListButtonsFor(list, 0), (TTypeListButtons{false, false, false}));
  EXPECT_EQ(TypeListButtonsFor(list, 1), (TTypeListButtons{false, true, false}));
  // GREP is last: it can move up, never be deleted.
  EXPECT_EQ(TypeListButtonsFor(list, 2), (TTypeListButtons{true, false, false}));
  TTypeList longer({dir.Path(), dir.Path()});
  Rebuild(longer, {"A", "grep", "B", "C"});
  EXPECT_EQ(TypeListButtonsFor(longer, 2), (TTypeListButtons{true, true, false}));
  EXPECT_EQ(TypeListButtonsFor(longer, 3), (TTypeListButtons{true, true, true}));
  EXPECT_EQ(TypeListButtonsFor(longer, 4), (TTypeListButtons{true, false, true}));
}

TEST(ExtSetTypeList, NamePromptRefusesReservedAndDuplicateNamesInOrder) {
  TScratchFolder dir;
  TTypeList list({dir.Path(), dir.Path()});
  Rebuild(list, {"HTML", "GREP"});
  EXPECT_EQ(CheckNewTypeName(list, ""), "名前を入力してください");
  EXPECT_EQ(CheckNewTypeName(list, Sjis("共通")), "「共通」という名前は使えません");
  EXPECT_EQ(CheckNewTypeName(list, "grep"), "「GREP」という名前は使えません");
  EXPECT_EQ(CheckNewTypeName(list, "HTML"), "名前が今ある名前と重複しています。別の名前を入力してください");
  EXPECT_EQ(CheckNewTypeName(list, "Html"), "");
}

TEST(ExtSetLimits, ValuesOutsideTheirRangeNameTheFieldAndNeverParse) {
  for (const char* text : {"0", "10000", "1", "129", "", "8x", "-3"}) {
    const TFieldValue v = ParseField(text, kTabWidthLimit);
    EXPECT_FALSE(v.Value) << text;
    EXPECT_EQ(v.Message, "タブ幅は 2 から 128 までの整数で指定してください") << text;
  }
  EXPECT_EQ(ParseField(" 4 ", kTabWidthLimit).Value, 4);
  EXPECT_EQ(ParseField("128", kTabWidthLimit).Value, 128);
  EXPECT_EQ(ParseField("10", kLineOffsetLimit).Value, 10);
  EXPECT_FALSE(ParseField("501", kWrapColumnsLimit).Value);
  EXPECT_FALSE(ParseField("0", kIndentWidthLimit).Value);
  EXPECT_FALSE(ParseFontSize("-1").Points);
  EXPECT_THAT(ParseFontSize("-1").Message, HasSubstr("フォントサイズ"));
  EXPECT_FALSE(ParseFontSize("abc").Points);
  EXPECT_EQ(ParseFontSize("10.5").Points, 10.5);
}

TEST(ExtSetExtensions, AddingMovesTheExtensionFromEveryOtherTypeButCommon) {
  TScratchFolder dir;
  TTypeList list({dir.Path(), dir.Path()});
  Rebuild(list, {"Text", "Doc", "GREP"});
  list.Items(0).SetExtensions({".TXT"});
  list.Items(1).SetExtensions({".TXT", ".DOC"});
  EXPECT_EQ(AddTypeExtension(list, 2, ".txt"), "");
  EXPECT_THAT(list.Items(0).Extensions(), ElementsAre(".TXT"));
  EXPECT_THAT(list.Items(1).Extensions(), ElementsAre(".DOC"));
  EXPECT_THAT(list.Items(2).Extensions(), ElementsAre(".TXT"));
  // A mask keeps its text and claims the extension after its last period.
  EXPECT_EQ(AddTypeExtension(list, 1, "makefile*"), "");
  EXPECT_THAT(list.Items(1).Extensions(), ElementsAre(".DOC", "MAKEFILE*"));
  EXPECT_EQ(AddTypeExtension(list, 1, "  "), "拡張子を入力してください");
  EXPECT_EQ(AddTypeExtension(list, 1, "."), "拡張子を入力してください");
  EXPECT_EQ(EditTypeExtension(list.Items(1), 0, ".md"), "");
  EXPECT_EQ(EditTypeExtension(list.Items(1), 0, ""), "拡張子を入力してください");
  RemoveTypeExtension(list.Items(1), 1);
  EXPECT_THAT(list.Items(1).Extensions(), ElementsAre(".MD"));
}

TEST(ExtSetQuotes, EscapedQuotationsComeFirstAndShowBackInThatOrder) {
  TQuoteRows rows{{{"\"", "\\"}, {"'", ""}, {"`", "\\"}, {"", "x"}}};
  std::string q, c;
  StoreQuoteRows(rows, q, c);
  EXPECT_EQ(q, "\"`'");
  EXPECT_EQ(c, "\\\\");
  const TQuoteRows shown = QuoteRowsOf(q, c);
  EXPECT_EQ(shown[0], (TQuoteRow{"\"", "\\"}));
  EXPECT_EQ(shown[1], (TQuoteRow{"`", "\\"}));
  EXPECT_EQ(shown[2], (TQuoteRow{"'", ""}));
  EXPECT_EQ(shown[3], (TQuoteRow{"", ""}));
  EXPECT_EQ(KeepLastByte("ab"), "b");
  EXPECT_EQ(KeepLastByte(""), "");
}

std::vector<bool> Selection(int n, std::initializer_list<int> rows) {
  std::vector<bool> s(static_cast<std::size_t>(n));
  for (int r : rows) s[static_cast<std::size_t>(r)] = true;
  return s;
}

TEST(ExtSetKeywordMoves, SelectedRowsMoveAsOneBlock) {
  // Rows 2 and 5 of six (0-based 1 and 4).
  EXPECT_THAT(MoveSelectedBlock(Selection(6, {1, 4}), bmUp), ElementsAre(1, 4, 0, 2, 3, 5));
  EXPECT_THAT(MoveSelectedBlock(Selection(6, {1, 4}), bmDown), ElementsAre(0, 2, 3, 5, 1, 4));
  EXPECT_THAT(MoveSelectedBlock(Selection(6, {1, 4}), bmTop), ElementsAre(1, 4, 0, 2, 3, 5));
  EXPECT_THAT(MoveSelectedBlock(Selection(6, {1, 4}), bmBottom), ElementsAre(0, 2, 3, 5, 1, 4));
  EXPECT_THAT(MoveSelectedBlock(Selection(4, {0}), bmUp), ElementsAre(0, 1, 2, 3));
  EXPECT_THAT(MoveSelectedBlock(Selection(4, {3}), bmDown), ElementsAre(0, 1, 2, 3));
  EXPECT_THAT(MoveSelectedBlock(Selection(5, {2, 3}), bmUp), ElementsAre(0, 2, 3, 1, 4));
}

// Any selection, any move: the result is a permutation, the selected rows stay together in their
// order, and the unselected ones keep theirs.
TEST(ExtSetKeywordMoves, EveryMoveKeepsRowsAndTheirRelativeOrder) {
  std::mt19937 rng(30);
  for (int round = 0; round < 2000; ++round) {
    const int n = 1 + static_cast<int>(rng() % 9);
    std::vector<bool> sel(static_cast<std::size_t>(n));
    for (auto&& s : sel) s = rng() % 3 == 0;
    const auto move = static_cast<TBlockMove>(rng() % 4);
    const std::vector<int> order = MoveSelectedBlock(sel, move);
    ASSERT_EQ(static_cast<int>(order.size()), n);
    std::vector<int> picked, others;
    int firstPos = -1, lastPos = -1;
    for (int i = 0; i < n; ++i) {
      const int row = order[static_cast<std::size_t>(i)];
      if (sel[static_cast<std::size_t>(row)]) {
        picked.push_back(row);
        if (firstPos < 0) firstPos = i;
        lastPos = i;
      } else {
        others.push_back(row);
      }
    }
    EXPECT_TRUE(std::is_sorted(picked.begin(), picked.end()));
    EXPECT_TRUE(std::is_sorted(others.begin(), others.end()));
    if (!picked.empty()) {
      EXPECT_EQ(lastPos - firstPos + 1, static_cast<int>(picked.size()));
      if (move == bmTop) {
        EXPECT_EQ(firstPos, 0);
      }
      if (move == bmBottom) {
        EXPECT_EQ(lastPos, n - 1);
      }
    }
  }
}

TEST(ExtSetKeywordFile, MissingOrForeignFilesOpenAsEmptyListsWithAMessage) {
  TScratchFolder dir;
  TFileSetting type;
  type.Keywords().Add().SetPattern("old");
  EXPECT_THAT(LoadKeyWordFileInto(dir.Path() + "none.hil", type), HasSubstr("見つかりません"));
  EXPECT_EQ(type.Keywords().Count(), 0);
  type.Keywords().Add().SetPattern("old");
  // UTF-8 text is not Shift_JIS: "日本" in UTF-8.
  test::WriteFile(dir.Path() + "utf8.hil", "\xE6\x97\xA5\xE6\x9C\xAC\r\n");
  EXPECT_THAT(LoadKeyWordFileInto(dir.Path() + "utf8.hil", type), HasSubstr("Shift_JIS"));
  EXPECT_EQ(type.Keywords().Count(), 0);
  test::WriteFile(dir.Path() + "nul.hil", std::string("a\0b", 3));
  test::WriteFile(dir.Path() + "utf16.hil", std::string("\xFF\xFE" "a\0" "b\0", 6));
  EXPECT_THAT(LoadKeyWordFileInto(dir.Path() + "utf16.hil", type), HasSubstr("Shift_JIS"));
  EXPECT_THAT(LoadKeyWordFileInto(dir.Path() + "nul.hil", type), HasSubstr("Shift_JIS"));
  EXPECT_THAT(LoadKeyWordFileInto(dir.Path(), type), HasSubstr("見つかりません"));
}

TEST(ExtSetKeywordFile, AnUnreadableFileGivesItsReason) {
  TScratchFolder dir;
  const std::string path = dir.Path() + "locked.hil";
  test::WriteFile(path, "x\r\n");
  std::filesystem::permissions(path, std::filesystem::perms::none);
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::all, std::filesystem::perm_options::add);
  const int result = testing::RunUnprivileged([&] {
    TFileSetting type;
    type.Keywords().Add().SetPattern("old");
    const std::string message = LoadKeyWordFileInto(path, type);
    return message.find("キーワードは空になります") != std::string::npos && type.Keywords().Count() == 0 ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
}

TEST(ExtSetKeywordFile, ShiftJisDetectionFollowsLeadAndTrailBytes) {
  EXPECT_TRUE(IsShiftJisText("abc\r\n"));
  EXPECT_TRUE(IsShiftJisText("\x93\xFA\x96\x7B"));  // 日本
  EXPECT_TRUE(IsShiftJisText("\xB1\xB2"));          // half-width katakana
  EXPECT_FALSE(IsShiftJisText("\x93"));             // lead byte at the end
  EXPECT_FALSE(IsShiftJisText("\x93\x20"));         // no trail byte
  EXPECT_FALSE(IsShiftJisText("\x80"));
  EXPECT_EQ(CommentSetLimitMessage(), "コメントセット文字列の最大値は 14個です");
}

TEST(ColorPage, OrderListsEveryEntryButThreeAndTheComboSkipsTheSeparators) {
  const auto order = ColorDialogOrder();
  EXPECT_EQ(order.size(), 45u);
  std::vector<int> sorted(order.begin(), order.end());
  std::sort(sorted.begin(), sorted.end());
  for (int missing : {14, 42, 43}) EXPECT_FALSE(std::binary_search(sorted.begin(), sorted.end(), missing));
  EXPECT_EQ(ColorComboOrder().size(), 43u);
  EXPECT_EQ(ComboIndexOfEntry(16), -1);
  EXPECT_EQ(EntryOfComboIndex(ComboIndexOfEntry(17)), 17);
  EXPECT_EQ(EntryOfComboIndex(-1), -1);
  EXPECT_EQ(EntryOfComboIndex(43), -1);
  for (int i = 0; i < 43; ++i) EXPECT_EQ(ComboIndexOfEntry(EntryOfComboIndex(i)), i);
}

TEST(ColorPage, LockBitsAndTransparencyDecideTheControls) {
  TVornEditColors colors;
  TColorPageState normal = ColorPageStateOf(colors, 0);
  EXPECT_TRUE(normal.TextColorEnabled);
  EXPECT_FALSE(normal.TextClearEnabled);  // 0x100
  EXPECT_FALSE(normal.BackClearEnabled);  // 0x080
  EXPECT_TRUE(normal.BoldEnabled);
  // 改行文字 (0x10F): no styles, no text transparency.
  TColorPageState ret = ColorPageStateOf(colors, 1);
  EXPECT_FALSE(ret.BoldEnabled || ret.ItalicEnabled || ret.UnderlineEnabled || ret.StrikeOutEnabled);
  EXPECT_TRUE(ret.BackColorEnabled);
  // 強調表示1 transparent text: everything but the text box is off, the sample uses entry 0.
  SetTextTransparent(colors, 17, true);
  EXPECT_EQ(colors[17].Color(), kTransparentColor);
  EXPECT_EQ(colors[17].BkColor(), kTransparentColor);
  TColorPageState t = ColorPageStateOf(colors, 17);
  EXPECT_TRUE(t.TextClearChecked && t.TextClearEnabled && t.BackClearChecked);
  EXPECT_FALSE(t.TextColorEnabled || t.BackColorEnabled || t.BackClearEnabled || t.BoldEnabled || t.BoldChecked);
  EXPECT_EQ(t.SampleText, colors[0].Color());
  EXPECT_EQ(t.SampleBack, colors[0].BkColor());
  SetTextTransparent(colors, 17, false);
  EXPECT_EQ(colors[17].Color(), colors[0].Color());
  EXPECT_TRUE(IsTransparentColor(colors[17].BkColor()));
  SetBackTransparent(colors, 17, false);
  EXPECT_EQ(colors[17].BkColor(), colors[0].BkColor());
}

TEST(ColorPage, UnifyingLeavesSelectionEmphasisAndTransparentBackgrounds) {
  TVornEditColors colors;
  colors[0].SetBkColor(0x00112233);
  SetBackTransparent(colors, 5, true);
  UnifyBackgrounds(colors);
  EXPECT_EQ(colors[9].BkColor(), clHighlight);    // 選択範囲 (0x200)
  EXPECT_EQ(colors[24].BkColor(), 0x00000080u);  // 行の強調2 (0x200)
  EXPECT_TRUE(IsTransparentColor(colors[5].BkColor()));
  EXPECT_EQ(colors[33].BkColor(), 0x00112233u);  // DIFF 追加行
  EXPECT_EQ(colors[17].BkColor(), 0x00112233u);
  ResetListedColors(colors);
  EXPECT_TRUE(colors == TVornEditColors());
}

TEST(ColorSetFile, TextFormRoundTripsAndWritesSignedNumbers) {
  TVornEditColors colors;
  SetTextTransparent(colors, 17, true);
  colors[18].SetStyle(fsBold | fsStrikeOut);
  const std::string text = ColorSetFileText(colors);
  EXPECT_EQ(text.substr(0, 16), "COLORSET VER.1\r\n");
  EXPECT_THAT(text, HasSubstr("\r\n-2147483647\r\n-2147483647\r\n1\r\n"));  // 強調表示1 stays bold
  EXPECT_THAT(text, HasSubstr("-16777211"));  // clWindow
  TVornEditColors read;
  LoadColorSetFile(text, read);
  EXPECT_TRUE(read == colors);
  EXPECT_EQ(ColorSetFileText(read), text);
}

TEST(ColorSetFile, ABadLineStopsWithEntriesBeforeItRead) {
  TVornEditColors read;
  EXPECT_THROW(LoadColorSetFile(" colorset ver.1 \r\n255\r\n0\r\n1\r\nred\r\n0\r\n0\r\n", read), EConvertError);
  EXPECT_EQ(read[0].Color(), 255u);
  EXPECT_EQ(read[0].BkColor(), 0u);
  EXPECT_EQ(read[0].Style(), fsBold);
  EXPECT_EQ(read[1].Color(), TVornEditColors()[1].Color());
}

TEST(ColorSetFile, AFileWithoutTheHeaderIsReadAsTheBinaryList) {
  // Count 1, background 0x00FF0000, text 0x000000FF, italic.
  const std::string bytes("\x01\0\0\0\0\0\xFF\0\xFF\0\0\0\x02", 13);
  TVornEditColors read;
  LoadColorSetFile(bytes, read);
  EXPECT_EQ(read[0].BkColor(), 0x00FF0000u);
  EXPECT_EQ(read[0].Color(), 0x000000FFu);
  EXPECT_EQ(read[0].Style(), fsItalic);
  EXPECT_EQ(read[1].Color(), TVornEditColors()[1].Color());
}

struct TKeyPageFixture : ::testing::Test {
  TKeyTable table = TKeyTable::BuiltIn();
  int hotKey = -1;
  int hotKeyModifier = 0;
  TKeyAssignPage page{table, hotKey, hotKeyModifier};
};

TEST_F(TKeyPageFixture, AssignListAndClearKeysOfAFunction) {
  const int save = FunctionNumber("SaveFile");
  EXPECT_THAT(page.KeysOf(save), ElementsAre("CTRL+S"));
  EXPECT_EQ(page.Assign(save, kmAlt | kmCtrl, vk::Letter('S')), aoAssigned);
  EXPECT_EQ(page.Assign(save, 0, vk::F12), aoAssigned);
  EXPECT_THAT(page.KeysOf(save), ElementsAre("F12", "CTRL+S", "ALT+CTRL+S"));
  page.Clear(kmCtrl, vk::Letter('S'));
  EXPECT_THAT(page.KeysOf(save), ElementsAre("F12", "ALT+CTRL+S"));
  EXPECT_EQ(page.AssignedAt(kmCtrl, vk::Letter('S')), kNoAssignment);
  page.ResetToBuiltIn();
  EXPECT_TRUE(table == TKeyTable::BuiltIn());
}

TEST_F(TKeyPageFixture, ShiftExtendingFunctionsRefuseShiftCombinations) {
  const int left = FunctionNumber("CursorLeft");
  ASSERT_TRUE(FunctionByNumber(left)->ShiftExtends);
  EXPECT_EQ(page.Assign(left, kmShift | kmCtrl, vk::Letter('B')), aoRefusedShift);
  EXPECT_EQ(page.AssignedAt(kmShift | kmCtrl, vk::Letter('B')), kNoAssignment);
  EXPECT_EQ(page.Assign(left, kmCtrl, vk::Letter('B')), aoAssigned);
  EXPECT_EQ(page.Assign(left, 0, 0), aoNothing);
  EXPECT_THAT(ShiftExtendsRefusal(), HasSubstr("SHIFTを含んだキーには割り当てられません"));
}

TEST_F(TKeyPageFixture, TheHotKeyIsAskedForStoredOnceAndClearedWithItsValues) {
  EXPECT_TRUE(page.AssignEnabled(true, kHotKeyFunction, true));
  EXPECT_EQ(page.Assign(kHotKeyFunction, kmCtrl | kmAlt, vk::Letter('H')), aoAskHotKey);
  EXPECT_EQ(page.AssignedAt(kmCtrl | kmAlt, vk::Letter('H')), kNoAssignment);  // nothing before Yes
  page.AssignHotKey(kmCtrl | kmAlt, vk::Letter('H'));
  EXPECT_EQ(hotKey, vk::Letter('H'));
  EXPECT_EQ(hotKeyModifier, 3);  // Alt 1 + Ctrl 2
  EXPECT_THAT(page.KeysOf(kHotKeyFunction), ElementsAre("ALT+CTRL+H"));
  EXPECT_FALSE(page.AssignEnabled(true, kHotKeyFunction, true));
  page.AssignHotKey(kmShift, vk::F12);
  EXPECT_THAT(page.KeysOf(kHotKeyFunction), ElementsAre("SHIFT+F12"));
  EXPECT_EQ(hotKeyModifier, 4);
  // Giving the hot key's combination to a function takes the hot key away too.
  EXPECT_EQ(page.Assign(FunctionNumber("Find"), kmShift, vk::F12), aoAssigned);
  EXPECT_EQ(hotKey, -1);
  EXPECT_EQ(hotKeyModifier, 0);
  EXPECT_FALSE(page.AssignEnabled(false, FunctionNumber("Find"), true));
  EXPECT_FALSE(page.AssignEnabled(true, FunctionNumber("Find"), false));
  for (int m = 0; m < 8; ++m) EXPECT_EQ(ModifiersOfHotKey(HotKeyModifierOf(m)), m);
}

TEST(ToolBarPage, InsertBeforeTheSelectionMoveAndRemoveWithTheirLimits) {
  TToolBarList bar({1, 2});
  EXPECT_FALSE(bar.CanRemove() || bar.CanMoveUp() || bar.CanMoveDown());
  bar.Insert(7);  // no selection: appended
  EXPECT_THAT(bar.Buttons(), ElementsAre(1, 2, 7));
  EXPECT_EQ(bar.Selected(), 2);
  EXPECT_FALSE(bar.CanMoveDown());
  bar.Select(0);
  EXPECT_FALSE(bar.CanMoveUp());
  bar.Insert(TToolBarList::kSeparator);
  EXPECT_THAT(bar.Buttons(), ElementsAre(-1, 1, 2, 7));
  EXPECT_EQ(bar.Selected(), 0);
  bar.MoveDown();
  bar.MoveDown();
  EXPECT_THAT(bar.Buttons(), ElementsAre(1, 2, -1, 7));
  bar.Select(3);
  bar.Remove();
  EXPECT_THAT(bar.Buttons(), ElementsAre(1, 2, -1));
  EXPECT_EQ(bar.Selected(), 2);
  EXPECT_EQ(ToolBarRowText(-1), "[--------]");
}

TEST(CommonSetPage, CommandHelpNamesAndMacroRows) {
  EXPECT_EQ(CommandHelpPage("Macro10Action"), "CMD_MacroX.html");
  EXPECT_EQ(CommandHelpPage("Macro1Action"), "CMD_MacroX.html");
  EXPECT_EQ(CommandHelpPage("JumpMark0Action"), "CMD_JumpMarkX.html");
  EXPECT_EQ(CommandHelpPage("SaveFileAction"), "CMD_SaveFile.html");
  EXPECT_EQ(MacroSlotFileText("/p/", "/p/Macro/a.mac"), "a.mac");
  EXPECT_EQ(MacroSlotFileText("/p/", "/p/Macro/sub/a.mac"), "/p/Macro/sub/a.mac");
  EXPECT_EQ(MacroSlotFileText("/p/", "/q/a.mac"), "/q/a.mac");
}

// Two editors that opened the file-type dialog at the same time: the first OK saves, the
// second is asked, and a No to the question keeps the first one's settings on disk.
TEST(ExtSetFonts, ScalableSizesFollowWholePixelHeightsWithHalvesBetween) {
  std::vector<std::string> texts;
  for (const TFontSizeEntry& e : ScalableFontSizes(96)) texts.push_back(e.Text);
  EXPECT_THAT(texts, ElementsAre("8", "9", "10", "10.5", "11", "12", "13", "13.5", "14", "15", "16", "18", "20", "22",
                                 "24", "26", "28", "36", "48", "74"));
  const std::vector<TFontSizeEntry> sizes = ScalableFontSizes(96);
  EXPECT_EQ(sizes[3], (TFontSizeEntry{"10.5", -14}));
  EXPECT_EQ(sizes.back(), (TFontSizeEntry{"74", -99}));
}

TEST(ExtSetFonts, RasterSizesAreSortedPointSizesWithoutRepeats) {
  EXPECT_THAT(RasterFontSizes({13, 16, 16, 20, 10}, 96),
              ElementsAre(TFontSizeEntry{"8", -11}, TFontSizeEntry{"10", -13}, TFontSizeEntry{"12", -16},
                          TFontSizeEntry{"15", -20}));
  EXPECT_TRUE(RasterFontSizes({}, 96).empty());
}

TEST(ExtSetFonts, FixedPitchWantsEqualAdvancesAndDoubleWidthKana) {
  EXPECT_TRUE(IsFixedPitch({8, 8, 8, 16}));  // a Japanese fixed-pitch font
  EXPECT_TRUE(IsFixedPitch({7, 7, 7, 0}));   // a Western one without kana
  EXPECT_FALSE(IsFixedPitch({4, 12, 8, 0}));
  EXPECT_FALSE(IsFixedPitch({8, 8, 8, 13}));  // fixed Latin beside proportional kana
  EXPECT_FALSE(IsFixedPitch({0, 0, 0, 0}));   // a font that measures nothing
}

TEST(ExtSetAssociation, TheFieldTakesExtensionsOnlyAndRegisteringWantsOneSelected) {
  EXPECT_EQ(AssociationFieldFor(".TXT"), ".TXT");
  EXPECT_EQ(AssociationFieldFor("README*"), "");
  EXPECT_TRUE(CanRegisterAssociation(true, ".TXT"));
  EXPECT_FALSE(CanRegisterAssociation(false, ".TXT"));
  EXPECT_FALSE(CanRegisterAssociation(true, "TXT"));
  EXPECT_FALSE(CanRegisterAssociation(true, ""));
  EXPECT_EQ(AssociationTypeName("", "Plain text document", "テキスト"), "");
  EXPECT_EQ(AssociationTypeName(".TXT", "Plain text document", "テキスト"), "Plain text document");
  EXPECT_EQ(AssociationTypeName(".ABC", "", "テキスト"), "テキスト");
}

// "位置の記憶" writes at once into the file other editors share, keeping what they wrote there.
TEST(ExtSetPosition, RememberedOnlyWhileTheMainWindowHasAFixedPosition) {
  TScratchFolder dir;
  const std::string ini = dir.Path() + "Common.ini";
  EXPECT_FALSE(RememberFixedPosition(ini, false, 10, 20));
  EXPECT_FALSE(test::Exists(ini));
  test::WriteFile(ini, "[Standard]\r\nToolBar=0\r\nPositionFixX=1\r\n");
  EXPECT_TRUE(RememberFixedPosition(ini, true, 120, -40));
  TCommonSet read(dir.Path());
  read.LoadFrom(ini);
  EXPECT_EQ(read.PositionFixX, 120);
  EXPECT_EQ(read.PositionFixY, -40);
  EXPECT_THAT(test::ReadFile(ini), HasSubstr("ToolBar=0"));
}

TEST(ConcurrentSave, TheSecondTypeListSaveAsksBeforeOverwriting) {
  TScratchFolder dir;
  const std::string user = dir.Sub("user");
  { TTypeList seed({user, dir.Sub("Setting")}); seed.Save(); }
  TTypeList first({user, dir.Path() + "Setting/"}), second({user, dir.Path() + "Setting/"});
  first.Load();
  second.Load();
  TSettingsSaveGuard firstGuard([&] { return TypeSettingsFingerprint(user); });
  TSettingsSaveGuard secondGuard([&] { return TypeSettingsFingerprint(user); });
  first.LoadAll();
  first.Items(0).TabCol = 4;
  second.LoadAll();
  second.Items(0).TabCol = 2;
  int asked = 0;
  EXPECT_TRUE(firstGuard.Save([&] { ++asked; return true; }, [&] { first.Save(); }));
  EXPECT_EQ(asked, 0);
  EXPECT_FALSE(secondGuard.Save([&] { ++asked; return true; }, [&] { second.Save(); }));
  EXPECT_EQ(asked, 1);
  TTypeList reread({user, dir.Path() + "Setting/"});
  reread.Load();
  reread.EnsureLoaded(reread.Items(0));
  EXPECT_EQ(reread.Items(0).TabCol, 4);
  // Overwriting is the user's choice, and after it the guard starts from what it wrote.
  EXPECT_TRUE(secondGuard.Save([&] { ++asked; return false; }, [&] { second.Save(); }));
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(secondGuard.ChangedElsewhere());
}

// The common settings of two dialogs each changed another key: both survive, nobody is asked.
TEST(ConcurrentSave, CommonSettingsOfTwoDialogsKeepBothChanges) {
  TScratchFolder dir;
  const std::string ini = dir.Path() + "Common.ini";
  TCommonSet a(dir.Path()), b(dir.Path());
  a.LoadFrom(ini);
  b.LoadFrom(ini);
  a.UndoSize = 500;
  b.QuoteHeader = "| ";
  a.SaveTo(ini);
  b.SaveTo(ini);
  TCommonSet read(dir.Path());
  read.LoadFrom(ini);
  EXPECT_EQ(read.UndoSize, 500);
  EXPECT_EQ(read.QuoteHeader, "| ");
}

TEST(ConcurrentSave, KeyFilesFingerprintSeesAnotherEditorsKeyMap) {
  TScratchFolder dir;
  TSettingsSaveGuard guard([&] { return KeyMapFingerprint(dir.Path()); });
  EXPECT_FALSE(guard.ChangedElsewhere());
  test::WriteFile(dir.Path() + "Key.dat", std::string(8192, '\xFF'));
  EXPECT_TRUE(guard.ChangedElsewhere());
}

}  // namespace
}  // namespace vorn
