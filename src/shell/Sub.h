// TVornEditSub: a further window over the process's document. It is an editor window like the
// main one; only closing differs: it asks nothing and leaves the document to the main window.
#pragma once

#include "shell/EditorWindow.h"

namespace vorn {

class TVornEditSub : public TEditorWindow {
  Q_OBJECT
public:
  // Owned by mainWindow, which frees it when it goes.
  explicit TVornEditSub(TEditorWindow& mainWindow);
  ~TVornEditSub() override;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void Forget();
};

}  // namespace vorn
