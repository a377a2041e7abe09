// The window's functions end to end: key events into the pane, the key map, the document
// commands and the bytes on disk, with the dialogs and questions answered by the test.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "qtplatform/KeyCodeMap.h"
#include "shell/CommandActions.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyTable.h"
#include "platform/VornUtil.h"
#include "settings/TypeList.h"
#include "ScriptedPrompts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QDate>
#include <QLocale>

#include <csignal>
#include <fstream>
#include <iterator>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vorn {
namespace {

using testing::ReadBytes;

using testing::TScriptedPrompts;

// Answers every question with one answer and never shows a box.
class TFixedPrompts : public TDocumentPrompts {
public:
  explicit TFixedPrompts(TPromptAnswer answer) : answer_(answer) {}
  bool ConfirmOkCancel(const std::string&) override { return false; }
  TPromptAnswer AskYesNoCancel(const std::string&) override { return answer_; }
  void Warn(const std::string&) override {}
  void Error(const std::string&) override {}
  void Inform(const std::string&) override {}

private:
  TPromptAnswer answer_;
};

class MainCommandsTest : public ::testing::Test {
protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = folder_.Path() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // A window whose every dialog cancels and whose questions go to prompts.
  std::unique_ptr<TVornEditMain> NewWindow(TDocumentPrompts& prompts) {
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts, [this](const QString& text) { warned_.push_back(text); });
    TWindowServices::TFileDialogs dialogs;
    dialogs.askSaveAs = [] { return std::optional<TSaveAsRequest>(); };
    dialogs.askOpen = [](bool) { return std::optional<std::pair<std::string, std::optional<TCharCodeKind>>>(); };
    dialogs.askRename = [] { return std::optional<std::string>(); };
    w->Services().fileDialogs = dialogs;
    w->Services().startProgram = [this](const std::string& params) { started_.push_back(params); };
    // The real grep dialog would keep its state in the user's own folder.
    w->Services().askGrep = [](const std::string&, TGrepKeyWord&) { return false; };
    return w;
  }

  static void Key(TVornEditMain& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w.Editor(), &press);
  }
  static void Commit(TVornEditMain& w, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(w.Editor(), &commit);
  }

  vorn::testing::TTempFolder folder_;
  std::vector<QString> warned_;
  std::vector<std::string> started_;
};

const std::string kNihongo = "\x93\xfa\x96\x7b\x8c\xea";  // 日本語 in Shift_JIS

TEST_F(MainCommandsTest, TypedJapaneseAndAsciiAreSavedByCtrlSAsShiftJis) {
  const std::string path = Write("jp.txt", kNihongo + "\r\nabc\r\n");
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  Key(*w, Qt::Key_End);
  Key(*w, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  Commit(*w, QStringLiteral("漢"));
  EXPECT_TRUE(w->Modified());
  EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("[変更]")));
  Key(*w, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
  EXPECT_EQ(ReadBytes(path), kNihongo + "x\x8a\xbf\r\nabc\r\n");
  EXPECT_FALSE(w->Modified());
  EXPECT_FALSE(w->windowTitle().contains(QStringLiteral("[変更]")));
  EXPECT_FALSE(w->Editor()->Core().Modified());
  // Undo back past the save makes the document modified again, and redo unmodified.
  Key(*w, Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));
  EXPECT_TRUE(w->Modified());
  EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("[変更]")));
  EXPECT_TRUE(prompts.Quiet());
}

// A save cut short by the file-size limit leaves the old file whole and the document modified.
TEST_F(MainCommandsTest, AFailedSaveKeepsTheOldFileAndTheDocumentModified) {
  const std::string old = std::string(1000, 'a') + "\r\n";
  const std::string path = Write("big.txt", old);
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  for (int i = 0; i < 3000; ++i) Key(*w, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
  ASSERT_TRUE(w->Modified());
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {2000, 2000};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(90);
    Key(*w, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    const bool kept = w->Modified() && w->windowTitle().startsWith(QStringLiteral("[変更]"));
    ::_exit(kept && prompts.errors.size() == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(path), old);
}

TEST_F(MainCommandsTest, ClosingAModifiedDocumentAsksAndCancelKeepsTheWindow) {
  const std::string path = Write("close.txt", "abc\r\n");
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  w->show();
  EXPECT_TRUE(w->close());  // unmodified: nothing asked
  EXPECT_TRUE(prompts.asked.empty());
  w->show();
  Key(*w, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
  prompts.answers = {TPromptAnswer::Cancel, TPromptAnswer::No};
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  ASSERT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(prompts.asked[0], TDocumentCommands::QuerySaveText(path));
  EXPECT_TRUE(w->close());
  EXPECT_EQ(ReadBytes(path), "abc\r\n");
}

TEST_F(MainCommandsTest, ActivationReloadsAFileAnotherProgramChanged) {
  const std::string path = Write("changed.txt", "one\r\n");
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  Write("changed.txt", "two and more\r\n");
  prompts.answers = {TPromptAnswer::Yes};
  w->CheckFileOnActivation();
  EXPECT_EQ(prompts.asked.size(), 1u);
  EXPECT_EQ(w->ShownText(), QStringLiteral("two and more\n"));
  EXPECT_FALSE(w->Modified());
}

// No write permission bits make a document read-only even for root; keys then change nothing.
TEST_F(MainCommandsTest, AFileWithoutWriteBitsOpensReadOnlyAndRefusesTyping) {
  const std::string path = Write("ro.txt", "abc\r\n");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  EXPECT_TRUE(w->ReadOnly());
  Key(*w, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  Key(*w, Qt::Key_Delete);
  EXPECT_EQ(w->ShownText(), QStringLiteral("abc\n"));
  EXPECT_FALSE(w->Modified());
}

TEST_F(MainCommandsTest, ShiftWithAMovementExtendsTheSelectionAndPanelZeroTellsItsSize) {
  const std::string path = Write("sel.txt", "abcdef\r\n");
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  Key(*w, Qt::Key_Right, Qt::ShiftModifier);
  Key(*w, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(w->Editor()->Core().GetSelText(), "ab");
  w->UpdateActions();
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text(), QStringLiteral("選択文字列サイズ：2 byte"));
  Key(*w, Qt::Key_Right, Qt::ShiftModifier);
  w->UpdateActions();
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text(), QStringLiteral("選択文字列サイズ：3 byte"));
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w->StatusPanels(), &click);
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text(), QStringLiteral("選択文字列サイズ：3byte"));
  Key(*w, Qt::Key_Right);
  EXPECT_FALSE(w->Editor()->Core().HasSelection());
  w->UpdateActions();
  EXPECT_TRUE(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text().isEmpty());
  w->Actions()->ActionByName("BoxSelection")->trigger();
  w->UpdateActions();
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text(), QStringLiteral("マウス箱形選択はALTキー併用"));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spBoxSelect)->Text(), QStringLiteral("箱形選択"));
}

// Save as through the function: the bytes are in the chosen code and line break, the title
// and status bar follow the new name and code, and the old file is untouched.
TEST_F(MainCommandsTest, SaveAsWritesTheChosenCodeAndRetitlesTheWindow) {
  const std::string path = Write("from.txt", kNihongo + "\r\nb\r\n");
  const std::string target = folder_ / "to.txt";
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  TWindowServices::TFileDialogs dialogs;
  dialogs.askSaveAs = [&target] {
    TSaveAsRequest request;
    request.name = target;
    request.code = TSaveCodeChoice{ckEuc, lbLF, false, false};
    return std::optional<TSaveAsRequest>(request);
  };
  w->Services().fileDialogs.askSaveAs = dialogs.askSaveAs;
  w->Actions()->ActionByName("SaveAs")->trigger();
  EXPECT_EQ(ReadBytes(target), "\xc6\xfc\xcb\xdc\xb8\xec\nb\n");
  EXPECT_EQ(ReadBytes(path), kNihongo + "\r\nb\r\n");
  EXPECT_EQ(w->FileName(), target);
  EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("to.txt")));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spLineBreak)->Text(), QStringLiteral("LF"));
  EXPECT_FALSE(w->Modified());
}

// The type claiming the name sets the pane's tab width; a new extension chooses again.
TEST_F(MainCommandsTest, TheFileTypeFollowsTheDocumentsName) {
  const std::string path = Write("code.c", "a\tb\r\n");
  ASSERT_EQ(::mkdir((folder_ / "user").c_str(), 0700), 0);
  TTypeList types({folder_ / "user/", folder_ / "setting/"}, nullptr);
  TFileSetting& cType = types.Insert(types.Count());
  cType.Name = "C";
  cType.TabCol = 4;
  cType.SetExtensions({".c"});
  const int commonTabs = types.Items(0).TabCol;
  ASSERT_NE(commonTabs, 4);
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  w->Services().fileTypeFor = [&types](const std::string& name) { return &types.FindByFileName(name); };
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  EXPECT_EQ(w->Editor()->Core().CaretOptions().TabSpaceCount, 4);
  const std::string renamed = folder_ / "code.txt";
  TWindowServices::TFileDialogs dialogs;
  dialogs.askSaveAs = [&renamed] { return std::optional<TSaveAsRequest>(TSaveAsRequest{renamed, std::nullopt, true}); };
  w->Services().fileDialogs.askSaveAs = dialogs.askSaveAs;
  w->Actions()->ActionByName("SaveAs")->trigger();
  EXPECT_EQ(w->FileName(), renamed);
  EXPECT_EQ(w->Editor()->Core().CaretOptions().TabSpaceCount, commonTabs);
}

// The caret behaviour the common settings choose stays when a document's file type is
// applied: the type sets the tab and indent fields of the caret, never the others.
TEST_F(MainCommandsTest, OpeningADocumentKeepsTheCaretBehaviourOfTheCommonSettings) {
  const std::string path = Write("two.txt", "ab\r\ncd\r\n");
  TTypeList types({folder_ / "types/", folder_ / "setting/"}, nullptr);
  TFileSetting& text = types.Insert(types.Count());
  text.Name = "Text";
  text.SetExtensions({".txt"});
  ASSERT_EQ(::mkdir((folder_ / "run").c_str(), 0700), 0);
  for (const bool nextLine : {true, false}) {
    SCOPED_TRACE(nextLine ? "MoveNextLine on" : "MoveNextLine off");
    const std::string user = folder_ / (nextLine ? "on/" : "off/");
    ASSERT_EQ(::mkdir(user.c_str(), 0700), 0);
    std::ofstream(user + "Common.ini", std::ios::binary)
        << "[Standard]\r\nMoveNextLine=" << (nextLine ? 1 : 0)
        << "\r\nCaretStyle=2\r\nFixCaretOnScroll=1\r\nSelMove=0\r\n";
    TScriptedPrompts prompts;
    auto w = NewWindow(prompts);
    w->SetHistoryPlaces(user, folder_ / "run");
    w->Services().fileTypeFor = [&types](const std::string& name) { return &types.FindByFileName(name); };
    ASSERT_TRUE(w->ProcessCommandLine({path}));
    TVornEditCore& core = w->Editor()->Core();
    EXPECT_EQ(core.CaretOptions().Style, csDos);
    EXPECT_TRUE(core.CaretOptions().LockScroll);
    EXPECT_FALSE(core.CaretOptions().SelMove);

    core.SetCaretPos(1, 0);
    Key(*w, Qt::Key_Left);
    EXPECT_EQ(std::make_pair(core.CaretRow(), core.CaretCol()), nextLine ? std::make_pair(0, 2) : std::make_pair(1, 0));
    core.SetCaretPos(0, 2);
    Key(*w, Qt::Key_Right);
    EXPECT_EQ(std::make_pair(core.CaretRow(), core.CaretCol()), nextLine ? std::make_pair(1, 0) : std::make_pair(0, 2));
  }
}

// Every key of the built-in table whose function the window has and allows runs it exactly
// once, whether the pane or a menu would otherwise have taken the key.
TEST_F(MainCommandsTest, EveryBuiltInKeyRunsItsFunctionOnce) {
  ProcessKeyTable() = TKeyTable::BuiltIn();
  const std::string path = Write("keys.txt", "alpha beta\r\ngamma\r\n\tdelta\r\n");
  TFixedPrompts prompts(TPromptAnswer::No);
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  w->show();
  // The code choice is the one box without a test hook: close whatever modal box appears.
  QTimer dismiss;
  QObject::connect(&dismiss, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  dismiss.start(50);
  std::vector<int> ran;
  QObject::connect(w.get(), &TVornEditMain::FunctionRan, [&ran](int f) { ran.push_back(f); });
  const TKeyTable& table = ProcessKeyTable();
  const TFunctionSet built = w->BuiltFunctions();
  int tried = 0, disabled = 0;
  for (int mods = 0; mods < kModifierStates; ++mods)
    for (int vkey = 1; vkey < kVirtualKeys; ++vkey) {
      const int f = table.At(mods, vkey);
      if (!IsFunctionNumber(f) || !built.test(static_cast<std::size_t>(f))) continue;
      if (w->BrowseMode()) w->SetBrowseMode(false);
      w->UpdateActions();
      if (!w->Actions()->Action(f)->isEnabled()) {
        ++disabled;
        continue;
      }
      const int qtKey = QtKeyFromVirtualKey(vkey);
      if (qtKey == 0) continue;
      Qt::KeyboardModifiers qtMods;
      if (mods & kmShift) qtMods |= Qt::ShiftModifier;
      if (mods & kmCtrl) qtMods |= Qt::ControlModifier;
      if (mods & kmAlt) qtMods |= Qt::AltModifier;
      ran.clear();
      Key(*w, qtKey, qtMods);
      ++tried;
      ASSERT_EQ(ran.size(), 1u) << "function " << f << " key " << vkey << " modifiers " << mods;
      EXPECT_EQ(ran[0], f);
    }
  EXPECT_GE(tried, 25) << disabled << " disabled";
}

// Help items either do their work or say why they cannot; the settings dialogs are offered.
TEST_F(MainCommandsTest, HelpItemsStartTheReadmeOrReportAMissingPage) {
  SetProgramFolderOverride(folder_.Path() + "/");
  vorn::testing::TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  w->RunCommand("Readme");
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0], "\"" + folder_.Path() + "/Readme.txt\" -x" + std::to_string(std::max(0, w->MonitorNumber())));
  w->RunCommand("CommandHelp");
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], "ヘルプファイルが見つかりません\n" + folder_.Path() + "/Help/CMD.html");
  EXPECT_TRUE(w->Actions()->ActionByName("EditCommonSet")->isEnabled());
  EXPECT_TRUE(w->Actions()->ActionByName("EditExtSetAction")->isEnabled());
  SetProgramFolderOverride("");
}

// Opening the file with its program offers the unsaved changes first; showing it in the file
// manager does not need to.
TEST_F(MainCommandsTest, TheDesktopGetsTheFileOnlyAfterTheSaveQuestion) {
  const std::string path = Write("desk.txt", "abc\r\n");
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  std::vector<std::pair<std::string, bool>> opened;
  w->Services().desktopOpen = [&](const std::string& name, bool inFolder) {
    opened.emplace_back(name, inFolder);
    return true;
  };
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  w->UpdateActions();
  ASSERT_TRUE(w->Actions()->ActionByName("OpenFileExec")->isEnabled());
  Key(*w, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
  prompts.answers = {TPromptAnswer::Cancel, TPromptAnswer::No};
  w->RunCommand("OpenFileExec");  // not a function name: ignored
  w->RunFunction(FunctionByName("OpenFileExec")->Number, false);
  EXPECT_TRUE(opened.empty());
  w->RunFunction(FunctionByName("OpenFileExec")->Number, false);
  w->RunFunction(FunctionByName("OpenExplorer")->Number, false);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], std::make_pair(w->FileName(), false));
  EXPECT_EQ(opened[1], std::make_pair(w->FileName(), true));
  EXPECT_EQ(prompts.asked.size(), 2u);
  EXPECT_TRUE(w->Modified());
}

TEST_F(MainCommandsTest, SmallCommandsJumpToTheLastEditAndQuoteTheSelection) {
  const std::string path = Write("small.txt", "one\r\nsay \"hi\"\r\nthree\r\n");
  TScriptedPrompts prompts;
  auto w = NewWindow(prompts);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  const auto run = [&](const char* name) { return w->RunFunction(FunctionByName(name)->Number, false); };
  TVornEditCore& core = w->Editor()->Core();
  ASSERT_TRUE(run("JumpPrevModifiedPos"));  // nothing edited since the load: the caret stays
  EXPECT_EQ(core.CaretRow(), 0);
  core.SetCaretPos(2, 2);
  Key(*w, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  core.SetCaretPos(0, 0);
  run("JumpPrevModifiedPos");
  EXPECT_EQ(std::make_pair(core.CaretRow(), core.CaretCol()), std::make_pair(2, 3));

  core.SetCaretPos(1, 0);  // the line with its line end, as a macro writer selects it
  core.SetSelLength(10);
  run("EncodeQuote");
  EXPECT_EQ(w->ShownText().toStdString(), "one\n\"say \"\"hi\"\"\"\nthxree\n");

  core.SetCaretPos(0, 0);
  run("InputDate");
  EXPECT_TRUE(w->ShownText().startsWith(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));
}

}  // namespace
}  // namespace vorn
