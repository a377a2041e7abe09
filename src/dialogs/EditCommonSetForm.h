// TEditCommonSetForm ("エディタの環境設定"): the common settings with the key map, the tool
// bar and the macro slots. It edits the process's key table in place; OK saves the key map,
// the tool bar and "Common.ini" (asking first when another editor saved a key map meanwhile),
// Cancel leaves the files alone and the caller reloads the key map. TSeikeiPropForm
// ("整形の一時設定") edits a copy of a pane's formatting options.
#pragma once

#include "qtplatform/VornUtilGui.h"
#include "settings/CommonSet.h"
#include "settings/SettingsSaveGuard.h"
#include "shellcore/CommonSetRules.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorn {

class TVornEditKeywords;

struct TCommonSetContext {
  std::string ProgramFolder;  // trailing "/"
  std::string UserFolder;     // trailing "/"
  TKeyTable* Table = nullptr; // the process's table, edited in place
  // The macro list dialog's choice (native path), nullopt for Cancel; given the slots' files as
  // this dialog holds them, so the list numbers the files its slots hold now.
  std::function<std::optional<std::string>(const std::vector<std::string>& slotFiles)> chooseMacro;
  // A new editor process on a macro file.
  std::function<void(const std::string& path)> editMacro;
};

class TEditCommonSetForm : public TVornNotHideForm {
  Q_OBJECT
public:
  explicit TEditCommonSetForm(TCommonSetContext context, QWidget* owner = nullptr);
  ~TEditCommonSetForm() override;

  TCommonSet& Common() { return *common_; }
  const std::vector<int>& ToolBarButtons() const { return toolBar_.Buttons(); }
  // The question when another editor saved its key map after this dialog opened; true keeps
  // theirs and saves nothing. Replaceable by tests.
  std::function<bool()> keepOthersSettings;
  std::vector<std::string> LoadMessages() const { return loadMessages_; }

  QTabWidget* Pages() const { return pages_; }
  QTreeWidget* KeyTree() const { return keyTree_; }
  QComboBox* KeyCombo() const { return keyCombo_; }
  QCheckBox* ShiftBox() const { return shift_; }
  QCheckBox* CtrlBox() const { return ctrl_; }
  QCheckBox* AltBox() const { return alt_; }
  QListWidget* AssignedKeys() const { return assigned_; }
  QListWidget* ToolBarList() const { return toolBarList_; }
  QTreeWidget* MacroList() const { return macroList_; }
  QPushButton* Button(const QString& page, const QString& caption) const;
  QCheckBox* CheckBox(const QString& caption) const;
  QLineEdit* Field(const QString& name) const;

  // Selects the tree node of a function (kHotKeyFunction for the hot key).
  void SelectFunction(int function);
  // The key field: an index of the assignable keys, -1 for none.
  void ChooseKey(int listIndex, int modifiers);
  void AssignSelected();
  void ClearSelected();

  bool StoreControls();
  bool SaveAll();
  void accept() override;

private:
  struct TCheckBinding {
    QCheckBox* Box;
    bool TCommonValues::*Field;
    bool Inverted;
  };
  struct TNumberBinding {
    QSpinBox* Box;
    int TCommonValues::*Field;
  };
  QWidget* BuildGeneralPage();
  QWidget* BuildWrapPage();
  QWidget* BuildMacroPage();
  QWidget* BuildKeyPage();
  QWidget* BuildToolBarPage();
  QWidget* BuildSeikeiPage();
  QWidget* BuildOtherPage();
  QCheckBox* Check(QWidget* parent, const char* caption, bool TCommonValues::*field, bool inverted = false);
  QSpinBox* Number(QWidget* parent, int TCommonValues::*field, int min, int max);
  void ShowValues();
  void FillFunctionTree(QTreeWidget* tree, bool withHotKey);
  int SelectedFunction(QTreeWidget* tree, bool* functionNode = nullptr) const;
  int ChosenModifiers() const;
  int ChosenKey() const;
  void UpdateKeyPage();
  void FillAssigned();
  void FillToolBarList();
  void UpdateToolBarButtons();
  void FillMacroRows();
  QWidget* KeywordListBox(QWidget* parent, TVornEditKeywords& list, const char* const captions[6]);

  TCommonSetContext context_;
  std::unique_ptr<TCommonSet> common_;
  std::unique_ptr<TVornEditKeywords> commentList_, itemizeList_;
  TKeyAssignPage keyPage_;
  TToolBarList toolBar_;
  TSettingsSaveGuard guard_;
  std::vector<std::string> loadMessages_;
  std::vector<TCheckBinding> checks_;
  std::vector<TNumberBinding> numbers_;
  std::vector<QRadioButton*> caretStyles_;
  std::vector<QLineEdit*> strings_;
  bool settingKey_ = false;
  QTabWidget* pages_ = nullptr;
  QTreeWidget* keyTree_ = nullptr;
  QComboBox* keyCombo_ = nullptr;
  QCheckBox *shift_ = nullptr, *ctrl_ = nullptr, *alt_ = nullptr;
  QListWidget* assigned_ = nullptr;
  QTreeWidget* toolTree_ = nullptr;
  QListWidget* toolBarList_ = nullptr;
  QTreeWidget* macroList_ = nullptr;
};

class TVornEditSeikeiOption;

class TSeikeiPropForm : public TVornNotHideForm {
  Q_OBJECT
public:
  explicit TSeikeiPropForm(QWidget* owner = nullptr);
  void Show(const TVornEditSeikeiOption& options);
  // The seven values into options; its other fields keep theirs.
  void Store(TVornEditSeikeiOption& options) const;
  QCheckBox* CommentThroughBox() const { return commentThrough_; }
  QCheckBox* CommentOnlyBox() const { return commentOnly_; }
  QSpinBox* WrapCountBox() const { return wrapCount_; }

private:
  QCheckBox *autoTrigger_, *commentThrough_, *commentOnly_, *insertSpace_, *wordWrap_, *tabToSpace_;
  QSpinBox* wrapCount_;
};

}  // namespace vorn
