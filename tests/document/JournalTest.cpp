// The journal of unsaved edits: what it writes replays to the store's text through any mix of
// edits, undo, redo, wrap and saves; the reader survives any damage; recovery trusts a journal
// only when it starts from the file as it is; a failing disk never holds up typing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "TempFolder.h"
#include "document/DocumentJournal.h"
#include "document/JournalRecovery.h"
#include "document/VornDocument.h"
#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

using testing::ReadWholeFile;
using testing::TTempFolder;

// A document read from a file the way the window reads one: stamped and saved.
void ReadInto(TVornDocument& doc, const std::string& path) {
  TDocumentFileSettings settings;
  ReadDocumentFile(path, settings, doc.Lines());
  doc.FileSettings() = settings;
  doc.SetFileName(path);
  doc.TakeStamp();
  doc.MarkSaved();
}

// What the journal holds now, as the writer has put it on the disk.
TJournalContents OnDisk(TDocumentJournal& journal) {
  journal.Sync();
  return ParseJournal(ReadWholeFile(journal.JournalPath()));
}

std::string Replayed(const TJournalContents& c, std::string base) {
  EXPECT_EQ(c.Damage, jdNone);
  EXPECT_EQ(c.Header.BaseTextLength, c.Header.FileBase ? base.size() : 0u);
  if (!c.Header.FileBase) base.clear();
  EXPECT_EQ(ApplyJournalEdits(base, c.Edits), c.Edits.size());
  return base;
}

const char* const kTyped[] = {"x", "yz", " ", "\t", "\x82\xa0", "12345", ""};
const char* const kPasted[] = {"a\r\nb", "\r\n", "line one\r\nline two\r\n", "tail", ""};

// Random typing, multi-line replacements, undo, redo, wrap switches and saves against the
// store: at every check the journal replays from its base to exactly the store's text, and a
// save leaves no journal behind.
TEST(Journal, RandomEditsReplayFromTheBaseToTheStoreText) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    TTempFolder dir("vorn-journal");
    std::mt19937 rng(seed);
    const std::string file = dir.Write("doc.txt", "first\r\nsecond line\r\n\r\nlast without break");
    TVornDocument doc;
    TVornEditHeadlessView pane(doc.SharedStore());
    const bool untitled = seed % 4 == 0;
    if (untitled) pane.Lines().SetTextStr("scratch\r\n");
    else ReadInto(doc, file);
    TDocumentJournal journal(doc, dir / "journal/", "id" + std::to_string(seed));
    TVornEditScreenStrings& store = doc.Store();
    std::string base = StoreText(store);
    if (seed % 3 == 0) store.SetWordWrap(true);
    for (int step = 0; step < 300; ++step) {
      const int count = store.Count();
      const int row = count == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(count));
      switch (rng() % 8) {
        case 0:
        case 1:
        case 2: {
          if (count == 0) break;
          const std::size_t len = store.Row(row).size();
          const std::size_t at = len == 0 ? 0 : rng() % (len + 1);
          const std::size_t removed = at < len && rng() % 3 == 0 ? 1 : 0;
          store.ReplaceInRow(row, at, removed, kTyped[rng() % std::size(kTyped)], TRowCol{row, 0});
          break;
        }
        case 3: {
          const int n = count == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(std::min(3, count - row) + 1));
          store.ReplaceRows(row, n, kPasted[rng() % std::size(kPasted)]);
          break;
        }
        case 4: pane.Undo(); break;
        case 5: pane.Redo(); break;
        case 6:
          if (rng() % 10 == 0) store.SetWordWrap(!store.WordWrap());
          break;
        case 7:
          if (rng() % 6 == 0 && !untitled) {
            // A save: the file now holds the text, and the journal has nothing to keep.
            std::string text = StoreText(store);
            std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
            doc.TakeStamp();
            doc.MarkSaved();
            EXPECT_FALSE(journal.Active());
            base = text;
          }
          break;
      }
      if (step % 50 == 49 && journal.Active()) {
        const TJournalContents c = OnDisk(journal);
        ASSERT_EQ(Replayed(c, base), StoreText(store)) << "step " << step;
        EXPECT_TRUE(!c.Header.FileBase || c.Header.BaseHashKnown);
      }
      EXPECT_TRUE(!journal.Active() || doc.Modified()) << "step " << step;
    }
  }
}

// A journal that started from a file of the same name is offered only while that file holds
// the bytes it started from; the restore gives the exact text, a changed file only what was
// typed, a cut journal what its whole records give.
TEST(Journal, RecoveryTrustsOnlyAWholeJournalOfTheFileAsItIs) {
  TTempFolder dir("vorn-journal");
  const std::string folder = dir / "journal/";
  const std::string file = dir.Write("notes.txt", "alpha\r\nbeta\r\n");
  std::string journalBytes, expected;
  {
    TVornDocument doc;
    TVornEditHeadlessView pane(doc.SharedStore());
    ReadInto(doc, file);
    TDocumentJournal journal(doc, folder, "x");
    doc.Store().ReplaceInRow(0, 5, 0, " typed", TRowCol{0, 5});
    doc.Store().ReplaceRows(1, 1, "gamma\r\ndelta\r\n");
    journal.Sync();
    journalBytes = ReadWholeFile(journal.JournalPath());
    expected = StoreText(doc.Store());
    EXPECT_TRUE(OrphanedUntitledJournals(folder).empty());
    // Still owned by this live journal: never offered.
    EXPECT_EQ(FindFileJournal(folder, file, "alpha\r\nbeta\r\n").Verdict, rvOwned);
  }
  const std::string path = JournalPathFor(folder, file, {});
  EXPECT_FALSE(std::filesystem::exists(path)) << "closing without saving removes it";
  const auto leave = [&](const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; };

  leave(journalBytes);
  TRecoveryOffer offer = FindFileJournal(folder, file, "alpha\r\nbeta\r\n");
  EXPECT_EQ(offer.Verdict, rvRestore);
  EXPECT_EQ(offer.Text, expected);
  EXPECT_EQ(offer.ChangedLines, 3u);
  EXPECT_NE(RestoreQuestion(offer, file).find("3 行"), std::string::npos);

  // Cut inside the last record: the first edit alone, and flagged.
  leave(journalBytes.substr(0, journalBytes.size() - 3));
  offer = FindFileJournal(folder, file, "alpha\r\nbeta\r\n");
  EXPECT_EQ(offer.Verdict, rvDamaged);
  EXPECT_EQ(offer.Text, "alpha typed\r\nbeta\r\n");

  // The file changed since: the base is gone, the typed text is not.
  leave(journalBytes);
  dir.Write("notes.txt", "alpha\r\nBETA\r\n");
  offer = FindFileJournal(folder, file, "alpha\r\nBETA\r\n");
  EXPECT_EQ(offer.Verdict, rvMismatch);
  EXPECT_EQ(offer.Text, " typed\r\ngamma\r\ndelta\r\n");

  leave("not a journal");
  EXPECT_EQ(FindFileJournal(folder, file, "").Verdict, rvUnreadable);
  const std::string kept = KeepJournalAside(path);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(ReadWholeFile(kept), "not a journal");
}

// The window's journal is there before its file is read. A last line without a break is marked
// as the load ends, and the journal must count the text without one: with a break counted, its
// base is two bytes too long and the restore is refused as if the file had changed.
TEST(Journal, AFileReadAfterTheJournalWasMadeKeepsItsBaseWithoutAFinalBreak) {
  TTempFolder dir("vorn-journal");
  const std::string folder = dir / "journal/";
  const std::string file = dir.Write("notes.txt", "first line\r\nsecond");
  std::string expected;
  {
    TVornDocument doc;
    TVornEditHeadlessView pane(doc.SharedStore());
    TDocumentJournal journal(doc, folder, "x");
    ReadInto(doc, file);
    doc.Store().ReplaceRows(0, 1, "first linetyped\r\n");
    const TJournalContents c = OnDisk(journal);
    EXPECT_EQ(c.Header.BaseTextLength, 18u);
    expected = StoreText(doc.Store());
    EXPECT_EQ(Replayed(c, "first line\r\nsecond"), expected);
    std::filesystem::copy_file(journal.JournalPath(), dir / "kept.vjnl");
  }
  std::filesystem::copy_file(dir / "kept.vjnl", JournalPathFor(folder, file, {}));
  const TRecoveryOffer offer = FindFileJournal(folder, file, "first line\r\nsecond");
  EXPECT_EQ(offer.Verdict, rvRestore);
  EXPECT_EQ(offer.Text, expected);
}

TEST(Journal, AnUntitledDocumentIsJournalledFromNothingAndFoundAfterItsProcess) {
  TTempFolder dir("vorn-journal");
  const std::string folder = dir / "journal/";
  std::string bytes;
  std::string journalPath;
  {
    TVornDocument doc;
    TVornEditHeadlessView pane(doc.SharedStore());
    TDocumentJournal journal(doc, folder, "u1");
    pane.Lines().SetTextStr("");
    doc.Store().ReplaceRows(0, 0, "hello\r\nworld");
    doc.Store().ReplaceInRow(1, 5, 0, "!", TRowCol{1, 5});
    journal.Sync();
    journalPath = journal.JournalPath();
    bytes = ReadWholeFile(journalPath);
    EXPECT_TRUE(OrphanedUntitledJournals(folder).empty()) << "its process still holds it";
  }
  std::ofstream(journalPath, std::ios::binary) << bytes;
  const std::vector<std::string> found = OrphanedUntitledJournals(folder);
  ASSERT_EQ(found.size(), 1u);
  const TRecoveryOffer offer = ReadUntitledJournal(found[0]);
  EXPECT_EQ(offer.Verdict, rvRestore);
  EXPECT_EQ(offer.Text, "hello\r\nworld!");
}

// Every cut and random damage of a journal reads without a fault, as a prefix of its edits.
TEST(Journal, ReaderTakesWholeRecordsBeforeAnyCutOrDamage) {
  TJournalHeader h;
  h.Path = "/a/b.txt";
  h.FileBase = true;
  h.BaseTextLength = 10;
  std::string bytes = EncodeJournalHeader(h);
  const std::size_t headerSize = bytes.size();
  std::vector<std::size_t> ends;
  std::vector<TJournalEdit> edits;
  std::mt19937 rng(7);
  for (int i = 0; i < 40; ++i) {
    TJournalEdit e{rng() % 50, rng() % 3, std::string(rng() % 20, static_cast<char>('a' + i % 26))};
    AppendJournalEdit(bytes, e.Offset, e.Removed, e.Inserted);
    ends.push_back(bytes.size());
    edits.push_back(e);
  }
  const TJournalContents whole = ParseJournal(bytes);
  ASSERT_EQ(whole.Damage, jdNone);
  ASSERT_EQ(whole.Edits.size(), edits.size());
  EXPECT_EQ(whole.Header.Path, h.Path);
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    const TJournalContents c = ParseJournal(std::string_view(bytes).substr(0, cut));
    const std::size_t wholeRecords = static_cast<std::size_t>(std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin());
    if (cut < headerSize) {
      EXPECT_EQ(c.Damage, jdNoHeader) << cut;
      continue;
    }
    ASSERT_EQ(c.Edits.size(), wholeRecords) << cut;
    const bool atBoundary = cut == headerSize || std::find(ends.begin(), ends.end(), cut) != ends.end();
    EXPECT_EQ(c.Damage, atBoundary ? jdNone : jdTruncated) << cut;
  }
  for (int trial = 0; trial < 2000; ++trial) {
    std::string damaged = bytes;
    const std::size_t at = rng() % damaged.size();
    damaged[at] = static_cast<char>(damaged[at] ^ (1 + rng() % 255));
    const TJournalContents c = ParseJournal(damaged);
    if (at < headerSize) {
      EXPECT_EQ(c.Damage, jdNoHeader);
      continue;
    }
    EXPECT_NE(c.Damage, jdNone);
    ASSERT_LE(c.Edits.size(), edits.size());
    for (std::size_t i = 0; i < c.Edits.size(); ++i) EXPECT_EQ(c.Edits[i].Inserted, edits[i].Inserted);
  }
}

// The restore's one edit makes the store's text the target and one undo gives the old back.
TEST(Journal, ReplaceStoreTextIsOneUndoStepOfTheRowsThatDiffer) {
  std::mt19937 rng(3);
  const char* const pieces[] = {"a", "b", "\r\n", "cd", "\x82\xa0"};
  const auto randomText = [&] {
    std::string s;
    for (unsigned n = rng() % 12; n > 0; --n) s += pieces[rng() % std::size(pieces)];
    return s;
  };
  for (int trial = 0; trial < 400; ++trial) {
    TVornDocument doc;
    TVornEditHeadlessView pane(doc.SharedStore());
    if (trial % 2) doc.Store().SetWordWrap(true);
    const std::string before = randomText(), target = randomText();
    pane.Lines().SetTextStr(before);
    const std::string shown = StoreText(doc.Store());
    ReplaceStoreText(doc.Store(), target);
    ASSERT_EQ(StoreText(doc.Store()), target) << trial << " from [" << before << "]";
    if (shown == target) continue;
    ASSERT_TRUE(pane.Undo());
    EXPECT_EQ(StoreText(doc.Store()), shown) << trial;
    EXPECT_FALSE(pane.Undo()) << trial;
  }
}

TEST(Journal, HasherGivesOneValueHoweverTheBytesAreCut) {
  std::string bytes(1000, '\0');
  std::mt19937 rng(5);
  for (char& c : bytes) c = static_cast<char>(rng());
  TByteHasher whole;
  whole.Add(bytes);
  for (std::size_t step : {1u, 3u, 31u, 32u, 33u, 999u}) {
    TByteHasher pieces;
    for (std::size_t at = 0; at < bytes.size(); at += step) pieces.Add(std::string_view(bytes).substr(at, step));
    EXPECT_EQ(pieces.Value(), whole.Value()) << step;
  }
  TByteHasher other;
  bytes[500] ^= 1;
  other.Add(bytes);
  EXPECT_NE(other.Value(), whole.Value());
  TByteHasher shorter;
  shorter.Add(std::string_view(bytes).substr(0, 999));
  EXPECT_NE(shorter.Value(), other.Value());
}

// A second journal of the same file (another process) gets the lock refused and says so; the
// first one goes on.
TEST(Journal, TwoJournalsOfOneFileAreRefusedByTheLock) {
  TTempFolder dir("vorn-journal");
  const std::string file = dir.Write("shared.txt", "text\r\n");
  TVornDocument a, b;
  TVornEditHeadlessView pa(a.SharedStore()), pb(b.SharedStore());
  ReadInto(a, file);
  ReadInto(b, file);
  TDocumentJournal ja(a, dir / "j/", "a"), jb(b, dir / "j/", "b");
  a.Store().ReplaceInRow(0, 0, 0, "A", TRowCol{});
  b.Store().ReplaceInRow(0, 0, 0, "B", TRowCol{});
  EXPECT_TRUE(ja.Active());
  EXPECT_FALSE(jb.Active());
  EXPECT_TRUE(jb.WriteFailed());
  EXPECT_FALSE(ja.WriteFailed());
  EXPECT_EQ(Replayed(OnDisk(ja), "text\r\n"), "Atext\r\n");
}

// A disk that takes no more (a file size limit stands in for a full disk): the journal says so,
// and typing goes on at full speed.
TEST(Journal, AFailingDiskIsReportedAndNeverSlowsTyping) {
  TTempFolder dir("vorn-journal");
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TVornDocument doc;
    TVornEditHeadlessView pane(doc.SharedStore());
    pane.Lines().SetTextStr("");
    TDocumentJournal journal(doc, dir / "j/", "full");
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20000; ++i) doc.Store().ReplaceRows(0, doc.Store().Count() > 0 ? 1 : 0, "0123456789abcdef");
    const auto spent = std::chrono::steady_clock::now() - start;
    journal.Sync();
    int code = 0;
    if (!journal.WriteFailed()) code |= 1;
    if (journal.FailureText().empty()) code |= 2;
    if (spent > std::chrono::seconds(2)) code |= 4;
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no failure seen, 2: no reason, 4: typing slowed";
}

}  // namespace
}  // namespace vorn
