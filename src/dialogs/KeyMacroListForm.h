// TKeyMacroListForm: the macro list ("キーマクロ一覧"): the macro files of the program's and the
// file type's macro folders with their slots and descriptions, a name field that finds a row
// as the user types, and editing or deleting a file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "macro/MacroLibrary.h"
#include "qtplatform/VornUtilGui.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vorn {

class TKeyMacroListForm : public TVornNotHideForm {
  Q_OBJECT
public:
  // What the form does beyond itself; each may be left empty in a test.
  struct TServices {
    std::function<std::vector<TMacroListRow>()> rows;         // read again after a delete
    std::function<void(const std::string& path)> editMacro;   // a new editor on the file
    std::function<void()> showHelp;
    std::function<bool(const QString& question)> confirm;     // OK / Cancel
    std::function<void(const QString& text)> warn;
  };

  explicit TKeyMacroListForm(TServices services, QWidget* owner = nullptr);

  // The name field's text, handled as typing it is.
  void SetNameText(const QString& text);
  QLineEdit* NameField() const { return name_; }
  QTreeWidget* List() const { return list_; }
  // The selected row's file; empty when no row is selected.
  std::string SelectedPath() const;

  // Shows the form modally in the size given (kept when empty); the chosen file on OK.
  static std::optional<std::string> Choose(TServices services, QWidget* owner, QSize& size);

  void accept() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Fill();
  void NameTyped(const QString& text);
  void RowSelected();
  void UpdateButtons();
  void DeleteSelected();

  TServices services_;
  std::vector<TMacroListRow> rows_;
  QLineEdit* name_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* delete_ = nullptr;
  bool typing_ = false;  // the selection follows the field, not the other way round
};

}  // namespace vorn
