// The station on a real X server: the hot key pressed on the keyboard (XTest) pops the tray
// menu up with the configured history length, even with no notification area; a key another
// program holds is named in the menu when the settings are read again; the icon waits for a
// notification area that starts after the station; and a history reload that arrives while
// the menu is open is read once it closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "X11TestKit.h"
#include "platform/BusClient.h"
#include "platform/VornUtil.h"
#include "qtplatform/PopupMenuEx.h"
#include "shell/Station.h"
#include "shell/StationTray.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/FileHistory.h"
#include "shellcore/InstanceCoordination.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

bool WaitFor(const std::function<bool()>& done, int ms = 8000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) QTest::qWait(20);
  return done();
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

void WriteHistory(const std::string& folder, int entries) {
  TFileHistory history;
  for (int i = entries; i >= 1; --i) history.Touch("/home/u/doc" + std::to_string(i) + ".txt");
  WriteFile(folder + "FileHist.fhd", SaveFileHistoryBytes(history));
}

void WriteStationIni(const std::string& folder, int hotKey, int historyCount) {
  WriteFile(folder + "Common.ini", "[Standard]\r\nStationFileHistMenuCount=" + std::to_string(historyCount) +
                                       "\r\n\r\n[Station]\r\nHotKey=" + std::to_string(hotKey) +
                                       "\r\nHotKeyModifier=3\r\n\r\n");  // Alt 1 + Ctrl 2
}

QMenu* HistoryMenu(TPopupMenuEx& menu) {
  for (QAction* a : menu.actions())
    if (a->menu()) return a->menu();
  return nullptr;
}

void CloseMenu(TPopupMenuEx& menu) {
  menu.hide();
  ASSERT_TRUE(WaitFor([&] { return !menu.Showing(); }));
}

TEST(StationTray, TheHotKeyPopsTheMenuWithoutATrayAndATakenKeyIsNamedInIt) {
  const std::string folder = UserFolder();
  WriteStationIni(folder, 0x56, 2);  // Ctrl+Alt+V, two history entries
  WriteHistory(folder, 5);
  TVornEditStation station(folder);
  station.ShowInTray();
  TStationTray& tray = *station.Tray();
  EXPECT_FALSE(tray.IconShown());  // no notification area runs
  EXPECT_EQ(tray.HotKeyState(), hkRegistered);

  TXTestClient keyboard;
  keyboard.Press({XK_Control_L, XK_Alt_L, XK_v});
  TPopupMenuEx& menu = *tray.Menu();
  ASSERT_TRUE(WaitFor([&] { return menu.isVisible(); }));
  EXPECT_EQ(menu.actions().front()->text(), QStringLiteral("新規作成(&N)"));
  QMenu* history = HistoryMenu(menu);
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(history->actions().size(), 2);
  EXPECT_TRUE(history->actions().front()->text().startsWith(QStringLiteral("0&1: doc1.txt")));
  CloseMenu(menu);

  // The settings dialog picks a key another program holds; the station reads them again.
  ASSERT_TRUE(keyboard.Grab(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
  WriteStationIni(folder, 0x42, 2);
  station.LoadCommonSettings();
  EXPECT_EQ(tray.HotKeyState(), hkTaken);
  QAction* notice = menu.actions().front();
  EXPECT_EQ(notice->text(), QStringLiteral("ホットキー Ctrl+Alt+B は他のプログラムが使っているため登録できません"));
  EXPECT_FALSE(notice->isEnabled());
  EXPECT_TRUE(keyboard.Grab(XK_v, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));  // the old key was given back
}

TEST(StationTray, TheIconWaitsForANotificationAreaThatStartsLater) {
  const std::string folder = UserFolder();
  WriteStationIni(folder, -1, 10);
  TVornEditStation station(folder);
  station.ShowInTray();
  EXPECT_FALSE(station.Tray()->IconShown());
  TTrayHost host;
  EXPECT_TRUE(WaitFor([&] { return station.Tray()->IconShown(); }, 15000));
}

TEST(StationTray, AHistoryReloadWhileTheMenuIsOpenIsReadWhenItCloses) {
  const std::string folder = UserFolder();
  WriteStationIni(folder, 0x56, 10);
  WriteHistory(folder, 1);
  TVornEditStation station(folder);
  const std::string runtime = folder + "run";
  fs::create_directories(runtime);
  const TBusFolder bus(runtime);
  ASSERT_EQ(station.OpenBus(bus), "");
  station.ShowInTray();
  TPopupMenuEx& menu = *station.Tray()->Menu();
  station.Tray()->HotKeyPressed();
  ASSERT_TRUE(WaitFor([&] { return menu.isVisible(); }));

  WriteHistory(folder, 3);
  ASSERT_TRUE(PostBusMessage(bus, station.BusId(), MakeBusRequest(TBusMessage::bmLoadFileHistory)));
  QTest::qWait(300);
  EXPECT_EQ(station.History().Count(), 1);  // the open menu keeps what it shows
  station.Tray()->HotKeyPressed();          // and a second press opens no second menu
  EXPECT_EQ(HistoryMenu(menu)->actions().size(), 1);
  CloseMenu(menu);
  EXPECT_TRUE(WaitFor([&] { return station.History().Count() == 3; }));
}

}  // namespace
}  // namespace vorn
