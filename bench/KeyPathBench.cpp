// A key through an editor window's whole path (key table, command, core, repainted image) and a
// command run by its number, both in a window over a 200,000-line Japanese document, beside the
// core doing the same edit and the same moves without any window.
#include "QtBenchMain.h"
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "editor/VornEdit.h"
#include "shell/Main.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

const std::string& DocumentFile() {
  static const std::string path = [] {
    const std::string p = "/tmp/vorn-keypath-bench.txt";
    std::ofstream out(p, std::ios::binary);
    for (int i = 0; i < 200000; ++i) out << "\x93\xfa\x96\x7b\x8c\xea line " << i << " of the key path bench\r\n";
    return p;
  }();
  return path;
}

// Kept to process end on purpose: a widget must not outlive the QApplication in main.
TVornEditMain& Window() {
  static TVornEditMain* window = [] {
    auto* w = new TVornEditMain();
    w->resize(900, 700);
    w->ProcessCommandLine({DocumentFile()});
    w->show();
    QApplication::processEvents();
    TVornEditCore& core = w->Editor()->Core();
    core.SetCaretPos(core.RowCount() / 2, 8);
    w->Editor()->Flush();
    QApplication::processEvents();
    std::remove(DocumentFile().c_str());
    return w;
  }();
  return *window;
}

void Key(TVornEdit& pane, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&pane, &press);
}

// Typing and erasing alternate, so the line keeps its length; each ends with the screen image.
void BM_WindowKeystrokeToImage(benchmark::State& state) {
  TVornEdit& pane = *Window().Editor();
  bool erase = false;
  for (auto _ : state) {
    if (erase)
      Key(pane, Qt::Key_Backspace);
    else
      Key(pane, Qt::Key_A, QStringLiteral("a"));
    pane.viewport()->repaint();
    erase = !erase;
  }
}
BENCHMARK(BM_WindowKeystrokeToImage)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same edit on the core alone, with the same repaint of the image.
void BM_Baseline_CoreKeystrokeToImage(benchmark::State& state) {
  TVornEdit& pane = *Window().Editor();
  bool erase = false;
  for (auto _ : state) {
    if (erase)
      pane.Core().BackSpace();
    else
      pane.Core().TypeText("a");
    pane.Flush();
    pane.viewport()->repaint();
    erase = !erase;
  }
}
BENCHMARK(BM_Baseline_CoreKeystrokeToImage)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A command by its number, as the menus, the tool bar and a macro run it: right and left
// alternate so the caret stays where it is.
void BM_WindowCommandDispatch(benchmark::State& state) {
  TVornEditMain& w = Window();
  const int right = FunctionByName("CursorRight")->Number, left = FunctionByName("CursorLeft")->Number;
  bool back = false;
  for (auto _ : state) {
    benchmark::DoNotOptimize(w.RunFunction(back ? left : right, false));
    back = !back;
  }
}
BENCHMARK(BM_WindowCommandDispatch)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Baseline_CoreMoves(benchmark::State& state) {
  TVornEdit& pane = *Window().Editor();
  bool back = false;
  for (auto _ : state) {
    if (back)
      pane.Core().CursorLeft();
    else
      pane.Core().CursorRight();
    pane.Flush();
    back = !back;
  }
}
BENCHMARK(BM_Baseline_CoreMoves)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
