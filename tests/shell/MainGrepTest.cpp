// Grep from the window end to end: a real run over a temporary tree fills the window, and the
// tag jump from a result line opens the file at its line, here or in a new copy.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "settings/TypeList.h"
#include "encoding/jconvert.h"
#include "shellcore/FunctionTable.h"
#include "syntax/KeyWord.h"
#include "platform/BusFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace vorn {
namespace {

std::string Sjis(const std::string& utf8) { return ConvertCharCode(utf8, ckUtf8N, ckSjis); }

int Number(std::string_view name) { return FunctionByName(name)->Number; }

class TQuietPrompts : public TDocumentPrompts {
public:
  bool ConfirmOkCancel(const std::string&) override { return false; }
  TPromptAnswer AskYesNoCancel(const std::string&) override { return TPromptAnswer::Cancel; }
  void Warn(const std::string& text) override { said.push_back(text); }
  void Error(const std::string& text) override { said.push_back(text); }
  void Inform(const std::string&) override {}
  std::vector<std::string> said;
};

class MainGrepTest : public ::testing::Test {
protected:
  std::unique_ptr<TVornEditMain> NewWindow() {
    auto w = std::make_unique<TVornEditMain>(false);
    w->SetHandOffEnabled(false);
    w->SetDocumentPrompts(&prompts_);
    w->SetProgramStarter([this](const std::string& params) { started_.push_back(params); });
    return w;
  }

  // The dialog answers with a literal search over the tree, absolute paths, every sub-folder.
  void AnswerGrep(TVornEditMain& w, const std::string& sjisWord) {
    w.SetGrepDialog([this, sjisWord](const std::string& offered, TGrepKeyWord& run) {
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
    });
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
  w->SetGrepTypeSource([&types] { return types.FindGrep(); });

  w->SetGrepDialog([](const std::string&, TGrepKeyWord&) { return false; });
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

  w->Editor()->Core().SetCaretPos(5, 0);
  ASSERT_TRUE(w->RunFunction(Number("TagJump"), false));
  EXPECT_EQ(w->FileName(), tree_ / "sub/b.txt");
  EXPECT_EQ(CaretLine(*w), 3);
  EXPECT_TRUE(w->ShownText().startsWith(QStringLiteral("x\ny\n")));
  EXPECT_TRUE(started_.empty());
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
  holder->SetGrepHandOffFolder(tree_ / "user/");
  ASSERT_TRUE(holder->LoadDocument(doc, false));
  AnswerGrep(*holder, Sjis("日本語"));
  ASSERT_TRUE(holder->RunFunction(Number("Grep"), false));
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0].rfind("-x", 0), 0u) << started_[0];
  EXPECT_EQ(holder->ShownText(), QStringLiteral("kept\n"));

  auto fresh = NewWindow();
  fresh->SetGrepHandOffFolder(tree_ / "user/");
  fresh->RunHandedGrep();
  const QStringList rows = fresh->ShownText().split('\n');
  ASSERT_GE(rows.size(), 5);
  EXPECT_EQ(rows[4], QString::fromStdString(tree_ / "a.txt") + QStringLiteral("(1):x 日本語"));
  EXPECT_FALSE(fresh->Modified());

  std::ofstream(tree_ / "user/Grep.fhd", std::ios::binary | std::ios::trunc) << "damaged";
  auto third = NewWindow();
  third->SetGrepHandOffFolder(tree_ / "user/");
  third->RunHandedGrep();
  EXPECT_TRUE(third->ShownText().isEmpty());
  EXPECT_FALSE(prompts_.said.empty()) << "a damaged record is reported, not run";
}

TEST_F(MainGrepTest, TheStartedCopyIsToldOverTheBusAndShowsTheResult) {
  tree_.Write("a.txt", Sjis("x 日本語\r\n"));
  const std::string doc = tree_.Write("doc.dat", "kept\r\n");
  std::filesystem::create_directories(tree_ / "user");
  ASSERT_EQ(::mkdir((tree_ / "run").c_str(), 0700), 0);
  auto holder = NewWindow();
  holder->SetGrepHandOffFolder(tree_ / "user/");
  ASSERT_EQ(holder->OpenBus(TBusFolder(tree_ / "run")), "");
  ASSERT_TRUE(holder->LoadDocument(doc, false));
  std::unique_ptr<TVornEditMain> started;
  holder->SetProgramStarter([&](const std::string&) {
    started = std::make_unique<TVornEditMain>(false);
    started->SetDocumentPrompts(&prompts_);
    started->SetGrepHandOffFolder(tree_ / "user/");
    ASSERT_EQ(started->OpenBus(TBusFolder(tree_ / "run")), "");
  });
  AnswerGrep(*holder, Sjis("日本語"));
  ASSERT_TRUE(holder->RunFunction(Number("Grep"), false));
  ASSERT_TRUE(started);
  QElapsedTimer waited;
  waited.start();
  while (started->ShownText().isEmpty() && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(started->ShownText().contains(QStringLiteral("(1):x 日本語"))) << started->ShownText().toStdString();
  EXPECT_EQ(holder->ShownText(), QStringLiteral("kept\n"));
}

}  // namespace
}  // namespace vorn
