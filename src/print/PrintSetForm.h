// TPrintSetForm: the print settings dialog over a private copy of the settings, with the
// printer's setup, printing and the preview.
#pragma once

#include "print/PrintRun.h"
#include "printcore/PageRange.h"
#include "printcore/StringsPrinter.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vorn {

class TPrintSetForm : public QDialog {
  Q_OBJECT
public:
  // source may be null: then only the settings can be edited.
  TPrintSetForm(const TStringsPrinter& settings, const TPrintSource* source, QWidget* parent);
  ~TPrintSetForm() override;

  const TStringsPrinter& Settings() const { return copy_; }
  QPrinter& Printer() { return *printer_; }
  // -1 for "all pages", else the dialog's from/to page numbers.
  int FirstPage() const;
  int LastPage() const;

  void SetPageRange(int from, int to);
  const TPageRangeBoxes& PageRange() const { return range_; }
  // The buttons' work, callable without clicking.
  bool PrintNow();
  void PreviewNow();

private:
  QWidget* BuildSettings();
  QWidget* BuildPrinterBox();
  void ToCopy();
  void FromCopy();
  void UpdatePrinterLabels();
  void ShowError(const std::string& utf8);
  bool AskPdfFileWhenNeeded();

  TStringsPrinter copy_;
  const TPrintSource* source_;
  std::unique_ptr<QPrinter> printer_;
  TPageRangeBoxes range_;
  QComboBox* fontName_ = nullptr;
  QSpinBox* fontSize_ = nullptr;
  QSpinBox* columns_ = nullptr;
  QSpinBox* columnSpace_ = nullptr;
  QSpinBox* margins_[4] = {};
  QCheckBox* lineNumber_ = nullptr;
  QLineEdit* separator_ = nullptr;
  QLineEdit* header_ = nullptr;
  QLineEdit* footer_ = nullptr;
  QComboBox* headerAlign_ = nullptr;
  QComboBox* footerAlign_ = nullptr;
  QRadioButton* allPages_ = nullptr;
  QRadioButton* somePages_ = nullptr;
  QSpinBox* from_ = nullptr;
  QSpinBox* to_ = nullptr;
  QLabel* printerName_ = nullptr;
  QLabel* orientation_ = nullptr;
  QLabel* paperName_ = nullptr;
};

// Opens the dialog modally on settings; on OK the dialog's settings are assigned back and
// true is returned; the preview's last geometry comes back either way. Without settings it
// does nothing.
bool ExecutePrintSetForm(TStringsPrinter* settings, const TPrintSource* source, QWidget* parent);

}  // namespace vorn
