// Drags through a real X server, the pointer moved by XTest as a hand would: a box selection
// dragged from this process's pane into another process's pane arrives with its exact
// Shift_JIS bytes and its shape, and text dragged in from another program is inserted with what
// Shift_JIS cannot hold left out and counted.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include "X11TestKit.h"
#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

// Pointer steps run from a timer, so that they go on while a drag's own loop runs.
class TPointerScript {
public:
  explicit TPointerScript(xcb_connection_t* c) : c_(c), root_(xcb_setup_roots_iterator(xcb_get_setup(c)).data->root) {}
  void MoveTo(QPoint p) {
    steps_.push_back([this, p] { Fake(XCB_MOTION_NOTIFY, 0, p); });
  }
  // Moves in small steps, as a drag threshold and the drop protocol expect.
  void SlideTo(QPoint from, QPoint to, int steps = 12) {
    for (int i = 1; i <= steps; ++i) MoveTo(from + (to - from) * i / steps);
  }
  // The drop protocol answers each position over the server and sends no new one meanwhile; on
  // a loaded machine the answers lag the pointer, so the last position sent may be one the
  // slide passed. A few more small moves, well spaced, leave the target's last position at p.
  void SettleAt(QPoint p) {
    for (int i = 0; i < 4; ++i) {
      Wait(5);
      MoveTo(p + QPoint(i % 2, 0));
    }
    MoveTo(p);
    Wait(10);
  }
  void Press() {
    steps_.push_back([this] { Fake(XCB_BUTTON_PRESS, 1, {}); });
  }
  void Release() {
    steps_.push_back([this] { Fake(XCB_BUTTON_RELEASE, 1, {}); });
  }
  void Wait(int ticks) {
    for (int i = 0; i < ticks; ++i) steps_.push_back([] {});
  }
  // Plays the steps 40 ms apart; true when all ran within the time.
  bool Play(int timeoutMs = 15000) {
    std::size_t next = 0;
    QTimer timer;
    timer.setInterval(40);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (next < steps_.size()) steps_[next++]();
    });
    timer.start();
    QElapsedTimer clock;
    clock.start();
    while (next < steps_.size() && clock.elapsed() < timeoutMs) QTest::qWait(20);
    QTest::qWait(200);
    return next == steps_.size();
  }

private:
  void Fake(uint8_t type, uint8_t detail, QPoint p) {
    xcb_test_fake_input(c_, type, detail, XCB_CURRENT_TIME, type == XCB_MOTION_NOTIFY ? root_ : XCB_NONE,
                        static_cast<int16_t>(p.x()), static_cast<int16_t>(p.y()), 0);
    xcb_flush(c_);
  }
  xcb_connection_t* c_;
  xcb_window_t root_;
  std::vector<std::function<void()>> steps_;
};

class DragX11 : public ::testing::Test {
protected:
  void SetUp() override {
    connection = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection), 0);
    edit = std::make_unique<TVornEdit>(NewWrappedStore());
    edit->setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    edit->setGeometry(0, 0, 400, 200);
    edit->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(edit.get()));
  }
  void TearDown() override {
    if (peer.state() != QProcess::NotRunning) {
      peer.kill();
      peer.waitForFinished(3000);
    }
    xcb_disconnect(connection);
  }
  void Load(const std::string& sjis) {
    TVornEditScreenStrings& store = edit->Core().Store();
    store.ReplaceRows(0, store.Count(), sjis);
    edit->Core().SetCaretPos(0, 0);
    edit->Flush();
  }
  // The screen point of a cell of a pane whose window lies at origin.
  static QPoint Cell(const TVornEdit& pane, QPoint origin, int row, int col) {
    const TEditMetrics& m = pane.Metrics();
    return origin + pane.viewport()->pos() + QPoint(m.TextLeft() + col * m.CellWidth() + 2, m.TextTop() + row * m.RowHeight() + m.RowHeight() / 2);
  }
  bool StartPeer(const QStringList& args) {
    QFile::remove(args[3]);
    QFile::remove(args[3] + ".ready");
    peer.start(QStringLiteral(VORN_BIN_DIR "/vorn_drag_peer"), args);
    if (!peer.waitForStarted(5000)) return false;
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(args[3] + ".ready") && clock.elapsed() < 10000) QTest::qWait(50);
    QTest::qWait(300);
    return QFile::exists(args[3] + ".ready");
  }
  static QByteArray WaitForFile(const QString& path, const QByteArray& expected) {
    QElapsedTimer clock;
    clock.start();
    QByteArray bytes;
    while (clock.elapsed() < 8000) {
      QFile f(path);
      if (f.open(QIODevice::ReadOnly)) bytes = f.readAll();
      if (bytes == expected) break;
      QTest::qWait(100);
    }
    return bytes;
  }

  xcb_connection_t* connection = nullptr;
  std::unique_ptr<TVornEdit> edit;
  QProcess peer;
  QTemporaryDir dir;
  // VORN_DRAG_OUTPUT keeps the peer's text and picture somewhere to look at.
  QString OutPath(const QString& name) const { return qEnvironmentVariable("VORN_DRAG_OUTPUT", dir.path()) + "/" + name; }
};

TEST_F(DragX11, ABoxDraggedIntoAnotherProcessKeepsItsBytesAndShape) {
  // 0xEE 0xEF is an NEC-selected IBM character: its plain text maps back to another code, so only
  // the exact bytes can carry it.
  Load("ab\xEE\xEF" "cd\r\nef\x82\xA0gh\r\nlast\r\n");
  TVornEditCore& core = edit->Core();
  core.SetBoxMode(true);
  core.SetCaretPos(0, 2);
  core.StartSelection();
  core.SetCaretPos(1, 4);
  core.ExtendSelection();
  edit->Flush();
  ASSERT_EQ(core.GetSelText(), "\xEE\xEF\r\n\x82\xA0\r\n");
  const QString out = OutPath("peer.txt");
  const QPoint peerAt(500, 100);
  ASSERT_TRUE(StartPeer({"edit", "500", "100", out, QByteArray("1234567\r\n1234567\r\n").toHex()}));

  // The peer's pane has this pane's size, font and margins, so its cells lie where ours do.
  TPointerScript script(connection);
  const QPoint from = Cell(*edit, {0, 0}, 0, 2), to = Cell(*edit, peerAt, 0, 2);
  script.MoveTo(from);
  script.Wait(2);
  script.Press();
  script.Wait(2);
  script.SlideTo(from, to, 20);
  script.SettleAt(to);
  script.Release();
  script.Wait(4);
  ASSERT_TRUE(script.Play());
  EXPECT_EQ(WaitForFile(out, "12\xEE\xEF" "34567\r\n12\x82\xA0" "34567\r\n"), QByteArray("12\xEE\xEF" "34567\r\n12\x82\xA0" "34567\r\n"));
  // A drop elsewhere copies: the source keeps its text and loses its selection.
  EXPECT_FALSE(core.HasSelection());
  EXPECT_EQ(core.GetRowText(0), "ab\xEE\xEF" "cd");
}

TEST_F(DragX11, TextFromAnotherProgramIsInsertedWithTheLossCounted) {
  Load("[]\r\n");
  int unheld = 0;
  QObject::connect(edit.get(), &TVornEdit::CharactersDropped, [&unheld](int n) { unheld += n; });
  const QString out = OutPath("foreign.txt");
  ASSERT_TRUE(StartPeer({"foreign", "500", "300", out}));
  TPointerScript script(connection);
  const QPoint from(600, 350), to = Cell(*edit, {0, 0}, 0, 1);
  script.MoveTo(from);
  script.Wait(2);
  script.Press();
  script.Wait(2);
  script.SlideTo(from, to, 20);
  script.SettleAt(to);
  script.Release();
  script.Wait(4);
  ASSERT_TRUE(script.Play());
  EXPECT_EQ(WaitForFile(out, "copied"), QByteArray("copied"));
  EXPECT_EQ(edit->Core().GetRowText(0), "[\x8A\x4F\x95\x94 text !]");
  EXPECT_EQ(unheld, 1);
}

}  // namespace
}  // namespace vorn::test
