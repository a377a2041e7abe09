// The station's model: settings and hot key from Common.ini, the tray menu and what each of its
// entries starts, and the rules for events that arrive while the menu is open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PathVariables.h"
#include "settings/VornMemInifile.h"
#include "shellcore/FileHistory.h"
#include "shellcore/StationMenu.h"

namespace vorn {
namespace {

TStationSettings SettingsOf(const std::string& ini) {
  TVornMemInifile file("");
  file.SetText(ini);
  return ReadStationSettings(file);
}

TEST(StationSettings, DefaultsStoredHotKeysAndClampedCounts) {
  const TStationSettings none = SettingsOf("");
  EXPECT_EQ(none.HistoryMenuCount, 10);
  EXPECT_EQ(none.FolderHistoryCount, 10);
  EXPECT_FALSE(none.HotKey);  // "HotKey" -1: no hot key
  EXPECT_FALSE(none.CloseAtAllClose);

  // Stored Alt 1, Ctrl 2, Shift 4; the key table counts Shift 1, Ctrl 2, Alt 4.
  const TStationSettings s = SettingsOf(
      "[Standard]\r\nStationFileHistMenuCount=99\r\n\r\n[FolderHistory]\r\nCount=-3\r\n\r\n"
      "[Station]\r\nHotKey=86\r\nHotKeyModifier=3\r\nCloseAtAllClose=1\r\n\r\n");
  EXPECT_EQ(s.HistoryMenuCount, TFileHistory::kMaxEntries);
  EXPECT_EQ(s.FolderHistoryCount, 0);
  ASSERT_TRUE(s.HotKey);
  EXPECT_EQ(*s.HotKey, (THotKeyChord{86, 2 | 4}));
  EXPECT_TRUE(s.CloseAtAllClose);

  EXPECT_EQ(HotKeyFromStored(0x70, 4), (THotKeyChord{0x70, 1}));   // Shift+F1
  EXPECT_EQ(HotKeyFromStored(0x41, 5), (THotKeyChord{0x41, 1 | 4}));
  EXPECT_EQ(HotKeyFromStored(0x41, -1), (THotKeyChord{0x41, 0}));  // a key without modifiers
  EXPECT_FALSE(HotKeyFromStored(256, 2));
  EXPECT_FALSE(HotKeyFromStored(-2, 2));
}

TEST(StationMenu, EntriesInOrderWithTheFunctionsTheyRunAndANoticeOnTop) {
  std::vector<std::string> captions;
  std::vector<int> functions;
  for (const TStationMenuEntry& e : StationMenuEntries()) {
    captions.push_back(e.Kind == scSeparator ? "-" : e.Caption);
    functions.push_back(e.Function);
  }
  const std::vector<std::string> expected = {
      "新規作成(&N)", "開く(&O)...", "ファイル履歴(&H)", "GREP...", "-", "縦に並べる(&V)", "横に並べる(&H)",
      "重ねて表示(&C)", "並べて表示(&T)", "全部最小化(&N)", "-", "全終了(&Q)", "常駐終了(&X)"};
  EXPECT_EQ(captions, expected);
  EXPECT_EQ(functions, (std::vector<int>{-1, -1, -1, 144, -1, 102, 103, 104, 105, 106, -1, 11, -1}));

  const std::vector<TStationMenuEntry> withNotice = StationMenuEntries("このデスクトップではホットキーを使えません");
  ASSERT_EQ(withNotice.size(), expected.size() + 2);
  EXPECT_EQ(withNotice[0].Kind, scNotice);
  EXPECT_EQ(withNotice[1].Kind, scSeparator);
  EXPECT_EQ(withNotice[2].Kind, scNewEditor);
}

class TByteWidth : public TTextMeasure {
public:
  int TextWidth(std::string_view text) const override { return static_cast<int>(text.size()) * 7; }
};

TEST(StationMenu, HistoryHoldsTheConfiguredCountAndStartsEditorsOnQuotedNames) {
  TFileHistory history;
  for (int i = 12; i >= 1; --i) history.Touch("/home/u/f" + std::to_string(i) + ".txt");
  const TByteWidth measure;
  const std::vector<std::string> ten = StationHistoryCaptions(history, 10, measure);
  ASSERT_EQ(ten.size(), 10u);
  EXPECT_EQ(ten[0].substr(0, 9), "0&1: f1.t");
  EXPECT_EQ(ten[9].substr(0, 10), "&10: f10.t");
  EXPECT_TRUE(StationHistoryCaptions(history, 0, measure).empty());
  EXPECT_EQ(StationHistoryCaptions(history, 30, measure).size(), 12u);

  EXPECT_EQ(StationHistoryParams("/home/u/a b.txt"), "\"/home/u/a b.txt\"");
  // Automatic detection adds no switch; a chosen code comes first.
  EXPECT_EQ(StationOpenParams(std::nullopt, "/t/x.txt"), "\"/t/x.txt\"");
  EXPECT_EQ(StationOpenParams(ckEuc, "/t/x.txt"), "-oe \"/t/x.txt\"");
  EXPECT_EQ(StationOpenParams(ckUtf8N, "/t/x.txt"), "-on \"/t/x.txt\"");
}

TEST(StationState, TheOpenMenuHoldsBackHotKeyAndReloadsUntilItCloses) {
  TStationState state;
  EXPECT_TRUE(state.PopsUpOnHotKey());
  EXPECT_TRUE(state.ReloadsHistoryNow());
  EXPECT_FALSE(state.MenuClosed());  // nothing was held back

  state.MenuOpened();
  EXPECT_FALSE(state.PopsUpOnHotKey());
  EXPECT_FALSE(state.ReloadsHistoryNow());
  EXPECT_FALSE(state.ReloadsHistoryNow());
  EXPECT_TRUE(state.MenuClosed());   // the held-back reload runs once, when the menu closes
  EXPECT_FALSE(state.MenuClosed());
  EXPECT_TRUE(state.PopsUpOnHotKey());

  EXPECT_TRUE(TStationState::StartsEditorOnDoubleClick(0));
  EXPECT_FALSE(TStationState::StartsEditorOnDoubleClick(1));
  TStationSettings settings;
  EXPECT_FALSE(TStationState::EndsOnExitAll(settings));
  settings.CloseAtAllClose = true;
  EXPECT_TRUE(TStationState::EndsOnExitAll(settings));
}

TEST(StationState, HotKeyNoticesNameTheKeyAndSayNothingWhenAllIsWell) {
  const THotKeyChord chord{0x56, 2 | 4};
  EXPECT_EQ(HotKeyNotice(hkTaken, chord), "ホットキー Ctrl+Alt+V は他のプログラムが使っているため登録できません");
  EXPECT_EQ(HotKeyNotice(hkUnavailable, chord), "このデスクトップではホットキーを使えません");
  EXPECT_EQ(HotKeyNotice(hkRegistered, chord), "");
  EXPECT_EQ(HotKeyNotice(hkNone, std::nullopt), "");
}

}  // namespace
}  // namespace vorn
