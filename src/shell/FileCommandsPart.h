// TFileCommandsPart: the document's functions — new, open, reload, save, save as, insert,
// rename, close, the code for saving, the selection to a file — the files dropped on the
// window, and what the open and save dialogs remember between uses.
#pragma once

#include "shell/WindowPart.h"
#include "shellcore/FolderHistory.h"
#include "shellcore/OpenFilesPlan.h"

#include <string>
#include <vector>

namespace vorn {

class TEditorWindow;

class TFileCommandsPart : public TWindowPart {
public:
  explicit TFileCommandsPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

  // An empty, unmodified window takes the first file; the others go to a new copy.
  void OpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code);
  // What a click on a history entry does; withShift replaces this window's document.
  void OpenHistoryEntry(const std::string& name, bool withShift);
  // The real dialogs of the file commands, owned by window (the process's main window).
  static void InstallFileDialogs(TEditorWindow& window);
  // What the dialogs remember in "Common.ini": their size and the folder history.
  static TFileDialogMemory ReadFileDialogMemory(TEditorWindow& window);
  static void KeepFileDialogMemory(TEditorWindow& window, const TFileDialogMemory& memory,
                                   const std::string& chosenName);

private:
  void OpenFileCommand();
  void ReloadCommand(bool ask);
  void SaveAsCommand();
  void InsertFileCommand();
  void RenameCommand();
  void SaveSelectionCommand();
  void ChangeSaveCodeCommand();
  void CloseDocumentCommand();
  // What a new copy of the program needs to know of this window to open files as it would.
  TOpenWindowState OpenWindowState() const;

  TEditorWindow& window_;
};

}  // namespace vorn
