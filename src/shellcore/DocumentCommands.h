// The document commands of an editor window without the window: load, save, save as, the save
// question, reload, rename, the code for saving, close, and the check for another program's
// changes. The window shows the dialogs, then calls these and refreshes its title and panels.
//
// Errors, shellcore: models return plans and results that carry the user's message; what a
// lower layer raises is caught at the command that called it (a load, an insert, a hand-off)
// and becomes that command's message, through TDocumentPrompts or a returned text.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/DocumentPrompts.h"
#include "document/FileIdentity.h"
#include "document/VornDocument.h"
#include "store/VornEditStrings.h"

namespace vorn {

// A code and line break chosen with the code selection dialog.
struct TSaveCodeChoice {
  TCharCodeKind charCode = ckSjis;
  TLineBreakKind lineBreak = lbCRLF;
  bool openCodeGiven = false;
  bool lineBreakGiven = false;
};

// What the save dialog (or a macro) answered.
struct TSaveAsRequest {
  std::string name;
  std::optional<TSaveCodeChoice> code;  // the "save with a chosen code and line break" entry
  bool askWhenExists = true;            // a name given by a macro overwrites without a question
};

class TDocumentCommands {
public:
  // Shows the save dialog for an untitled document; nothing when the user cancelled.
  using TChooseSaveAs = std::function<std::optional<TSaveAsRequest>()>;

  TDocumentCommands(TVornDocument& document, TVornEditStrings& lines, TDocumentPrompts& prompts)
      : document_(document), lines_(lines), prompts_(prompts) {}

  void SetSaveAsChooser(TChooseSaveAs chooser) { chooseSaveAs_ = std::move(chooser); }
  // Browse mode keeps the read-only state that saving under a new name would otherwise clear.
  void SetBrowseMode(bool on) { browseMode_ = on; }

  // Reads name with the document's fixed code and line break (when given). Read-only comes
  // from the permission bits, another process's write lock and characters the read lost; each
  // is told. On failure the text and the document's state stay as they were.
  bool LoadDocument(const std::string& name);

  // "Save?" for a modified document: false only when the user cancelled (or the save failed).
  bool QuerySave();
  // Saves under the file name, or asks for one. True when the file now holds the text.
  bool SaveDocument();
  // Saves under request.name with its code choice; the choice sticks only when the save does.
  bool SaveDocumentAs(const TSaveAsRequest& request);

  // Reads the file again, after the discard question when modified. With a code choice from
  // the open dialog (nullopt for automatic detection) the fixed code changes as opening with
  // a chosen code does; the dialog may also have named another file to read instead.
  bool Reload();
  bool ReloadWithCode(std::optional<TCharCodeKind> code, const std::string& chosenName = std::string());

  // Gives the document a new name without touching any file; it becomes modified.
  bool Rename(const std::string& name, bool askWhenExists = true);
  // A new code or line break for saving; true (and modified) when anything changed.
  bool ChangeSaveCode(const TSaveCodeChoice& choice);
  // Empties the document after the save question; false when the user cancelled.
  bool CloseDocument();

  // Compares the file with the state this process last read or wrote and asks whether to
  // reload when another program changed it. A deleted file is told once and leaves the
  // document modified, so closing it asks before its only copy goes.
  TFileChange CheckForeignChange();

  static std::string QuerySaveText(const std::string& fileName);
  static std::string ChangedOnDiskText(const std::string& fileName);
  static std::string DeletedOnDiskText(const std::string& fileName);
  static std::string OverwriteQuestion(const std::string& name);
  static std::string RenameQuestion(const std::string& name);

private:
  // Takes over the name, stamp and settings of a completed save.
  void AdoptSavedFile(const std::string& name, const TDocumentFileSettings& settings);

  TVornDocument& document_;
  TVornEditStrings& lines_;
  TDocumentPrompts& prompts_;
  TChooseSaveAs chooseSaveAs_;
  bool browseMode_ = false;
  bool checking_ = false;          // the change question is open; activation must not ask again
  bool deletionReported_ = false;  // for the stamp now held
};

}  // namespace vorn
