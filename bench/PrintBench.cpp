// Printing: 10,000 lines of Japanese text laid out into A4 pages in two columns with line
// numbers, and the preview's first page shown, beside QTextDocument paginating the same text.
#include "QtBenchMain.h"

#include "platform/cp932.h"
#include "print/PreviewForm.h"
#include "print/PrintRun.h"

#include <QAbstractTextDocumentLayout>
#include <QPrinter>
#include <QTextDocument>

namespace vorn {
namespace {

// Lines of 20 to 60 double-byte characters with a tab now and then, some longer than a column.
const std::vector<std::string>& JapaneseLines() {
  static const std::vector<std::string> lines = [] {
    const std::string words[] = {"\x93\xfa\x96\x7b\x8c\xea", "\x82\xcc", "\x83\x65\x83\x4c\x83\x58\x83\x67",
                                 "\x82\xf0", "\x88\xf3\x8d\xfc", "\x82\xb7\x82\xe9", "\x81\x42", "\t"};
    std::vector<std::string> out;
    unsigned seed = 31;
    for (int i = 0; i < 10000; ++i) {
      std::string line;
      const int target = 40 + static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16) % 80 +
                         (i % 50 == 0 ? 200 : 0);
      while (static_cast<int>(line.size()) < target) line += words[(seed = seed * 1103515245u + 12345u) >> 16 & 7];
      out.push_back(line);
    }
    return out;
  }();
  return lines;
}

TStringsPrinter TwoColumnsWithNumbers() {
  TStringsPrinter s;
  s.SetFontName("IPAGothic");
  s.SetColumnCount(2);
  s.SetLineNumber(true);
  s.SetHeader("%F %p");
  s.SetHeaderAlign(haLeft);
  s.SetFooter("- %p -");
  s.SetFooterAlign(haCenter);
  s.SetMarginLeft(15);
  s.SetMarginRight(15);
  s.SetMarginTop(15);
  s.SetMarginBottom(15);
  return s;
}

QPrinter& A4Printer() {
  static QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  return printer;
}

void BM_Layout10kJapaneseLinesTwoColumns(benchmark::State& state) {
  const TPrintSource source{JapaneseLines(), [](std::string_view s) { return ExpandTabsPlain(s, 8); }};
  const TStringsPrinter settings = TwoColumnsWithNumbers();
  int pages = 0;
  for (auto _ : state) {
    TPrintPages out;
    std::string error;
    RenderPages(settings, A4Printer(), source, QString(), nullptr, out, error);
    pages = out.Count();
    benchmark::DoNotOptimize(out.Plans.data());
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_Layout10kJapaneseLinesTwoColumns)->Unit(benchmark::kMillisecond);

// From the print dialog's preview button to the first page painted in the preview window.
void BM_PreviewFirstPageShown(benchmark::State& state) {
  const TPrintSource source{JapaneseLines(), [](std::string_view s) { return ExpandTabsPlain(s, 8); }};
  TStringsPrinter settings = TwoColumnsWithNumbers();
  settings.SetPreviewDefaults(800, 800);
  for (auto _ : state) {
    TPrintPages pages;
    std::string error;
    RenderPages(settings, A4Printer(), source, QString(), nullptr, pages, error);
    TPrintPreviewForm form(std::move(pages), settings, nullptr);
    form.show();
    benchmark::DoNotOptimize(form.grab());
  }
}
BENCHMARK(BM_PreviewFirstPageShown)->Unit(benchmark::kMillisecond);

// Baseline: Qt's rich-text document paginating the same text for the same page.
void BM_BaselineQTextDocumentPagination(benchmark::State& state) {
  QString text;
  for (const std::string& line : JapaneseLines()) text += QString::fromStdU16String(Cp932ToUtf16(line)) + QLatin1Char('\n');
  const QRectF page = A4Printer().pageLayout().paintRectPixels(A4Printer().resolution());
  int pages = 0;
  for (auto _ : state) {
    QTextDocument doc;
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(10 * A4Printer().resolution() / 72);
    doc.setDefaultFont(font);
    doc.setPageSize(QSizeF(page.width() / 2, page.height()));  // one column of two
    doc.setPlainText(text);
    pages = doc.pageCount();
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_BaselineQTextDocumentPagination)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
