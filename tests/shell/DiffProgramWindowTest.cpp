// The diff and run-program commands through the window: an edited text compared with a file,
// the marks and the moves between them, the partner's messages from another process, and a
// selection filtered through outside programs in the document's code, failing, cancelled and
// given a document name built to run commands.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "TempFolder.h"
#include "dialogs/ChildRunWait.h"
#include "dialogs/DiffExecForm.h"
#include "dialogs/ProgramExecForm.h"
#include "editor/VornEdit.h"
#include "platform/BusFolder.h"
#include "platform/VornUtil.h"
#include "shell/CommandActions.h"
#include "shell/DiffPart.h"
#include "shell/StatusPanels.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/PipeText.h"
#include "encoding/jconvert.h"
#include "store/ScreenStrings.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <future>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

using testing::ReadBytes;
using testing::TQuietPrompts;

std::string Marks(TVornEditMain& w) {
  const TVornEditScreenStrings& store = w.Editor()->Core().Store();
  std::string out;
  for (int r = 0; r < store.Count(); ++r)
    if (store.DiffKind(r) != 0)
      out += std::to_string(r) + ":" + std::to_string(store.DiffKind(r)) + "/" + std::to_string(store.DiffIndex(r)) + " ";
  const TDiffEndMarker& end = w.Diff().EndMarker();
  if (end.Set()) out += "end:" + std::to_string(end.Kind) + "/" + std::to_string(end.Hunk);
  return out;
}

class DiffProgramWindowTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(::mkdir((dir_ / "run").c_str(), 0700), 0); }

  std::unique_ptr<TVornEditMain> NewWindow() {
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts_);
    w->Services().startProgram = [](const std::string&) {};
    return w;
  }
  bool Run(TVornEditMain& w, std::string_view name) { return w.RunFunction(FunctionNumber(name), false); }
  bool Enabled(TVornEditMain& w, const char* name) {
    w.UpdateActions();
    return w.Actions()->ActionByName(name)->isEnabled();
  }
  int CaretRow(TVornEditMain& w) { return w.Editor()->Core().CaretRow(); }
  QString Status(TVornEditMain& w) { return w.StatusPanels()->Panel(TStatusPanels::spMessage)->Text(); }
  std::string Text(TVornEditMain& w) { return w.Lines().GetTextStr(); }

  // A console run of command with the input and output choices.
  bool Console(TVornEditMain& w, const std::string& command, TProgramInput in, TProgramOutput out) {
    w.Services().askProgram = [&](TProgramExecRequest& r) {
      r.Program = command;
      r.Settings.Console = true;
      r.Settings.Input = in;
      r.Settings.Output = out;
      return true;
    };
    return Run(w, "ProgramExec");
  }

  vorn::testing::TTempFolder dir_;
  TQuietPrompts prompts_;
};

// The unsaved edit takes part: the file on disk equals the old side, the window's text is the
// new side. Both kinds of move visit the hunks in order and stop with their messages; clearing
// takes the marks and the commands away.
TEST_F(DiffProgramWindowTest, AnEditedTextComparedWithAFileIsMarkedAndWalked) {
  const std::string old = "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n";
  const std::string path = dir_.Write("doc.txt", old);
  const std::string other = dir_.Write("other.txt", "a\nb\nc\nd\ne\nf\ng\n");  // LF: compared as lines
  auto w = NewWindow();
  ASSERT_TRUE(w->LoadDocument(path, false));
  EXPECT_FALSE(Enabled(*w, "FindUnderDiff"));
  TVornEditCore& core = w->Editor()->Core();
  core.GoToPosition(1, 0);
  core.InsertText("B");  // line 2 changed
  core.SelectRows(4, 5);
  core.DeleteSelection();  // line 5 deleted
  core.MoveFileEnd();
  core.InsertText("h\r\n");  // a line added at the end
  w->Services().askDiff = [&](const std::vector<TDiffPartnerItem>&, TDiffRequest& r) {
    r.FromEditor = false;
    r.ExtFile = other;
    return true;
  };
  ASSERT_FALSE(w->Editor()->Look().VerticalRuler);
  ASSERT_TRUE(Run(*w, "DiffExec"));
  EXPECT_EQ(Marks(*w), "1:2/0 4:5/1 6:1/2 ");
  EXPECT_TRUE(w->Editor()->Look().VerticalRuler) << "the marks need the line-number margin";
  EXPECT_TRUE(prompts_.said.empty());
  EXPECT_TRUE(Enabled(*w, "FindUnderDiff") && Enabled(*w, "ClearDiffInfo"));
  EXPECT_FALSE(Enabled(*w, "ChangeDiffFocus")) << "a file is no partner";

  core.GoToPosition(0, 0);
  std::vector<int> visited;
  for (int i = 0; i < 5 && Run(*w, "FindUnderDiff") && Status(*w).isEmpty(); ++i) visited.push_back(CaretRow(*w));
  EXPECT_EQ(visited, (std::vector<int>{1, 4, 6}));
  EXPECT_EQ(Status(*w), QStringLiteral("下に差分情報のある行はありません"));
  visited.clear();
  for (int i = 0; i < 5 && Run(*w, "FindOverDiff") && Status(*w).isEmpty(); ++i) visited.push_back(CaretRow(*w));
  EXPECT_EQ(visited, (std::vector<int>{4, 1}));
  EXPECT_EQ(Status(*w), QStringLiteral("上に差分情報のある行はありません"));

  ASSERT_TRUE(Run(*w, "ClearDiffInfo"));
  EXPECT_EQ(Marks(*w), "");
  EXPECT_FALSE(w->Editor()->Look().VerticalRuler) << "the type shows none, so clearing takes them away";
  EXPECT_FALSE(Enabled(*w, "FindOverDiff"));
  EXPECT_EQ(ReadBytes(path), old) << "the comparison never touches the file";

  // The same text on both sides.
  w->Services().askDiff = [&](const std::vector<TDiffPartnerItem>&, TDiffRequest& r) {
    r.FromEditor = false;
    r.ExtFile = path;
    r.Options.IgnoreCase = true;
    return true;
  };
  core.SelectAll();
  core.InsertText(old);
  ASSERT_TRUE(Run(*w, "DiffExec"));
  EXPECT_EQ(Marks(*w), "");
  EXPECT_EQ(Status(*w), QStringLiteral("相違はありませんでした"));
}

// The partner's side of a comparison, asked by another process: its selected text goes to the
// named file, the result file marks it (from the selection's first line) and is deleted, a jump
// puts the hunk at the same height as in the partner, and diff mode off clears it.
TEST_F(DiffProgramWindowTest, ThePartnerWindowAnswersTheDiffMessages) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line " + std::to_string(i) + "\r\n";
  auto w = NewWindow();
  w->resize(600, 300);
  w->show();
  ASSERT_EQ(w->OpenBus(TBusFolder(dir_ / "run")), "");
  w->Lines().SetTextStr(text);
  TVornEditCore& core = w->Editor()->Core();
  core.SelectRows(10, 20);
  const TBusFolder folder(dir_ / "run");
  const std::string side = dir_.Write("side.tmp", "");
  auto send = [&](TBusMessage m, std::int64_t wp, std::int64_t lp, std::optional<std::string> t) {
    TBusRequest request{std::string(BusMessageName(m)), wp, lp, std::move(t)};
    const std::int64_t target = w->BusId();
    auto answer = std::async(std::launch::async, [=] { return SendBusMessage(folder, target, request, 5000); });
    while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    return answer.get();
  };
  EXPECT_EQ(send(TBusMessage::bmSaveToTempFile, 1, 0, side).result, 1);
  EXPECT_EQ(ReadBytes(side), core.GetSelText());
  EXPECT_EQ(ReadBytes(side).substr(0, 9), "line 10\r\n");

  const std::string result = dir_.Write("result.tmp", "2c2\n---\n5a6,7\n");
  EXPECT_EQ(send(TBusMessage::bmLoadDiff, 0, 0, result).result, 1);
  EXPECT_NE(::access(result.c_str(), F_OK), 0) << "the result file is the receiver's to delete";
  EXPECT_EQ(Marks(*w), "11:2/0 15:4/1 ");
  EXPECT_TRUE(Enabled(*w, "FindUnderDiff"));
  EXPECT_EQ(send(TBusMessage::bmSetDiffMode, 1, 4242, std::nullopt).result, 1);
  EXPECT_TRUE(Enabled(*w, "ChangeDiffFocus"));

  send(TBusMessage::bmJumpDiffInfo, 1, 3, std::nullopt);
  EXPECT_EQ(CaretRow(*w), 15);
  EXPECT_EQ(core.TopRow(), 12);
  send(TBusMessage::bmJumpDiffInfo, 9, 0, std::nullopt);
  EXPECT_EQ(CaretRow(*w), 15) << "no such hunk: nothing moves";

  send(TBusMessage::bmSetDiffMode, 0, 0, std::nullopt);
  EXPECT_EQ(Marks(*w), "");
  EXPECT_FALSE(Enabled(*w, "ChangeDiffFocus") || Enabled(*w, "FindUnderDiff"));
}

// Shift_JIS text in an EUC-JP document goes through sort as EUC-JP and comes back as the same
// characters in the new order, replacing the selection as one undo step; the history keeps
// the command.
TEST_F(DiffProgramWindowTest, ASelectionIsFilteredInPlaceInTheDocumentsCode) {
  auto sjis = [](const char* utf8) { return ConvertCharCode(utf8, ckUtf8N, ckSjis); };
  const std::string head = sjis("x 日本語の文章を並べ替えます。漢字と仮名の行です");
  const std::string lines = sjis("う\r\nあ\r\nい\r\n");
  const std::string sorted = sjis("あ\r\nい\r\nう\r\n");
  const std::string text = head + "\r\n" + lines + "y\r\n";
  const std::string path = dir_.Write("euc.txt", ConvertCharCode(NormalizeBreaksToCrLf(text), ckSjis, ckEuc));
  auto w = NewWindow();
  ASSERT_TRUE(w->LoadDocument(path, false));
  ASSERT_EQ(w->CharCode(), ckEuc);
  TVornEditCore& core = w->Editor()->Core();
  core.SelectRows(1, 4);
  ASSERT_EQ(core.GetSelText(), lines);
  ASSERT_TRUE(Console(*w, "LC_ALL=C sort", piSelection, poReplaceSelection));
  EXPECT_TRUE(prompts_.said.empty());
  // EUC-JP orders the kana as Shift_JIS does.
  EXPECT_EQ(Text(*w), head + "\r\n" + sorted + "y\r\n");
  ASSERT_TRUE(Run(*w, "Undo"));
  EXPECT_EQ(Text(*w), text);
  const std::string hist = ReadBytes(UserFolder() + "ProgHist.ini");
  EXPECT_NE(hist.find("LC_ALL=C sort"), std::string::npos);

  // Bytes of EUC-JP are all above ASCII: only x and y change.
  ASSERT_TRUE(Console(*w, "tr a-z A-Z", piAll, poAppend));
  EXPECT_EQ(Text(*w), text + "X" + head.substr(1) + "\r\n" + lines + "Y\r\n");
}

// A program that fails or is cancelled leaves the text as it was; the cancel ends the program
// at once, through its progress window.
TEST_F(DiffProgramWindowTest, AFailedOrCancelledProgramLeavesTheText) {
  auto w = NewWindow();
  w->show();
  w->Lines().SetTextStr("keep\r\n");
  ASSERT_TRUE(Console(*w, "echo partial; echo bad >&2; exit 3", piAll, poReplaceAll));
  EXPECT_EQ(Text(*w), "keep\r\n");
  ASSERT_EQ(prompts_.said.size(), 1u);
  EXPECT_NE(prompts_.said[0].find("bad"), std::string::npos);

  bool pressed = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QWidget* progress = ActiveChildRunProgress()) {
      for (QAbstractButton* b : progress->findChildren<QAbstractButton*>()) b->click();
      pressed = true;
    }
  });
  poll.start(50);
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(Console(*w, "echo partial; exec sleep 300", piNone, poReplaceAll));
  EXPECT_TRUE(pressed);
  EXPECT_LT(clock.elapsed(), 10000);
  EXPECT_EQ(Text(*w), "keep\r\n");
}

// The document's name is built to run commands; "%F" hands it to the shell as one word, so
// the program sees exactly the name and nothing else runs.
TEST_F(DiffProgramWindowTest, AHostileDocumentNameIsOnlyAName) {
  // A name cannot hold a "/": what it would run makes "ran" in the current folder.
  const std::string name = "a'$(touch ran)'\"; touch ran; `touch ran`\n.txt";
  const std::string path = dir_.Write(name, "body\r\n");
  ASSERT_EQ(ReadBytes(path), "body\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->LoadDocument(path, false));
  ASSERT_TRUE(Console(*w, "printf '%s' %F", piNone, poAppend));
  EXPECT_EQ(Text(*w), "body\r\n" + path.substr(0, path.size() - 5) + "\r\n.txt");
  EXPECT_NE(::access((dir_ / "ran").c_str(), F_OK), 0);
  EXPECT_NE(::access("ran", F_OK), 0);
}

}  // namespace
}  // namespace vorn
