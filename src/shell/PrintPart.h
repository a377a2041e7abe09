// TPrintPart: the print command: settings from Common.ini, the print dialog, and back.
#pragma once

#include "shell/WindowPart.h"

#include <QRect>

namespace vorn {

class TEditorWindow;
struct TPrintSource;

class TPrintPart : public TWindowPart {
public:
  explicit TPrintPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

  // The document's lines as they are now, with the current pane's tab expansion.
  TPrintSource Snapshot() const;

private:
  void Print();

  TEditorWindow& window_;
  // Where the last preview was, so the next opens there; until then the window's own place.
  QRect previewGeometry_;
  bool previewMaximized_ = false;
};

}  // namespace vorn
