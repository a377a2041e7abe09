// The window among other editors: outside programs' row and offset queries against a model of
// the rows, the commands over all documents reaching a recording peer, and the moves, states
// and settings reloads another process asks for.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"
#include "platform/BusClient.h"
#include "platform/BusEndpoint.h"
#include "platform/BusFolder.h"
#include "shellcore/BusWindowHandler.h"
#include "settings/TypeList.h"
#include "shellcore/FunctionTable.h"
#include "shell/CommandActions.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <atomic>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <random>
#include <thread>
#include <utility>

#include <sys/stat.h>

namespace vorn {
namespace {

using testing::TQuietPrompts;

// Another process's window: answers everything from a thread of its own and records what it got.
class TRecordingPeer {
public:
  TRecordingPeer(const std::string& runtime, const std::string& title) : endpoint_{TBusFolder(runtime)} {
    EXPECT_EQ(endpoint_.Open("TVornEditMain", title,
                             [this](const TBusRequest& r) {
                               // The history's own traffic is not what these tests watch.
                               if (r.name == "VORNEDITOR QUERY OPEN FILE" || r.name == "VORNEDITOR LOAD FILE HISTORY")
                                 return TBusWindowHandler::NotHandled();
                               std::lock_guard lock(mutex_);
                               got_.push_back(r.name + " " + std::to_string(r.wParam));
                               return TBusWindowHandler::Handled(1);
                             }),
              "");
    loop_ = std::thread([this] {
      while (!stop_) endpoint_.WaitAndProcess(20);
    });
  }
  ~TRecordingPeer() {
    stop_ = true;
    loop_.join();
  }
  // What arrived so far, once count messages did or waitMs passed.
  std::vector<std::string> Received(std::size_t count, int waitMs = 2000) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < waitMs) {
      {
        std::lock_guard lock(mutex_);
        if (got_.size() >= count) break;
      }
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::lock_guard lock(mutex_);
    return std::exchange(got_, {});
  }

private:
  TBusEndpoint endpoint_;
  std::mutex mutex_;
  std::vector<std::string> got_;
  std::atomic<bool> stop_{false};
  std::thread loop_;
};

class MainCoordinationTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(::mkdir((dir_ / "run").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((dir_ / "user").c_str(), 0700), 0);
  }

  std::unique_ptr<TVornEditMain> NewWindow() {
    auto w = std::make_unique<TVornEditMain>();
    w->SetHandOffEnabled(false);
    w->SetDocumentPrompts(&prompts_);
    w->Services().startProgram = [](const std::string&) {};
    w->SetHistoryPlaces(dir_ / "user/", dir_ / "run");
    EXPECT_EQ(w->OpenBus(TBusFolder(dir_ / "run")), "");
    return w;
  }

  // Sends as an outside program would; the message must be handled.
  std::int64_t Send(const TVornEditMain& w, TBusMessage message, std::int64_t wParam = 0, std::int64_t lParam = 0) {
    const TBusReply reply = testing::SendFromOutside(TBusFolder(dir_ / "run"), w, message, wParam, lParam);
    EXPECT_EQ(reply.status, TBusStatus::bsHandled) << BusMessageName(message);
    return reply.result;
  }

  static void Type(TVornEditMain& w, char c) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(w.Editor(), &press);
  }

  static void Run(TVornEditMain& w, std::string_view name) { ASSERT_TRUE(w.RunFunction(FunctionByName(name)->Number, false)); }

  vorn::testing::TTempFolder dir_;
  TQuietPrompts prompts_{TPromptAnswer::No};
};

// The rows of lines of letters wrapped at wrap bytes (0: no wrap), worked out independently of
// the store: a line end counts 2 in offsets, the last line has none.
struct TRowModel {
  struct TRow {
    int line, start, length, kind;  // kind 0: line end, 1: wrapped, 2: end of the text
  };
  std::vector<TRow> rows;
  int end = 0;

  TRowModel(const std::vector<std::string>& lines, int wrap) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const int length = static_cast<int>(lines[i].size());
      int at = 0;
      do {
        const int take = wrap > 0 ? std::min(wrap, length - at) : length - at;
        const int kind = at + take < length ? 1 : i + 1 == lines.size() ? 2 : 0;
        rows.push_back({static_cast<int>(i), end, take, kind});
        end += take + (kind == 0 ? 2 : 0);
        at += take;
      } while (at < length);
    }
  }
  int FirstRowOfLine(int line) const {
    int r = 0;
    while (rows[static_cast<std::size_t>(r)].line != line) ++r;
    return r;
  }
  // The row whose bytes and line end reach past offset; its column there.
  std::pair<int, int> PosOfOffset(int offset) const {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const TRow& row = rows[r];
      const int span = row.length + (row.kind == 0 ? 2 : row.kind == 2 ? 1 : 0);
      if (offset < row.start + span || row.kind == 2)
        return {static_cast<int>(r), std::min(offset - row.start, row.length)};
    }
    return {-1, -1};
  }
};

TEST_F(MainCoordinationTest, OutsideProgramsRowAndOffsetQueriesMatchAModelOfTheRows) {
  std::mt19937 rng(20261209);
  for (const int wrap : {0, 11}) {
    std::vector<std::string> lines{"abc"};
    for (int i = 0; i < 60; ++i) {
      int length = std::uniform_int_distribution<int>(0, 40)(rng);
      if (wrap > 0 && length > 0 && length % wrap == 0) ++length;  // a full last row is the wrapper's choice
      std::string line;
      for (int k = 0; k < length; ++k) line += static_cast<char>('a' + std::uniform_int_distribution<int>(0, 25)(rng));
      lines.push_back(line);
    }
    if (lines.back().empty()) lines.back() = "z";  // a final line end would leave no last row to count
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    const std::string path = dir_.Write("doc" + std::to_string(wrap) + ".txt", text);
    auto w = NewWindow();
    w->resize(600, 300);
    w->show();
    ASSERT_TRUE(w->LoadDocument(path, false));
    TVornEditScreenStrings& store = w->Editor()->Core().Store();
    if (wrap > 0) WrapOptionOf(store).SetWrapByte(wrap);
    store.SetWordWrap(wrap > 0);
    const TRowModel model(lines, wrap);
    ASSERT_EQ(w->Editor()->Core().RowCount(), static_cast<int>(model.rows.size())) << "wrap " << wrap;
    EXPECT_EQ(Send(*w, TBusMessage::bmRowColToChar, 1, 0), 5) << "\"abc\" and a line end counted as 2";

    const int rows = static_cast<int>(model.rows.size());
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int trial = 0; trial < 40; ++trial) {
      const int r = pick(0, rows - 1);
      const TRowModel::TRow& row = model.rows[static_cast<std::size_t>(r)];
      const int c = pick(0, std::max(0, row.length - (row.kind == 1 ? 1 : 0)));
      SCOPED_TRACE("wrap " + std::to_string(wrap) + " row " + std::to_string(r) + " col " + std::to_string(c));
      EXPECT_EQ(Send(*w, TBusMessage::bmSetCaretPos, r, c), 1);
      EXPECT_EQ(Send(*w, TBusMessage::bmGetCaretRowPos), r);
      EXPECT_EQ(Send(*w, TBusMessage::bmGetCaretColPos), c);
      EXPECT_EQ(Send(*w, TBusMessage::bmRowColToChar, r, c), row.start + c);
      EXPECT_EQ(Send(*w, TBusMessage::bmRowToLine, r), row.line);
      EXPECT_EQ(Send(*w, TBusMessage::bmLineToRow, row.line), model.FirstRowOfLine(row.line));
      const int offset = pick(0, model.end);
      EXPECT_EQ(Send(*w, TBusMessage::bmCharToRow, offset), model.PosOfOffset(offset).first) << "offset " << offset;
      EXPECT_EQ(Send(*w, TBusMessage::bmCharToCol, offset), model.PosOfOffset(offset).second) << "offset " << offset;
      const int top = pick(0, rows - 1);
      Send(*w, TBusMessage::bmSetTopRow, top);
      EXPECT_EQ(Send(*w, TBusMessage::bmGetTopRow), top);
    }
  }
}

TEST_F(MainCoordinationTest, SaveAllSavesEveryOtherEditorInTurnThenItselfAndOnlyModifiedSkipsAnUnmodifiedSelf) {
  TRecordingPeer peer(dir_ / "run", "other.txt");
  const std::string path = dir_.Write("doc.txt", "1\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->LoadDocument(path, false));
  Type(*w, 'x');
  Run(*w, "AllSave");
  EXPECT_EQ(peer.Received(2), (std::vector<std::string>{"VORNEDITOR SAVE 0", "VORNEDITOR SETFOCUS 0"}));
  EXPECT_EQ(testing::ReadBytes(path), "x1\r\n");
  EXPECT_FALSE(w->Modified());

  dir_.Write("doc.txt", "changed elsewhere\r\n");
  Run(*w, "AllSaveOnlyModified");
  EXPECT_EQ(peer.Received(2), (std::vector<std::string>{"VORNEDITOR SAVE 1", "VORNEDITOR SETFOCUS 0"}));
  EXPECT_EQ(testing::ReadBytes(path), "changed elsewhere\r\n") << "an unmodified document is not written over";
}

TEST_F(MainCoordinationTest, ExitAllClosesTheOthersAndTheStationOnlyWhenTheReloadedSettingsSaySo) {
  TRecordingPeer peer(dir_ / "run", "other.txt");
  TRecordingPeer station(dir_ / "run", "VORNEDITORSTATION");
  for (const bool closeStation : {false, true}) {
    SCOPED_TRACE(closeStation);
    dir_.Write("user/Common.ini", std::string("[Station]\r\nCloseAtAllClose=") + (closeStation ? "1" : "0") +
                                      "\r\n[Standard]\r\nMoveNextLine=" + (closeStation ? "0" : "1") + "\r\n");
    auto w = NewWindow();
    w->show();
    EXPECT_EQ(Send(*w, TBusMessage::bmLoadCommonSet), 1);
    EXPECT_EQ(w->Editor()->Core().CaretOptions().NextLine, !closeStation);
    Run(*w, "AllClose");
    EXPECT_EQ(peer.Received(2), (std::vector<std::string>{"VORNEDITOR SETFOCUS 0", "CLOSE 0"}));
    // The station's post leaves after the other editor's, so a short wait shows its absence.
    EXPECT_EQ(station.Received(closeStation ? 1 : 99, 300), closeStation ? std::vector<std::string>{"CLOSE 0"}
                                                                    : std::vector<std::string>{});
    EXPECT_FALSE(w->isVisible());
  }
}

TEST_F(MainCoordinationTest, AnotherProcessMovesMinimisesAndAsksTheWindowsStates) {
  auto w = NewWindow();
  w->show();
  EXPECT_EQ(Send(*w, TBusMessage::bmQueryMain), 1);
  EXPECT_EQ(Send(*w, TBusMessage::bmMove, PackBusPair(30, 40), PackBusPair(500, 300)), 1);
  EXPECT_EQ(w->frameGeometry(), QRect(30, 40, 500, 300));
  EXPECT_EQ(Send(*w, TBusMessage::bmQueryMinimized), 0);
  // An arrangement first takes the window out of its vertical maximisation, check mark too.
  w->RunFunction(FunctionByName("MaximizeVertical")->Number, false);
  ASSERT_TRUE(w->VerticallyMaximized());
  EXPECT_EQ(Send(*w, TBusMessage::bmQueryMinimized, 1), 0);
  EXPECT_FALSE(w->VerticallyMaximized());
  EXPECT_FALSE(w->Actions()->Action(FunctionByName("MaximizeVertical")->Number)->isChecked());
  EXPECT_EQ(w->frameGeometry(), QRect(30, 40, 500, 300));
  EXPECT_EQ(Send(*w, TBusMessage::bmMinimize), 1);
  EXPECT_EQ(Send(*w, TBusMessage::bmQueryMinimized), 1);
  TBusPeer record;
  ASSERT_TRUE(TBusFolder(dir_ / "run").Find(w->BusId(), record));
  EXPECT_TRUE(record.minimized) << "arrangements leave it out by its record";
}

// Another window's file-type dialog changed the types on disk: the window reads them again and
// takes its type anew, by the name its /c switch gave rather than the document's own.
TEST_F(MainCoordinationTest, ChangedFileTypesAreReadAgainAndSelectedByTheTypeSwitch) {
  TTypeList types({dir_ / "user/", dir_ / "setting/"}, nullptr);
  TFileSetting& cType = types.Insert(types.Count());
  cType.Name = "C";
  cType.TabCol = 4;
  cType.SetExtensions({".c"});
  ASSERT_NE(types.Items(0).TabCol, 6);
  const std::string path = dir_.Write("notes.txt", "a\tb\r\n");
  auto w = NewWindow();
  w->Services().fileTypeFor = [&types](const std::string& name) { return &types.FindByFileName(name); };
  int reloads = 0;
  w->Services().reloadFileTypes = [&] {
    ++reloads;
    cType.TabCol = 6;  // what the dialog saved
  };
  ASSERT_TRUE(w->ProcessCommandLine({"-c.c", path}));
  w->show();
  EXPECT_EQ(Send(*w, TBusMessage::bmLoadExtSet), 1);
  EXPECT_EQ(reloads, 1);
  EXPECT_EQ(w->AppliedTypeTabs(), 6);
  EXPECT_EQ(w->Editor()->Core().CaretOptions().TabSpaceCount, 6);
}

}  // namespace
}  // namespace vorn
