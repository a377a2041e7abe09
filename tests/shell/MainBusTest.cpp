// The window on the bus: a second endpoint's process asks for the file name, jumps to a line,
// saves and closes the window, with the requests sent from another thread while the window's
// loop answers them.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "platform/BusClient.h"
#include "platform/BusFolder.h"
#include "platform/BusMessage.h"
#include "shellcore/BusWindowHandler.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <fstream>
#include <future>
#include <iterator>

#include <sys/stat.h>

namespace vorn {
namespace {

using testing::TQuietPrompts;

class MainBusTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(::mkdir((dir_ / "run").c_str(), 0700), 0); }

  std::unique_ptr<TVornEditMain> NewWindow() {
    auto w = std::make_unique<TVornEditMain>();
    w->SetHandOffEnabled(false);
    w->SetDocumentPrompts(&prompts_);
    w->Services().startProgram = [](const std::string&) {};
    return w;
  }

  TBusReply Send(const TVornEditMain& w, TBusMessage message, std::int64_t wParam = 0, std::int64_t lParam = 0) {
    return testing::SendFromOutside(TBusFolder(dir_ / "run"), w, message, wParam, lParam);
  }

  int CaretLine(TVornEditMain& w) { return w.CaretPositionText().split(':').first().trimmed().toInt(); }

  vorn::testing::TTempFolder dir_;
  TQuietPrompts prompts_;
};

TEST_F(MainBusTest, AnotherProcessAsksTheNameJumpsSavesAndClosesTheWindow) {
  const std::string path = dir_.Write("doc.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n");
  auto w = NewWindow();
  ASSERT_EQ(w->OpenBus(TBusFolder(dir_ / "run")), "");
  ASSERT_NE(w->BusId(), 0);

  TBusReply r = Send(*w, TBusMessage::bmQueryOpenFile);
  EXPECT_EQ(r.status, TBusStatus::bsHandled);
  EXPECT_EQ(r.text, std::string(kUntitledMarker));

  ASSERT_TRUE(w->LoadDocument(path, false));
  EXPECT_EQ(Send(*w, TBusMessage::bmQueryOpenFile).text, path);
  const TBusFolder folder(dir_ / "run");
  const auto peers = folder.List();
  ASSERT_EQ(peers.size(), 1u);
  EXPECT_EQ(peers[0].title, w->windowTitle().toStdString()) << "the record follows the caption";

  r = Send(*w, TBusMessage::bmLineJump, 1, 4);
  EXPECT_EQ(r.status, TBusStatus::bsHandled);
  EXPECT_EQ(CaretLine(*w), 4);
  r = Send(*w, TBusMessage::bmLineJump, 0, 2);
  EXPECT_EQ(CaretLine(*w), 2) << "rows equal lines without wrapping";
  r = Send(*w, TBusMessage::bmLineJump, 1, 0);
  EXPECT_EQ(r.result, 0) << "line 0 names no line";
  r = Send(*w, TBusMessage::bmLineJump, 0, 99);
  EXPECT_EQ(r.result, 0) << "no row 99";
  EXPECT_EQ(CaretLine(*w), 2);
  Send(*w, TBusMessage::bmLineJump, 1, -1);
  EXPECT_EQ(CaretLine(*w), 6) << "-1 is the end of the text";

  w->Editor()->Core().SetCaretPos(0, 0);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  QApplication::sendEvent(w->Editor(), &press);
  ASSERT_TRUE(w->Modified());
  r = Send(*w, TBusMessage::bmSave, 1);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(testing::ReadBytes(path), "x1\r\n2\r\n3\r\n4\r\n5\r\n");
  EXPECT_FALSE(w->Modified());

  w->show();
  r = Send(*w, TBusMessage::bmSaveClose);
  EXPECT_EQ(r.result, 1);
  QElapsedTimer waited;
  waited.start();
  while (w->isVisible() && waited.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_FALSE(w->isVisible());
}

TEST_F(MainBusTest, ASaveThatFailsKeepsTheWindowOpen) {
  ASSERT_EQ(::mkdir((dir_ / "gone").c_str(), 0700), 0);
  const std::string path = dir_.Write("gone/doc.txt", "a\r\n");
  auto w = NewWindow();
  ASSERT_EQ(w->OpenBus(TBusFolder(dir_ / "run")), "");
  ASSERT_TRUE(w->LoadDocument(path, false));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  QApplication::sendEvent(w->Editor(), &press);
  ASSERT_EQ(::unlink(path.c_str()), 0);
  ASSERT_EQ(::rmdir((dir_ / "gone").c_str()), 0);  // the save has nowhere to go, even as root
  w->show();
  const TBusReply r = Send(*w, TBusMessage::bmSaveClose);
  EXPECT_EQ(r.result, 0);
  for (int i = 0; i < 20; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->Modified());
}

}  // namespace
}  // namespace vorn
