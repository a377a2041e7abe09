// TCodeSelectForm: the save-code dialog, choosing the character code and line break for saving
// or converting a document, with the optional fixed-mode boxes.
#include "dialogs/CodeSelectForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vorn {

namespace {

struct TCodeEntry {
  const char* caption;
  TCharCodeKind kind;
};

// The list order is what the user sees; the kinds are the stored numbers.
const TCodeEntry kCodes[] = {
    {"SJIS", ckSjis},          {"JIS(ROMANエンコード)", ckJis},     {"JIS(ASCIIエンコード)", ckJisAscii},
    {"EUC", ckEuc},            {"UNICODE(LE)", ckUnicodeLE},         {"UNICODE(BE)", ckUnicodeBE},
    {"UTF-8N", ckUtf8N},       {"UTF-8(BOM付き)", ckUtf8},           {"UTF-7", ckUtf7},
};

const char* const kLineBreaks[] = {"CR+LF", "CR", "LF"};

}  // namespace

TCodeSelectForm::TCodeSelectForm(QWidget* owner) : TVornNotHideForm(owner) {
  setWindowTitle(QStringLiteral("保存時の文字コードと改行の選択"));
  codeLabel_ = new QLabel(QStringLiteral("文字コード(&C)"), this);
  codeBox_ = new QComboBox(this);
  for (const auto& e : kCodes) codeBox_->addItem(QString::fromUtf8(e.caption), static_cast<int>(e.kind));
  codeBox_->setCurrentIndex(-1);
  codeLabel_->setBuddy(codeBox_);
  lineBreakLabel_ = new QLabel(QStringLiteral("改行コード(&R)"), this);
  lineBreakBox_ = new QComboBox(this);
  for (int i = 0; i < 3; ++i) lineBreakBox_->addItem(QString::fromLatin1(kLineBreaks[i]), i + 1);
  lineBreakBox_->setCurrentIndex(-1);
  lineBreakLabel_->setBuddy(lineBreakBox_);
  codeFixedBox_ = new QCheckBox(QStringLiteral("文字コード固定モードを使用する(&F)"), this);
  lineBreakFixedBox_ = new QCheckBox(QStringLiteral("改行コード固定モードを使用する(&G)"), this);
  codeFixedBox_->setVisible(false);
  lineBreakFixedBox_->setVisible(false);

  auto* grid = new QGridLayout;
  grid->addWidget(codeLabel_, 0, 0);
  grid->addWidget(codeBox_, 0, 1);
  grid->addWidget(lineBreakLabel_, 1, 0);
  grid->addWidget(lineBreakBox_, 1, 1);
  QWidget* buttons = NewOkCancelButtons();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(codeFixedBox_);
  layout->addWidget(lineBreakFixedBox_);
  layout->addWidget(buttons);
}

void TCodeSelectForm::SetCharCode(int kind) {
  if (kind < ckAscii || kind > ckUtf7) return;
  if (kind == ckAscii || kind == ckBinary || kind == ckEucOrSjis) kind = ckSjis;
  codeBox_->setCurrentIndex(codeBox_->findData(kind));
}

TCharCodeKind TCodeSelectForm::CharCode() const {
  if (codeBox_->currentIndex() < 0) return ckSjis;
  return static_cast<TCharCodeKind>(codeBox_->currentData().toInt());
}

void TCodeSelectForm::SetLineBreak(int lineBreak) {
  if (lineBreak < lbCRLF || lineBreak > lbLF) return;
  lineBreakBox_->setCurrentIndex(lineBreak - 1);
}

TLineBreakKind TCodeSelectForm::LineBreak() const {
  const int index = lineBreakBox_->currentIndex();
  return index < 0 ? lbCRLF : static_cast<TLineBreakKind>(index + 1);
}

void TCodeSelectForm::SetCharCodeFixed(bool fixed) {
  codeFixedBox_->setChecked(fixed);
  codeFixedBox_->setVisible(true);
}

bool TCodeSelectForm::CharCodeFixed() const { return codeFixedBox_->isChecked(); }

void TCodeSelectForm::SetLineBreakFixed(bool fixed) {
  lineBreakFixedBox_->setChecked(fixed);
  lineBreakFixedBox_->setVisible(true);
}

bool TCodeSelectForm::LineBreakFixed() const { return lineBreakFixedBox_->isChecked(); }

void TCodeSelectForm::SetLineBreakRowVisible(bool visible) {
  lineBreakLabel_->setVisible(visible);
  lineBreakBox_->setVisible(visible);
}

void TCodeSelectForm::SetCodeLabel(const QString& text) { codeLabel_->setText(text); }

}  // namespace vorn
