// TDiffExecForm: the comparison dialog.
#include "dialogs/DiffExecForm.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorn {

TDiffExecForm::TDiffExecForm(const std::vector<TDiffPartnerItem>& partners, const TDiffOptions& options,
                             QWidget* owner)
    : TVornNotHideForm(owner), partners_(partners) {
  setWindowTitle(QStringLiteral("diffの実行"));
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);

  auto* sideGroup = new QGroupBox(QStringLiteral(" 開いているファイルを(&O)... "), this);
  toFileRadio_ = new QRadioButton(QStringLiteral("変更後ファイルとする"), sideGroup);
  fromFileRadio_ = new QRadioButton(QStringLiteral("変更前ファイルとする"), sideGroup);
  toFileRadio_->setObjectName(QStringLiteral("ToFileRadio"));
  fromFileRadio_->setObjectName(QStringLiteral("FromFileRadio"));
  toFileRadio_->setChecked(true);
  auto* sideLayout = new QHBoxLayout(sideGroup);
  sideLayout->addWidget(toFileRadio_);
  sideLayout->addWidget(fromFileRadio_);
  layout->addWidget(sideGroup);

  auto* otherGroup = new QGroupBox(QStringLiteral(" 比較対象ファイル "), this);
  auto* otherLayout = new QVBoxLayout(otherGroup);
  editorRadio_ = new QRadioButton(QStringLiteral("他のエディタで開いているファイル(&A)"), otherGroup);
  editorRadio_->setObjectName(QStringLiteral("EditorRadio"));
  editorList_ = new QListWidget(otherGroup);
  editorList_->setObjectName(QStringLiteral("EditorListBox"));
  for (const TDiffPartnerItem& p : partners_) editorList_->addItem(p.Name);
  extFileRadio_ = new QRadioButton(QStringLiteral("外部ファイル(&E)"), otherGroup);
  extFileRadio_->setObjectName(QStringLiteral("ExtFileRadio"));
  extFileEdit_ = new QLineEdit(otherGroup);
  extFileEdit_->setObjectName(QStringLiteral("ExtFileEdit"));
  refButton_ = new QPushButton(QStringLiteral("参照"), otherGroup);
  sjisConvertCheck_ = new QCheckBox(QStringLiteral("相手先のファイルをSJISに変換して比較(&V)"), otherGroup);
  sjisConvertCheck_->setObjectName(QStringLiteral("SJISConvertCheck"));
  otherLayout->addWidget(editorRadio_);
  otherLayout->addWidget(editorList_, 1);
  otherLayout->addWidget(extFileRadio_);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(extFileEdit_, 1);
  fileRow->addWidget(refButton_);
  otherLayout->addLayout(fileRow);
  otherLayout->addWidget(sjisConvertCheck_);
  layout->addWidget(otherGroup, 1);

  ignoreCase_ = new QCheckBox(QStringLiteral("大文字小文字の違いを無視(&U)"), this);
  ignoreSpaceChange_ = new QCheckBox(QStringLiteral("ホワイトスペースの変更は無視(&S)"), this);
  ignoreAllSpace_ = new QCheckBox(QStringLiteral("ホワイトスペースは無視(&P)"), this);
  ignoreBlankLine_ = new QCheckBox(QStringLiteral("空行は無視(&L)"), this);
  ignoreCase_->setChecked(options.IgnoreCase);
  ignoreSpaceChange_->setChecked(options.IgnoreSpaceChange);
  ignoreAllSpace_->setChecked(options.IgnoreAllSpace);
  ignoreBlankLine_->setChecked(options.IgnoreBlankLine);
  for (QCheckBox* box : {ignoreCase_, ignoreSpaceChange_, ignoreAllSpace_, ignoreBlankLine_}) layout->addWidget(box);

  auto* info = new QLabel(QStringLiteral("diffを実行します。diffが必要です。diffは、GNU diff v.2.5以降を推奨します。"
                                         "現在エディタで行っている変更点を含めて差分情報を解析します"),
                          this);
  info->setWordWrap(true);
  layout->addWidget(info);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("実行(&X)"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(editorRadio_, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
  connect(refButton_, &QPushButton::clicked, this, [this] {
    const QString name = QFileDialog::getOpenFileName(this, QString(), extFileEdit_->text());
    if (!name.isEmpty()) extFileEdit_->setText(name);
  });
  if (partners_.empty()) {
    extFileRadio_->setChecked(true);
    extFileEdit_->setFocus();
  } else {
    editorRadio_->setChecked(true);
    editorList_->setCurrentRow(0);
  }
  UpdateEnabled();
}

void TDiffExecForm::UpdateEnabled() {
  const bool editor = editorRadio_->isChecked();
  editorList_->setEnabled(editor);
  extFileEdit_->setEnabled(!editor);
  refButton_->setEnabled(!editor);
  sjisConvertCheck_->setEnabled(!editor);
}

TDiffRequest TDiffExecForm::Request() const {
  TDiffRequest r;
  r.OwnIsNew = toFileRadio_->isChecked();
  r.FromEditor = editorRadio_->isChecked();
  const int row = editorList_->currentRow();
  if (row >= 0 && row < static_cast<int>(partners_.size())) r.PartnerId = partners_[static_cast<std::size_t>(row)].Id;
  r.ExtFile = extFileEdit_->text().toStdString();
  r.SjisConvert = sjisConvertCheck_->isChecked();
  r.Options = TDiffOptions{ignoreCase_->isChecked(), ignoreSpaceChange_->isChecked(), ignoreAllSpace_->isChecked(),
                           ignoreBlankLine_->isChecked()};
  return r;
}

void TDiffExecForm::accept() {
  if (editorRadio_->isChecked() && editorList_->currentRow() < 0) {
    CenteredMessageDlg(QStringLiteral("比べるファイルが選ばれていません"), mtWarning, mbOK, false, this);
    return;
  }
  if (extFileRadio_->isChecked() && !QFileInfo(extFileEdit_->text()).isFile()) {
    CenteredMessageDlg(QStringLiteral("比べるファイルが存在しません"), mtWarning, mbOK, false, this);
    return;
  }
  QDialog::accept();
}

}  // namespace vorn
