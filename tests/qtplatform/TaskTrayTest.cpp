// The tray component on a real X server: its identifier and registration rules, and, with a
// notification area running (trayer), the menu a button release pops up, which holds off a
// second one until it is done.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QPixmap>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

#include <memory>
#include <string>

#include "X11TestKit.h"
#include "qtplatform/PopupMenuEx.h"
#include "qtplatform/TaskTray.h"

namespace vorn {
namespace {

QIcon SomeIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::darkBlue);
  return QIcon(pixmap);
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const ETrayError& e) {
    return e.what();
  }
  return {};
}

bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) QTest::qWait(20);
  return done();
}

TEST(TaskTray, IdentifiersAreUniqueAndRegistrationNeedsAnIconAndAnArea) {
  TTaskTray first;
  auto second = std::make_unique<TTaskTray>();
  EXPECT_EQ(first.IconID() + 1, second->IconID());
  EXPECT_EQ(ErrorOf([&] { second->SetIconID(0); }), "0以下は指定できません");
  EXPECT_EQ(ErrorOf([&] { second->SetIconID(first.IconID()); }), "同じアイコン識別子が有ります");
  second->SetIconID(40);
  EXPECT_EQ(TTaskTray().IconID(), 41);  // the highest in use + 1
  second.reset();
  EXPECT_EQ(ErrorOf([&] { first.SetIconID(40); }), "");  // freed with its tray

  first.SetTipString(QString(80, QLatin1Char('x')));
  EXPECT_EQ(first.TipString().size(), 63);
  EXPECT_EQ(ErrorOf([&] { first.SetRegistered(true); }), "アイコンが指定されていません");
  first.SetIcon(SomeIcon());
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());  // no area runs yet
  EXPECT_EQ(ErrorOf([&] { first.SetRegistered(true); }), "タスクトレイに登録できません");
  EXPECT_FALSE(first.Registered());
}

TEST(TaskTray, WithAnAreaItRegistersAndAReleasePopsOneMenuAtATime) {
  TTrayHost host;
  ASSERT_TRUE(WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); })) << "trayer did not start";
  TTaskTray tray;
  tray.SetIcon(SomeIcon());
  tray.SetTipString(QStringLiteral("VornEditor"));
  EXPECT_EQ(ErrorOf([&] { tray.SetRegistered(true); }), "");
  EXPECT_TRUE(tray.Registered());

  TPopupMenuEx right;
  QAction* item = right.addAction(QStringLiteral("新規作成(&N)"));
  tray.SetPopupMenuR(&right);
  QSignalSpy ups(&tray, &TTaskTray::MouseUp);
  QSignalSpy done(&right, &TPopupMenuEx::DonePopup);
  QSignalSpy chosen(item, &QAction::triggered);

  tray.ReleaseButton(TTaskTray::tbRight, QPoint(300, 200));
  ASSERT_TRUE(WaitFor([&] { return right.isVisible(); }));
  EXPECT_TRUE(right.Showing());
  EXPECT_TRUE(TTaskTray::Busy());
  tray.ReleaseButton(TTaskTray::tbRight, QPoint(300, 200));  // a second release while open: nothing
  EXPECT_EQ(ups.count(), 1);

  right.setActiveAction(item);
  QTest::keyClick(&right, Qt::Key_Return);
  ASSERT_TRUE(WaitFor([&] { return done.count() == 1; }));
  EXPECT_EQ(chosen.count(), 1);  // the action ran before the menu said it is done
  EXPECT_FALSE(right.Showing());
  EXPECT_FALSE(TTaskTray::Busy());
}

}  // namespace
}  // namespace vorn
