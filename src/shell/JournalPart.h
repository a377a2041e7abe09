// TJournalPart: the main window's journal of unsaved edits: the restore offer after a file is
// read or an untitled window starts, the status bar's word when the journal cannot be written,
// and a sync to the disk whenever the program loses the focus.
#pragma once

#include "shell/WindowPart.h"

#include <QObject>

#include <memory>
#include <string>

namespace vorn {

class TDocumentJournal;
class TEditorWindow;
struct TRecoveryOffer;

class TJournalPart : public QObject, public TWindowPart {
public:
  explicit TJournalPart(TEditorWindow& window);
  ~TJournalPart() override;
  void AddCommands(TCommandDispatcher&) override {}

  // The window's document was read from name: offers what a journal of it holds.
  void AfterLoad(const std::string& name);
  // The window starts without a file: offers the newest journal of an untitled document whose
  // process ended.
  void AtUntitledStart();
  // Nullptr in a sub window: the main window's part journals the process's one document.
  TDocumentJournal* Journal() const { return journal_.get(); }

private:
  void Offer(const TRecoveryOffer& offer, const std::string& name);
  void OpenRebuiltText(const TRecoveryOffer& offer, const std::string& name);
  void CheckFailure();

  TEditorWindow& window_;
  std::unique_ptr<TDocumentJournal> journal_;
  bool failureShown_ = false;
};

}  // namespace vorn
