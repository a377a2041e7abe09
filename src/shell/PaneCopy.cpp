// What a new pane takes over from the pane it comes from.
#include "shell/PaneCopy.h"

#include "editor/VornEdit.h"

namespace vorn {

void CopyPaneSettings(const TVornEdit& from, TVornEdit& to) {
  const TVornEditCore& source = from.Core();
  TVornEditCore& target = to.Core();
  to.SetEditFont(from.EditFont());
  to.SetViewOptions(from.ViewOptions());
  to.SetLook(from.Look());
  to.SetColors(from.Colors());
  target.SetCaretOptions(source.CaretOptions());
  target.SetReadOnly(source.ReadOnly());
  target.SetBrowseModeAsReadOnlyBehavior(source.BrowseModeAsReadOnlyBehavior());
  target.SetBrowseMode(source.BrowseMode());
  target.SetOverwriteMode(source.OverwriteMode());
  target.SaveCleanUp = source.SaveCleanUp;
  target.AlignWidth = source.AlignWidth;
  target.SeikeiOption().Assign(source.SeikeiOption());
  target.WantTabs = source.WantTabs;
}

void ShowRows(TVornEdit& pane, int topRow, int caretRow, int caretCol) {
  pane.Core().SetTopRow(topRow);
  pane.Core().SetCaretPos(caretRow, caretCol);
  pane.Flush();
}

}  // namespace vorn
