// One window's actions, menus, pop-up and tool bar, all generated from the command table.
#include "shell/CommandActions.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "base/sjis.h"
#include "qtplatform/KeyCodeMap.h"
#include "shell/ToolBarIcons.h"
#include "shellcore/CommandCaptions.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyNames.h"

namespace vorn {
namespace {

constexpr const char* kCaptionProperty = "vornCaption";

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string UpperName(std::string_view name) { return sjis::UpperAscii(name); }

}  // namespace

TCommandActions::TCommandActions(QMainWindow* window, TCommandDispatcher& dispatcher, TRunCommand runCommand)
    : QObject(window), window_(window), dispatcher_(dispatcher), runCommand_(std::move(runCommand)) {
  shortcutFlags_ = ShortcutFlags(nullptr, 0);
  for (const TFunctionInfo& f : AllFunctions()) {
    QAction* action = CreateAction(Utf8(f.Name), Utf8(MenuCaption(f.Name)));
    action->setToolTip(Utf8(f.DisplayName));
    action->setStatusTip(Utf8(f.DisplayName));
    action->setData(ActionTag(f.Number));
    action->setIcon(FunctionIcon(f.Number));
    action->setCheckable(dispatcher_.Traits(f.Number).Checked != TCheckedBy::None);
    action->setEnabled(false);
    const int number = f.Number;
    connect(action, &QAction::triggered, this, [this, number] {
      dispatcher_.Run(number, (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) != 0);
    });
    functions_[f.Number] = action;
  }
  for (const TExtraAction& extra : ExtraActions()) {
    QAction* action = CreateAction(Utf8(extra.Name), Utf8(extra.Caption));
    action->setCheckable(extra.Checkable);
    action->setChecked(extra.Checkable);
    const std::string name(extra.Name);
    connect(action, &QAction::triggered, this, [this, name](bool checked) {
      if (name == "ToolBarToggle" && toolBar_) toolBar_->setVisible(checked);
      if (name == "StatusBarToggle")
        if (QStatusBar* bar = window_->findChild<QStatusBar*>()) bar->setVisible(checked);
      if (runCommand_) runCommand_(name);
    });
    extras_[UpperName(extra.Name)] = action;
  }
}

QAction* TCommandActions::CreateAction(const QString& name, const QString& caption) {
  auto* action = new QAction(caption, window_);
  action->setObjectName(name + QStringLiteral("Action"));
  action->setProperty(kCaptionProperty, caption);
  return action;
}

QAction* TCommandActions::Action(int function) const {
  return IsFunctionNumber(function) ? functions_[function] : nullptr;
}

QAction* TCommandActions::ActionByName(std::string_view name) const {
  if (const TFunctionInfo* f = FunctionByName(name)) return functions_[f->Number];
  std::string upper = UpperName(name);
  if (upper.size() > 6 && upper.ends_with("ACTION")) {
    if (auto it = extras_.find(upper.substr(0, upper.size() - 6)); it != extras_.end()) return it->second;
  }
  auto it = extras_.find(upper);
  return it == extras_.end() ? nullptr : it->second;
}

int TCommandActions::FunctionOf(const QAction* action) const {
  for (int n = 0; n < kFunctionCount; ++n)
    if (functions_[n] == action) return n;
  return -1;
}

// ---- Menus. ----

void TCommandActions::AddMenuNodes(QMenu* menu, const std::vector<TMenuNode>& nodes) {
  for (const TMenuNode& node : nodes) {
    switch (node.Kind) {
      case mnCommand:
        if (QAction* action = ActionByName(node.Name)) menu->addAction(action);
        break;
      case mnSeparator: menu->addSeparator(); break;
      case mnSubmenu: AddMenuNodes(menu->addMenu(Utf8(node.Caption)), node.Children); break;
      case mnHelpItem: {
        QAction* item = menu->addAction(Utf8(node.Caption));
        const std::string name = node.Name;
        connect(item, &QAction::triggered, this, [this, name] {
          if (runCommand_) runCommand_(name);
        });
        break;
      }
      case mnRunTimeList: runTimeLists_[node.Name] = {menu, menu->addSeparator()}; break;
    }
  }
}

void TCommandActions::BuildMenus() {
  QMenuBar* bar = window_->menuBar();
  bar->clear();
  runTimeLists_.clear();
  for (const TMenuNode& top : MainMenuTree()) AddMenuNodes(bar->addMenu(Utf8(top.Caption)), top.Children);
  delete popup_;
  popup_ = new QMenu(window_);
  AddMenuNodes(popup_, PanePopupTree().Children);
}

QMenu* TCommandActions::RunTimeListMenu(const std::string& name) const {
  auto it = runTimeLists_.find(name);
  return it == runTimeLists_.end() ? nullptr : it->second.first;
}

QAction* TCommandActions::RunTimeListAnchor(const std::string& name) const {
  auto it = runTimeLists_.find(name);
  return it == runTimeLists_.end() ? nullptr : it->second.second;
}

// ---- Tool bar. ----

void TCommandActions::BuildToolBar(const std::vector<int>& buttons) {
  if (!toolBar_) {
    toolBar_ = new QToolBar(QStringLiteral("ToolBar"), window_);
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setIconSize(QSize(16, 16));
    window_->addToolBar(toolBar_);
  }
  // Blank buttons belong to the tool bar; the function actions belong to the window.
  for (QAction* old : toolBar_->actions())
    if (old->parent() == toolBar_) delete old;
  toolBar_->clear();
  shortcutFlags_ = ShortcutFlags(buttons.data(), static_cast<int>(buttons.size()));
  for (int entry : buttons) {
    if (entry == kToolBarSeparator) {
      toolBar_->addSeparator();
    } else if (QAction* action = Action(entry)) {
      toolBar_->addAction(action);
    } else {
      auto* blank = new QAction(toolBar_);
      blank->setEnabled(false);
      toolBar_->addAction(blank);
    }
  }
}

bool TCommandActions::ToolBarEmpty() const {
  if (!toolBar_) return true;
  for (QAction* action : toolBar_->actions())
    if (!action->isSeparator()) return false;
  return true;
}

// ---- Shortcuts and keys. ----

void TCommandActions::ShowShortcutText(QAction* action, int shortcut) {
  QString text = action->property(kCaptionProperty).toString();
  if (shortcut != 0) {
    QString keyText = ShortcutMenuText(shortcut);
    if (keyText.isEmpty())
      keyText = QString::fromStdString(ShortcutText(ShortcutModifiers(shortcut), ShortcutKey(shortcut)));
    text += QLatin1Char('\t') + keyText;
  }
  action->setText(text);
}

void TCommandActions::InstallShortcuts(const TKeyTable& table, bool escCloses) {
  shortcuts_ = MenuShortcuts(table, shortcutFlags_);
  if (escCloses) shortcuts_[FunctionByName("Close")->Number] = vk::Escape;
  for (int n = 0; n < kFunctionCount; ++n) ShowShortcutText(functions_[n], shortcuts_[n]);
}

int TCommandActions::MenuShortcut(int function) const {
  return IsFunctionNumber(function) ? shortcuts_[function] : 0;
}

// Only the states that changed reach Qt: an idle pass costs a table walk, not 168 repaints.
void TCommandActions::UpdateStates(const TCommandState& state) {
  for (int n = 0; n < kFunctionCount; ++n) {
    QAction* action = functions_[n];
    const bool enabled = dispatcher_.Enabled(n, state);
    if (enabled != action->isEnabled()) action->setEnabled(enabled);
    if (!action->isCheckable()) continue;
    const bool checked = CommandChecked(dispatcher_.Traits(n), state);
    if (checked != action->isChecked()) action->setChecked(checked);
  }
}

}  // namespace vorn
