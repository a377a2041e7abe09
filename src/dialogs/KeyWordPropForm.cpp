// The keyword and comment-set dialogs and their checks.
#include "dialogs/KeyWordPropForm.h"

#include "settings/ColorSet.h"
#include "settings/SjisText.h"
#include "shellcore/ExtSetRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vorn {
namespace {

QString FromSjis(const std::string& s) { return QString::fromStdString(Utf8(s)); }
std::string ToSjis(const QString& s) { return Sjis(s.toStdString()); }

TPatternBoxes NewBoxes(QWidget* parent, const QString& caseCaption) {
  TPatternBoxes b;
  b.Pattern = new QLineEdit(parent);
  b.Case = new QCheckBox(caseCaption, parent);
  b.Word = new QCheckBox(QStringLiteral("単語の検索(&W)"), parent);
  b.RegExp = new QCheckBox(QStringLiteral("正規表現(&R)"), parent);
  b.Fuzzy = new QCheckBox(QStringLiteral("あいまい検索(&F)"), parent);
  QCheckBox* caseBox = b.Case;
  QObject::connect(b.RegExp, &QCheckBox::toggled, parent, [caseBox](bool on) {
    if (on) caseBox->setChecked(true);
  });
  return b;
}

QVBoxLayout* BoxesLayout(const TPatternBoxes& b) {
  auto* v = new QVBoxLayout;
  v->addWidget(b.Pattern);
  auto* row = new QHBoxLayout;
  for (QCheckBox* c : {b.Case, b.Word, b.RegExp, b.Fuzzy}) row->addWidget(c);
  v->addLayout(row);
  return v;
}

// The pattern compiled as the editor will compile it; empty when it compiles.
std::string TrialCompile(const TPatternBoxes& b) {
  TKeyWord trial;
  b.Store(trial);
  if (trial.Compile()) return {};
  return trial.ErrorMessage();
}

}  // namespace

void TPatternBoxes::Show(const TBregexpObj& k) {
  Pattern->setText(FromSjis(k.Pattern()));
  RegExp->setChecked(!k.PlainText());
  Case->setChecked(!k.IgnoreCase());
  Word->setChecked(k.WholeWord());
  Fuzzy->setChecked(k.Fuzzy());
}

void TPatternBoxes::Store(TBregexpObj& k) const {
  k.SetPattern(ToSjis(Pattern->text()));
  k.SetIgnoreCase(!Case->isChecked());
  k.SetWholeWord(Word->isChecked());
  k.SetPlainText(!RegExp->isChecked());
  k.SetFuzzy(Fuzzy->isChecked());
}

QComboBox* NewColorCombo(const TVornEditColors& colors, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  for (int entry : ColorComboOrder()) combo->addItem(FromSjis(colors[entry].Name()), entry);
  return combo;
}

TKeyWordPropForm::TKeyWordPropForm(const TVornEditColors* colors, QWidget* owner)
    : TVornNotHideForm(owner), keyword_(std::make_unique<TKeyWord>()) {
  setWindowTitle(QStringLiteral("キーワードのプロパティ"));
  boxes_ = NewBoxes(this, QStringLiteral("大文字小文字の区別(&C)"));
  auto* label = new QLabel(QStringLiteral("キーワード(&K)"), this);
  label->setBuddy(boxes_.Pattern);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addLayout(BoxesLayout(boxes_));
  if (colors) {
    colorCombo_ = NewColorCombo(*colors, this);
    colorCombo_->setCurrentIndex(ComboIndexOfEntry(17));
    auto* colorLabel = new QLabel(QStringLiteral("色指定(&D)"), this);
    colorLabel->setBuddy(colorCombo_);
    groupCheck_ = new QCheckBox(QStringLiteral("個目のグループにのみ色づけ(&B)"), this);
    groupNumber_ = new QSpinBox(this);
    groupNumber_->setRange(1, 7);
    auto* row = new QHBoxLayout;
    row->addWidget(colorLabel);
    row->addWidget(colorCombo_, 1);
    row->addWidget(groupNumber_);
    row->addWidget(groupCheck_);
    layout->addLayout(row);
    connect(groupCheck_, &QCheckBox::toggled, this, [this] { UpdateGroup(); });
    connect(boxes_.RegExp, &QCheckBox::toggled, this, [this] { UpdateGroup(); });
    UpdateGroup();
  }
  layout->addWidget(NewOkCancelButtons());
}

TKeyWordPropForm::~TKeyWordPropForm() = default;

void TKeyWordPropForm::UpdateGroup() {
  if (!groupCheck_) return;
  const bool regexp = boxes_.RegExp->isChecked();
  if (!regexp) groupCheck_->setChecked(false);
  groupCheck_->setEnabled(regexp);
  groupNumber_->setEnabled(groupCheck_->isChecked());
}

void TKeyWordPropForm::SetKeyWord(const TKeyWord& k) {
  keyword_->Assign(k);
  boxes_.Show(k);
  if (colorCombo_) {
    const int at = ComboIndexOfEntry(k.ColorIndex());
    colorCombo_->setCurrentIndex(at);
    groupCheck_->setChecked(k.HighlightGroup() > 0 && !k.PlainText());
    if (k.HighlightGroup() > 0) groupNumber_->setValue(k.HighlightGroup());
  }
  UpdateGroup();
}

void TKeyWordPropForm::SetRegExpOnly() {
  boxes_.RegExp->setChecked(true);
  boxes_.RegExp->setEnabled(false);
  boxes_.Word->setChecked(false);
  boxes_.Word->setEnabled(false);
}

void TKeyWordPropForm::accept() {
  if (!allowEmpty_ && boxes_.Pattern->text().isEmpty()) {
    CenteredMessageDlg(QStringLiteral("キーワードを指定してください"), mtWarning, mbOK, false, this);
    boxes_.Pattern->setFocus();
    return;
  }
  if (!boxes_.Pattern->text().isEmpty()) {
    const std::string error = TrialCompile(boxes_);
    if (!error.empty()) {
      CenteredMessageDlg(QStringLiteral("検索条件の指定が正しくありません。\r\n「") + FromSjis(error) +
                             QStringLiteral("」"),
                         mtWarning, mbOK, false, this);
      boxes_.Pattern->setFocus();
      return;
    }
  }
  boxes_.Store(*keyword_);
  keyword_->SetColorIndex(colorCombo_ ? EntryOfComboIndex(colorCombo_->currentIndex()) : -1);
  keyword_->SetHighlightGroup(groupCheck_ && groupCheck_->isChecked() ? groupNumber_->value() : 0);
  TVornNotHideForm::accept();
}

TBracketPropForm::TBracketPropForm(const TVornEditColors& colors, QWidget* owner) : TVornNotHideForm(owner) {
  setWindowTitle(QStringLiteral("コメントセット文字列のプロパティ"));
  left_ = NewBoxes(this, QStringLiteral("大文字/小文字の区別(&C)"));
  right_ = NewBoxes(this, QStringLiteral("大文字/小文字の区別(&A)"));
  escape_ = new QLineEdit(this);
  escape_->setMaximumWidth(40);
  connect(escape_, &QLineEdit::textEdited, this, [this](const QString& t) {
    const std::string kept = KeepLastByte(ToSjis(t));
    if (kept != ToSjis(t)) escape_->setText(FromSjis(kept));
  });
  count_ = new QSpinBox(this);
  count_->setRange(1, 15);
  lineOnly_ = new QCheckBox(QStringLiteral("１物理行内のみで作用する(&J)"), this);
  colorCombo_ = NewColorCombo(colors, this);
  connect(count_, &QSpinBox::valueChanged, this, [this] { UpdateLineOnly(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("右と左の文字で囲まれた文字列をコメントとして認識します。"), this));
  auto* leftGroup = new QGroupBox(QStringLiteral(" 左側 "), this);
  leftGroup->setLayout(BoxesLayout(left_));
  auto* rightGroup = new QGroupBox(QStringLiteral(" 右側 "), this);
  QVBoxLayout* rightLayout = BoxesLayout(right_);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("エスケープ文字(&S)"), escape_);
  form->addRow(QStringLiteral("右側が何回出現でコメントを閉じる?(&N)"), count_);
  rightLayout->addLayout(form);
  rightGroup->setLayout(rightLayout);
  layout->addWidget(leftGroup);
  layout->addWidget(rightGroup);
  layout->addWidget(lineOnly_);
  auto* colorRow = new QFormLayout;
  colorRow->addRow(QStringLiteral("色指定(&K)"), colorCombo_);
  layout->addLayout(colorRow);
  layout->addWidget(NewOkCancelButtons());
  SetColorEntry(5);
}

TBracketPropForm::~TBracketPropForm() = default;

void TBracketPropForm::SetColorEntry(int entry) { colorCombo_->setCurrentIndex(ComboIndexOfEntry(entry)); }

void TBracketPropForm::UpdateLineOnly() {
  if (count_->value() >= 2) lineOnly_->setChecked(true);
  lineOnly_->setEnabled(count_->value() < 2);
}

void TBracketPropForm::SetBracket(const TBracket& b) {
  left_.Show(b.LeftBracket());
  right_.Show(b.RightBracket());
  escape_->setText(FromSjis(b.RightBracketEscapeChar()));
  count_->setValue(b.RightBracketCount());
  lineOnly_->setChecked(b.LineOnly());
  SetColorEntry(b.ColorIndex());
  UpdateLineOnly();
}

void TBracketPropForm::StoreInto(TBracket& target) const {
  left_.Store(target.LeftBracket());
  right_.Store(target.RightBracket());
  target.SetRightBracketEscapeChar(ToSjis(escape_->text()));
  target.SetRightBracketCount(count_->value());
  target.SetLineOnly(lineOnly_->isChecked());
  target.SetColorIndex(EntryOfComboIndex(colorCombo_->currentIndex()));
}

void TBracketPropForm::accept() {
  auto refuse = [this](const QString& message, QLineEdit* field) {
    CenteredMessageDlg(message, mtWarning, mbOK, false, this);
    field->setFocus();
  };
  if (left_.Pattern->text().isEmpty()) return refuse(QStringLiteral("左の文字列を設定してください"), left_.Pattern);
  if (right_.Pattern->text().isEmpty()) return refuse(QStringLiteral("右の文字列を設定してください"), right_.Pattern);
  const std::string leftError = TrialCompile(left_);
  if (!leftError.empty())
    return refuse(QStringLiteral("左の文字列が不正です。「") + FromSjis(leftError) + QStringLiteral("」"), left_.Pattern);
  const std::string rightError = TrialCompile(right_);
  if (!rightError.empty())
    return refuse(QStringLiteral("右の文字列が不正です。「") + FromSjis(rightError) + QStringLiteral("」"),
                  right_.Pattern);
  TVornNotHideForm::accept();
}

}  // namespace vorn
