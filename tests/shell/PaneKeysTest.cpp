// A pane's keys through the one key path: the key table names the function, the dispatcher runs
// the pane command with Shift taken from the event, and only text the function did not stand
// for is typed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <memory>
#include <string>

#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"
#include "shell/PaneKeys.h"
#include "shellcore/KeyTable.h"
#include "shellcore/PaneCommands.h"

namespace vorn {
namespace {

// A pane with its commands and the built-in key table, as a window gives its panes.
class PaneKeysTest : public ::testing::Test {
protected:
  void SetUp() override {
    pane_ = std::make_unique<TVornEdit>(NewWrappedStore());
    pane_->resize(400, 300);
    pane_->show();
    QApplication::processEvents();
    AddPaneCommands(dispatcher_, [this]() -> TVornEditCore& { return pane_->Core(); });
    pane_->SetKeyRoute(&keys_);
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line " + std::to_string(100 + i) + "\r\n";
    pane_->Lines().SetTextStr(text);
    pane_->Core().SetFocused(true);
    pane_->Core().SetCaretPos(0, 0);
    pane_->Flush();
  }
  void TearDown() override { pane_->SetKeyRoute(nullptr); }

  TCommandState PaneState() const {
    const TVornEditCore& core = pane_->Core();
    TCommandState s;
    s.ReadOnly = core.ReadOnly();
    s.BrowseMode = core.BrowseMode();
    s.Selection = core.HasSelection();
    s.CanUndo = core.CanUndo();
    s.CanRedo = core.CanRedo();
    return s;
  }
  void Key(int key, Qt::KeyboardModifiers mods = {}, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(pane_.get(), &event);
  }
  std::string Text() const {
    std::string text;
    pane_->Lines().WriteText([&text](std::string_view piece) { text += piece; });
    return text;
  }

  std::unique_ptr<TVornEdit> pane_;
  TKeyTable table_ = TKeyTable::BuiltIn();
  TCommandDispatcher dispatcher_{[this] { return PaneState(); }};
  TKeyPath path_{dispatcher_, table_};
  TPaneKeys keys_{path_};
};

TEST_F(PaneKeysTest, KeysEditAndShiftComesFromTheEvent) {
  pane_->Core().SetCaretPos(0, 4);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(pane_->Core().GetSelText(), " 1");
  Key(Qt::Key_X, {}, QStringLiteral("X"));
  Key(Qt::Key_Return);
  Key(Qt::Key_Tab);
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Insert);
  EXPECT_TRUE(pane_->Core().OverwriteMode());
  Key(Qt::Key_Z, {}, QStringLiteral("Z"));
  EXPECT_EQ(Text().substr(0, 16), "lineX\r\nZ0\r\nline ");
  // A control character that arrives as key text is not typed.
  Key(Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
  EXPECT_EQ(Text().substr(0, 7), "lineX\r\n");
  // Alt with a letter reaches the menus; the letter is never typed, whatever text it carries.
  Key(Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
  Key(Qt::Key_F, Qt::AltModifier | Qt::ShiftModifier, QStringLiteral("F"));
  EXPECT_EQ(Text().substr(0, 16), "lineX\r\nZ0\r\nline ");
}

// The key table alone decides: a key given another function runs that one, and a key taken
// away from its function only types.
TEST_F(PaneKeysTest, TheTableDecidesWhatAKeyDoes) {
  table_.Set(0, vk::Letter('Q'), FunctionByName("MoveFileEnd")->Number);
  table_.Set(0, vk::Left, kNoAssignment);
  Key(Qt::Key_Q, {}, QStringLiteral("q"));
  EXPECT_EQ(pane_->Core().CaretRow(), pane_->Core().RowCount());
  EXPECT_EQ(Text().find('q'), std::string::npos) << "the key's character stood for the function";
  Key(Qt::Key_Left);
  EXPECT_EQ(pane_->Core().CaretRow(), pane_->Core().RowCount()) << "Left has no function any more";
  // Shift with an unassigned combination runs the unshifted function with Shift held.
  pane_->Core().SetCaretPos(3, 2);
  Key(Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(pane_->Core().GetSelText(), "ne 103");
}

// A key that stands for a function must not be taken by a shortcut of the window (a menu's
// Alt+letter) first; one that stands for none is left to the window.
TEST_F(PaneKeysTest, OnlyKeysWithAFunctionOverrideWindowShortcuts) {
  table_.Set(kmAlt, vk::Letter('E'), FunctionByName("SelectAll")->Number);
  QKeyEvent assigned(QEvent::ShortcutOverride, Qt::Key_E, Qt::AltModifier);
  QKeyEvent free(QEvent::ShortcutOverride, Qt::Key_F, Qt::AltModifier);
  assigned.ignore();
  free.ignore();
  QApplication::sendEvent(pane_.get(), &assigned);
  QApplication::sendEvent(pane_.get(), &free);
  EXPECT_TRUE(assigned.isAccepted());
  EXPECT_FALSE(free.isAccepted());
}

}  // namespace
}  // namespace vorn
