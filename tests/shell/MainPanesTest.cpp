// The window's two panes end to end: both show one document, either may close, and the
// border and focus commands act on the panes the window really shows.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "shell/CommandActions.h"
#include "shellcore/FunctionTable.h"
#include "ScriptedPrompts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include <fstream>
#include <iterator>

namespace vorn {
namespace {

using testing::ReadBytes;

using testing::TScriptedPrompts;

int Fn(std::string_view name) { return FunctionByName(name)->Number; }

class MainPanesTest : public ::testing::Test {
protected:
  // A shown window of 800 x height over a file of rows numbered lines.
  std::unique_ptr<TVornEditMain> OpenWindow(int rows, int height = 600) {
    std::string text;
    for (int i = 0; i < rows; ++i) text += "line" + std::to_string(i) + "\r\n";
    path_ = folder_.Path() + "/panes.txt";
    std::ofstream(path_, std::ios::binary) << text;
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts_);
    EXPECT_TRUE(w->ProcessCommandLine({path_}));
    w->resize(800, height);
    w->show();
    QApplication::processEvents();
    return w;
  }

  static void Type(TVornEditMain& w, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(w.Editor(), &press);
    }
  }
  static bool Run(TVornEditMain& w, std::string_view name, bool shift = false) {
    const bool ran = w.RunFunction(Fn(name), shift);
    QApplication::processEvents();
    return ran;
  }
  static bool DivideChecked(TVornEditMain& w) {
    w.UpdateActions();
    return w.Actions()->Action(Fn("DivideWindow"))->isChecked();
  }

  vorn::testing::TTempFolder folder_;
  TScriptedPrompts prompts_;
  std::string path_;
};

TEST_F(MainPanesTest, BothPanesShowOneDocumentAndTheFocusCyclesBetweenThem) {
  auto w = OpenWindow(200);
  TVornEdit* first = w->Editor();
  ASSERT_TRUE(Run(*w, "DivideWindow"));
  ASSERT_TRUE(w->Split());
  EXPECT_TRUE(DivideChecked(*w));
  TVornEdit* upper = w->Pane(0);
  TVornEdit* lower = w->Pane(1);
  EXPECT_EQ(upper, first);
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(upper->Core().SharedStore(), lower->Core().SharedStore());
  EXPECT_EQ(w->Editor(), upper);  // the upper pane keeps the focus
  EXPECT_GT(upper->height(), 0);
  EXPECT_GT(lower->height(), upper->height());

  Type(*w, QStringLiteral("AB"));
  EXPECT_EQ(lower->Lines().Get(0), "ABline0");
  ASSERT_TRUE(Run(*w, "ToggleWindowFocus"));
  EXPECT_EQ(w->Editor(), lower);
  Type(*w, QStringLiteral("z"));
  EXPECT_EQ(upper->Lines().Get(0), lower->Lines().Get(0));
  EXPECT_EQ(upper->Lines().Get(0).size(), 8u);
  EXPECT_NE(upper->Lines().Get(0).find('z'), std::string::npos);
  EXPECT_EQ(upper->Core().CaretCol(), 2);  // typing in the lower pane left this caret alone
  ASSERT_TRUE(Run(*w, "ToggleWindowFocus", true));
  EXPECT_EQ(w->Editor(), upper);
  ASSERT_TRUE(Run(*w, "ToggleWindowFocus"));
  ASSERT_TRUE(Run(*w, "ToggleWindowFocus"));
  EXPECT_EQ(w->Editor(), upper);
  EXPECT_TRUE(w->Modified());
}

// The window's document commands must still reach the text when the pane they were made
// with is the one that goes.
TEST_F(MainPanesTest, UnsplitWithTheLowerPaneCurrentKeepsTextUndoAndSaving) {
  auto w = OpenWindow(200);
  ASSERT_TRUE(Run(*w, "DivideWindow"));
  ASSERT_TRUE(Run(*w, "ToggleWindowFocus"));
  TVornEdit* lower = w->Pane(1);
  lower->Core().SetCaretPos(5, 0);
  lower->Flush();
  Type(*w, QStringLiteral("xyz"));
  ASSERT_TRUE(Run(*w, "DivideWindow"));
  EXPECT_FALSE(w->Split());
  EXPECT_FALSE(DivideChecked(*w));
  EXPECT_EQ(w->Pane(1), nullptr);
  TVornEdit* kept = w->Editor();
  EXPECT_EQ(kept, w->Pane(0));
  EXPECT_EQ(kept->Core().CaretRow(), 5);  // the current pane's caret survives
  EXPECT_EQ(kept->Core().CaretCol(), 3);
  EXPECT_EQ(kept->Lines().Get(5), "xyzline5");
  EXPECT_TRUE(w->Modified());
  ASSERT_TRUE(kept->Core().CanUndo());

  Run(*w, "SaveFile");
  EXPECT_NE(ReadBytes(path_).find("xyzline5\r\n"), std::string::npos);
  while (kept->Lines().Get(5) != "line5" && kept->Core().CanUndo()) Run(*w, "Undo");
  EXPECT_EQ(kept->Lines().Get(5), "line5");
  EXPECT_TRUE(w->Modified());
  EXPECT_TRUE(prompts_.Quiet());
}

TEST_F(MainPanesTest, AShortPaneRefusesToSplitAndTheBorderKeepsFourRows) {
  auto w = OpenWindow(200);
  const int rowHeight = w->Editor()->Metrics().RowHeight();
  const int chrome = w->height() - w->Editor()->viewport()->height();
  w->resize(800, chrome + 3 * rowHeight);
  QApplication::processEvents();
  ASSERT_LT(w->Editor()->Core().VisibleRows(), 6);
  EXPECT_FALSE(w->SplitPanes());
  Run(*w, "DivideWindow");
  EXPECT_FALSE(w->Split());
  EXPECT_FALSE(DivideChecked(*w));

  // Tall enough again: the caret on the first visible row gives an upper pane of four rows,
  // which the border's up command leaves alone.
  w->resize(800, chrome + 30 * rowHeight);
  QApplication::processEvents();
  ASSERT_TRUE(w->SplitPanes());
  QApplication::processEvents();
  TVornEdit* upper = w->Pane(0);
  EXPECT_EQ(upper->viewport()->height() / rowHeight, 4);
  const int before = upper->height();
  Run(*w, "SplitterUp");
  EXPECT_EQ(upper->height(), before);
  Run(*w, "SplitterDown");
  EXPECT_EQ(upper->height(), before + rowHeight);
  Run(*w, "SplitterUp");
  EXPECT_EQ(upper->height(), before);
}

}  // namespace
}  // namespace vorn
