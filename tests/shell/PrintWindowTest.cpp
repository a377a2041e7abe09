// Printing through the window: the print command's dialog prints a golden document to a PDF,
// which poppler reads back; the preview shows its pages; the settings reach Common.ini.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "TempFolder.h"
#include "platform/VornUtil.h"
#include "platform/cp932.h"
#include "print/PreviewForm.h"
#include "print/PrintSetForm.h"
#include "settings/SjisText.h"
#include "shellcore/FunctionTable.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QPrinter>
#include <QTimer>

#include <fstream>
#include <functional>

namespace vorn {
namespace {

using testing::TQuietPrompts;

constexpr int kLines = 150;
const std::string kLong(130, '7');

// Line 5 holds a tab, line 7 is longer than a column and wraps, the rest are double-byte text.
std::string GoldenLine(int n) {
  if (n == 5) return "a\tb";
  if (n == 7) return kLong;
  return Sjis("行") + std::to_string(n) + Sjis("は日本語のテキスト");
}

std::string GoldenDocument() {
  std::string text;
  for (int n = 1; n <= kLines; ++n) text += GoldenLine(n) + "\r\n";
  return text;
}

QString Squeezed(QString s) {
  s.remove(QLatin1Char(' '));
  return s;
}

// The pages of the PDF as poppler lays out their text; a crop takes one half of the paper.
QStringList PdfPages(const std::string& pdf, int cropHalf = -1) {
  QStringList args{QStringLiteral("-layout")};
  if (cropHalf >= 0)  // A4 at poppler's 72 dpi is 595 × 842
    args << "-x" << QString::number(cropHalf * 298) << "-y" << "0" << "-W" << "297" << "-H" << "842";
  args << QString::fromStdString(pdf) << QStringLiteral("-");
  QProcess run;
  run.start(QStringLiteral("pdftotext"), args);
  EXPECT_TRUE(run.waitForFinished(30000));
  QStringList pages = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

QStringList NonBlankLines(const QString& page) {
  QStringList lines;
  for (const QString& line : page.split(QLatin1Char('\n')))
    if (!line.trimmed().isEmpty()) lines << line.trimmed();
  return lines;
}

class PrintWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    window_ = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*window_, prompts_);
    ASSERT_TRUE(window_->LoadDocument(dir_.Write("doc.txt", GoldenDocument()), false));
  }
  void WriteCommonIni(int columns) {
    std::ofstream ini(UserFolder() + "Common.ini", std::ios::binary);
    ini << "[Print]\r\nFontName=IPAGothic\r\nFontSize=10\r\nColumnCount=" << columns
        << "\r\nColumnSpace=10\r\nLineNumber=1\r\nLineNumberSeparator=:\r\nHeader=%F p%p\r\nHeaderAlign=1\r\n"
           "Footer=-%p-\r\nFooterAlign=3\r\nMarginLeft=15\r\nMarginRight=15\r\nMarginTop=15\r\nMarginBottom=15\r\n\r\n";
  }
  // Runs the print command; act gets the dialog once it is up.
  void WithPrintDialog(const std::function<void(TPrintSetForm&)>& act) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TPrintSetForm*>(w); form && form->isVisible()) {
          seen = true;
          act(*form);
          return;
        }
    });
    window_->RunFunction(FunctionNumber("Print"), false);
    EXPECT_TRUE(seen);
  }
  std::string PrintToPdf(int columns) {
    WriteCommonIni(columns);
    const std::string pdf = dir_ / ("out" + std::to_string(columns) + ".pdf");
    WithPrintDialog([&](TPrintSetForm& form) {
      form.Printer().setOutputFileName(QString::fromStdString(pdf));
      form.findChild<QPushButton*>(QStringLiteral("print"))->click();
    });
    return pdf;
  }
  vorn::testing::TTempFolder dir_;
  TQuietPrompts prompts_;
  std::unique_ptr<TVornEditMain> window_;
};

QString ExpectedBody() {
  QString body;
  for (int n = 1; n <= kLines; ++n) {
    std::string line = GoldenLine(n);
    if (n == 5) line = "ab";  // the tab runs out as blanks, which the squeeze takes away
    body += QString::number(n) + QLatin1Char(':') + QString::fromStdU16String(Cp932ToUtf16(line));
  }
  return body;
}

TEST_F(PrintWindowTest, OneColumnPdfHoldsEveryLineWithHeaderAndFooterOnEachPage) {
  const QStringList pages = PdfPages(PrintToPdf(1));
  ASSERT_GE(pages.size(), 2);
  QString body;
  for (int p = 0; p < pages.size(); ++p) {
    const QStringList lines = NonBlankLines(pages[p]);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.front(), QStringLiteral("doc.txt p%1").arg(p + 1));
    EXPECT_EQ(lines.back(), QStringLiteral("-%1-").arg(p + 1));
    for (int i = 1; i + 1 < lines.size(); ++i) body += Squeezed(lines[i]);
    if (p + 1 < pages.size()) {
      EXPECT_EQ(lines.size(), NonBlankLines(pages[0]).size()) << "full pages";
    }
  }
  EXPECT_EQ(body, ExpectedBody());
  // The long line wraps: its digits continue on a row of their own without a number.
  EXPECT_TRUE(pages[0].contains(QRegularExpression(QStringLiteral("\\n\\s+7+\\s*\\n"))));
}

TEST_F(PrintWindowTest, TwoColumnPdfFillsTheLeftColumnThenTheRight) {
  const std::string pdf = PrintToPdf(2);
  const QStringList left = PdfPages(pdf, 0);
  const QStringList right = PdfPages(pdf, 1);
  const QStringList one = PdfPages(PrintToPdf(1));
  ASSERT_EQ(left.size(), right.size());
  EXPECT_NEAR(left.size(), one.size() / 2.0, 1.0) << "about half the pages of one column";
  QString body;
  for (int p = 0; p < left.size(); ++p) {
    const QStringList l = NonBlankLines(left[p]);
    const QStringList r = NonBlankLines(right[p]);
    ASSERT_GE(l.size(), 2);
    ASSERT_GE(r.size(), 1);
    EXPECT_EQ(l.front(), QStringLiteral("doc.txt p%1").arg(p + 1));
    EXPECT_EQ(r.back(), QStringLiteral("-%1-").arg(p + 1));
    for (int i = 1; i < l.size(); ++i) body += Squeezed(l[i]);
    for (int i = 0; i + 1 < r.size(); ++i) body += Squeezed(r[i]);
  }
  EXPECT_EQ(body, ExpectedBody());
}

TEST_F(PrintWindowTest, PreviewShowsThePagesAndOkStoresTheSettings) {
  {
    std::ofstream ini(UserFolder() + "Common.ini", std::ios::binary);
    ini << "[Print]\r\nColumnCount=2\r\nFontName=IPAGothic\r\nMarginTop=500\r\n\r\n";
  }
  int pages = 0;
  QString firstText, lastText;
  WithPrintDialog([&](TPrintSetForm& form) {
    QTimer::singleShot(0, [&] {
      auto* preview = form.findChild<TPrintPreviewForm*>(QStringLiteral("preview"));
      ASSERT_NE(preview, nullptr);
      pages = preview->PageCount();
      firstText = preview->PageText();
      preview->ShowPage(pages - 1);
      lastText = preview->PageText();
      preview->SetZoom(TPreviewZoom::pzFitWidth);
      const QSize wide = preview->ImageSize();
      preview->SetZoom(TPreviewZoom::pzFitHeight);
      EXPECT_NE(wide, preview->ImageSize());
      preview->reject();
    });
    form.PreviewNow();
    form.SetPageRange(1, 5);
    form.SetPageRange(8, 5);  // a start after the end drags the end along
    EXPECT_EQ(form.PageRange().To, 8);
    EXPECT_EQ(form.FirstPage(), -1) << "all pages until a range is chosen";
    form.accept();
  });
  EXPECT_GE(pages, 2);
  EXPECT_EQ(firstText, QStringLiteral("  1 / %1").arg(pages, 3));
  EXPECT_EQ(lastText, QStringLiteral("%1 / %1").arg(pages, 3));
  const std::string ini = testing::ReadBytes(UserFolder() + "Common.ini");
  EXPECT_NE(ini.find("ColumnCount=2"), std::string::npos);
  EXPECT_NE(ini.find("MarginTop=100"), std::string::npos) << "clamped when read";
  EXPECT_NE(ini.find("LineNumberSeparator=:"), std::string::npos) << "every key written back";
}

}  // namespace
}  // namespace vorn
