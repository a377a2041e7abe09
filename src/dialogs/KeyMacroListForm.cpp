// TKeyMacroListForm: rows, the name field's matching, and the buttons.
#include "dialogs/KeyMacroListForm.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

#include "platform/Cp932Utf8.h"

namespace vorn {

TKeyMacroListForm::TKeyMacroListForm(TServices services, QWidget* owner)
    : TVornNotHideForm(owner), services_(std::move(services)) {
  setWindowTitle(QStringLiteral("キーマクロ一覧"));
  auto* label = new QLabel(QStringLiteral("マクロ名(&M)"), this);
  name_ = new QLineEdit(this);
  // Names are typed with the keyboard as it is: the input method stays off here.
  name_->setAttribute(Qt::WA_InputMethodEnabled, false);
  label->setBuddy(name_);
  name_->installEventFilter(this);
  list_ = new QTreeWidget(this);
  list_->setColumnCount(3);
  list_->setHeaderLabels({QString(), QStringLiteral("マクロ名"), QStringLiteral("マクロの説明")});
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(true);
  edit_ = new QPushButton(QStringLiteral("マクロの編集(&E)"), this);
  delete_ = new QPushButton(QStringLiteral("削除(&D)"), this);
  auto* help = new QPushButton(QStringLiteral("ヘルプ(&H)"), this);
  auto* side = new QHBoxLayout;
  side->addWidget(edit_);
  side->addWidget(delete_);
  side->addStretch();
  side->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(name_);
  layout->addWidget(list_);
  layout->addLayout(side);
  layout->addWidget(NewOkCancelButtons());
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& t) { NameTyped(t); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] { RowSelected(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
  connect(edit_, &QPushButton::clicked, this, [this] {
    const std::string path = SelectedPath();
    if (path.empty()) return;
    if (services_.editMacro) services_.editMacro(path);
    reject();
  });
  connect(delete_, &QPushButton::clicked, this, [this] { DeleteSelected(); });
  connect(help, &QPushButton::clicked, this, [this] {
    if (services_.showHelp) services_.showHelp();
  });
  Fill();
}

void TKeyMacroListForm::Fill() {
  rows_ = services_.rows ? services_.rows() : std::vector<TMacroListRow>{};
  list_->clear();
  for (const TMacroListRow& row : rows_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, row.Slot > 0 ? QString::number(row.Slot) : QString());
    item->setText(1, QString::fromStdString(row.Name));
    item->setText(2, QString::fromStdString(Cp932ToUtf8(row.Description)));
  }
  RowSelected();
}

void TKeyMacroListForm::SetNameText(const QString& text) {
  name_->setText(text);
  NameTyped(text);
}

void TKeyMacroListForm::NameTyped(const QString& text) {
  const TMacroNameMatch match = MatchMacroName(rows_, text.toStdString());
  typing_ = true;
  list_->clearSelection();
  if (match.Focus >= 0) {
    QTreeWidgetItem* focus = list_->topLevelItem(match.Focus);
    list_->setCurrentItem(focus, 0, QItemSelectionModel::NoUpdate);
    list_->scrollToItem(focus);
  }
  if (match.Selected >= 0) list_->topLevelItem(match.Selected)->setSelected(true);
  typing_ = false;
  UpdateButtons();
}

void TKeyMacroListForm::UpdateButtons() {
  const bool selected = !SelectedPath().empty();
  edit_->setEnabled(selected);
  delete_->setEnabled(selected);
}

// A row the user chose puts its name in the field; one the typing selected leaves the text
// being typed as it is.
void TKeyMacroListForm::RowSelected() {
  UpdateButtons();
  const std::string path = SelectedPath();
  if (typing_ || path.empty()) return;
  const int index = list_->indexOfTopLevelItem(list_->selectedItems().front());
  name_->setText(QString::fromStdString(MacroFieldName(rows_[static_cast<std::size_t>(index)])));
}

std::string TKeyMacroListForm::SelectedPath() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return {};
  const int index = list_->indexOfTopLevelItem(selected.front());
  return index < 0 ? std::string() : rows_[static_cast<std::size_t>(index)].Path;
}

void TKeyMacroListForm::DeleteSelected() {
  const std::string path = SelectedPath();
  if (path.empty()) return;
  const QString question = QString::fromStdString(path) + QStringLiteral("を削除します。よろしいですか");
  if (services_.confirm && !services_.confirm(question)) return;
  std::error_code error;
  if (!std::filesystem::remove(path, error) && services_.warn)
    services_.warn(QString::fromStdString(path + ": " + error.message()));
  Fill();
}

void TKeyMacroListForm::accept() {
  if (SelectedPath().empty()) {
    if (services_.warn) services_.warn(QStringLiteral("マクロがないか、指定されていません"));
    return;
  }
  TVornNotHideForm::accept();
}

bool TKeyMacroListForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == name_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
    list_->setFocus(Qt::OtherFocusReason);
    return true;
  }
  return TVornNotHideForm::eventFilter(watched, event);
}

std::optional<std::string> TKeyMacroListForm::Choose(TServices services, QWidget* owner, QSize& size) {
  TKeyMacroListForm form(std::move(services), owner);
  form.resize(size.isValid() && !size.isEmpty() ? size : QSize(560, 400));
  const bool ok = form.exec() == QDialog::Accepted;
  size = form.size();
  if (!ok) return std::nullopt;
  return form.SelectedPath();
}

}  // namespace vorn
