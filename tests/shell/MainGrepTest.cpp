// Grep from the window end to end: a real run over a temporary tree fills the window, and the
// tag jump from a result line opens the file at its line, here or in a new copy.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "settings/TypeList.h"
#include "encoding/jconvert.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/GrepHandOff.h"
#include "syntax/KeyWord.h"
#include "platform/BusEndpoint.h"
#include "platform/BusFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <filesystem>
#include <fstream>

#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorn {
namespace {

std::string Sjis(const std::string& utf8) { return ConvertCharCode(utf8, ckUtf8N, ckSjis); }

int Number(std::string_view name) { return FunctionByName(name)->Number; }

using testing::TQuietPrompts;

class MainGrepTest : public ::testing::Test {
protected:
  std::unique_ptr<TVornEditMain> NewWindow() {
    auto w = std::make_unique<TVornEditMain>();
    w->SetHandOffEnabled(false);
    w->SetDocumentPrompts(&prompts_);
    w->Services().startProgram = [this](const std::string& params) { started_.push_back(params); };
    return w;
  }

  // The dialog answers with a literal search over the tree, absolute paths, every sub-folder.
  void AnswerGrep(TVornEditMain& w, const std::string& sjisWord) {
    w.Services().askGrep = [this, sjisWord](const std::string& offered, TGrepKeyWord& run) {
      offered_.push_back(offered);
      run.SetPattern(sjisWord);
      run.SetPlainText(true);
      run.SetIgnoreCase(false);
      run.BaseFolder = tree_.Path();
      run.FileMask = "*.txt";
      run.SubFolders = true;
      run.RelativePath = false;
      run.DetectCode = true;
      return true;
    };
  }

  int CaretLine(TVornEditMain& w) { return w.CaretPositionText().split(':').first().trimmed().toInt(); }

  vorn::testing::TTempFolder tree_;
  TQuietPrompts prompts_;
  std::vector<std::string> started_;
  std::vector<std::string> offered_;
};

TEST_F(MainGrepTest, AGrepFillsTheEmptyWindowAndATagJumpOpensTheHitAtItsLine) {
  tree_.Write("a.txt", Sjis("一行目\r\n二行目 日本語\r\n三行目\r\n"));
  std::filesystem::create_directories(tree_ / "sub");
  tree_.Write("sub/b.txt", ConvertCharCode(Sjis("x\ny\nz 日本語\n"), ckSjis, ckUtf8N));
  tree_.Write("sub/c.dat", Sjis("日本語\n"));
  std::filesystem::create_directories(tree_ / "user");
  TTypeList types({tree_ / "user/", tree_ / "setting/"}, nullptr);
  types.FindGrep()->TabCol = 6;
  ASSERT_NE(types.Items(0).TabCol, 6);
  auto w = NewWindow();
  w->Services().grepTypeFor = [&types] { return types.FindGrep(); };

  w->Services().askGrep = [](const std::string&, TGrepKeyWord&) { return false; };
  ASSERT_TRUE(w->RunFunction(Number("Grep"), false));
  EXPECT_TRUE(w->ShownText().isEmpty()) << "a cancelled dialog runs nothing";

  AnswerGrep(*w, Sjis("日本語"));
  ASSERT_TRUE(w->RunFunction(Number("Grep"), false));
  const QStringList rows = w->ShownText().split('\n');
  ASSERT_GE(rows.size(), 6);
  EXPECT_EQ(rows[1], QStringLiteral("    GREP検索結果"));
  EXPECT_EQ(rows[4], QString::fromStdString(tree_ / "a.txt") + QStringLiteral("(2):二行目 日本語"));
  EXPECT_EQ(rows[5], QString::fromStdString(tree_ / "sub/b.txt") + QStringLiteral("(3):z 日本語"));
  EXPECT_FALSE(w->Modified());
  EXPECT_TRUE(w->FileName().empty());
  EXPECT_EQ(CaretLine(*w), 1);
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text(),
            QStringLiteral("検索マッチ数：2    マッチしたファイル数：2"));
  EXPECT_TRUE(started_.empty()) << "an empty window shows the result itself";
  EXPECT_EQ(w->Editor()->Core().CaretOptions().TabSpaceCount, 6) << "the GREP type applies";

  // The result stays; the hit opens in a new copy that runs the grep's find step there. The
  // command line is native text: the copy makes the step Shift_JIS again.
  w->Editor()->Core().SetCaretPos(5, 0);
  ASSERT_TRUE(w->RunFunction(Number("TagJump"), false));
  ASSERT_EQ(started_.size(), 1u);
  const std::string expected = "\"" + (tree_ / "sub/b.txt") + "\" -j3 \"-lFind('日本語',1,0,0,0,1)\" -x";
  EXPECT_EQ(started_[0].rfind(expected, 0), 0u) << started_[0];
  EXPECT_TRUE(w->FileName().empty());
  EXPECT_EQ(w->ShownText().split('\n')[5], rows[5]);
}

TEST_F(MainGrepTest, AWindowHoldingADocumentSendsTheTagJumpToANewCopy) {
  const std::string target = tree_.Write("t.txt", "1\n2\n3\n4\n");
  const std::string list = tree_.Write("list.txt", target + "(4): four\r\nnot a (tag) line\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->LoadDocument(list, false));

  w->Editor()->Core().SetCaretPos(0, 3);
  ASSERT_TRUE(w->RunFunction(Number("TagJump"), false));
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0].rfind("\"" + target + "\" -j4 -x", 0), 0u) << started_[0];
  EXPECT_EQ(w->FileName(), list) << "the window keeps its document";

  w->Editor()->Core().SetCaretPos(1, 0);
  ASSERT_TRUE(w->RunFunction(Number("TagJump"), false));
  EXPECT_EQ(started_.size(), 1u) << "a line naming no file opens nothing";
  EXPECT_TRUE(prompts_.said.empty());
}

TEST_F(MainGrepTest, AWindowHoldingADocumentHandsTheGrepToANewCopyThatRunsIt) {
  tree_.Write("a.txt", Sjis("x 日本語\r\n"));
  const std::string doc = tree_.Write("doc.dat", "kept\r\n");
  std::filesystem::create_directories(tree_ / "user");
  auto holder = NewWindow();
  holder->Services().grepHandOffFolder = tree_ / "user/";
  std::vector<std::string> folders;
  holder->Services().startProcess = [&](const std::string& params, const std::string& folder) -> pid_t {
    started_.push_back(params);
    folders.push_back(folder);
    return 0;
  };
  ASSERT_TRUE(holder->LoadDocument(doc, false));
  holder->Editor()->Core().SetCaretPos(0, 2);
  AnswerGrep(*holder, Sjis("日本語"));
  ASSERT_TRUE(holder->RunFunction(Number("Grep"), false));
  EXPECT_EQ(offered_, std::vector<std::string>{"kept"}) << "the word at the caret is offered";
  EXPECT_EQ(holder->CaretPositionText().trimmed(), QStringLiteral("1:   3")) << "and the caret stays";
  EXPECT_FALSE(holder->Editor()->Core().HasSelection());
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0].rfind("-x", 0), 0u) << started_[0];
  EXPECT_EQ(folders, std::vector<std::string>{""}) << "a folder search starts the copy in the current folder";
  EXPECT_EQ(holder->ShownText(), QStringLiteral("kept\n"));
  // A search of the window's own file starts it in that file's folder.
  holder->Services().askGrep = [&](const std::string&, TGrepKeyWord& run) {
    run.SetPattern("kept");
    run.FileMask = doc;
    run.BaseFolder = tree_.Path();
    return true;
  };
  ASSERT_TRUE(holder->RunFunction(Number("Grep"), false));
  ASSERT_EQ(folders.size(), 2u);
  EXPECT_EQ(folders[1], tree_.Path() + "/");
  started_.clear();
  AnswerGrep(*holder, Sjis("日本語"));
  ASSERT_TRUE(holder->RunFunction(Number("Grep"), false));

  auto fresh = NewWindow();
  fresh->Services().grepHandOffFolder = tree_ / "user/";
  fresh->RunHandedGrep();
  const QStringList rows = fresh->ShownText().split('\n');
  ASSERT_GE(rows.size(), 5);
  EXPECT_EQ(rows[4], QString::fromStdString(tree_ / "a.txt") + QStringLiteral("(1):x 日本語"));
  EXPECT_FALSE(fresh->Modified());

  // A request not to run at once opens the dialog with its word instead.
  TGrepKeyWord pending;
  pending.SetPattern(Sjis("保留"));
  pending.FileMask = "*.txt";
  pending.RunAtOnce = false;
  ASSERT_EQ(WriteGrepHandOff(tree_ / "user/", pending), "");
  auto asked = NewWindow();
  asked->Services().grepHandOffFolder = tree_ / "user/";
  offered_.clear();
  asked->Services().askGrep = [this](const std::string& offered, TGrepKeyWord&) {
    offered_.push_back(offered);
    return false;
  };
  asked->RunHandedGrep();
  EXPECT_EQ(offered_, std::vector<std::string>{Sjis("保留")});
  EXPECT_TRUE(asked->ShownText().isEmpty()) << "nothing ran without the dialog's OK";
  asked->RunFunction(Number("Grep"), false);
  EXPECT_EQ(offered_.back(), "") << "the pending word is offered once";

  std::ofstream(tree_ / "user/Grep.fhd", std::ios::binary | std::ios::trunc) << "damaged";
  auto third = NewWindow();
  third->Services().grepHandOffFolder = tree_ / "user/";
  third->RunHandedGrep();
  EXPECT_TRUE(third->ShownText().isEmpty());
  EXPECT_FALSE(prompts_.said.empty()) << "a damaged record is reported, not run";
}

// An editor of another process on the bus: registers, then counts the grep messages it gets
// until its control pipe closes, and reports the count on the way out.
class TOtherProcessEditor {
public:
  explicit TOtherProcessEditor(const std::string& runFolder) {
    int ready[2], control[2], report[2];
    if (::pipe(ready) != 0 || ::pipe(control) != 0 || ::pipe(report) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      // The parent's ends must close here too, or the control pipe never reports its end.
      ::close(ready[0]);
      ::close(control[1]);
      ::close(report[0]);
      RunChild(runFolder, ready[1], control[0], report[1]);
    }
    ::close(ready[1]);
    ::close(control[0]);
    ::close(report[1]);
    char c = 0;
    registered_ = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    control_ = control[1];
    report_ = report[0];
  }
  bool Registered() const { return registered_; }
  pid_t Pid() const { return pid_; }
  // Ends the child; the number of "VORNEDITOR GREP EXECUTE" it received.
  int GrepMessagesReceived() {
    ::close(control_);
    int count = -1;
    if (::read(report_, &count, sizeof count) != static_cast<ssize_t>(sizeof count)) count = -1;
    ::close(report_);
    ::waitpid(pid_, nullptr, 0);
    return count;
  }

private:
  [[noreturn]] static void RunChild(const std::string& runFolder, int ready, int control, int report) {
    int count = 0;
    {
      TBusEndpoint endpoint{TBusFolder(runFolder)};
      const std::string error = endpoint.Open("TVornEditMain", "other.txt - VornEditor", [&count](const TBusRequest& r) {
        if (r.name == BusMessageName(TBusMessage::bmGrepExecute)) ++count;
        return TBusReply{TBusStatus::bsHandled, 1, {}};
      });
      if (error.empty() && ::write(ready, "r", 1) == 1) {
        pollfd fds[2] = {{endpoint.Fd(), POLLIN, 0}, {control, POLLIN, 0}};
        while (::poll(fds, 2, 10000) > 0 && !(fds[1].revents & (POLLIN | POLLHUP))) endpoint.ProcessPending();
        endpoint.ProcessPending();
      }
    }
    (void)!::write(report, &count, sizeof count);
    ::_exit(0);
  }

  pid_t pid_ = -1;
  int control_ = -1, report_ = -1;
  bool registered_ = false;
};

TEST_F(MainGrepTest, TheHandOffGoesToTheStartedProcessEvenWhenAnotherEditorRegistersFirst) {
  tree_.Write("a.txt", Sjis("x 日本語\r\n"));
  const std::string doc = tree_.Write("doc.dat", "kept\r\n");
  std::filesystem::create_directories(tree_ / "user");
  const std::string run = tree_ / "run";
  ASSERT_EQ(::mkdir(run.c_str(), 0700), 0);
  auto holder = NewWindow();
  holder->Services().grepHandOffFolder = tree_ / "user/";
  ASSERT_EQ(holder->OpenBus(TBusFolder(run)), "");
  ASSERT_TRUE(holder->LoadDocument(doc, false));
  std::unique_ptr<TOtherProcessEditor> other;
  std::unique_ptr<TVornEditMain> started;
  // The started copy is played by a window of this process; an unrelated editor of another
  // process registers just before it and is the most recently activated one.
  holder->Services().startProcess = [&](const std::string& params, const std::string&) -> pid_t {
    EXPECT_EQ(params.rfind("-x", 0), 0u) << params;
    other = std::make_unique<TOtherProcessEditor>(run);
    started = std::make_unique<TVornEditMain>();
    started->SetDocumentPrompts(&prompts_);
    started->Services().grepHandOffFolder = tree_ / "user/";
    EXPECT_EQ(started->OpenBus(TBusFolder(run)), "");
    for (TBusPeer peer : TBusFolder(run).List()) {
      if (peer.pid != other->Pid()) continue;
      peer.activated = BusActivationStamp();
      TBusFolder(run).WriteRecord(peer);
    }
    return ::getpid();
  };
  AnswerGrep(*holder, Sjis("日本語"));
  ASSERT_TRUE(holder->RunFunction(Number("Grep"), false));
  ASSERT_TRUE(started && other && other->Registered());
  ASSERT_EQ(TBusFolder(run).List().front().pid, other->Pid()) << "the stand-in must be listed first";
  QElapsedTimer waited;
  waited.start();
  while (started->ShownText().isEmpty() && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(started->ShownText().contains(QStringLiteral("(1):x 日本語"))) << started->ShownText().toStdString();
  EXPECT_EQ(holder->ShownText(), QStringLiteral("kept\n"));
  EXPECT_EQ(other->GrepMessagesReceived(), 0) << "the editor of another process is left alone";
}

}  // namespace
}  // namespace vorn
