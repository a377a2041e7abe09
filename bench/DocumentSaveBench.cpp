// Saving a 100 MB Shift_JIS document through the window's save command against the document
// writer alone on the same rows and file; the two must stay within a tenth of each other.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "SjisCorpus.h"
#include "document/DocumentPrompts.h"
#include "shellcore/DocumentCommands.h"
#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

// Answers nothing: a save that asks is a failed benchmark.
class TSilentPrompts : public TDocumentPrompts {
public:
  bool ConfirmOkCancel(const std::string&) override { return false; }
  TPromptAnswer AskYesNoCancel(const std::string&) override { return TPromptAnswer::Cancel; }
  void Warn(const std::string&) override { failed = true; }
  void Error(const std::string&) override { failed = true; }
  void Inform(const std::string&) override {}
  bool failed = false;
};

struct TLoadedDocument {
  TVornDocument document;
  TVornEditHeadlessView pane{document.SharedStore()};
  std::string file = (std::filesystem::temp_directory_path() / "vorn_document_save_bench.txt").string();
  TLoadedDocument() {
    pane.Lines().SetTextStr(TCorpusGenerator().Generate(std::size_t{100} << 20));
    document.SetFileName(file);
  }
  ~TLoadedDocument() { ::unlink(file.c_str()); }
};

TLoadedDocument& Loaded() {
  static TLoadedDocument loaded;
  return loaded;
}

void BM_Baseline_WriteDocumentFile(benchmark::State& state) {
  TLoadedDocument& d = Loaded();
  for (auto _ : state) WriteDocumentFile(d.file, d.document.FileSettings(), d.pane.Lines());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (int64_t{100} << 20));
}

void BM_SaveDocumentCommand(benchmark::State& state) {
  TLoadedDocument& d = Loaded();
  TSilentPrompts prompts;
  TDocumentCommands commands(d.document, d.pane.Lines(), prompts);
  for (auto _ : state) {
    d.document.MarkUnsaved();
    if (!commands.SaveDocument() || prompts.failed) state.SkipWithError("the save did not complete");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (int64_t{100} << 20));
}

BENCHMARK(BM_Baseline_WriteDocumentFile)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDocumentCommand)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_WriteDocumentFile)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn
