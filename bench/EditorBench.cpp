// The editor widget: full repaints, a keystroke in a wrapped 2 M-row document, moves in a
// 100 MB document, a 50 MB row without breaks, and loading 10 MB beside QPlainTextEdit.
#include "QtBenchMain.h"
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "SjisCorpus.h"
#include "base/sjis.h"
#include "document/VornDocument.h"
#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"
#include "platform/cp932.h"
#include "shell/Main.h"
#include "shell/PaneKeys.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/PaneCommands.h"
#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"

namespace vorn {
namespace {

// The key path a window gives its pane: the key table, the pane's commands, typed text.
struct TPaneKeyPath {
  explicit TPaneKeyPath(TVornEdit& pane)
      : dispatcher([&pane] {
          TCommandState s;
          s.Selection = pane.Core().HasSelection();
          s.CanUndo = pane.Core().CanUndo();
          s.CanRedo = pane.Core().CanRedo();
          return s;
        }),
        path(dispatcher, ProcessKeyTable()),
        keys(path) {
    AddPaneCommands(dispatcher, [&pane]() -> TVornEditCore& { return pane.Core(); });
    pane.SetKeyRoute(&keys);
  }
  TCommandDispatcher dispatcher;
  TKeyPath path;
  TPaneKeys keys;
};

// A widget whose viewport holds exactly cols × rows cells, with a window's key path. The key
// paths outlive their panes: some panes live to process end.
std::unique_ptr<TVornEdit> MakeEdit(int cols, int rows) {
  auto edit = std::make_unique<TVornEdit>(NewWrappedStore());
  static std::vector<std::unique_ptr<TPaneKeyPath>> keyPaths;
  keyPaths.push_back(std::make_unique<TPaneKeyPath>(*edit));
  const TEditMetrics& m = edit->Metrics();
  edit->resize(100, 100);
  edit->show();
  QApplication::processEvents();
  const QSize chrome = edit->size() - edit->viewport()->size();
  edit->resize(QSize(m.TextLeft() + cols * m.CellWidth() + m.CellWidth() / 2, m.TextTop() + rows * m.RowHeight() + 5) +
               chrome);
  QApplication::processEvents();
  edit->Core().SetFocused(true);
  edit->Flush();
  return edit;
}

void Key(TVornEdit& edit, int key, Qt::KeyboardModifiers mods = {}, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(&edit, &press);
}

std::string MixedRows(int rows, int width) {
  TCorpusGenerator corpus;
  std::string text;
  const std::string source = corpus.Generate(static_cast<std::size_t>(rows) * width * 2);
  std::size_t at = 0;
  for (int r = 0; r < rows; ++r) {
    std::string row;
    while (static_cast<int>(row.size()) < width - 1 && at < source.size()) {
      const char c = source[at];
      if (c == '\r' || c == '\n') {
        ++at;
        continue;
      }
      const bool lead = sjis::IsLeadByte(c);
      if (lead && static_cast<int>(row.size()) + 2 > width) break;
      row.append(source, at, lead ? 2 : 1);
      at += lead ? 2 : 1;
    }
    text += row + "\r\n";
  }
  return text;
}

std::string WriteTemp(const std::string& name, const std::string& bytes) {
  const std::string path = "/tmp/vorn-editor-bench-" + name;
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

void BM_FullRepaint60x160(benchmark::State& state) {
  auto edit = MakeEdit(160, 60);
  edit->Lines().SetTextStr(MixedRows(80, 160));
  edit->Flush();
  for (auto _ : state) edit->RepaintAll();
  state.counters["rows"] = edit->Metrics().VisibleRows();
  state.counters["cols"] = edit->Metrics().VisibleCols();
}
BENCHMARK(BM_FullRepaint60x160)->Unit(benchmark::kMillisecond);

// Two rows per line at wrap 20: 1 M lines give 2 M rows. Typing and erasing alternate so
// the line keeps its length.
void BM_KeystrokeWrapped2MRows(benchmark::State& state) {
  auto edit = MakeEdit(80, 40);
  TVornEditScreenStrings& store = edit->Core().Store();
  WrapOptionOf(store).SetWrapByte(20);
  store.SetWordWrap(true);
  std::string text;
  text.reserve(42u * 1000000u);
  for (int i = 0; i < 1000000; ++i) text += "abcdefghij\x82\xA0\x82\xA2klmnopqrstuvwxyz012345\r\n";
  edit->Lines().SetTextStr(text);
  edit->Core().GoToPosition(edit->Core().RowCount() / 2, 6);
  edit->Flush();
  bool erase = false;
  for (auto _ : state) {
    if (erase)
      Key(*edit, Qt::Key_Backspace);
    else
      Key(*edit, Qt::Key_A, {}, QStringLiteral("a"));
    erase = !erase;
  }
  state.counters["rows"] = edit->Core().RowCount();
}
BENCHMARK(BM_KeystrokeWrapped2MRows)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

struct THundredMegabytes {
  std::unique_ptr<TVornEdit> edit = MakeEdit(160, 60);
  THundredMegabytes() {
    TCorpusGenerator corpus;
    edit->Lines().SetTextStr(corpus.Generate(100u << 20));
    edit->Flush();
  }
};
// Kept to process end on purpose: a widget must not outlive the QApplication in main.
THundredMegabytes& Hundred() {
  static auto* doc = new THundredMegabytes;
  return *doc;
}

void BM_PageDown100MB(benchmark::State& state) {
  TVornEdit& edit = *Hundred().edit;
  edit.Core().MoveFileStart();
  edit.Flush();
  for (auto _ : state) Key(edit, Qt::Key_PageDown);
  state.counters["rows"] = edit.Core().RowCount();
}
BENCHMARK(BM_PageDown100MB)->Unit(benchmark::kMillisecond);

// Ctrl+End and Ctrl+Home alternate, so every step moves the whole view.
void BM_CtrlEnd100MB(benchmark::State& state) {
  TVornEdit& edit = *Hundred().edit;
  bool end = true;
  for (auto _ : state) {
    Key(edit, end ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
    end = !end;
  }
}
BENCHMARK(BM_CtrlEnd100MB)->Unit(benchmark::kMillisecond);

void BM_JumpToLine1000000(benchmark::State& state) {
  TVornEdit& edit = *Hundred().edit;
  bool far = true;
  for (auto _ : state) {
    TVornEditCore& core = edit.Core();
    core.GoToPosition(core.LineToRow(far ? 999999 : 0), 0);
    edit.Flush();
    far = !far;
  }
}
BENCHMARK(BM_JumpToLine1000000)->Unit(benchmark::kMillisecond);

// A 50 MB row without a break, word wrap off.
struct TLongRow {
  std::unique_ptr<TVornEdit> edit = MakeEdit(160, 60);
  TLongRow() {
    std::string row;
    row.reserve(50u << 20);
    while (row.size() < (50u << 20)) row += "abc \x93\xFA\x96\x7B\x8C\xEA xyz\t";
    edit->Lines().SetTextStr(row);
    edit->Flush();
  }
};
TLongRow& LongRow() {
  static auto* doc = new TLongRow;
  return *doc;
}

void BM_LongRowRepaint(benchmark::State& state) {
  TVornEdit& edit = *LongRow().edit;
  for (auto _ : state) edit.RepaintAll();
}
BENCHMARK(BM_LongRowRepaint)->Unit(benchmark::kMillisecond);

void BM_LongRowEndAndHome(benchmark::State& state) {
  TVornEdit& edit = *LongRow().edit;
  bool end = true;
  for (auto _ : state) {
    Key(edit, end ? Qt::Key_End : Qt::Key_Home);
    end = !end;
  }
  state.counters["leftCol"] = edit.Core().LeftCol();
}
BENCHMARK(BM_LongRowEndAndHome)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LongRowTypeAtEnd(benchmark::State& state) {
  TVornEdit& edit = *LongRow().edit;
  Key(edit, Qt::Key_End);
  bool erase = false;
  for (auto _ : state) {
    if (erase)
      Key(edit, Qt::Key_Backspace);
    else
      Key(edit, Qt::Key_A, {}, QStringLiteral("a"));
    erase = !erase;
  }
}
BENCHMARK(BM_LongRowTypeAtEnd)->Unit(benchmark::kMillisecond)->Iterations(10);

const std::string& TenMegabyteFile() {
  static const std::string path = WriteTemp("10mb.txt", TCorpusGenerator().Generate(10u << 20));
  return path;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The baseline: the widget most Qt editors stand on, given the same text as Unicode, until
// its first screen is painted.
void BM_Load10MB_QPlainTextEdit(benchmark::State& state) {
  TenMegabyteFile();  // generated before the clock runs
  QPlainTextEdit view;
  view.resize(1300, 1030);
  view.show();
  QApplication::processEvents();
  for (auto _ : state) {
    const std::u16string u16 = Cp932ToUtf16(ReadBytes(TenMegabyteFile()));
    view.setPlainText(QString::fromUtf16(u16.data(), static_cast<qsizetype>(u16.size())));
    view.viewport()->repaint();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_Load10MB_QPlainTextEdit)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Load10MB_TVornEdit(benchmark::State& state) {
  TenMegabyteFile();
  auto edit = MakeEdit(160, 60);
  for (auto _ : state) {
    TDocumentFileSettings settings;
    ReadDocumentFile(TenMegabyteFile(), settings, edit->Lines());
    edit->Flush();
    edit->viewport()->repaint();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_Load10MB_TVornEdit)->Unit(benchmark::kMillisecond)->Iterations(10);

long ResidentKb() {
  long pages = 0;
  long resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * 4;
}

const std::string& HundredMegabyteFile() {
  static const std::string path = WriteTemp("100mb.txt", TCorpusGenerator().Generate(100u << 20));
  return path;
}

// The baseline of opening: reading the file into a store without any window.
void BM_Open100MB_ReadDocumentFileAlone(benchmark::State& state) {
  HundredMegabyteFile();
  for (auto _ : state) {
    // The same store as a window's document (word wrap installed, off), freed off the clock
    // as the window is.
    state.PauseTiming();
    auto document = std::make_unique<TVornDocument>();
    auto view = std::make_unique<TVornEditHeadlessView>(document->SharedStore());
    state.ResumeTiming();
    TDocumentFileSettings settings;
    ReadDocumentFile(HundredMegabyteFile(), settings, view->Lines());
    benchmark::DoNotOptimize(view->Store()->Count());
    state.PauseTiming();
    view.reset();
    document.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Open100MB_ReadDocumentFileAlone)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Open100MB_InWindowWithFirstScreen(benchmark::State& state) {
  HundredMegabyteFile();
  long residentKb = 0;
  for (auto _ : state) {
    // The window exists before the user opens a file into it.
    state.PauseTiming();
    auto window = std::make_unique<TVornEditMain>();
    window->Services().prompts = TWindowServices::TPrompts{[](const QString&) { return daNo; }, [](const QString&) { return QString(); },
                        [](const QString&) {}};
    window->show();
    QApplication::processEvents();
    state.ResumeTiming();
    window->LoadDocument(HundredMegabyteFile(), false);
    window->Editor()->viewport()->repaint();
    benchmark::DoNotOptimize(window->Editor()->BackingImage().constBits());
    state.PauseTiming();
    residentKb = ResidentKb();
    window.reset();
    state.ResumeTiming();
  }
  state.counters["residentMB"] = static_cast<double>(residentKb) / 1024.0;
}
BENCHMARK(BM_Open100MB_InWindowWithFirstScreen)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) {
  return RunQtBenchmarks(argc, argv);
}
