// TInputDialogForm: the one-line input dialog (caption, label, initial text; OK or Cancel).
#pragma once

#include "qtplatform/VornUtilGui.h"

class QLabel;
class QLineEdit;

namespace vorn {

class TInputDialogForm : public TVornNotHideForm {
  Q_OBJECT
public:
  explicit TInputDialogForm(QWidget* owner = nullptr);

  void SetLabel(const QString& text);
  QString Label() const;
  void SetText(const QString& text);
  QString Text() const;
  QLineEdit* Edit() const { return edit_; }

  // Shows the dialog modally; true and the text on OK, false (text unchanged) on Cancel.
  static bool Execute(QWidget* owner, const QString& caption, const QString& label, QString& text);

protected:
  void showEvent(QShowEvent* event) override;

private:
  QLabel* label_;
  QLineEdit* edit_;
};

}  // namespace vorn
