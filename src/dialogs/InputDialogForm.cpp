// TInputDialogForm: the one-line input dialog (caption, label, initial text; OK or Cancel).
#include "dialogs/InputDialogForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vorn {

TInputDialogForm::TInputDialogForm(QWidget* owner) : TVornNotHideForm(owner) {
  label_ = new QLabel(this);
  edit_ = new QLineEdit(this);
  label_->setBuddy(edit_);
  QWidget* buttons = NewOkCancelButtons();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addWidget(edit_);
  layout->addWidget(buttons);
}

void TInputDialogForm::SetLabel(const QString& text) { label_->setText(text); }
QString TInputDialogForm::Label() const { return label_->text(); }
void TInputDialogForm::SetText(const QString& text) { edit_->setText(text); }
QString TInputDialogForm::Text() const { return edit_->text(); }

void TInputDialogForm::showEvent(QShowEvent* event) {
  TVornNotHideForm::showEvent(event);
  edit_->setFocus(Qt::OtherFocusReason);
  edit_->selectAll();
}

bool TInputDialogForm::Execute(QWidget* owner, const QString& caption, const QString& label, QString& text) {
  TInputDialogForm form(owner);
  form.setWindowTitle(caption);
  form.SetLabel(label);
  form.SetText(text);
  if (form.exec() != QDialog::Accepted) return false;
  text = form.Text();
  return true;
}

}  // namespace vorn
