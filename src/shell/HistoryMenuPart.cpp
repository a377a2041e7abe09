// THistoryMenuPart: the file menu's remembered documents.
#include "shell/HistoryMenuPart.h"

#include "shell/EditorWindow.h"
#include "shell/FileCommandsPart.h"

#include "qtplatform/FontTextMeasure.h"
#include "platform/PathVariables.h"
#include "platform/VornUtil.h"
#include "shell/CommandActions.h"
#include "shellcore/HistoryMenu.h"
#include "shellcore/MenuTree.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>

namespace vorn {

void THistoryMenuPart::MenusBuilt() {
  TCommandActions& actions = *window_.Actions();
  if (QMenu* menu = actions.RunTimeListMenu(kFileHistoryList))
    QObject::connect(menu, &QMenu::aboutToShow, &window_, [this] { Rebuild(); });
  if (QAction* anchor = actions.RunTimeListAnchor(kFileHistoryList)) anchor->setVisible(false);
}

// Only after a load changed the entries: the menu opens without touching the file otherwise.
void THistoryMenuPart::Rebuild() {
  TFileHistory& history = window_.Process().history;
  if (!window_.Actions() || !history.MenuNeedsRebuild()) return;
  QMenu* menu = window_.Actions()->RunTimeListMenu(kFileHistoryList);
  QAction* anchor = window_.Actions()->RunTimeListAnchor(kFileHistoryList);
  if (!menu || !anchor) return;
  const QList<QAction*> items = menu->actions();
  for (qsizetype i = items.indexOf(anchor) + 1; i > 0 && i < items.size(); ++i) {
    menu->removeAction(items[i]);
    items[i]->deleteLater();
  }
  history.SetMenuNeedsRebuild(false);
  const int shown = std::min(history.MenuCount(), history.Count());
  anchor->setVisible(shown > 0);
  const TFontTextMeasure measure(menu->font());
  for (int i = 0; i < shown; ++i) {
    TFileInfo& entry = history.Items()[static_cast<std::size_t>(i)];
    QAction* item = menu->addAction(QString::fromStdString(FileHistoryCaption(i, entry.fileName, measure)));
    entry.menuItem = item;
    QObject::connect(item, &QAction::triggered, &window_, [this, name = entry.fileName] {
      window_.FileCommands().OpenHistoryEntry(name, QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    });
  }
}

}  // namespace vorn
