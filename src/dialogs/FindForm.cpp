// TFindForm: the find and replace dialog, its history and per-type options, the action checks.
#include "dialogs/FindForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/VornError.h"
#include "platform/VornUtil.h"
#include "settings/SjisText.h"
#include "settings/VornMemInifile.h"
#include "syntax/KeyWord.h"

namespace vorn {
namespace {

QString FromSjis(const std::string& sjis) { return QString::fromStdString(Utf8(sjis)); }
std::string ToSjis(const QString& text) { return Sjis(text.toStdString()); }

QComboBox* NewHistoryCombo(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setMinimumContentsLength(36);
  return combo;
}

// Adds text unless the list holds it already, compared without regard to letter case.
void AddUnique(QComboBox* combo, const QString& text) {
  if (text.isEmpty()) return;
  for (int i = 0; i < combo->count(); ++i)
    if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0) return;
  combo->addItem(text);
}

constexpr const char* kFindSection = "Find";

}  // namespace

TFindForm::TFindForm(std::string historyPath, std::string typeIniPath, bool replace, QWidget* owner)
    : TVornNotHideForm(owner),
      historyPath_(std::move(historyPath)),
      typeIniPath_(std::move(typeIniPath)),
      replace_(replace),
      condition_(std::make_unique<TFindKeyWord>()) {
  condition_->SetColorIndex(31);
  BuildControls();
  history_ = LoadFindHistory(historyPath_, historyError_);
  LoadHistoryLists();
  LoadTypeOptions();
  setWindowTitle(replace_ ? QStringLiteral("置換") : QStringLiteral("検索"));
}

TFindForm::~TFindForm() = default;

void TFindForm::BuildControls() {
  findCombo_ = NewHistoryCombo(this);
  auto* findLabel = new QLabel(QStringLiteral("検索語(&S)"), this);
  findLabel->setBuddy(findCombo_);
  replaceCombo_ = NewHistoryCombo(this);
  auto* replaceLabel = new QLabel(QStringLiteral("置換する語(&E)"), this);
  replaceLabel->setBuddy(replaceCombo_);
  caseCheck_ = new QCheckBox(QStringLiteral("大文字/小文字の区別(&C)"), this);
  wordCheck_ = new QCheckBox(QStringLiteral("単語の検索(&W)"), this);
  useJreCheck_ = new QCheckBox(QStringLiteral("正規表現(&R)"), this);
  fuzzCheck_ = new QCheckBox(QStringLiteral("あいまい検索(&F)"), this);
  startHeadCheck_ = new QCheckBox(QStringLiteral("ファイル先頭から(&T)"), this);
  prevButton_ = new QPushButton(QStringLiteral("前回の検索範囲(&P)"), this);
  prevButton_->setEnabled(false);
  upButton_ = new QPushButton(QStringLiteral("上検索(&U)"), this);
  downButton_ = new QPushButton(QStringLiteral("下検索(&L)"), this);
  downButton_->setDefault(true);
  repeatButton_ = new QPushButton(QStringLiteral("連続置換(&Z)"), this);
  allButton_ = new QPushButton(QStringLiteral("全置換(&A)"), this);
  helpButton_ = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
  for (QWidget* w : std::initializer_list<QWidget*>{replaceLabel, replaceCombo_, repeatButton_, allButton_})
    w->setVisible(replace_);

  auto* words = new QGridLayout;
  words->addWidget(findLabel, 0, 0);
  words->addWidget(findCombo_, 0, 1);
  words->addWidget(replaceLabel, 1, 0);
  words->addWidget(replaceCombo_, 1, 1);
  auto* options = new QGridLayout;
  options->addWidget(caseCheck_, 0, 0);
  options->addWidget(wordCheck_, 0, 1);
  options->addWidget(useJreCheck_, 1, 0);
  options->addWidget(fuzzCheck_, 1, 1);
  options->addWidget(startHeadCheck_, 2, 0);
  options->addWidget(prevButton_, 2, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(words);
  left->addLayout(options);
  left->addStretch();
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {upButton_, downButton_, repeatButton_, allButton_, helpButton_, cancelButton_})
    buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  connect(upButton_, &QPushButton::clicked, this, [this] { RunAction(faUp); });
  connect(downButton_, &QPushButton::clicked, this, [this] { RunAction(faDown); });
  connect(repeatButton_, &QPushButton::clicked, this, [this] { RunAction(faRepeatReplace); });
  connect(allButton_, &QPushButton::clicked, this, [this] { RunAction(faReplaceAll); });
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(prevButton_, &QPushButton::clicked, this, [this] { TogglePrevRange(); });
  connect(helpButton_, &QPushButton::clicked, this,
          [this] { ShowHelp(replace_ ? "Find_ReplaceDlg.html" : "Find_FindDlg.html"); });
  // A regular expression is searched with letter case as written unless told otherwise.
  connect(useJreCheck_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) caseCheck_->setChecked(true);
  });
}

// Newest first, each pattern (and each replacement) once.
void TFindForm::LoadHistoryLists() {
  for (auto it = history_.rbegin(); it != history_.rend(); ++it) {
    AddUnique(findCombo_, FromSjis((*it)->Pattern()));
    AddUnique(replaceCombo_, FromSjis((*it)->ReplaceText()));
  }
  findCombo_->setEditText(QString());
  replaceCombo_->setEditText(QString());
}

void TFindForm::LoadTypeOptions() {
  if (typeIniPath_.empty()) return;
  try {
    TVornMemInifile ini(typeIniPath_);
    caseCheck_->setChecked(ini.ReadBool(kFindSection, "Case", caseCheck_->isChecked()));
    wordCheck_->setChecked(ini.ReadBool(kFindSection, "Word", wordCheck_->isChecked()));
    useJreCheck_->setChecked(ini.ReadBool(kFindSection, "UseJre", useJreCheck_->isChecked()));
    fuzzCheck_->setChecked(ini.ReadBool(kFindSection, "Fuzz", fuzzCheck_->isChecked()));
  } catch (const EVornError&) {
    // An unreadable type file leaves the boxes as they are.
  }
}

void TFindForm::SaveTypeOptions() const {
  if (typeIniPath_.empty()) return;
  try {
    TVornMemInifile ini(typeIniPath_);
    ini.WriteBool(kFindSection, "UseJre", useJreCheck_->isChecked());
    ini.WriteBool(kFindSection, "Case", caseCheck_->isChecked());
    ini.WriteBool(kFindSection, "Word", wordCheck_->isChecked());
    ini.WriteBool(kFindSection, "Fuzz", fuzzCheck_->isChecked());
    ini.UpdateFile();
  } catch (const EVornError&) {
    // Options not remembered this time; the search itself is not affected.
  }
}

void TFindForm::FillFrom(const TVornEditKeyword& current) {
  if (current.Pattern().empty()) return;
  condition_->Assign(current);
  if (current.RangeStart() >= 0 || current.RangeEnd() >= 0) {
    prevFirst_ = current.RangeStart() < 0 ? 0 : current.RangeStart();
    prevLast_ = current.RangeEnd() < 0 ? -1 : current.RangeEnd() - 1;
    prevButton_->setEnabled(true);
  }
  findCombo_->setEditText(FromSjis(current.Pattern()));
  useJreCheck_->setChecked(!current.PlainText());
  caseCheck_->setChecked(!current.IgnoreCase());
  wordCheck_->setChecked(current.WholeWord());
  fuzzCheck_->setChecked(current.Fuzzy());
}

void TFindForm::SetSearchWord(const std::string& sjisWord) { findCombo_->setEditText(FromSjis(sjisWord)); }

bool TFindForm::StartHead() const { return startHeadCheck_->isChecked(); }
void TFindForm::SetStartHead(bool on) { startHeadCheck_->setChecked(on); }

void TFindForm::BuildCondition(TFindKeyWord& into) const {
  into.SetPattern(ToSjis(findCombo_->currentText()));
  into.SetReplaceText(replace_ ? ToSjis(replaceCombo_->currentText()) : std::string());
  into.SetIgnoreCase(!caseCheck_->isChecked());
  into.SetWholeWord(wordCheck_->isChecked());
  into.SetPlainText(!useJreCheck_->isChecked());
  into.SetFuzzy(fuzzCheck_->isChecked());
  into.SetReplaceMode(replace_);
  into.SetColorIndex(31);
}

bool TFindForm::RunAction(TAction action) {
  TFindKeyWord trial;
  BuildCondition(trial);
  if (!trial.Compile()) {
    CenteredMessageDlg(FromSjis(InvalidPatternMessage(trial.ErrorMessage())), mtWarning, mbOK, false, this);
    findCombo_->setFocus();
    return false;
  }
  BuildCondition(*condition_);
  condition_->SetRangeStart(-1);
  condition_->SetRangeEnd(-1);
  if (!condition_->Pattern().empty()) {
    auto entry = std::make_unique<TFindKeyWord>();
    entry->Assign(*condition_);
    history_.push_back(std::move(entry));
  }
  action_ = action;
  accept();
  return true;
}

void TFindForm::TogglePrevRange() {
  showingPrev_ = !showingPrev_;
  if (showingPrev_) {
    if (ShowRange) ShowRange(prevFirst_, prevLast_);
    prevButton_->setText(QStringLiteral("元に戻す(&P)"));
  } else {
    if (HideRange) HideRange();
    prevButton_->setText(QStringLiteral("前回の検索範囲(&P)"));
  }
  downButton_->setFocus();
}

void TFindForm::done(int result) {
  SaveFindHistory(historyPath_, history_);
  SaveTypeOptions();
  TVornNotHideForm::done(result);
}

}  // namespace vorn
