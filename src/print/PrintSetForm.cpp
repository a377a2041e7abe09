// TPrintSetForm: font, columns, margins, numbers, header and footer, page range and printer.
#include "print/PrintSetForm.h"

#include "platform/cp932.h"
#include "print/PreviewForm.h"
#include "print/PrinterInfo.h"
#include "printcore/PageRange.h"
#include "qtplatform/VornUtilGui.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vorn {
namespace {

QString FromSjis(const std::string& s) { return QString::fromStdU16String(Cp932ToUtf16(s)); }
std::string ToSjis(const QString& s) { return Utf16ToCp932(s.toStdU16String()); }

QSpinBox* SpinBox(QWidget* parent, int low, int high) {
  auto* box = new QSpinBox(parent);
  box->setRange(low, high);
  return box;
}

QComboBox* AlignBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->addItems({QStringLiteral("なし"), QStringLiteral("左"), QStringLiteral("中央"), QStringLiteral("右")});
  return box;
}

}  // namespace

TPrintSetForm::TPrintSetForm(const TStringsPrinter& settings, const TPrintSource* source, QWidget* parent)
    : QDialog(parent), source_(source), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  copy_.Assign(settings);
  setWindowTitle(QStringLiteral("印刷"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildPrinterBox());
  layout->addWidget(BuildSettings());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* print = buttons->addButton(QStringLiteral("印刷(&P)"), QDialogButtonBox::ActionRole);
  auto* preview = buttons->addButton(QStringLiteral("プレビュー(&V)"), QDialogButtonBox::ActionRole);
  print->setObjectName(QStringLiteral("print"));
  preview->setObjectName(QStringLiteral("preview"));
  print->setEnabled(source_ != nullptr);
  preview->setEnabled(source_ != nullptr);
  connect(print, &QPushButton::clicked, this, [this] {
    if (PrintNow()) accept();
  });
  connect(preview, &QPushButton::clicked, this, [this] { PreviewNow(); });
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    ToCopy();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  FromCopy();
  UpdatePrinterLabels();
}

TPrintSetForm::~TPrintSetForm() = default;

QWidget* TPrintSetForm::BuildPrinterBox() {
  auto* box = new QGroupBox(QStringLiteral("プリンタ"), this);
  auto* form = new QFormLayout(box);
  printerName_ = new QLabel(box);
  orientation_ = new QLabel(box);
  paperName_ = new QLabel(box);
  auto* setup = new QPushButton(QStringLiteral("プリンタの設定(&R)..."), box);
  setup->setObjectName(QStringLiteral("setup"));
  connect(setup, &QPushButton::clicked, this, [this] {
    QPrintDialog dialog(printer_.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.exec();
    UpdatePrinterLabels();
  });
  for (QWidget* w : {static_cast<QWidget*>(printerName_), static_cast<QWidget*>(orientation_),
                     static_cast<QWidget*>(paperName_), static_cast<QWidget*>(setup)})
    w->setEnabled(source_ != nullptr);
  form->addRow(QStringLiteral("名前:"), printerName_);
  form->addRow(QStringLiteral("向き:"), orientation_);
  form->addRow(QStringLiteral("用紙:"), paperName_);
  form->addRow(setup);
  return box;
}

QWidget* TPrintSetForm::BuildSettings() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  fontName_ = new QComboBox(box);
  fontName_->setEditable(true);
  for (const QString& family : QFontDatabase::families())
    if (!family.startsWith(QLatin1Char('@'))) fontName_->addItem(family);
  fontSize_ = SpinBox(box, 6, 30);
  auto* font = new QHBoxLayout;
  font->addWidget(fontName_, 1);
  font->addWidget(fontSize_);
  form->addRow(QStringLiteral("フォント:"), font);
  columns_ = SpinBox(box, 1, TStringsPrinter::kMaxColumns);
  columnSpace_ = SpinBox(box, 0, TStringsPrinter::kMaxMillimetres);
  auto* cols = new QHBoxLayout;
  cols->addWidget(columns_);
  cols->addWidget(new QLabel(QStringLiteral("段の間隔 (mm):"), box));
  cols->addWidget(columnSpace_);
  form->addRow(QStringLiteral("段数:"), cols);
  auto* margins = new QHBoxLayout;
  const QString names[4] = {QStringLiteral("左"), QStringLiteral("右"), QStringLiteral("上"), QStringLiteral("下")};
  for (int i = 0; i < 4; ++i) {
    margins_[i] = SpinBox(box, 0, TStringsPrinter::kMaxMillimetres);
    margins->addWidget(new QLabel(names[i], box));
    margins->addWidget(margins_[i]);
  }
  form->addRow(QStringLiteral("余白 (mm):"), margins);
  lineNumber_ = new QCheckBox(QStringLiteral("行番号を印刷する"), box);
  separator_ = new QLineEdit(box);
  auto* numbers = new QHBoxLayout;
  numbers->addWidget(lineNumber_);
  numbers->addWidget(new QLabel(QStringLiteral("区切り:"), box));
  numbers->addWidget(separator_);
  form->addRow(numbers);
  header_ = new QLineEdit(box);
  headerAlign_ = AlignBox(box);
  footer_ = new QLineEdit(box);
  footerAlign_ = AlignBox(box);
  auto* header = new QHBoxLayout;
  header->addWidget(header_, 1);
  header->addWidget(headerAlign_);
  auto* footer = new QHBoxLayout;
  footer->addWidget(footer_, 1);
  footer->addWidget(footerAlign_);
  form->addRow(QStringLiteral("ヘッダ:"), header);
  form->addRow(QStringLiteral("フッタ:"), footer);
  form->addRow(new QLabel(QStringLiteral("%p ページ  %f ファイル名  %F パスなしのファイル名  %y 年  %m 月  %d 日  %t 時刻"), box));
  allPages_ = new QRadioButton(QStringLiteral("すべて"), box);
  somePages_ = new QRadioButton(QStringLiteral("ページ指定"), box);
  allPages_->setChecked(true);
  from_ = SpinBox(box, TPageRangeBoxes::kMin, TPageRangeBoxes::kMax);
  to_ = SpinBox(box, TPageRangeBoxes::kMin, TPageRangeBoxes::kMax);
  from_->setValue(range_.From);
  to_->setValue(range_.To);
  connect(from_, &QSpinBox::valueChanged, this, [this](int v) { SetPageRange(v, range_.To); });
  connect(to_, &QSpinBox::valueChanged, this, [this](int v) { SetPageRange(range_.From, v); });
  auto* range = new QHBoxLayout;
  range->addWidget(allPages_);
  range->addWidget(somePages_);
  range->addWidget(from_);
  range->addWidget(new QLabel(QStringLiteral("～"), box));
  range->addWidget(to_);
  form->addRow(QStringLiteral("印刷範囲:"), range);
  return box;
}

void TPrintSetForm::SetPageRange(int from, int to) {
  // Each box drags the other only when it is the one that changed.
  const int oldTo = range_.To;
  if (from != range_.From) range_.SetFrom(from);
  if (to != oldTo) range_.SetTo(to);
  const QSignalBlocker a(from_), b(to_);
  from_->setValue(range_.From);
  to_->setValue(range_.To);
}

int TPrintSetForm::FirstPage() const { return somePages_->isChecked() ? range_.From : -1; }
int TPrintSetForm::LastPage() const { return somePages_->isChecked() ? range_.To : -1; }

void TPrintSetForm::FromCopy() {
  fontName_->setCurrentText(FromSjis(copy_.FontName()));
  fontSize_->setValue(copy_.FontSize());
  columns_->setValue(copy_.ColumnCount());
  columnSpace_->setValue(copy_.ColumnSpace());
  margins_[0]->setValue(copy_.MarginLeft());
  margins_[1]->setValue(copy_.MarginRight());
  margins_[2]->setValue(copy_.MarginTop());
  margins_[3]->setValue(copy_.MarginBottom());
  lineNumber_->setChecked(copy_.LineNumber());
  separator_->setText(FromSjis(copy_.LineNumberSeparator()));
  header_->setText(FromSjis(copy_.Header()));
  footer_->setText(FromSjis(copy_.Footer()));
  headerAlign_->setCurrentIndex(copy_.HeaderAlign());
  footerAlign_->setCurrentIndex(copy_.FooterAlign());
}

void TPrintSetForm::ToCopy() {
  copy_.BeginUpdate();
  copy_.SetFontName(ToSjis(fontName_->currentText()));
  copy_.SetFontSize(fontSize_->value());
  copy_.SetColumnCount(columns_->value());
  copy_.SetColumnSpace(columnSpace_->value());
  copy_.SetMarginLeft(margins_[0]->value());
  copy_.SetMarginRight(margins_[1]->value());
  copy_.SetMarginTop(margins_[2]->value());
  copy_.SetMarginBottom(margins_[3]->value());
  copy_.SetLineNumber(lineNumber_->isChecked());
  copy_.SetLineNumberSeparator(ToSjis(separator_->text()));
  copy_.SetHeader(ToSjis(header_->text()));
  copy_.SetFooter(ToSjis(footer_->text()));
  copy_.SetHeaderAlign(static_cast<TStringsPrinterHeaderAlign>(headerAlign_->currentIndex()));
  copy_.SetFooterAlign(static_cast<TStringsPrinterHeaderAlign>(footerAlign_->currentIndex()));
  copy_.EndUpdate();
}

void TPrintSetForm::UpdatePrinterLabels() {
  const TStringsPrinterInfo info(*printer_);
  printerName_->setText(info.PrinterName());
  orientation_->setText(info.OrientationName());
  paperName_->setText(QString::fromStdString(info.PaperName()));
}

void TPrintSetForm::ShowError(const std::string& utf8) {
  CenteredMessageDlg(QString::fromStdString(utf8), mtError, mbOK, false, this);
}

// Without a printer Qt prints to PDF, which needs a file: asked for here rather than failing.
bool TPrintSetForm::AskPdfFileWhenNeeded() {
  if (printer_->outputFormat() != QPrinter::PdfFormat || !printer_->outputFileName().isEmpty()) return true;
  const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("PDF に印刷"), QString(),
                                                    QStringLiteral("PDF (*.pdf)"));
  if (name.isEmpty()) return false;
  printer_->setOutputFileName(name);
  UpdatePrinterLabels();
  return true;
}

bool TPrintSetForm::PrintNow() {
  if (!source_) return false;
  ToCopy();
  if (!AskPdfFileWhenNeeded()) return false;
  std::string error;
  const bool printed = PrintLines(copy_, *printer_, *source_, FirstPage(), LastPage(), this, error);
  if (!error.empty()) ShowError(error);
  return printed;
}

void TPrintSetForm::PreviewNow() {
  if (!source_) return;
  ToCopy();
  TPrintPages pages;
  std::string error;
  const TRenderResult result =
      RenderPages(copy_, *printer_, *source_, QStringLiteral("プレビューを作成中"), this, pages, error);
  if (result == TRenderResult::rrNoRoom) ShowError(error);
  if (result != TRenderResult::rrDone) return;
  const TPageSpan span = PreviewSpan(FirstPage(), LastPage(), pages.Count());
  if (span.Empty()) {
    ShowError("表示するページがありません");
    return;
  }
  pages.Plans.erase(pages.Plans.begin() + span.Last + 1, pages.Plans.end());
  pages.Plans.erase(pages.Plans.begin(), pages.Plans.begin() + span.First);
  TPrintPreviewForm preview(std::move(pages), copy_, this);
  preview.setObjectName(QStringLiteral("preview"));
  preview.exec();
}

bool ExecutePrintSetForm(TStringsPrinter* settings, const TPrintSource* source, QWidget* parent) {
  if (!settings) return false;
  TPrintSetForm form(*settings, source, parent);
  const bool ok = form.exec() == QDialog::Accepted;
  if (ok) {
    settings->Assign(form.Settings());
    return true;
  }
  // Where the preview was is no setting of the dialog: it is kept when the dialog is cancelled.
  const TStringsPrinter& shown = form.Settings();
  settings->BeginUpdate();
  settings->SetPVLeft(shown.PVLeft());
  settings->SetPVTop(shown.PVTop());
  settings->SetPVWidth(shown.PVWidth());
  settings->SetPVHeight(shown.PVHeight());
  settings->SetPVMaximized(shown.PVMaximized());
  settings->EndUpdate();
  return false;
}

}  // namespace vorn
