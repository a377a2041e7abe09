// Sub windows end to end: every window of a process edits, saves and undoes the one document,
// the titles number the windows, the pane focus runs through all of them, and closing the
// main window asks about the document once and takes the sub windows with it.
#include "shell/Main.h"
#include "WindowTestKit.h"
#include "shell/Sub.h"

#include "editor/VornEdit.h"
#include "platform/BusFolder.h"
#include "shellcore/FunctionTable.h"
#include "ScriptedPrompts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <fstream>
#include <iterator>

namespace vorn {
namespace {

using testing::ReadBytes;

using testing::TScriptedPrompts;

class SubWindowTest : public ::testing::Test {
protected:
  std::unique_ptr<TVornEditMain> OpenWindow(int rows) {
    std::string text;
    for (int i = 0; i < rows; ++i) text += "line" + std::to_string(i) + "\r\n";
    path_ = folder_.Path() + "/doc.txt";
    std::ofstream(path_, std::ios::binary) << text;
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts_);
    w->SetHistoryPlaces(folder_.Path() + "/user/", folder_.Path() + "/run");
    EXPECT_TRUE(w->ProcessCommandLine({path_}));
    w->resize(800, 600);
    w->show();
    QApplication::processEvents();
    return w;
  }

  static bool Run(TEditorWindow& w, std::string_view name, bool shift = false) {
    const bool ran = w.RunFunction(FunctionByName(name)->Number, shift);
    QApplication::processEvents();
    return ran;
  }
  static TVornEditSub* NewWindow(TEditorWindow& w) {
    EXPECT_TRUE(Run(w, "NewWindow"));
    const std::vector<TEditorWindow*> windows = w.WindowList();
    return windows.size() > 1 ? static_cast<TVornEditSub*>(windows.back()) : nullptr;
  }
  static void Type(TEditorWindow& w, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w.Editor(), &press);
    }
  }
  std::string Base() const { return "doc.txt[" + folder_.Path() + "/] - VornEditor"; }
  static std::string Title(const TEditorWindow& w) { return w.windowTitle().toStdString(); }

  vorn::testing::TTempFolder folder_;
  TScriptedPrompts prompts_;
  std::string path_;
};

TEST_F(SubWindowTest, EveryWindowEditsUndoesAndSavesTheOneDocument) {
  auto main = OpenWindow(200);
  main->Editor()->Core().SetTopRow(40);
  main->Editor()->Core().SetCaretPos(45, 3);
  main->Editor()->Core().SetOverwriteMode(true);
  main->Editor()->Flush();
  TVornEditSub* sub = NewWindow(*main);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->MainWindow(), main.get());
  EXPECT_TRUE(sub->isVisible());
  TVornEditCore& subCore = sub->Editor()->Core();
  EXPECT_EQ(subCore.SharedStore(), main->Editor()->Core().SharedStore());
  EXPECT_EQ(subCore.TopRow(), 40);
  EXPECT_EQ(subCore.CaretRow(), 45);
  EXPECT_EQ(subCore.CaretCol(), 3);

  // Typed in the sub window (over the text: the pane took the insert mode), shown in the main.
  Type(*sub, QStringLiteral("XY"));
  EXPECT_EQ(main->Editor()->Lines().Get(45), "linXY5");
  EXPECT_TRUE(main->Modified());
  EXPECT_EQ(Title(*main), "■ [変更]" + Base());
  EXPECT_EQ(Title(*sub), "□ [サブウィンドウ(1)] [変更]" + Base());

  // Undone from the main window: one undo history, and back at the file's text.
  while (main->Editor()->Core().CanUndo()) Run(*main, "Undo");
  EXPECT_EQ(sub->Editor()->Lines().Get(45), "line45");
  EXPECT_FALSE(sub->Modified());
  EXPECT_EQ(Title(*sub), "□ [サブウィンドウ(1)] " + Base());

  // Saved from the sub window: the file gets the text, both windows are unmodified.
  sub->Editor()->Core().SetCaretPos(45, 3);
  Type(*sub, QStringLiteral("Z"));
  ASSERT_TRUE(Run(*sub, "SaveFile"));
  EXPECT_NE(ReadBytes(path_).find("line44\r\nlinZ45\r\n"), std::string::npos);
  EXPECT_FALSE(main->Modified());
  EXPECT_EQ(Title(*main), "■ " + Base());
  EXPECT_EQ(Title(*sub), "□ [サブウィンドウ(1)] " + Base());

  // Browse mode is the document's: no window's pane takes typing, also after a document
  // command has brought the panes up to date with the document.
  ASSERT_TRUE(Run(*main, "ToggleBrowseMode"));
  ASSERT_TRUE(Run(*sub, "OpenFilenameCopy"));
  Type(*sub, QStringLiteral("Q"));
  EXPECT_EQ(main->Editor()->Lines().Get(45), "linZ45");
  EXPECT_EQ(Title(*sub), "□ [サブウィンドウ(1)] (閲覧中)" + Base());
  EXPECT_TRUE(prompts_.Quiet());
}

TEST_F(SubWindowTest, TitlesNumberTheWindowsByTheirPlaceInTheList) {
  auto main = OpenWindow(20);
  EXPECT_EQ(Title(*main), Base());
  const TBusFolder bus(folder_.Path() + "/run");
  ASSERT_EQ(main->OpenBus(bus), "");
  TVornEditSub* first = NewWindow(*main);
  TVornEditSub* second = NewWindow(*first);  // opened from a sub window, owned by the main
  ASSERT_NE(second, first);
  EXPECT_EQ(main->WindowList(), (std::vector<TEditorWindow*>{main.get(), first, second}));
  EXPECT_EQ(Title(*second), "□ [サブウィンドウ(2)] " + Base());
  // Other processes tell sub windows from main windows by their class.
  int subsOnBus = 0;
  for (const TBusPeer& peer : bus.List())
    if (peer.className == "TVornEditSub" && peer.title == Title(*second)) ++subsOnBus;
  EXPECT_EQ(subsOnBus, 1);

  // The first sub window closes without a question although the document is modified.
  Type(*main, QStringLiteral("m"));
  QPointer<TVornEditSub> closed = first;
  ASSERT_TRUE(first->close());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(closed.isNull());
  EXPECT_EQ(Title(*main), "■ [変更]" + Base());
  EXPECT_EQ(Title(*second), "□ [サブウィンドウ(1)] [変更]" + Base());
  ASSERT_TRUE(second->close());
  EXPECT_EQ(Title(*main), "[変更]" + Base());
  EXPECT_TRUE(prompts_.Quiet());
}

TEST_F(SubWindowTest, CtrlWRunsThroughThePanesOfAllWindowsAndWraps) {
  auto main = OpenWindow(200);
  ASSERT_TRUE(Run(*main, "DivideWindow"));
  TVornEdit* upper = main->Pane(0);
  TVornEdit* lower = main->Pane(1);
  ASSERT_NE(lower, nullptr);
  TVornEditSub* sub = NewWindow(*main);
  ASSERT_NE(sub, nullptr);
  main->MakePaneCurrent(upper);
  main->activateWindow();
  QApplication::processEvents();

  // Ctrl+W goes to whichever pane has the keyboard focus, as the user's key would.
  const auto ctrlW = [](bool shift) {
    QWidget* focused = QApplication::focusWidget();
    if (!focused) return;
    const Qt::KeyboardModifiers mods = Qt::ControlModifier | (shift ? Qt::ShiftModifier : Qt::NoModifier);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_W, mods, QStringLiteral("\x17"));
    QApplication::sendEvent(focused, &press);
    QApplication::processEvents();
  };
  const auto current = [&] { return QApplication::focusWidget(); };
  ASSERT_EQ(current(), upper);
  const std::vector<QWidget*> forward{lower, sub->Editor(), upper, lower};
  for (QWidget* expected : forward) {
    ctrlW(false);
    EXPECT_EQ(current(), expected);
  }
  const std::vector<QWidget*> backward{upper, sub->Editor(), lower};
  for (QWidget* expected : backward) {
    ctrlW(true);
    EXPECT_EQ(current(), expected);
  }
  EXPECT_EQ(main->Editor(), lower);

  // A minimised window's panes are left out.
  sub->showMinimized();
  QApplication::processEvents();
  ctrlW(false);
  EXPECT_EQ(current(), upper);
}

TEST_F(SubWindowTest, ClosingTheMainWindowAsksOnceAndTakesTheSubWindows) {
  auto main = OpenWindow(20);
  QPointer<TVornEditSub> sub = NewWindow(*main);
  Type(*sub, QStringLiteral("s"));

  // Discarding from the sub window closes the main one; refused, the document must stay
  // modified, or the next close would drop the text without asking.
  prompts_.answers = {TPromptAnswer::Cancel};
  ASSERT_TRUE(Run(*sub, "Destroy"));
  EXPECT_EQ(prompts_.asked, std::vector<std::string>{TVornEditMain::CloseAllWindowsQuestion()});
  EXPECT_TRUE(main->isVisible());
  EXPECT_TRUE(main->Modified());
  EXPECT_TRUE(QString::fromStdString(Title(*sub)).contains(QStringLiteral("[変更]")));

  // No to saving, Cancel to closing every window: nothing closes and the text stays.
  prompts_.asked.clear();
  prompts_.answers = {TPromptAnswer::No, TPromptAnswer::Cancel};
  EXPECT_FALSE(main->close());
  ASSERT_EQ(prompts_.asked.size(), 2u);
  EXPECT_EQ(prompts_.asked[0], TDocumentCommands::QuerySaveText(path_));
  EXPECT_EQ(prompts_.asked[1], TVornEditMain::CloseAllWindowsQuestion());
  EXPECT_TRUE(main->isVisible());
  ASSERT_FALSE(sub.isNull());
  EXPECT_TRUE(sub->isVisible());
  EXPECT_TRUE(main->Modified());

  // Yes saves once; OK closes the main window and its sub window without another question.
  prompts_.asked.clear();
  prompts_.answers = {TPromptAnswer::Yes, TPromptAnswer::Ok};
  EXPECT_TRUE(main->close());
  EXPECT_EQ(prompts_.asked.size(), 2u);
  EXPECT_EQ(ReadBytes(path_).substr(0, 7), "sline0\r");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(sub.isNull());
  EXPECT_FALSE(main->isVisible());
}

}  // namespace
}  // namespace vorn
