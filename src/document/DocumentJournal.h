// TDocumentJournal: keeps a journal of a document's unsaved edits on the disk, so that a crash,
// a power cut or a kill loses none of them. It is one more view of the store: it hears every
// change the store reports, as every pane does, and no command handler knows of it.
//
// Errors, journal: nothing here raises. A journal that cannot be written is reported through
// WriteFailed (the window tells the user once); typing goes on without it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "document/JournalFormat.h"
#include "document/JournalWriter.h"
#include "store/FixedGeometry.h"
#include "store/VornEditView.h"

namespace vorn {

class TVornDocument;
class TVornEditScreenStrings;

// $XDG_STATE_HOME/VornEditor/journal/ (or ~/.local/state/...), with its trailing slash.
std::string DefaultJournalFolder();
// The journal of a file (by its canonical name) or of an untitled document (name empty).
std::string JournalPathFor(const std::string& folder, const std::string& canonicalName, const std::string& untitledId);
// Ids that tell this process's untitled document from any other's, earlier or at once.
std::string NewUntitledId();
// TByteHasher over the bytes of a regular file, read in pieces; nothing when it cannot be read.
std::optional<std::uint64_t> HashOfFileBytes(const std::string& path);
// The store's whole text as journal offsets count it (CR LF after each line).
std::string StoreText(const TVornEditScreenStrings& store);

class TDocumentJournal : public TVornEditView {
public:
  // folder: where journals are kept (made when the first journal is). The journal attaches to
  // the document's store at once and follows it until destroyed.
  TDocumentJournal(TVornDocument& document, std::string folder, std::string untitledId);
  // Detaches; removes the journal, since a document whose window closes was saved or given up
  // by the user (a crash never gets here).
  ~TDocumentJournal() override;

  void StoreChanged(const TStoreChange& change) override;

  // Syncs what was written (the window lost the focus).
  void Sync();
  // The document is saved, or given up: the journal goes, until the next edit.
  void Discard();
  // A journal is being written now, at JournalPath().
  bool Active() const { return writer_ && writer_->Started(); }
  const std::string& JournalPath() const { return path_; }
  const std::string& Folder() const { return folder_; }
  const std::string& UntitledId() const { return untitledId_; }
  // Writing failed, or another process holds this document's journal: the edits since are not
  // kept. The text says why (UTF-8), for the status bar.
  bool WriteFailed() const;
  std::string FailureText() const;

private:
  // Opens the journal; fileBase: the edits start from the document's file as it was read.
  void Begin(bool fileBase);
  void Record(const TStoreChange& change);

  TVornDocument& document_;
  TFixedGeometry geometry_;
  std::string folder_;
  std::string untitledId_;
  std::string path_;
  std::unique_ptr<TJournalWriter> writer_;
  std::uint64_t textLength_ = 0;  // the text's length after the last change heard
  bool wasModified_ = false;
  bool locked_ = false;           // another process journals this document
  std::string startFailure_;
};

}  // namespace vorn
