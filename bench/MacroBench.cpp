// Keyboard macros: a 10,000-step macro of typing and caret moves replayed through the player
// and the dispatcher on a 100,000-line document, beside the same operations called straight on
// the core; and reading a 1 MB ".mac" file, beside only cutting the same bytes into lines.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

#include "base/ByteBuffer.h"
#include "editcore/EditCore.h"
#include "layout/StoreWrap.h"
#include "macro/MacroFile.h"
#include "macro/MacroPlayer.h"
#include "platform/AtomicFile.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/PaneCommands.h"
#include "store/FixedGeometry.h"

namespace vorn {
namespace {

std::string HundredThousandLines() {
  std::string text;
  for (int i = 0; i < 100000; ++i)
    text += "line " + std::to_string(i) + " \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67 and more words\r\n";
  return text;
}

struct TBenchWindow : TMacroHost {
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();
  std::unique_ptr<TVornEditCore> core;
  TCommandDispatcher dispatcher{[] { return TCommandState{}; }};
  TMacroPlayer player{dispatcher, *this};

  TBenchWindow() {
    geometry.Rows = 50;
    geometry.Cols = 120;
    core = std::make_unique<TVornEditCore>(store, geometry);
    store->LoadText(TByteBuffer(HundredThousandLines()));
    core->SetFocused(true);
    core->SetCaretPos(50000, 0);
    AddPaneCommands(dispatcher, [this]() -> TVornEditCore& { return *core; });
  }
  TVornEditCore& CurrentPane() override { return *core; }
  std::string ClipboardText() override { return {}; }
  std::string MacroString(int) override { return {}; }
  TCharCodeKind CharCode() override { return ckSjis; }
  TLineBreakKind LineBreak() override { return lbCRLF; }
  void ShowError(const std::string&) override { std::abort(); }
};

// Typing (half of it Japanese) and moves in every direction, 10,000 steps.
TMacroSet TenThousandSteps() {
  const int moves[] = {FunctionNumber("CursorDown"), FunctionNumber("CursorRight"), FunctionNumber("WordRight"),
                       FunctionNumber("CursorUp"), FunctionNumber("MoveLineEnd"), FunctionNumber("CursorLeft")};
  TMacroSet set;
  for (int i = 0; i < 10000; ++i) {
    if (i % 3 == 0) set.Steps.push_back(TMacroItem::Typed(i % 2 ? "ab" : "\x82\xa0\x82\xa2"));
    else set.Steps.push_back(TMacroItem::Command(moves[i % 6], i % 7 == 0));
  }
  return set;
}

void BM_ReplayTenThousandSteps(benchmark::State& state) {
  TMacroSet set = TenThousandSteps();
  for (auto _ : state) {
    state.PauseTiming();
    TBenchWindow window;
    state.ResumeTiming();
    window.player.Replay(set);
    benchmark::DoNotOptimize(window.store->Count());
  }
}
BENCHMARK(BM_ReplayTenThousandSteps)->Unit(benchmark::kMillisecond)->Iterations(5);

// Baseline: the same steps as direct calls on the core.
void BM_SameStepsOnTheCore(benchmark::State& state) {
  TMacroSet set = TenThousandSteps();
  for (auto _ : state) {
    state.PauseTiming();
    TBenchWindow window;
    state.ResumeTiming();
    for (const TMacroItem& step : set.Steps) {
      if (step.IsText()) window.core->TypeText(step.Text);
      else window.dispatcher.Run(step.Function, step.Shift);
    }
    benchmark::DoNotOptimize(window.store->Count());
  }
}
BENCHMARK(BM_SameStepsOnTheCore)->Unit(benchmark::kMillisecond)->Iterations(5);

std::string OneMegabyteMacro() {
  const char* lines[] = {"// a description\r\n", "CursorDown ,SHIFT\r\n", "JumpRow(\"12\")\r\n",
                         "InputStr(\"\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\")\r\n",
                         "Find('a)',1,0,1,0,1,1)\r\n", "  cursorRight;\r\n", "Unknown(1)\r\n"};
  std::string text;
  for (int i = 0; text.size() < (1u << 20); ++i) text += lines[i % 7];
  return text;
}

void BM_ReadOneMegabyteMacro(benchmark::State& state) {
  char name[] = "/tmp/vornmacrobench-XXXXXX";
  const int fd = ::mkstemp(name);
  if (fd < 0) return state.SkipWithError("no temporary file");
  ::close(fd);
  WriteFileAtomically(name, OneMegabyteMacro());
  for (auto _ : state) {
    TMacroSet set;
    set.FileName = name;
    if (!LoadMacroFile(set).empty()) state.SkipWithError("the file did not read");
    benchmark::DoNotOptimize(set.Steps.size());
  }
  ::unlink(name);
}
BENCHMARK(BM_ReadOneMegabyteMacro)->Unit(benchmark::kMillisecond);

// The reader alone, on bytes already in memory.
void BM_ParseOneMegabyteInMemory(benchmark::State& state) {
  const std::string text = OneMegabyteMacro();
  for (auto _ : state) {
    TMacroSet set;
    ReadMacroText(text, set);
    benchmark::DoNotOptimize(set.Steps.size());
  }
}
BENCHMARK(BM_ParseOneMegabyteInMemory)->Unit(benchmark::kMillisecond);

// Baseline: cutting the same bytes into lines and copying each, the least any reader does.
void BM_CutOneMegabyteIntoLines(benchmark::State& state) {
  const std::string text = OneMegabyteMacro();
  for (auto _ : state) {
    std::size_t count = 0;
    for (const char* p = text.data(), *end = p + text.size(); p < end;) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      if (!nl) nl = end;
      std::string line(p, nl);
      count += line.size();
      p = nl + 1;
    }
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_CutOneMegabyteIntoLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn
