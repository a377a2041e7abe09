// Rendering in steps under a progress window, and replaying the pages on the printer.
#include "print/PrintRun.h"

#include "printcore/PageRange.h"
#include "settings/SjisText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>

#include <memory>

namespace vorn {
namespace {

// Lines laid out between two looks at the event loop: a few milliseconds of work.
constexpr int kLinesPerStep = 500;
constexpr int kProgressDelayMs = 500;

}  // namespace

TTemplateValues TemplateValuesNow(const TStringsPrinter& settings) {
  TTemplateValues v;
  const QDateTime now = QDateTime::currentDateTime();
  v.FileName = settings.FileName();
  v.Year = now.date().year();
  v.Month = now.date().month();
  v.Day = now.date().day();
  v.Time = Sjis(QLocale::system().toString(now.time(), QLocale::ShortFormat).toStdString());
  return v;
}

TRenderResult RenderPages(const TStringsPrinter& settings, const QPrinter& printer, const TPrintSource& source,
                          const QString& label, QWidget* parent, TPrintPages& pages, std::string& error) {
  pages = TPrintPages{};
  pages.Page = PrinterPageOf(printer);
  pages.Unprintable = UnprintableOffsets(pages.Page);
  pages.Font = PrintFontFor(settings, pages.Page.Dpi);
  MeasurePrintFont(pages.Font, pages.Cell, pages.Ascent);
  const TPageFrame frame = ComputePageFrame(settings.Values(), pages.Page, pages.Cell,
                                            static_cast<int>(source.Lines.size()), error);
  if (!error.empty()) return TRenderResult::rrNoRoom;
  TPageLayouter layouter(settings.Values(), frame, source.Lines, source.ExpandTabs, TemplateValuesNow(settings));
  QElapsedTimer clock;
  clock.start();
  std::unique_ptr<QProgressDialog> progress;
  while (!layouter.Step(kLinesPerStep)) {
    if (!progress && clock.elapsed() > kProgressDelayMs) {
      progress = std::make_unique<QProgressDialog>(label, QStringLiteral("キャンセル"), 0, 100, parent);
      progress->setWindowModality(Qt::WindowModal);
      progress->setMinimumDuration(0);
    }
    if (progress) {
      progress->setValue(layouter.Percent());
      if (progress->wasCanceled()) return TRenderResult::rrCancelled;
    }
    QCoreApplication::processEvents();
  }
  pages.Plans = layouter.TakePages();
  return TRenderResult::rrDone;
}

bool PrintPageList(QPrinter& printer, const TPrintPages& pages, int first, int last) {
  const TPageSpan span = PrintSpan(first, last, pages.Count());
  if (span.Empty()) return true;
  QPainter p;
  if (!p.begin(&printer)) return false;
  TPagePainter painter(pages);
  for (int i = span.First; i <= span.Last; ++i) {
    if (i > span.First) printer.newPage();
    painter.Paint(p, i);
  }
  return p.end();
}

bool PrintLines(const TStringsPrinter& settings, QPrinter& printer, const TPrintSource& source, int first, int last,
                QWidget* parent, std::string& error) {
  TPrintPages pages;
  error.clear();
  if (RenderPages(settings, printer, source, QStringLiteral("印刷中"), parent, pages, error) != TRenderResult::rrDone)
    return false;
  if (!PrintPageList(printer, pages, first, last)) {
    error = "プリンタに印刷できません";
    return false;
  }
  return true;
}

}  // namespace vorn
