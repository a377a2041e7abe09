// Finding what a journal left behind by a process that ended without saving, and what it can
// restore: the exact text when the journal is whole and starts from the file as it is now, and
// otherwise only what can be rebuilt, never applied to the file's text silently.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/JournalFormat.h"

namespace vorn {

class TVornEditScreenStrings;

enum TRecoveryVerdict : std::uint8_t {
  rvNone,        // no journal
  rvOwned,       // a live process writes it: that process has the document
  rvRestore,     // whole, and its base is the file (or nothing) as it is now: Text is the result
  rvMismatch,    // the file changed since: Text holds only the bytes the edits put there
  rvDamaged,     // cut short or damaged: Text is what the whole records before the damage give
  rvUnreadable,  // not a journal at all
};

struct TRecoveryOffer {
  TRecoveryVerdict Verdict = rvNone;
  std::string JournalPath;
  TJournalHeader Header;
  std::size_t Edits = 0;
  std::string Text;
  std::size_t ChangedLines = 0;
  std::int64_t WrittenSeconds = 0;  // the journal's last write (Unix time)
};

// The journal of the file canonicalName, which the store now shows as it was read
// (currentText); the file on the disk must still hold the bytes the journal started from.
TRecoveryOffer FindFileJournal(const std::string& folder, const std::string& canonicalName,
                               const std::string& currentText);
// The same with the text asked for only when there is a journal to replay against it: most
// files have none, and the text of a gigabyte's document is a gigabyte's copy.
TRecoveryOffer FindFileJournal(const std::string& folder, const std::string& canonicalName,
                               const std::function<std::string()>& currentText);
// The journals of untitled documents whose process has ended, newest first.
std::vector<std::string> OrphanedUntitledJournals(const std::string& folder);
TRecoveryOffer ReadUntitledJournal(const std::string& journalPath);

// Makes the store's text target with one edit (one undo step) of the rows that differ.
void ReplaceStoreText(TVornEditScreenStrings& store, std::string_view target);

// The question that offers a restore, and the message for a journal that cannot be applied
// (UTF-8). name is the file's name, or empty for an untitled document.
std::string RestoreQuestion(const TRecoveryOffer& offer, const std::string& name);
std::string UnappliedJournalMessage(const TRecoveryOffer& offer, const std::string& name, const std::string& keptAs);

// Moves a journal that was not applied out of the way, keeping it beside the others as
// "*.kept": it is never offered again and nothing in it is lost. Answers the new name.
std::string KeepJournalAside(const std::string& journalPath);

}  // namespace vorn
