// TVornDocument: one document's store, its file settings and whether it differs from its file.
//
// Errors, document: a failure reaches the user through TDocumentPrompts and the caller through
// an outcome value (TWriteOutcome); what the save pipeline raises stops here.
#pragma once

#include <memory>
#include <string>

#include "document/FileIdentity.h"
#include "store/ScreenStrings.h"
#include "store/Undo.h"
#include "store/FixedGeometry.h"
#include "store/VornEditStrings.h"
#include "textfile/JConvStrList.h"

namespace vorn {

// Owns the store that every pane of the document shows, with word wrap installed. "Modified"
// has one source of truth, the undo object's saved state: undoing back to the saved text makes
// the document unmodified again, and no caller can set a flag that disagrees with the rows.
class TVornDocument {
public:
  TVornDocument();
  TVornDocument(const TVornDocument&) = delete;
  TVornDocument& operator=(const TVornDocument&) = delete;

  TVornEditScreenStrings& Store() { return *store_; }
  const TVornEditScreenStrings& Store() const { return *store_; }
  // For the panes, which share the store's ownership.
  const std::shared_ptr<TVornEditScreenStrings>& SharedStore() const { return store_; }
  // The whole text as logical lines, for reading, writing and clearing it without a pane: its
  // edits place no pane's caret, since every pane settles its own when it hears of the change.
  TVornEditStrings& Lines() { return lines_; }

  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  // Code, line break, fixed code and line break, read-only and what the last read lost.
  TDocumentFileSettings& FileSettings() { return settings_; }
  const TDocumentFileSettings& FileSettings() const { return settings_; }

  bool Modified() const { return !store_->UndoObj().IsAtSavedState(); }
  // The rows now equal the file (after a read or a save).
  void MarkSaved() { store_->UndoObj().MarkSaved(); }
  // The rows no longer equal any file: no undo or redo reaches an unmodified state again
  // (a document whose file name was forgotten, a new document made from a missing file).
  void MarkUnsaved() { store_->UndoObj().ClearSavedMarks(); }
  // Forgets every undo step (a rename or a new code makes old steps meaningless for the file)
  // and leaves the document modified.
  void ResetHistoryAsUnsaved() {
    store_->UndoObj().ClearAll();
    store_->UndoObj().ClearSavedMarks();
  }

  // The file as this process last read or wrote it; compared against the disk to notice
  // another program's changes.
  const TFileStamp& Stamp() const { return stamp_; }
  void TakeStamp() { stamp_ = TakeFileStamp(fileName_); }
  void ForgetStamp() { stamp_ = TFileStamp{}; }

  // The last read replaced characters (NUL bytes or characters the internal code lacks):
  // writing the text back over that file would lose them for good.
  bool LostCharactersOnRead() const { return settings_.NulBytesReplaced > 0 || settings_.CharsSubstituted > 0; }
  // After a save the file holds exactly the text, whatever the read lost before.
  void ForgetReadLosses() {
    settings_.NulBytesReplaced = 0;
    settings_.CharsSubstituted = 0;
  }

private:
  // The Lines facade's owner: a caret of its own that no pane shows.
  class TLinesOwner : public TVornEditLinesOwner {
  public:
    TLinesOwner() : TVornEditLinesOwner(geometry_) {}
    void StoreChanged(const TStoreChange&) override {}
    void PlaceCaretAfterLinesEdit(int, int) override {}

  private:
    TFixedGeometry geometry_;
  };

  std::shared_ptr<TVornEditScreenStrings> store_;
  TLinesOwner linesOwner_;
  TVornEditStrings lines_{linesOwner_, *store_};
  TDocumentFileSettings settings_;
  std::string fileName_;
  TFileStamp stamp_;
};

}  // namespace vorn
