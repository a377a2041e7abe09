// TMainBus: what the arrangement asks of a window (its states, a move, minimising), the
// settings reloads and the outside programs' caret, row and offset queries.
#include "shell/MainBus.h"

#include "editor/VornEdit.h"
#include "shell/EditorWindow.h"
#include "shellcore/BusEditQuery.h"
#include "syntax/EditParserOptions.h"

#include <QEvent>

namespace vorn {

TBusReply TMainBus::QueryMinimized(bool leaveMaximized) {
  if (leaveMaximized && window_.VerticallyMaximized()) window_.ToggleVerticalMaximize();
  if (leaveMaximized && window_.isMaximized()) window_.showNormal();
  return Handled(window_.isMinimized() ? 1 : 0);
}

TBusReply TMainBus::QueryMain() { return Handled(1); }

TBusReply TMainBus::MinimizeWindow() {
  window_.showMinimized();
  return Handled(1);
}

TBusReply TMainBus::MoveWindow(int x, int y, int width, int height) {
  window_.PlaceFrame(x, y, width, height);
  return Handled(1);
}

TBusReply TMainBus::Reload(TBusMessage which) {
  if (which == TBusMessage::bmLoadFileHistory) {
    window_.LoadFileHistory();
    return Handled(1);
  }
  switch (which) {
    case TBusMessage::bmLoadCommonSet: window_.LoadCommonSettings(true); return Handled(1);
    case TBusMessage::bmLoadExtSet:
      if (!window_.Process().typeHeldUnsaved) window_.ReselectFileType();
      return Handled(1);
    default: return NotHandled();
  }
}

TBusReply TMainBus::EditQuery(TBusMessage which, std::int64_t wParam, std::int64_t lParam) {
  TVornEdit* pane = window_.Editor();
  const TBusReply reply = AnswerEditQuery(pane->Core(), which, wParam, lParam);
  pane->Flush();
  window_.UpdateStatus();
  return reply;
}

TBusReply TMainBus::DumpView() {
  TVornEdit* pane = window_.Editor();
  const auto& view = pane->ViewOptions();
  return HandledText(ViewDumpText(pane->Core().CaretOptions().TabSpaceCount, view ? &view->Colors() : nullptr));
}

// Other processes list windows most recently activated first, which stands in for the
// desktop's stacking order; a minimised window is left out of arrangements by its record.
bool TMainBus::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    if (event->type() == QEvent::ActivationChange && window_.isActiveWindow()) endpoint_.MarkActivated();
    if (event->type() == QEvent::WindowStateChange) endpoint_.SetStates(window_.isEnabled(), window_.isMinimized());
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vorn
