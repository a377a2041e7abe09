// TEditorWindow: the second pane over the same document, the splitter between the two, and
// the focus moving from pane to pane.
#include "shell/EditorWindow.h"

#include "editor/VornEdit.h"
#include "shell/CommandActions.h"
#include "shell/MacroPart.h"
#include "shell/PaneCopy.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/PaneLayout.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSplitter>

#include <string_view>

namespace vorn {

TVornEdit* TEditorWindow::Pane(int slot) const {
  if (slot == 0) return upperPane_ ? upperPane_ : edit_;
  return slot == 1 ? lowerPane_ : nullptr;
}

bool TEditorWindow::SplitPanes() {
  if (Split()) return false;
  TVornEdit* upper = edit_;
  const TVornEditCore& core = upper->Core();
  const std::optional<TSplitPlan> plan = PlanSplit(core.VisibleRows(), core.TopRow(), core.CaretRow());
  if (!plan) return false;  // too short for two panes of three rows
  const int caretRow = core.CaretRow();
  const int caretCol = core.CaretCol();
  const int rowHeight = upper->Metrics().RowHeight();
  const int total = upper->height();
  auto* lower = new TVornEdit(Document().SharedStore());
  CopyPaneSettings(*upper, *lower);
  ConnectPane(lower);

  splitter_ = new QSplitter(Qt::Vertical);
  splitter_->setChildrenCollapsible(false);
  takeCentralWidget();
  splitter_->addWidget(upper);
  splitter_->addWidget(lower);
  setCentralWidget(splitter_);
  upper->setMinimumHeight(kMinimumPaneRows * rowHeight);
  lower->setMinimumHeight(kMinimumPaneRows * rowHeight);
  const int upperHeight = rowHeight * (plan->UpperRows) + (upper->height() - upper->viewport()->height());
  splitter_->setSizes({upperHeight, std::max(1, total - upperHeight - splitter_->handleWidth())});
  upperPane_ = upper;
  lowerPane_ = lower;
  upper->show();
  lower->show();
  ShowRows(*upper, plan->UpperFirstRow, caretRow, caretCol);
  ShowRows(*lower, plan->LowerFirstRow, caretRow, caretCol);
  upper->setFocus();
  edit_ = upper;
  return true;
}

// The current pane stays. The window's document commands work through the first pane's
// lines, so that widget lives on and takes over the current pane's view when the lower one
// was current; the undo history and the marks belong to the shared store either way.
void TEditorWindow::UnsplitPanes() {
  if (!Split()) return;
  TVornEdit* keep = upperPane_;
  TVornEdit* drop = lowerPane_;
  if (edit_ == drop) {
    const TVornEditCore& from = drop->Core();
    keep->Core().SetReadOnly(from.ReadOnly());
    keep->Core().SetBrowseMode(from.BrowseMode());
    keep->Core().SetOverwriteMode(from.OverwriteMode());
    ShowRows(*keep, from.TopRow(), from.CaretRow(), from.CaretCol());
  }
  edit_ = keep;
  lowerPane_ = nullptr;
  upperPane_ = nullptr;
  drop->SetKeyRoute(nullptr);
  drop->disconnect(this);
  drop->hide();
  drop->deleteLater();
  QSplitter* splitter = splitter_;
  splitter_ = nullptr;
  keep->setParent(nullptr);
  keep->setMinimumHeight(0);
  takeCentralWidget();
  setCentralWidget(keep);
  splitter->deleteLater();
  keep->show();
  keep->Core().SetTopRow(std::max(0, keep->Core().TopRow() - 1));
  keep->Flush();
  keep->setFocus();
}

void TEditorWindow::MoveSplitter(bool up) {
  if (!Split()) return;
  const QList<int> sizes = splitter_->sizes();
  const int rowHeight = upperPane_->Metrics().RowHeight();
  // The row limits count the rows a pane shows, so frames and scroll bars stay out of them.
  const int upperRowsHeight = upperPane_->viewport()->height();
  const int lowerRowsHeight = lowerPane_->viewport()->height();
  const int moved = (up ? vorn::SplitterUp(upperRowsHeight, rowHeight)
                        : vorn::SplitterDown(upperRowsHeight, lowerRowsHeight, rowHeight)) -
                    upperRowsHeight;
  if (moved == 0) return;
  splitter_->setSizes({sizes[0] + moved, sizes[1] - moved});
  // A caret the border now hides moves to the nearest row still shown.
  TVornEdit* pane = up ? upperPane_ : lowerPane_;
  TVornEditCore& core = pane->Core();
  if (up) {
    const int last = core.TopRow() + std::max(1, core.VisibleRows()) - 1;
    if (core.CaretRow() > last) core.SetCaretRow(last);
  } else if (core.CaretRow() < core.TopRow()) {
    core.SetCaretRow(core.TopRow());
  }
  pane->Flush();
}

void TEditorWindow::MakePaneCurrent(TVornEdit* pane) {
  if (pane != upperPane_ && pane != lowerPane_ && pane != edit_) return;
  edit_ = pane;
  pane->setFocus();
  ShowCaretPosition();
  ScheduleUpdate();
}

// Every pane reports to the window the same way; only the current pane's caret shows in the
// status bar, and whichever pane takes the focus becomes the one the commands work on.
void TEditorWindow::ConnectPane(TVornEdit* pane) {
  pane->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(pane, &QWidget::customContextMenuRequested, this,
          [this, pane](const QPoint& at) { actions_->PanePopup()->popup(pane->mapToGlobal(at)); });
  pane->SetKeyRoute(&paneKeys_);
  pane->Core().OnInputStr = [this](std::string_view typed) {
    if (macro_) macro_->Typed(typed);
  };
  connect(pane, &TVornEdit::CaretMoved, this, [this, pane] {
    if (pane != edit_) return;
    ShowCaretPosition();
    ScheduleUpdate();
  });
  connect(pane, &TVornEdit::Changed, this, [this] {
    process_.editSinceStatus = true;
    UpdateTitle();
    ShowCaretPosition();
    ScheduleUpdate();
  });
  connect(pane, &TVornEdit::CharactersDropped, this, &TEditorWindow::ReportDroppedCharacters);
  connect(pane, &TVornEdit::NulBytesReplaced, this, &TEditorWindow::ReportNulBytesReplaced);
}

void TEditorWindow::WatchPaneFocus() {
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (QWidget* w = now; w; w = w->parentWidget())
      if (w == upperPane_ || w == lowerPane_) {
        edit_ = static_cast<TVornEdit*>(w);
        return;
      }
  });
}

}  // namespace vorn
