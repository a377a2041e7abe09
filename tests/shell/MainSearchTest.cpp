// Find and replace from the window as a user drives it: the dialog, F3 and Shift+F3, confirmed
// and repeated replacement, replace all with back references, the fuzzy search, the line jump,
// the history file, a replayed find step and the grep's condition in the result window.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "dialogs/FindForm.h"
#include "dialogs/MarkListForm.h"
#include "editor/VornEdit.h"
#include "encoding/jconvert.h"
#include "shell/GrepPart.h"
#include "shell/MacroPart.h"
#include "shellcore/FindHistory.h"
#include "shellcore/FunctionTable.h"
#include "syntax/KeyWord.h"
#include "dialogs/GrepExecForm.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace vorn {
namespace {

std::string Sjis(const std::string& utf8) { return ConvertCharCode(utf8, ckUtf8N, ckSjis); }
int Number(std::string_view name) { return FunctionByName(name)->Number; }

class TSayingPrompts : public testing::TQuietPrompts {
public:
  void Inform(const std::string& text) override { informed.push_back(text); }
  std::vector<std::string> informed;
};

// Runs act on the next modal dialog of type T once it is shown.
template <class T>
void WhenShown(std::function<void(T&)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*dialog);
    }
  });
  timer->start(10);
}

class MainSearchTest : public ::testing::Test {
protected:
  std::unique_ptr<TVornEditMain> NewWindow(const std::string& text) {
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts_);
    w->Services().historyUserFolder = folder_.Path() + "/";
    w->Lines().SetTextStr(text);
    w->show();
    return w;
  }
  // Fills the find or replace dialog and presses the action button.
  void Answer(const std::string& sjisWord, bool regex, std::function<QPushButton*(TFindForm&)> button,
              const std::string& sjisReplacement = {}, bool fuzzy = false) {
    WhenShown<TFindForm>([=](TFindForm& form) {
      form.FindStrCombo()->setEditText(QString::fromStdString(ConvertCharCode(sjisWord, ckSjis, ckUtf8N)));
      form.ReplaceStrCombo()->setEditText(QString::fromStdString(ConvertCharCode(sjisReplacement, ckSjis, ckUtf8N)));
      form.UseJreCheck()->setChecked(regex);
      form.FuzzCheck()->setChecked(fuzzy);
      button(form)->click();
    });
  }
  static TTextRange Sel(TVornEditMain& w) { return w.Editor()->Core().SelectionOffsets(); }

  vorn::testing::TTempFolder folder_;
  TSayingPrompts prompts_;
};

TEST_F(MainSearchTest, FindThenF3AndShiftF3WalkTheMatchesAndTheHistoryKeepsTheWord) {
  auto w = NewWindow("one two\r\ntwo three two\r\n");
  TVornEditCore& core = w->Editor()->Core();
  core.SetCaretPos(0, 0);
  Answer("two", false, [](TFindForm& f) { return f.DownFindButton(); });
  ASSERT_TRUE(w->RunFunction(Number("Find"), false));
  EXPECT_EQ(Sel(*w), (TTextRange{4, 7}));
  ASSERT_TRUE(w->RunFunction(Number("FindDown"), false));
  EXPECT_EQ(Sel(*w), (TTextRange{9, 12}));
  ASSERT_TRUE(w->RunFunction(Number("FindDown"), false));
  EXPECT_EQ(Sel(*w), (TTextRange{19, 22}));
  ASSERT_TRUE(w->RunFunction(Number("FindUp"), false));
  EXPECT_EQ(Sel(*w), (TTextRange{9, 12}));
  // The search start is where the dialog's search began.
  ASSERT_TRUE(w->RunFunction(Number("FindComeback"), false));
  EXPECT_EQ(core.Caret(), (TRowCol{0, 0}));

  std::string error;
  const TFindHistory history = LoadFindHistory(folder_.Path() + "/" + kFindHistoryFileName, error);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0]->Pattern(), "two");
  EXPECT_TRUE(error.empty());
  // The next dialog offers the word at the caret; Cancel leaves the condition as it was.
  core.ClearSelection();
  core.SetCaretPos(1, 5);
  QString offered;
  WhenShown<TFindForm>([&offered](TFindForm& form) {
    offered = form.FindStrCombo()->currentText();
    EXPECT_EQ(form.FindStrCombo()->count(), 1);
    form.reject();
  });
  ASSERT_TRUE(w->RunFunction(Number("Find"), false));
  EXPECT_EQ(offered, QStringLiteral("three"));
  EXPECT_EQ(core.FindCondition().Pattern(), "two");
  w->RunFunction(Number("ClearFindItem"), false);
  EXPECT_TRUE(core.FindCondition().Pattern().empty());
}

TEST_F(MainSearchTest, RepeatedReplaceAsksForEachMatchAndReplaceAllUsesBackReferences) {
  auto w = NewWindow("a1 a2 a3\r\nb\r\n");
  std::vector<int> answers = {6, 7, 6};
  std::size_t asked = 0;
  w->Services().confirmReplace = [&](bool withAll) {
    EXPECT_TRUE(withAll);
    return asked < answers.size() ? answers[asked++] : 2;
  };
  Answer("a", false, [](TFindForm& f) { return f.RepeatReplaceButton(); }, "xy");
  ASSERT_TRUE(w->RunFunction(Number("Replace"), false));
  EXPECT_EQ(asked, 3u);
  EXPECT_EQ(w->ShownText(), QStringLiteral("xy1 a2 xy3\nb\n"));

  w->Editor()->Core().SetCaretPos(0, 0);
  Answer("([a-z]+)([0-9])", true, [](TFindForm& f) { return f.AllReplaceButton(); }, "\\2\\1");
  ASSERT_TRUE(w->RunFunction(Number("Replace"), false));
  EXPECT_EQ(w->ShownText(), QStringLiteral("1xy 2a 3xy\nb\n"));
  ASSERT_FALSE(prompts_.informed.empty());
  EXPECT_EQ(prompts_.informed.back(), "全部で 3個の置換を行いました");
  w->RunFunction(Number("Undo"), false);
  EXPECT_EQ(w->ShownText(), QStringLiteral("xy1 a2 xy3\nb\n"));
}

TEST_F(MainSearchTest, FuzzySearchFindsKatakanaHiraganaAndHalfWidthForms) {
  auto w = NewWindow(Sjis("カ か ｶ ａ a\r\n"));
  w->Editor()->Core().SetCaretPos(0, 0);
  Answer(Sjis("カ"), false, [](TFindForm& f) { return f.DownFindButton(); }, {}, true);
  ASSERT_TRUE(w->RunFunction(Number("Find"), false));
  std::vector<int> starts{Sel(*w).Start};
  for (int i = 0; i < 3; ++i) {
    w->RunFunction(Number("FindDown"), false);
    starts.push_back(Sel(*w).Start);
  }
  EXPECT_EQ(starts, (std::vector<int>{0, 3, 6, 6})) << "three forms, then no further match";
}

TEST_F(MainSearchTest, TheLineJumpAndTheMarkListMoveTheCaret) {
  std::string text;
  for (int i = 1; i <= 20; ++i) text += "line " + std::to_string(i) + "\r\n";
  auto w = NewWindow(text);
  TVornEditCore& core = w->Editor()->Core();
  WhenShown<TJumpInputForm>([](TJumpInputForm& form) {
    form.LineEdit()->setText("12");
    form.JumpButton()->click();
  });
  ASSERT_TRUE(w->RunFunction(Number("JumpRow"), false));
  EXPECT_EQ(core.CaretRow(), 11);
  w->RunFunction(Number("SetMark2"), false);
  core.SetCaretPos(3, 0);
  w->RunFunction(Number("ToggleMark"), false);
  core.SetCaretPos(0, 0);
  WhenShown<TMarkListForm>([](TMarkListForm& form) {
    ASSERT_EQ(form.List()->topLevelItemCount(), 2);
    EXPECT_EQ(form.List()->topLevelItem(0)->text(1), QStringLiteral("4"));
    EXPECT_FALSE(form.JumpButton()->isEnabled());
    form.List()->setCurrentItem(form.List()->topLevelItem(1));
    form.JumpButton()->click();
  });
  ASSERT_TRUE(w->RunFunction(Number("ShowMarkList"), false));
  EXPECT_EQ(core.CaretRow(), 11);
  // A line past the end goes to the last line.
  WhenShown<TJumpInputForm>([](TJumpInputForm& form) {
    form.LineEdit()->setText("900");
    form.JumpButton()->click();
  });
  ASSERT_TRUE(w->RunFunction(Number("JumpRow"), false));
  EXPECT_GE(core.CaretRow(), 19);
}

TEST_F(MainSearchTest, AReplayedFindLineAndAGrepResultSearchWithoutTheDialog) {
  auto w = NewWindow("x\r\nfoo bar\r\n");
  w->Editor()->Core().SetCaretPos(0, 0);
  w->Macro().RunLine("Find('bar',1,0,0,0,1)");
  EXPECT_EQ(Sel(*w), (TTextRange{7, 10}));

  TGrepOutcome outcome;
  outcome.Started = true;
  outcome.Text = "a.txt(1): foo\r\na.txt(2): foo\r\n";
  w->Process().shownGrep = std::make_shared<TGrepKeyWord>();
  w->Process().shownGrep->SetPattern("foo");
  w->Process().shownGrep->SetPlainText(true);
  w->ShowGrepResult(outcome);
  EXPECT_EQ(w->Editor()->Core().FindCondition().Pattern(), "foo");
  ASSERT_TRUE(w->RunFunction(Number("FindDown"), false));
  EXPECT_EQ(Sel(*w), (TTextRange{10, 13}));
}

}  // namespace
}  // namespace vorn
