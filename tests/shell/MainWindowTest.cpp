#include "shell/Main.h"
#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "settings/VornMemInifile.h"
#include "shell/CommandActions.h"
#include "shell/Station.h"
#include "shellcore/KeyMapFiles.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace vorn {
namespace {

namespace fs = std::filesystem;

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vorn-main-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    dir_ = fs::canonical(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const auto path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // A window whose prompts record what they were asked instead of showing boxes.
  std::unique_ptr<TVornEditMain> NewWindow(TDialogAnswer answer = daNo) {
    auto w = std::make_unique<TVornEditMain>();
    TWindowServices::TPrompts p;
    p.askCreateMissing = [this, answer](const QString& text) {
      asked_.push_back(text);
      return answer;
    };
    p.chooseFileIn = [this](const QString& folder) {
      asked_.push_back(folder);
      return QString();
    };
    p.warn = [this](const QString& text) { warned_.push_back(text); };
    w->Services().prompts = p;
    w->SetHandOffEnabled(false);
    return w;
  }

  fs::path dir_;
  std::vector<QString> asked_, warned_;
};

TEST_F(MainWindowTest, NoArgumentsShowAnUntitledSjisCrlfDocument) {
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({}));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("無題 - VornEditor"));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spCharCode)->Text(), QStringLiteral("SJIS"));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spLineBreak)->Text(), QStringLiteral("CRLF"));
}

TEST_F(MainWindowTest, OpensANamedFileWithItsTitleAndShiftJisText) {
  // "日本語" in Shift_JIS: 93 FA 96 7B 8C EA
  const auto path = Write("notes.txt", "abc\r\n\x93\xfa\x96\x7b\x8c\xea\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  EXPECT_EQ(w->windowTitle(), QString::fromStdString("notes.txt[" + dir_.string() + "/] - VornEditor"));
  EXPECT_EQ(w->ShownText(), QStringLiteral("abc\n日本語\n"));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spLineBreak)->Text(), QStringLiteral("CRLF"));
  EXPECT_TRUE(warned_.empty());
}

TEST_F(MainWindowTest, FixedCodeAndLineBreakAreStarredInTheStatusBar) {
  const auto path = Write("lf.txt", "a\nb\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({"-os", "-rn", path}));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spCharCode)->Text(), QStringLiteral("*SJIS"));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spLineBreak)->Text(), QStringLiteral("*LF"));
}

TEST_F(MainWindowTest, DetectedCodeAndLineBreakShowWithoutStar) {
  // "日本語" in EUC-JP: C6 FC CB DC B8 EC
  const auto path = Write("euc.txt", "\xc6\xfc\xcb\xdc\xb8\xec\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spCharCode)->Text(), QStringLiteral("EUC"));
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spLineBreak)->Text(), QStringLiteral("LF"));
  EXPECT_EQ(w->ShownText(), QStringLiteral("日本語\n"));
}

TEST_F(MainWindowTest, CharactersShiftJisCannotHoldOpenReadOnlyWithOneMessage) {
  // "café 😀" in UTF-8 without signature: é and the emoji have no Shift_JIS code.
  const auto path = Write("cafe.txt", "caf\xc3\xa9 \xf0\x9f\x98\x80\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  EXPECT_EQ(w->CharCode(), ckUtf8N);
  EXPECT_TRUE(w->ReadOnly());
  EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("(上書き禁止)")));
  ASSERT_EQ(warned_.size(), 1u);
  EXPECT_TRUE(warned_[0].contains(QStringLiteral(" 2 個")));
}

TEST_F(MainWindowTest, MissingFileAsksAndYesNamesTheDocumentWithoutCreatingIt) {
  const auto path = (dir_ / "new.txt").string();
  auto w = NewWindow(daYes);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  ASSERT_EQ(asked_.size(), 1u);
  EXPECT_TRUE(asked_[0].startsWith(QString::fromStdString(path) + QStringLiteral("はみつかりません。新規作成しますか？\r\n\r\n")));
  EXPECT_EQ(w->FileName(), path);
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(MainWindowTest, MissingFileCancelEndsTheStartAndNoLeavesItUntitled) {
  const auto path = (dir_ / "gone.txt").string();
  EXPECT_FALSE(NewWindow(daCancel)->ProcessCommandLine({path}));
  auto w = NewWindow(daNo);
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  EXPECT_TRUE(w->FileName().empty());
}

TEST_F(MainWindowTest, UnreadableFileGivesAMessageAndAnUntitledWindow) {
  const auto path = Write("secret.txt", "x");
  fs::permissions(path, fs::perms::none);
  // Root reads every file, so the window is made in a child that has shed root's rights.
  const int result = testing::RunUnprivileged([&] {
    auto w = NewWindow();
    if (!w->ProcessCommandLine({path})) return 1;
    if (!w->FileName().empty()) return 2;
    if (warned_.size() != 1 || !warned_[0].contains(QString::fromStdString(path))) return 3;
    return 0;
  });
  EXPECT_EQ(result, 0);
}

TEST_F(MainWindowTest, AFolderOpensTheOpenDialogThere) {
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({dir_.string()}));
  ASSERT_EQ(asked_.size(), 1u);
  EXPECT_EQ(asked_[0], QString::fromStdString(dir_.string()));
}

// Reading a pipe would wait for a writer that never comes; the start must go on.
TEST_F(MainWindowTest, ANamedPipeNeverHoldsUpTheStart) {
  const auto pipe = (dir_ / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  auto w = NewWindow(daNo);
  ASSERT_TRUE(w->ProcessCommandLine({pipe}));
  EXPECT_TRUE(w->FileName().empty());
  EXPECT_EQ(w->ShownText(), QString());
}

// A device, a pipe, a socket or a kernel file on the command line is named in a message at
// once; none is read, and none is offered for creation (saving would then write into it).
TEST_F(MainWindowTest, PathsThatAreNotFilesGiveTheirMessageAtOnce) {
  const auto pipe = (dir_ / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto sock = (dir_ / "sock").string();
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, sock.c_str(), sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  for (const std::string& path : {std::string("/dev/zero"), pipe, sock, std::string("/proc/self/mem")}) {
    SCOPED_TRACE(path);
    asked_.clear();
    warned_.clear();
    QElapsedTimer clock;
    clock.start();
    auto w = NewWindow(daYes);
    ASSERT_TRUE(w->ProcessCommandLine({path}));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(w->FileName().empty());
    EXPECT_EQ(w->ShownText(), QString());
    EXPECT_TRUE(asked_.empty());
    ASSERT_EQ(warned_.size(), 1u);
    EXPECT_TRUE(warned_[0].contains(QString::fromStdString(CanonicalFileName(path)))) << warned_[0].toStdString();
    EXPECT_TRUE(warned_[0].endsWith(QStringLiteral("は開けません"))) << warned_[0].toStdString();
  }
  ::close(fd);
}

TEST_F(MainWindowTest, FurtherFilesAreHandedOnAndOnlyTheFirstOpensHere) {
  const auto a = Write("a.txt", "A"), b = Write("b.txt", "B"), c = Write("c.txt", "C");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({"-ou", a, b, c}));
  EXPECT_EQ(w->FileName(), a);
  EXPECT_EQ(w->HandOffParams(), "-ou \"" + b + "\" -x0 \"" + c + "\" -x0 ");
}

TEST_F(MainWindowTest, JumpAndDisplaySwitchesApply) {
  const auto path = Write("lines.txt", "1\r\n2\r\n3\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({"-n", "-s-", path}));
  EXPECT_TRUE(w->FileName().empty());  // -n keeps the text, forgets the name
  EXPECT_EQ(w->ShownText(), QStringLiteral("1\n2\n3\n"));
  EXPECT_FALSE(w->StatusPanels()->isVisibleTo(w.get()));
}

void Drop(TVornEditMain& w, const std::vector<std::string>& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
  data.setUrls(urls);
  // The drop goes where the drag entered and was accepted, as with a real drag.
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
}

TEST_F(MainWindowTest, DroppedFilesOpenTheFirstInAnUntitledWindowAndTheRestInOneNewCopy) {
  const auto a = Write("a.txt", "A"), b = Write("b.txt", "B"), c = Write("c.txt", "C");
  auto w = NewWindow();
  std::vector<std::string> started;
  w->Services().startProgram = [&started](const std::string& params) { started.push_back(params); };
  ASSERT_TRUE(w->ProcessCommandLine({}));
  Drop(*w, {dir_.string(), a, b, c});  // a folder is no file to open
  EXPECT_EQ(w->FileName(), a);
  EXPECT_EQ(w->ShownText(), QStringLiteral("A"));
  EXPECT_EQ(started, std::vector<std::string>{"\"" + b + "\" \"" + c + "\" -x0"});

  Drop(*w, {b});
  EXPECT_EQ(w->FileName(), a) << "a window with a document keeps it";
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1], "\"" + b + "\" -x0");
}

TEST_F(MainWindowTest, AnEmptyToolBarIsRememberedAsHiddenInCommonIni) {
  SaveToolBarFile(UserFolder(), {});
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({}));
  const std::string ini = UserFolder() + "Common.ini";
  QElapsedTimer waited;
  waited.start();
  while (!fs::exists(ini) && waited.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(TVornMemInifile(ini).ReadBool("Standard", "ToolBar", true));
  EXPECT_FALSE(w->Actions()->ToolBar()->isVisibleTo(w.get()));
  EXPECT_TRUE(warned_.empty());
}

TEST(StationWindow, IsHiddenAndTitledForDiscovery) {
  TVornEditStation station;
  EXPECT_EQ(station.windowTitle(), QStringLiteral("VORNEDITORSTATION"));
  EXPECT_FALSE(station.isVisible());
}

// Typing in the window's control edits the document; the status bar follows the caret over
// a wrapped line, the insert mode, and says how many typed characters could not be held.
TEST_F(MainWindowTest, TypingEditsTheDocumentAndTheStatusBarFollows) {
  const auto path = Write("typed.txt", "abc\r\n\x93\xfa\x96\x7b\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({path, "-j2"}));
  TVornEdit* edit = w->Editor();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spCaret)->Text(), QStringLiteral("    2:   1"));
  auto key = [edit](int k, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
  };
  key(Qt::Key_End);
  key(Qt::Key_X, QStringLiteral("x"));
  QApplication::processEvents();
  EXPECT_EQ(w->ShownText(), QStringLiteral("abc\n日本x\n"));
  EXPECT_TRUE(w->Modified());
  EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("[変更]"))) << w->windowTitle().toStdString();
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spCaret)->Text(), QStringLiteral("    2:   6"));
  key(Qt::Key_Insert);
  QApplication::processEvents();
  EXPECT_EQ(w->StatusPanels()->Panel(TStatusPanels::spInsert)->Text(), QStringLiteral("上書"));
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("\u8FD9y"));
  QApplication::sendEvent(edit, &commit);
  QApplication::processEvents();
  EXPECT_EQ(w->ShownText(), QStringLiteral("abc\n日本xy\n"));
  EXPECT_NE(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text().indexOf(QStringLiteral("1 文字")), -1);
}

}  // namespace
}  // namespace vorn
