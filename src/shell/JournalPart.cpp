// TJournalPart: the journal follows the store by itself; this part only asks the user what to
// do with a journal a crash left, and keeps the journal in step with the program's focus.
#include "shell/JournalPart.h"

#include "document/DocumentJournal.h"
#include "document/JournalRecovery.h"
#include "shell/EditorProcess.h"
#include "shell/EditorWindow.h"

#include <QGuiApplication>
#include <QTimer>

#include <chrono>
#include <ctime>
#include <fstream>

#include <unistd.h>

namespace vorn {

TJournalPart::TJournalPart(TEditorWindow& window) : window_(window) {
  if (window_.Process().MainWindow() != &window_) return;
  journal_ = std::make_unique<TDocumentJournal>(window_.Document(), DefaultJournalFolder(), NewUntitledId());
  // The writer syncs every two seconds; a switch to another program is when a power cut or a
  // kill is most likely to follow unnoticed, so it syncs then too.
  QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) journal_->Sync();
  });
  auto* timer = new QTimer(this);
  QObject::connect(timer, &QTimer::timeout, this, [this] { CheckFailure(); });
  timer->start(1000);
}

TJournalPart::~TJournalPart() = default;

void TJournalPart::CheckFailure() {
  if (!journal_ || failureShown_ || !journal_->WriteFailed()) return;
  failureShown_ = true;
  window_.ShowMessage(journal_->FailureText());
}

void TJournalPart::AfterLoad(const std::string& name) {
  if (!journal_) return;
  const TVornEditScreenStrings& store = window_.Document().Store();
  const TRecoveryOffer offer =
      FindFileJournal(journal_->Folder(), name, std::function<std::string()>([&store] { return StoreText(store); }));
  Offer(offer, name);
}

void TJournalPart::AtUntitledStart() {
  // A start that was given text (a file read without its name) has a document of its own.
  const TVornEditScreenStrings& store = window_.Document().Store();
  if (!journal_ || !window_.FileName().empty() || store.TextOffsetOfRow(store.Count()) > 0) return;
  const std::vector<std::string> found = OrphanedUntitledJournals(journal_->Folder());
  if (found.empty()) return;
  Offer(ReadUntitledJournal(found.front()), {});
}

void TJournalPart::Offer(const TRecoveryOffer& offer, const std::string& name) {
  switch (offer.Verdict) {
    case rvNone:
    case rvOwned:
      return;
    case rvRestore: {
      // Read before it goes: the restore's own edit starts the document's journal afresh.
      const bool restore = window_.Prompts().AskYesNoCancel(RestoreQuestion(offer, name)) == TPromptAnswer::Yes;
      ::unlink(offer.JournalPath.c_str());
      if (!restore) return;
      ReplaceStoreText(window_.Document().Store(), offer.Text);
      window_.AfterDocumentCommand();
      window_.UpdateTitle();
      return;
    }
    default: {
      const std::string kept = KeepJournalAside(offer.JournalPath);
      window_.Prompts().Warn(UnappliedJournalMessage(offer, name, kept));
      if (!offer.Text.empty()) OpenRebuiltText(offer, name);
      return;
    }
  }
}

// In a window of its own and untitled, so that nothing of it reaches the file unasked: the
// text is kept beside the journals and opened without its name.
void TJournalPart::OpenRebuiltText(const TRecoveryOffer& offer, const std::string&) {
  const std::string path = journal_->Folder() + "rebuilt-" + std::to_string(::time(nullptr)) + ".txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << offer.Text;
    if (!out) return;
  }
  window_.StartOtherCopy("-n \"" + path + "\"");
}

}  // namespace vorn
