// The command table's costs: a key-down through the key map to its action, and a window's
// actions, menus, pop-up and tool bar against an empty main window.
#include "QtBenchMain.h"
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QAction>
#include <QMainWindow>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include <unistd.h>
#include <random>
#include <vector>

#include "editor/VornEdit.h"
#include "qtplatform/KeyCodeMap.h"
#include "shell/CommandActions.h"
#include "shell/Main.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyPath.h"

namespace vorn {
namespace {

struct TKeyPress {
  int qtKey;
  Qt::KeyboardModifiers modifiers;
};

// Keys of the built-in table that Qt can report directly, in random order.
std::vector<TKeyPress> BuiltInPresses() {
  const TKeyTable table = TKeyTable::BuiltIn();
  std::vector<TKeyPress> presses;
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k)
      if (IsFunctionNumber(table.At(m, k)) && !(m & kmShift))
        if (int qt = QtKeyFromVirtualKey(k)) {
          Qt::KeyboardModifiers q;
          if (m & kmCtrl) q |= Qt::ControlModifier;
          if (m & kmAlt) q |= Qt::AltModifier;
          presses.push_back({qt, q});
        }
  std::shuffle(presses.begin(), presses.end(), std::mt19937(7));
  return presses;
}

// Every function runs, whatever the program has built so far.
const TCommandTraitsTable& AllBuilt() {
  static const TCommandTraitsTable traits = [] {
    TCommandTraitsTable t;
    for (TCommandTraits& f : t) f.When = TEnabledWhen::Always;
    return t;
  }();
  return traits;
}

void BM_DispatchTableOnly(benchmark::State& state) {
  const TKeyTable table = TKeyTable::BuiltIn();
  int k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(DispatchKey(table, k & 0xFF, (k >> 8) & 7));
    ++k;
  }
}
BENCHMARK(BM_DispatchTableOnly);

void BM_DispatchKeyEventToAction(benchmark::State& state) {
  QMainWindow window;
  long runs = 0;
  TCommandDispatcher dispatcher([] { return TCommandState{}; }, AllBuilt());
  for (int n = 0; n < kFunctionCount; ++n) dispatcher.Set(n, [&runs](bool) { ++runs; });
  TCommandActions actions(&window, dispatcher, {});
  actions.BuildMenus();
  actions.BuildToolBar(DefaultToolBar());
  const TKeyTable table = TKeyTable::BuiltIn();
  actions.InstallShortcuts(table, false);
  TKeyPath path(dispatcher, table);
  const std::vector<TKeyPress> presses = BuiltInPresses();
  std::size_t i = 0;
  for (auto _ : state) {
    const TKeyPress& p = presses[i++ % presses.size()];
    QKeyEvent event(QEvent::KeyPress, p.qtKey, p.modifiers);
    const TKeyChord chord = KeyChordFromEvent(event);
    benchmark::DoNotOptimize(path.KeyDown(chord.Key, chord.Modifiers));
  }
  state.counters["runs"] = static_cast<double>(runs);
}
BENCHMARK(BM_DispatchKeyEventToAction)->Unit(benchmark::kMicrosecond);

void BM_EmptyMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    QMainWindow window;
    window.show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_EmptyMainWindow)->Unit(benchmark::kMillisecond);

void BM_WindowWithAllActions(benchmark::State& state) {
  const TKeyTable table = TKeyTable::BuiltIn();
  for (auto _ : state) {
    QMainWindow window;
    TCommandDispatcher dispatcher([] { return TCommandState{}; }, AllBuilt());
    TCommandActions actions(&window, dispatcher, {});
    actions.BuildMenus();
    actions.BuildToolBar(DefaultToolBar());
    actions.InstallShortcuts(table, false);
    window.show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_WindowWithAllActions)->Unit(benchmark::kMillisecond);

// One idle pass of an editor window over a 200,000-line Japanese document with everything
// selected: actions, title and status panels. Baseline: only setting the same actions' state.
void BM_WindowIdleUpdate(benchmark::State& state) {
  const std::string path = "/tmp/vorn-idle-bench-" + std::to_string(::getpid()) + ".txt";
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 200000; ++i) out << "\x93\xfa\x96\x7b\x8c\xea line " << i << "\r\n";
  }
  TVornEditMain window;
  window.SetHandOffEnabled(false);
  window.ProcessCommandLine({path});
  window.Editor()->Core().SelectAll();
  for (auto _ : state) window.UpdateActions();
  std::remove(path.c_str());
}
BENCHMARK(BM_WindowIdleUpdate)->Unit(benchmark::kMicrosecond);

void BM_BaselineActionStatesOnly(benchmark::State& state) {
  QMainWindow window;
  TCommandDispatcher dispatcher([] { return TCommandState{}; }, AllBuilt());
  TCommandActions actions(&window, dispatcher, {});
  bool on = false;
  for (auto _ : state) {
    for (int n = 0; n < 32; ++n) actions.Action(n)->setEnabled(on);
    on = !on;
  }
}
BENCHMARK(BM_BaselineActionStatesOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) {
  return RunQtBenchmarks(argc, argv);
}
