// The macro save dialog and the description box.
#include "dialogs/MacroFileDialogs.h"

#include <QFileDialog>
#include <QLineEdit>

#include "dialogs/InputDialogForm.h"
#include "encoding/jconvert.h"

namespace vorn {

std::optional<std::string> AskMacroSaveName(QWidget* owner, const std::string& folder) {
  QFileDialog dialog(owner, QStringLiteral("記録の保存"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDirectory(QString::fromStdString(folder));
  dialog.setNameFilter(QStringLiteral("マクロファイル(*.mac)"));
  dialog.setDefaultSuffix(QStringLiteral("mac"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::string AskMacroDescription(QWidget* owner, const std::string& current) {
  TInputDialogForm form(owner);
  form.setWindowTitle(QStringLiteral("マクロの説明の入力"));
  form.SetLabel(QStringLiteral("マクロの説明(&N)"));
  form.SetText(QString::fromStdString(ConvertCharCode(current, ckSjis, ckUtf8N)));
  form.exec();
  return ConvertCharCode(form.Text().toStdString(), ckUtf8N, ckSjis);
}

}  // namespace vorn
