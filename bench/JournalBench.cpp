// The journal's cost on the typing path (the same keystrokes with and without a journal, in
// one run) and a journal of 10,000 edits written, read back and replayed.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "document/DocumentJournal.h"
#include "document/JournalFormat.h"
#include "document/VornDocument.h"
#include "store/HeadlessView.h"

namespace vorn {
namespace {

std::string BenchFolder() {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/vorn_journal_bench_" + std::to_string(::getpid()) + "/";
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "a line of some ordinary text, " + std::to_string(i) + "\r\n";
  return text;
}

// One character typed into the middle of a 100,000-line document per iteration.
void Typing(benchmark::State& state, bool journalled) {
  TVornDocument doc;
  TVornEditHeadlessView pane(doc.SharedStore());
  pane.Lines().SetTextStr(Lines(100000));
  doc.MarkSaved();
  std::unique_ptr<TDocumentJournal> journal;
  if (journalled) journal = std::make_unique<TDocumentJournal>(doc, BenchFolder(), "typing");
  TVornEditScreenStrings& store = doc.Store();
  std::size_t col = 0;
  for (auto _ : state) {
    store.ReplaceInRow(50000, col % 30, 0, "x", TRowCol{50000, 0});
    ++col;
  }
  if (journal && journal->WriteFailed()) state.SkipWithError("the journal could not be written");
  journal.reset();
  std::filesystem::remove_all(BenchFolder());
}
void BM_TypingWithoutJournal(benchmark::State& state) { Typing(state, false); }
void BM_TypingWithJournal(benchmark::State& state) { Typing(state, true); }
BENCHMARK(BM_TypingWithoutJournal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypingWithJournal)->Unit(benchmark::kMicrosecond);

// 10,000 keystrokes and Enters journalled, synced, read back and replayed over the base.
void BM_Journal10kEditsWrittenAndReplayed(benchmark::State& state) {
  const std::string base = Lines(2000);
  for (auto _ : state) {
    TVornDocument doc;
    TVornEditHeadlessView pane(doc.SharedStore());
    pane.Lines().SetTextStr(base);
    doc.MarkSaved();
    std::string replayed;
    {
      TDocumentJournal journal(doc, BenchFolder(), "replay");
      TVornEditScreenStrings& store = doc.Store();
      for (int i = 0; i < 10000; ++i) {
        const int row = (i * 7) % store.Count();
        if (i % 50 == 49) store.ReplaceRows(row, 1, std::string(store.Row(row)) + "\r\n\r\n");
        else store.ReplaceInRow(row, 0, 0, "k", TRowCol{row, 0});
      }
      journal.Sync();
      const TJournalContents c = ParseJournal(ReadAll(journal.JournalPath()));
      replayed.clear();
      ApplyJournalEdits(replayed, c.Edits);
      if (replayed != StoreText(store)) state.SkipWithError("the replay differs");
    }
  }
  std::filesystem::remove_all(BenchFolder());
}

BENCHMARK(BM_Journal10kEditsWrittenAndReplayed)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn
