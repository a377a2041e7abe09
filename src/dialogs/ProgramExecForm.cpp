// TProgramExecForm: the run-program dialog.
#include "dialogs/ProgramExecForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vorn {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QComboBox* HistoryCombo(const std::vector<std::string>& history, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& entry : history) combo->addItem(Q(entry));
  combo->setMinimumWidth(360);
  return combo;
}

}  // namespace

TProgramExecForm::TProgramExecForm(const TProgramExecState& state, const QString& presetProgram, QWidget* owner)
    : TVornNotHideForm(owner) {
  setWindowTitle(QStringLiteral("プログラムの実行"));
  auto* layout = new QVBoxLayout(this);

  layout->addWidget(new QLabel(QStringLiteral("プログラム名を指定してください(&P)"), this));
  programCombo_ = HistoryCombo(state.Programs, this);
  programCombo_->setObjectName(QStringLiteral("ProgramCombo"));
  if (!presetProgram.isEmpty()) programCombo_->setEditText(presetProgram);
  auto* browse = new QPushButton(QStringLiteral("..."), this);
  auto* programRow = new QHBoxLayout;
  programRow->addWidget(programCombo_, 1);
  programRow->addWidget(browse);
  layout->addLayout(programRow);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString name = QFileDialog::getOpenFileName(this);
    if (!name.isEmpty()) programCombo_->setEditText(name);
  });

  layout->addWidget(new QLabel(QStringLiteral("オプション(&O)"), this));
  optionCombo_ = HistoryCombo(state.Options, this);
  optionCombo_->setObjectName(QStringLiteral("OptionCombo"));
  optionCombo_->setToolTip(QStringLiteral("開いているファイル名－%F"));
  layout->addWidget(optionCombo_);

  consoleCheck_ = new QCheckBox(QStringLiteral("コンソールモード(&C)"), this);
  consoleCheck_->setObjectName(QStringLiteral("ConsoleCheck"));
  consoleCheck_->setChecked(state.Console);
  layout->addWidget(consoleCheck_);

  auto* groups = new QHBoxLayout;
  inputGroup_ = new QGroupBox(QStringLiteral(" 標準入力(&I) "), this);
  auto* inputLayout = new QVBoxLayout(inputGroup_);
  const QString inputs[] = {QStringLiteral("なし"), QStringLiteral("選択範囲"), QStringLiteral("全文書")};
  for (int i = 0; i < 3; ++i) {
    input_[i] = new QRadioButton(inputs[i], inputGroup_);
    input_[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
    inputLayout->addWidget(input_[i]);
  }
  input_[state.Input]->setChecked(true);
  outputGroup_ = new QGroupBox(QStringLiteral(" 標準出力(&O) "), this);
  auto* outputLayout = new QVBoxLayout(outputGroup_);
  const QString outputs[] = {QStringLiteral("なし"), QStringLiteral("選択範囲を置き換える"),
                             QStringLiteral("全文書を置き換える"), QStringLiteral("文書の最後に追記"),
                             QStringLiteral("新たなエディタを開く")};
  for (int i = 0; i < 5; ++i) {
    output_[i] = new QRadioButton(outputs[i], outputGroup_);
    output_[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 4));
    outputLayout->addWidget(output_[i]);
  }
  output_[state.Output]->setChecked(true);
  groups->addWidget(inputGroup_);
  groups->addWidget(outputGroup_);
  layout->addLayout(groups);

  showPromptCheck_ = new QCheckBox(QStringLiteral("DOSプロンプトの表示(&D)"), this);
  showPromptCheck_->setObjectName(QStringLiteral("ShowPromptCheck"));
  showPromptCheck_->setChecked(state.ShowPrompt);
  layout->addWidget(showPromptCheck_);

  waitGroup_ = new QGroupBox(QStringLiteral(" VornEditorがプログラム終了を待つ時間(&W) "), this);
  auto* waitLayout = new QHBoxLayout(waitGroup_);
  infiniteWait_ = new QRadioButton(QStringLiteral("無限に待つ"), waitGroup_);
  infiniteWait_->setObjectName(QStringLiteral("InfinitWaitRadio"));
  timedWait_ = new QRadioButton(QStringLiteral("時間指定"), waitGroup_);
  timedWait_->setObjectName(QStringLiteral("WaitTimeRadio"));
  seconds_ = new QSpinBox(waitGroup_);
  seconds_->setRange(0, 32767);
  seconds_->setValue(state.WaitSeconds < 0 ? 10 : state.WaitSeconds);
  (state.WaitSeconds < 0 ? infiniteWait_ : timedWait_)->setChecked(true);
  waitLayout->addWidget(infiniteWait_);
  waitLayout->addWidget(timedWait_);
  waitLayout->addWidget(seconds_);
  waitLayout->addWidget(new QLabel(QStringLiteral("秒"), waitGroup_));
  layout->addWidget(waitGroup_);

  layout->addWidget(new QLabel(QStringLiteral("スクリプトパス(&T)"), this));
  pathEdit_ = new QLineEdit(Q(state.ScriptPath), this);
  pathEdit_->setObjectName(QStringLiteral("PathEdit"));
  layout->addWidget(pathEdit_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(consoleCheck_, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
  connect(timedWait_, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
  programCombo_->setFocus();
  programCombo_->lineEdit()->selectAll();
}

void TProgramExecForm::UpdateEnabled() {
  const bool console = consoleCheck_->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(inputGroup_), static_cast<QWidget*>(outputGroup_),
                     static_cast<QWidget*>(showPromptCheck_), static_cast<QWidget*>(waitGroup_),
                     static_cast<QWidget*>(pathEdit_)})
    w->setEnabled(console);
  optionCombo_->setEnabled(!console);
  seconds_->setEnabled(console && timedWait_->isChecked());
}

TProgramExecRequest TProgramExecForm::Request() const {
  TProgramExecRequest r;
  r.Program = programCombo_->currentText().toStdString();
  r.Options = optionCombo_->currentText().toStdString();
  TProgramExecState& s = r.Settings;
  s.Console = consoleCheck_->isChecked();
  for (int i = 0; i < 3; ++i)
    if (input_[i]->isChecked()) s.Input = static_cast<TProgramInput>(i);
  for (int i = 0; i < 5; ++i)
    if (output_[i]->isChecked()) s.Output = static_cast<TProgramOutput>(i);
  s.ShowPrompt = showPromptCheck_->isChecked();
  s.WaitSeconds = infiniteWait_->isChecked() ? -1 : seconds_->value();
  s.ScriptPath = pathEdit_->text().toStdString();
  return r;
}

}  // namespace vorn
