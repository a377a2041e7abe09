// TVornDocument: one document's store, its file settings and whether it differs from its file.
#pragma once

#include <memory>
#include <string>

#include "store/ScreenStrings.h"
#include "store/Undo.h"
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

private:
  std::shared_ptr<TVornEditScreenStrings> store_;
  TDocumentFileSettings settings_;
  std::string fileName_;
};

}  // namespace vorn
