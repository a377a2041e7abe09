// The window's actions on a bare main window: keys through the Qt key map and the key path to
// the dispatcher, the menus and the tool bar generated from the table.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest/QTest>

#include <map>

#include "qtplatform/KeyCodeMap.h"
#include "shell/CommandActions.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/KeyPath.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyNames.h"

namespace vorn {
namespace {

int Fn(const char* name) { return FunctionByName(name)->Number; }

// A stand-in pane: every key-down goes through the key path; the character a key types is kept
// unless the key path said to drop it. Backspace and carriage return characters count as typed
// (an editor acts on them); other control characters are ignored, as an editor ignores them.
class TTestPane : public QWidget {
public:
  TTestPane(TKeyPath& path, QWidget* parent) : QWidget(parent), path_(path) { setFocusPolicy(Qt::StrongFocus); }
  QString typed;

protected:
  // Tab and Shift+Tab must reach the key map rather than move the focus.
  bool event(QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      keyPressEvent(static_cast<QKeyEvent*>(event));
      return true;
    }
    return QWidget::event(event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    const TKeyChord chord = KeyChordFromEvent(*event);
    const bool drop = !path_.KeyDown(chord.Key, chord.Modifiers);
    for (QChar c : event->text()) {
      if (drop) break;
      if (c == QLatin1Char('\b')) typed += QStringLiteral("<BS>");
      else if (c == QLatin1Char('\r')) typed += QStringLiteral("<CR>");
      else if (c.unicode() >= 0x20) typed += c;
    }
  }

private:
  TKeyPath& path_;
};

class CommandActionsTest : public ::testing::Test {
protected:
  void SetUp() override { Create(TFunctionSet().set()); }

  // Every function has a handler that notes its run; built says which the traits let run.
  void Create(const TFunctionSet& built) {
    window_.reset();
    for (int n = 0; n < kFunctionCount; ++n)
      traits_[n].When = built.test(static_cast<std::size_t>(n)) ? TEnabledWhen::Always : TEnabledWhen::Never;
    dispatcher_ = std::make_unique<TCommandDispatcher>([] { return TCommandState{}; }, traits_);
    for (int n = 0; n < kFunctionCount; ++n)
      dispatcher_->Set(n, [this, n](bool shift) { runs_[n].push_back(shift); });
    path_ = std::make_unique<TKeyPath>(*dispatcher_, table_);
    window_ = std::make_unique<QMainWindow>();
    runs_.clear();
    actions_ = new TCommandActions(window_.get(), *dispatcher_, [this](const std::string& n) { commands_.push_back(n); });
    actions_->BuildMenus();
    actions_->BuildToolBar(DefaultToolBar());
    actions_->InstallShortcuts(table_, false);
    pane_ = new TTestPane(*path_, window_.get());
    window_->setCentralWidget(pane_);
    actions_->UpdateStates(TCommandState{});
  }

  int TotalRuns() const {
    int total = 0;
    for (const auto& [f, list] : runs_) total += static_cast<int>(list.size());
    return total;
  }

  void Send(int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode = 0, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(pane_, &event);
  }

  TKeyTable table_ = TKeyTable::BuiltIn();
  TCommandTraitsTable traits_;
  std::unique_ptr<TCommandDispatcher> dispatcher_;
  std::unique_ptr<TKeyPath> path_;
  std::unique_ptr<QMainWindow> window_;
  TCommandActions* actions_ = nullptr;
  TTestPane* pane_ = nullptr;
  std::map<int, std::vector<bool>> runs_;
  std::vector<std::string> commands_;
};

// How Qt reports a key of the built-in table: Shift+Tab comes as Backtab and Shift with a digit
// as the symbol a Japanese keyboard prints, unless the X key code is there to tell the key.
struct TDelivered {
  int qtKey;
  quint32 scanCode;
};

TDelivered AsQtDelivers(int virtualKey, int modifiers, bool withScanCode) {
  static const int kShiftedDigits[10] = {Qt::Key_0,         Qt::Key_Exclam,    Qt::Key_QuoteDbl, Qt::Key_NumberSign,
                                         Qt::Key_Dollar,    Qt::Key_Percent,   Qt::Key_Ampersand, Qt::Key_Apostrophe,
                                         Qt::Key_ParenLeft, Qt::Key_ParenRight};
  if ((modifiers & kmShift) && virtualKey == vk::Tab) return {Qt::Key_Backtab, 0};
  if (virtualKey >= vk::Key0 && virtualKey <= vk::Digit(9)) {
    const int d = virtualKey - vk::Key0;
    const quint32 code = withScanCode ? (d == 0 ? 19u : static_cast<quint32>(9 + d)) : 0u;
    return {(modifiers & kmShift) ? kShiftedDigits[d] : Qt::Key_0 + d, code};
  }
  return {QtKeyFromVirtualKey(virtualKey), 0};
}

Qt::KeyboardModifiers QtModifiers(int m) {
  Qt::KeyboardModifiers q;
  if (m & kmShift) q |= Qt::ShiftModifier;
  if (m & kmCtrl) q |= Qt::ControlModifier;
  if (m & kmAlt) q |= Qt::AltModifier;
  return q;
}

TEST_F(CommandActionsTest, EveryBuiltInKeyRunsItsFunctionExactlyOnce) {
  for (bool withScanCode : {false, true})
    for (int m = 0; m < kModifierStates; ++m)
      for (int k = 0; k < kVirtualKeys; ++k) {
        const int f = table_.At(m, k);
        if (!IsFunctionNumber(f)) continue;
        runs_.clear();
        const TDelivered key = AsQtDelivers(k, m, withScanCode);
        Send(key.qtKey, QtModifiers(m), key.scanCode);
        EXPECT_EQ(TotalRuns(), 1) << ShortcutText(m, k);
        EXPECT_EQ(runs_[f].size(), 1u) << ShortcutText(m, k) << " should run " << FunctionByNumber(f)->Name;
      }
}

TEST_F(CommandActionsTest, RealKeyClicksRunOnceAndControlCharactersAreNotTyped) {
  window_->show();
  pane_->setFocus();
  // With Ctrl held the platform delivers the control character, as X11 does.
  const auto click = [this](Qt::Key key, const QString& text, Qt::KeyboardModifiers modifiers) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, text, modifiers);
  };
  click(Qt::Key_S, QStringLiteral("\x13"), Qt::ControlModifier);
  EXPECT_EQ(runs_[Fn("SaveFile")].size(), 1u);
  click(Qt::Key_M, QStringLiteral("\r"), Qt::ControlModifier);
  EXPECT_EQ(runs_[Fn("ToggleMark")].size(), 1u);
  click(Qt::Key_H, QStringLiteral("\b"), Qt::ControlModifier);
  click(Qt::Key_A, QStringLiteral("a"), Qt::NoModifier);
  click(Qt::Key_Backspace, QStringLiteral("\b"), Qt::NoModifier);
  EXPECT_EQ(TotalRuns(), 3);
  EXPECT_EQ(runs_[Fn("BackSpace")].size(), 1u);
  // No carriage return from Ctrl+M, no backspace from Ctrl+H or from the BackSpace function's key.
  EXPECT_EQ(pane_->typed, QStringLiteral("a"));
}

TEST_F(CommandActionsTest, ShiftExtendsMovementsAndNothingElse) {
  Send(Qt::Key_Left, Qt::ShiftModifier);
  Send(Qt::Key_Left, Qt::NoModifier);
  EXPECT_EQ(runs_[Fn("CursorLeft")], (std::vector<bool>{true, false}));
  Send(Qt::Key_S, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(TotalRuns(), 2);
}

TEST_F(CommandActionsTest, FunctionsNotBuiltArePresentDisabledAndDoNothing) {
  TFunctionSet built = TFunctionSet().set();
  built.reset(Fn("Grep"));
  Create(built);
  QAction* grep = actions_->ActionByName("grepaction");
  ASSERT_NE(grep, nullptr);
  EXPECT_FALSE(grep->isEnabled());
  Send(Qt::Key_G, Qt::ControlModifier);
  grep->trigger();
  EXPECT_EQ(TotalRuns(), 0);
  actions_->UpdateStates(TCommandState{});
  EXPECT_FALSE(grep->isEnabled());
}

TEST_F(CommandActionsTest, MenusHoldEveryMenuCommandAndShowTableKeys) {
  const QList<QAction*> tops = window_->menuBar()->actions();
  ASSERT_EQ(tops.size(), 6);
  EXPECT_EQ(tops[0]->text(), QStringLiteral("ファイル(&F)"));
  EXPECT_EQ(actions_->Action(Fn("SaveFile"))->text(), QStringLiteral("上書き保存(&S)\tCtrl+S"));
  EXPECT_EQ(actions_->Action(Fn("TagJump"))->text(), QStringLiteral("タグジャンプ(&T)\tF10"));
  EXPECT_EQ(actions_->Action(Fn("WordLeft"))->text(), QStringLiteral("単語左"));
  ASSERT_NE(actions_->RunTimeListMenu(kFileHistoryList), nullptr);
  EXPECT_EQ(actions_->RunTimeListMenu(kFileHistoryList)->actions().last(), actions_->RunTimeListAnchor(kFileHistoryList));
  // Choosing an entry runs it once.
  actions_->Action(Fn("Undo"))->trigger();
  EXPECT_EQ(runs_[Fn("Undo")].size(), 1u);
  for (QAction* a : actions_->PanePopup()->actions())
    if (a->menu() && a->text() == QStringLiteral("マーク(&K)")) EXPECT_EQ(a->menu()->actions().size(), 10);
}

TEST_F(CommandActionsTest, ToolBarFollowsItsListAndLendsShortcutFlags) {
  EXPECT_EQ(actions_->ToolBar()->actions().size(), 16);
  actions_->BuildToolBar({Fn("CursorLeft"), kToolBarSeparator, 400});
  actions_->InstallShortcuts(table_, false);
  const QList<QAction*> buttons = actions_->ToolBar()->actions();
  ASSERT_EQ(buttons.size(), 3);
  EXPECT_EQ(buttons[0], actions_->Action(Fn("CursorLeft")));
  EXPECT_TRUE(buttons[1]->isSeparator());
  EXPECT_FALSE(buttons[2]->isEnabled());
  EXPECT_TRUE(actions_->Action(Fn("CursorLeft"))->text().endsWith(QStringLiteral("\tLeft")));
  EXPECT_FALSE(actions_->ToolBarEmpty());
  actions_->BuildToolBar({kToolBarSeparator});
  EXPECT_TRUE(actions_->ToolBarEmpty());
  // Rebuilding does not pile up the bar's own blank buttons and separators.
  const auto owned = [this] { return actions_->ToolBar()->findChildren<QAction*>(Qt::FindDirectChildrenOnly).size(); };
  actions_->BuildToolBar({400, kToolBarSeparator});
  const auto once = owned();
  for (int i = 0; i < 3; ++i) actions_->BuildToolBar({400, kToolBarSeparator});
  EXPECT_EQ(owned(), once);
}

TEST_F(CommandActionsTest, KeypadKeysShowAsKeypadKeysInMenus) {
  table_.Set(kmCtrl, vk::Numpad0 + 5, Fn("Find"));
  table_.Set(kmCtrl, vk::Letter('F'), kNoAssignment);
  actions_->InstallShortcuts(table_, false);
  EXPECT_TRUE(actions_->Action(Fn("Find"))->text().endsWith(QStringLiteral("\tCtrl+Num 5")));
  Send(Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier);
  Send(Qt::Key_5, Qt::ControlModifier);
  EXPECT_EQ(runs_[Fn("Find")].size(), 1u);
}

TEST_F(CommandActionsTest, EscapeClosesOnlyWhenAsked) {
  Send(Qt::Key_Escape, Qt::NoModifier);
  EXPECT_EQ(TotalRuns(), 0);
  actions_->InstallShortcuts(table_, true);
  path_->SetEscCloses(true);
  Send(Qt::Key_Escape, Qt::NoModifier);
  EXPECT_EQ(runs_[Fn("Close")].size(), 1u);
  EXPECT_TRUE(actions_->Action(Fn("Close"))->text().endsWith(QStringLiteral("\tEsc")));
}

TEST(KeyCodeMap, QtKeysBecomeTheStoredVirtualKeys) {
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), 0x65);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Asterisk, Qt::KeypadModifier), 0x6A);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Period, Qt::KeypadModifier), 0x6E);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter, Qt::KeypadModifier), 0x0D);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Backtab, Qt::ShiftModifier), 0x09);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Exclam, Qt::ShiftModifier), 0x31);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, Qt::ShiftModifier), 0xBB);  // Shift+; on a Japanese keyboard
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Underscore, Qt::ShiftModifier), 0xE2);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Backslash, Qt::NoModifier, 97), 0xE2);  // the ro key, by its code
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Bar, Qt::ShiftModifier, 132), 0xDC);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Zenkaku_Hankaku, Qt::NoModifier), 0xF4);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Henkan, Qt::NoModifier), 0x1C);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Hiragana_Katakana, Qt::NoModifier), 0xF2);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F12, Qt::NoModifier), 0x7B);
  EXPECT_EQ(VirtualKeyFromQt(Qt::Key_unknown, Qt::NoModifier), 0);
  EXPECT_EQ(ModifierIndex(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier | Qt::MetaModifier), 5);
}

TEST(KeyCodeMap, EveryAssignableKeyMapsBackToItself) {
  for (const TKeyListEntry& entry : AssignableKeys()) {
    const int qtKey = QtKeyFromVirtualKey(entry.Key);
    ASSERT_NE(qtKey, 0) << entry.Name;
    const bool keypad = entry.Key >= 0x60 && entry.Key <= 0x6F;
    EXPECT_EQ(VirtualKeyFromQt(qtKey, keypad ? Qt::KeypadModifier : Qt::NoModifier), entry.Key) << entry.Name;
  }
}

}  // namespace
}  // namespace vorn
