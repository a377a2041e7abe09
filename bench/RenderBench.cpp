// Painting coloured rows: a 60 × 160 screen of C source with 100 keywords against the same
// screen painted plain, per-character drawing, a keystroke that opens a block comment on the
// top row, the last screen of a 1 MB wrapped line and a horizontal scroll across a 10 MB row.
#include "QtBenchMain.h"
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <string>

#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"
#include "regex/BregexpUtil.h"

namespace vorn {
namespace {

const char* const kCKeywords[] = {"auto",   "break",    "case",    "char",   "const",    "continue", "default",
                                  "do",     "double",   "else",    "enum",   "extern",   "float",    "for",
                                  "goto",   "if",       "int",     "long",   "register", "return",   "short",
                                  "signed", "sizeof",   "static",  "struct", "switch",   "typedef",  "union",
                                  "unsigned", "void",   "volatile", "while"};

std::shared_ptr<TVornEditViewInfo> CView(bool italicComments) {
  auto view = std::make_shared<TVornEditViewInfo>(RegexpBinding());
  view->SetQuotation("\"'");
  view->SetKeyword(true);
  view->SetUrl(true);
  TVornEditBracketItem& b = view->Brackets().Add();
  b.LeftBracket().SetPlainText(true);
  b.LeftBracket().SetPattern("/*");
  b.RightBracket().SetPlainText(true);
  b.RightBracket().SetPattern("*/");
  b.SetColorIndex(5);
  view->Commenter1().SetPlainText(true);
  view->Commenter1().SetPattern("//");
  int n = 0;
  for (const char* k : kCKeywords) {
    TVornEditKeyword& kw = view->Keywords().AddItem();
    kw.SetPattern(k);
    kw.SetWholeWord(true);
    kw.SetColorIndex(17 + n++ % 2);
  }
  for (int i = 0; n < 100; ++i, ++n) {
    TVornEditKeyword& kw = view->Keywords().AddItem();
    kw.SetPattern("name" + std::to_string(i));
    kw.SetColorIndex(19);
  }
  view->Colors()[10].SetColor(0x000080);
  view->Colors()[8].SetColor(0x800000);
  if (italicComments) view->Colors()[5].SetStyle(fsItalic);
  return view;
}

// blockComments: each line holds a closed "/* note */"; without them a comment opened above
// runs over every line below.
std::string CSource(int lines, bool blockComments = true) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    std::string line = "    if (name" + std::to_string(i % 68) + " > " + std::to_string(i) +
                       ") { static int count = sizeof(struct item); return \"text \\\"" + std::to_string(i) +
                       "\\\"\"; } " + (blockComments ? "/* note */" : "(note)    ") + " while (x[" +
                       std::to_string(i % 7) + "] != 'c') continue; // tail";
    while (line.size() < 158) line += " x";
    text += line.substr(0, 158) + "\r\n";
  }
  return text;
}

std::unique_ptr<TVornEdit> MakeEdit(int cols, int rows) {
  auto edit = std::make_unique<TVornEdit>(NewWrappedStore());
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

void Load(TVornEdit& edit, const std::string& text, int wrap) {
  TVornEditScreenStrings& store = edit.Core().Store();
  if (wrap > 0) WrapOptionOf(store).SetWrapByte(wrap);
  store.SetWordWrap(wrap > 0);
  store.ReplaceRows(0, store.Count(), text);
  edit.Core().SetTopRow(0);
  edit.Core().SetCaretPos(0, 0);
  edit.Flush();
}

// range(0): 0 plain, 1 coloured, 2 coloured with an italic comment colour.
void BM_FullScreen(benchmark::State& state) {
  auto edit = MakeEdit(160, 60);
  const int mode = static_cast<int>(state.range(0));
  if (mode > 0) edit->SetViewOptions(CView(mode == 2));
  Load(*edit, CSource(200), 0);
  for (auto _ : state) {
    edit->RepaintAll();
    benchmark::DoNotOptimize(edit->BackingImage().constBits());
  }
  state.SetLabel(mode == 0 ? "plain" : mode == 1 ? "coloured" : edit->PerCharacterDrawing() ? "per character" : "?");
}
BENCHMARK(BM_FullScreen)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// "/*" typed at the top row's start and the repainted image, then taken back (not timed).
void BM_OpenBlockComment(benchmark::State& state) {
  auto edit = MakeEdit(160, 60);
  if (state.range(0)) edit->SetViewOptions(CView(false));
  Load(*edit, CSource(200, false), 0);
  TVornEditCore& core = edit->Core();
  core.TypeText("/*");
  edit->Flush();
  // The comment must reach the screen's last row, or this measures a one-row repaint.
  if (state.range(0) && edit->PaintDump(59).find(" c5 ") == std::string::npos) state.SkipWithError("not recoloured");
  core.Undo();
  edit->Flush();
  for (auto _ : state) {
    core.SetCaretPos(0, 0);
    core.TypeText("/*");
    edit->Flush();
    benchmark::DoNotOptimize(edit->BackingImage().constBits());
    state.PauseTiming();
    core.Undo();
    edit->Flush();
    state.ResumeTiming();
  }
  state.SetLabel(state.range(0) ? "coloured" : "plain");
}
BENCHMARK(BM_OpenBlockComment)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The last screen of one 1 MB logical line wrapped at 80 columns, painted again and again.
void BM_LongWrappedLineLastScreen(benchmark::State& state) {
  auto edit = MakeEdit(82, 60);
  if (state.range(0)) edit->SetViewOptions(CView(false));
  std::string line;
  const std::string source = CSource(8000);
  for (char c : source)
    if (c != '\r' && c != '\n') line += c;
  line.resize(1 << 20);
  Load(*edit, line, 80);
  TVornEditCore& core = edit->Core();
  core.SetTopRow(core.RowCount() - 60);
  edit->Flush();
  for (auto _ : state) {
    edit->RepaintAll();
    benchmark::DoNotOptimize(edit->BackingImage().constBits());
  }
  state.SetLabel(state.range(0) ? "coloured" : "plain");
}
BENCHMARK(BM_LongWrappedLineLastScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same screen after the pane forgot what it knew of the line's tokens.
void BM_LongWrappedLineLastScreenCold(benchmark::State& state) {
  auto edit = MakeEdit(82, 60);
  edit->SetViewOptions(CView(false));
  std::string line;
  const std::string source = CSource(8000);
  for (char c : source)
    if (c != '\r' && c != '\n') line += c;
  line.resize(1 << 20);
  Load(*edit, line, 80);
  TVornEditCore& core = edit->Core();
  core.SetTopRow(core.RowCount() - 60);
  edit->Flush();
  for (auto _ : state) {
    edit->SetLook(edit->Look());
    benchmark::DoNotOptimize(edit->BackingImage().constBits());
  }
}
BENCHMARK(BM_LongWrappedLineLastScreenCold)->Unit(benchmark::kMillisecond);

// One step of a horizontal scroll across a 10 MB row without word wrap: the screen moves by
// its width over the row's scrollable columns and back.
void BM_HorizontalScrollLongRow(benchmark::State& state) {
  auto edit = MakeEdit(160, 60);
  if (state.range(0)) edit->SetViewOptions(CView(false));
  std::string text = CSource(20);
  std::string row;
  for (char c : text)
    if (c != '\r' && c != '\n') row += c;
  while (row.size() < (10u << 20)) row += row.substr(0, 1 << 20);
  row.resize(10u << 20);
  Load(*edit, row + "\r\n" + CSource(80), 0);
  TVornEditCore& core = edit->Core();
  int col = 0;
  int step = 160;
  for (auto _ : state) {
    col += step;
    if (col > MaxColumns - 160 || col < 0) {
      step = -step;
      col += 2 * step;
    }
    core.SetLeftCol(col);
    edit->Flush();
    benchmark::DoNotOptimize(edit->BackingImage().constBits());
  }
  state.SetLabel(state.range(0) ? "coloured" : "plain");
}
BENCHMARK(BM_HorizontalScrollLongRow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) {
  vorn::LoadRegexpBinding(VORN_BIN_DIR "/libVornRegexp.so");
  return RunQtBenchmarks(argc, argv);
}
