// TDocumentFileDialog: open, save and rename dialogs with the code list and document filters.
#include "dialogs/DocumentFileDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "dialogs/CodeSelectForm.h"
#include "dialogs/FolderHistoryPopup.h"

namespace vorn {

namespace {

struct TOpenCodeEntry {
  const char* caption;
  int kind;  // -1: automatic detection
};

const TOpenCodeEntry kOpenCodes[] = {
    {"文字コード自動認識", -1}, {"SJIS", ckSjis},           {"JIS(ROMANエンコード(推奨))", ckJis},
    {"JIS(ASCIIエンコード)", ckJisAscii}, {"EUC", ckEuc}, {"UNICODE(LE)", ckUnicodeLE},
    {"UNICODE(BE)", ckUnicodeBE}, {"UTF-8N", ckUtf8N},      {"UTF-8", ckUtf8},
    {"UTF-7", ckUtf7},
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TDocumentFileDialog::TDocumentFileDialog(TKind kind, const QString& givenName, bool offerExtension, QWidget* owner)
    : QFileDialog(owner), kind_(kind) {
  // The code list lives in the dialog's own layout, which a platform dialog does not have.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::HideNameFilterDetails, true);
  const std::string given = givenName.toStdString();
  switch (kind) {
    case TKind::Open: filters_ = OpenDialogFilters(offerExtension, given); break;
    case TKind::Save: filters_ = SaveDialogFilters(offerExtension ? given : std::string()); break;
    case TKind::Rename: filters_ = RenameDialogFilters(); break;
  }
  setAcceptMode(kind == TKind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  setFileMode(kind == TKind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The overwrite question is the document commands' own, with its own text.
  setOption(QFileDialog::DontConfirmOverwrite, true);
  QStringList names;
  for (const TFileFilter& filter : filters_.filters) names << Q(ToolkitNameFilter(filter));
  setNameFilters(names);
  selectNameFilter(names.value(filters_.selected));
  if (!givenName.isEmpty()) {
    const QFileInfo info(givenName);
    setDirectory(info.absolutePath());
    if (kind != TKind::Open) selectFile(info.fileName());
  }
  if (kind == TKind::Open) {
    AddCodeRow(QStringLiteral("文字コード(&C)"));
    for (const auto& e : kOpenCodes) codeBox_->addItem(QString::fromUtf8(e.caption), e.kind);
    codeBox_->setCurrentIndex(0);
  } else if (kind == TKind::Save) {
    AddCodeRow(QStringLiteral("文字コード(&C)"));
    codeBox_->addItem(QStringLiteral("現在の文字コードと改行コードで保存"));
    codeBox_->addItem(QStringLiteral("文字コードと改行を指定して保存"));
    codeBox_->setCurrentIndex(0);
  }
  AddFolderHistoryButton();
}

// Beside the code list, where the dialog's own buttons column is.
void TDocumentFileDialog::AddFolderHistoryButton() {
  folderButton_ = new QPushButton(QStringLiteral("ﾌｫﾙﾀﾞ履歴(&H)"), this);
  folderButton_->setVisible(false);
  connect(folderButton_, &QPushButton::clicked, this, &TDocumentFileDialog::ShowFolderHistory);
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    const int row = codeBox_ ? grid->rowCount() - 1 : grid->rowCount();
    grid->addWidget(folderButton_, row, 2);
  }
}

void TDocumentFileDialog::SetMemory(const TFileDialogMemory& memory) {
  folders_ = memory.folders;
  folderButton_->setVisible(!folders_.empty());
  if (memory.width > 0 && memory.height > 0) resize(memory.width, memory.height);
}

TFileDialogMemory TDocumentFileDialog::Memory() const {
  TFileDialogMemory memory;
  memory.folders = folders_;
  memory.width = width();
  memory.height = height();
  return memory;
}

void TDocumentFileDialog::ShowFolderHistory() {
  if (folders_.empty()) return;
  auto* popup = new TFolderHistoryPopup(folders_, this);
  connect(popup, &TFolderHistoryPopup::Closed, this, [this](const std::vector<bool>& fixed) {
    for (std::size_t i = 0; i < fixed.size() && i < folders_.size(); ++i) folders_[i].fixed = fixed[i];
  });
  connect(popup, &TFolderHistoryPopup::FolderChosen, this,
          [this](const QString& folder) { setDirectory(folder); });
  popup->PopUpBeside(folderButton_);
}

void TDocumentFileDialog::AddCodeRow(const QString& label) {
  codeLabel_ = new QLabel(label, this);
  codeBox_ = new QComboBox(this);
  codeLabel_->setBuddy(codeBox_);
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    const int row = grid->rowCount();
    grid->addWidget(codeLabel_, row, 0);
    grid->addWidget(codeBox_, row, 1);
  }
}

void TDocumentFileDialog::SetFixedCode(std::optional<TCharCodeKind> code) {
  if (!codeBox_ || kind_ != TKind::Open) return;
  const int index = codeBox_->findData(code ? static_cast<int>(*code) : -1);
  codeBox_->setCurrentIndex(index < 0 ? 0 : index);
}

std::optional<TCharCodeKind> TDocumentFileDialog::ChosenCode() const {
  if (!codeBox_ || kind_ != TKind::Open) return std::nullopt;
  const int kind = codeBox_->currentData().toInt();
  if (kind < 0) return std::nullopt;
  return static_cast<TCharCodeKind>(kind);
}

int TDocumentFileDialog::ChosenFilter() const {
  // With the details hidden the toolkit answers the description alone.
  const QString selected = selectedNameFilter();
  const QStringList names = nameFilters();
  for (int i = 0; i < static_cast<int>(filters_.filters.size()); ++i)
    if (names.value(i) == selected || Q(filters_.filters[static_cast<std::size_t>(i)].description) == selected.trimmed())
      return i;
  return 0;
}

QString TDocumentFileDialog::ChosenName() const {
  const QStringList files = selectedFiles();
  if (files.isEmpty()) return {};
  if (kind_ != TKind::Save) return files.first();
  return Q(CompleteSaveName(files.first().toStdString(), filters_, ChosenFilter()));
}

bool TDocumentFileDialog::AskSaveCode(std::optional<TSaveCodeChoice>& choice) {
  choice.reset();
  if (kind_ != TKind::Save || !codeBox_ || codeBox_->currentIndex() != 1) return true;
  TCodeSelectForm form(this);
  form.SetCharCode(current_.charCode);
  form.SetLineBreak(current_.lineBreak);
  form.SetCharCodeFixed(current_.openCodeGiven);
  form.SetLineBreakFixed(current_.lineBreakGiven);
  if (form.exec() != QDialog::Accepted) return false;
  choice = TSaveCodeChoice{form.CharCode(), form.LineBreak(), form.CharCodeFixed(), form.LineBreakFixed()};
  return true;
}

std::optional<TSaveAsRequest> TDocumentFileDialog::AskSaveAs(const QString& documentName,
                                                             const TSaveCodeChoice& current,
                                                             TFileDialogMemory& memory, QWidget* owner) {
  TDocumentFileDialog dialog(TKind::Save, documentName, !documentName.isEmpty(), owner);
  dialog.SetCurrentCode(current);
  dialog.SetMemory(memory);
  const int result = dialog.exec();
  memory = dialog.Memory();
  if (result != QDialog::Accepted) return std::nullopt;
  TSaveAsRequest request;
  request.name = dialog.ChosenName().toStdString();
  if (request.name.empty() || !dialog.AskSaveCode(request.code)) return std::nullopt;
  return request;
}

std::optional<TDocumentFileDialog::TOpenChoice> TDocumentFileDialog::AskOpen(const QString& givenName,
                                                                             bool offerExtension, bool presetName,
                                                                             std::optional<TCharCodeKind> fixedCode,
                                                                             TFileDialogMemory& memory,
                                                                             QWidget* owner) {
  TDocumentFileDialog dialog(TKind::Open, givenName, offerExtension, owner);
  if (presetName && !givenName.isEmpty()) dialog.selectFile(givenName);
  dialog.SetFixedCode(fixedCode);
  dialog.SetMemory(memory);
  const int result = dialog.exec();
  memory = dialog.Memory();
  if (result != QDialog::Accepted) return std::nullopt;
  TOpenChoice choice{dialog.ChosenName(), dialog.ChosenCode()};
  if (choice.name.isEmpty()) return std::nullopt;
  return choice;
}

}  // namespace vorn
