// TGrepForm: the grep dialog. Collects the search word, options, file mask and folder into a
// grep condition, keeps its state and histories in "GREP.ini", and offers a folder tree.
#pragma once

#include <memory>
#include <string>

#include "qtplatform/VornUtilGui.h"
#include "shellcore/GrepDialogState.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;

namespace vorn {

class TGrepKeyWord;

class TGrepForm : public TVornNotHideForm {
  Q_OBJECT
public:
  // iniPath: the user folder + "GREP.ini". documentPath: the open document (native path),
  // empty when the window holds none; its folder, else the current folder, is searched.
  TGrepForm(std::string iniPath, std::string documentPath, QWidget* owner = nullptr);
  ~TGrepForm() override;

  // The search word offered (Shift_JIS): from macro arguments, a pending condition or the
  // selection.
  void SetSearchWord(const std::string& sjisWord);
  // A pending condition's mask, and whether its folder replaces the dialog's (the current
  // folder is then searched and the "previous folder" default is off for this run).
  void SetPendingMask(const std::string& mask, bool keepDialogFolder);

  // Valid after the dialog was accepted: the condition to run (RunAtOnce left false).
  const TGrepKeyWord& Condition() const { return *condition_; }

  QComboBox* KeywordCombo() const { return keywordCombo_; }
  QComboBox* MaskCombo() const { return maskCombo_; }
  QComboBox* PathCombo() const { return pathCombo_; }
  QCheckBox* CaseCheck() const { return caseCheck_; }
  QCheckBox* WordCheck() const { return wordCheck_; }
  QCheckBox* UseJreCheck() const { return useJreCheck_; }
  QCheckBox* FuzzCheck() const { return fuzzCheck_; }
  QCheckBox* RelativePathCheck() const { return relativePathCheck_; }
  QCheckBox* OnlyContentsCheck() const { return onlyContentsCheck_; }
  QCheckBox* OpenFileCheck() const { return openFileCheck_; }
  QCheckBox* SubFolderCheck() const { return subFolderCheck_; }
  QCheckBox* EnBinCheck() const { return enBinCheck_; }
  QCheckBox* UsePrevPathHistCheck() const { return usePrevPathHistCheck_; }
  QCheckBox* UsePrevPathHist2Check() const { return usePrevPathHist2Check_; }
  QPushButton* UpperDirButton() const { return upperDirButton_; }
  QPushButton* TreeButton() const { return treeButton_; }
  // Null until the tree is first shown.
  QTreeView* FolderTree() const { return tree_; }

  void accept() override;
  void done(int result) override;

private:
  void BuildControls();
  void LoadState();
  void SaveState();
  void UpdateInterplay();
  void ShowFolderTree();
  void SelectTreeFolder(const QString& folder);
  void ShowTreeTarget();
  void GoUpOneFolder();
  bool CheckPattern();
  void BuildCondition(const QString& mask, const QString& folder);

  std::string iniPath_;
  std::string documentPath_;
  std::string lastFolder_;  // native
  TGrepDialogState state_;
  std::unique_ptr<TGrepKeyWord> condition_;
  QComboBox* keywordCombo_;
  QComboBox* maskCombo_;
  QComboBox* pathCombo_;
  QCheckBox* caseCheck_;
  QCheckBox* wordCheck_;
  QCheckBox* useJreCheck_;
  QCheckBox* fuzzCheck_;
  QCheckBox* relativePathCheck_;
  QCheckBox* onlyContentsCheck_;
  QCheckBox* openFileCheck_;
  QCheckBox* subFolderCheck_;
  QCheckBox* enBinCheck_;
  QCheckBox* usePrevPathHistCheck_;
  QCheckBox* usePrevPathHist2Check_;
  QPushButton* treeButton_;
  QPushButton* upperDirButton_;
  QWidget* folderGroup_;
  QComboBox* treeRootCombo_ = nullptr;
  QTreeView* tree_ = nullptr;
  QFileSystemModel* treeModel_ = nullptr;
  QString treeTarget_;  // the folder the tree is to show, until the user picks one
};

}  // namespace vorn
