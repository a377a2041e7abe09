// TVornEditMain: the remembered documents at the end of the file menu, and what a click on
// one of them does.
#include "shell/Main.h"

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

void TVornEditMain::WireFileHistoryMenu() {
  if (QMenu* menu = actions_->RunTimeListMenu(kFileHistoryList))
    connect(menu, &QMenu::aboutToShow, this, &TVornEditMain::RebuildFileHistoryMenu);
  if (QAction* anchor = actions_->RunTimeListAnchor(kFileHistoryList)) anchor->setVisible(false);
}

// Only after a load changed the entries: the menu opens without touching the file otherwise.
void TVornEditMain::RebuildFileHistoryMenu() {
  if (!actions_ || !history_.MenuNeedsRebuild()) return;
  QMenu* menu = actions_->RunTimeListMenu(kFileHistoryList);
  QAction* anchor = actions_->RunTimeListAnchor(kFileHistoryList);
  if (!menu || !anchor) return;
  const QList<QAction*> items = menu->actions();
  for (qsizetype i = items.indexOf(anchor) + 1; i > 0 && i < items.size(); ++i) {
    menu->removeAction(items[i]);
    items[i]->deleteLater();
  }
  history_.SetMenuNeedsRebuild(false);
  const int shown = std::min(history_.MenuCount(), history_.Count());
  anchor->setVisible(shown > 0);
  const TFontTextMeasure measure(menu->font());
  for (int i = 0; i < shown; ++i) {
    TFileInfo& entry = history_.Items()[static_cast<std::size_t>(i)];
    QAction* item = menu->addAction(QString::fromStdString(FileHistoryCaption(i, entry.fileName, measure)));
    entry.menuItem = item;
    connect(item, &QAction::triggered, this, [this, name = entry.fileName] {
      OpenHistoryEntry(name, QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
    });
  }
}

// With Shift the entry replaces this window's document. The document it replaces keeps its
// caret and marks in the history too, as it does when it is closed or replaced by Open.
void TVornEditMain::OpenHistoryEntry(const std::string& name, bool withShift) {
  if (!FileName().empty() && CanonicalFileName(FileName()) == CanonicalFileName(name)) return;
  const TDocumentFileSettings& file = document_.FileSettings();
  if (!withShift) {
    OpenFiles({name}, file.OpenCodeGiven, file.OpenCode);
    return;
  }
  if (Modified() && !commands_->QuerySave()) return;
  const std::string previous = FileName();
  const TFileInfo previousState = PaneHistoryState();
  if (!LoadDocument(name, false)) return;
  WriteHistoryEntry(previous, previousState);
  WriteHistoryEntry();
}

}  // namespace vorn
