// TDiffExecForm: the comparison dialog: which side the open file is, what it is compared with
// (another editor window or a file) and the four options of the file type.
#pragma once

#include "qtplatform/VornUtilGui.h"
#include "shellcore/DiffRun.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vorn {

// Another editor window the text can be compared with.
struct TDiffPartnerItem {
  std::int64_t Id = 0;
  QString Name;
};

// What the dialog ends with.
struct TDiffRequest {
  bool OwnIsNew = true;     // the open file is the changed one
  bool FromEditor = true;   // compare with another window, else with ExtFile
  std::int64_t PartnerId = 0;
  std::string ExtFile;      // native
  bool SjisConvert = false;
  TDiffOptions Options;
};

class TDiffExecForm : public TVornNotHideForm {
  Q_OBJECT
public:
  TDiffExecForm(const std::vector<TDiffPartnerItem>& partners, const TDiffOptions& options, QWidget* owner);
  TDiffRequest Request() const;

  QListWidget* EditorList() const { return editorList_; }
  QLineEdit* ExtFileEdit() const { return extFileEdit_; }
  QRadioButton* ExtFileRadio() const { return extFileRadio_; }

  // Refuses an incomplete choice with its message and stays open.
  void accept() override;

private:
  void UpdateEnabled();

  std::vector<TDiffPartnerItem> partners_;
  QRadioButton* toFileRadio_;
  QRadioButton* fromFileRadio_;
  QRadioButton* editorRadio_;
  QRadioButton* extFileRadio_;
  QListWidget* editorList_;
  QLineEdit* extFileEdit_;
  QPushButton* refButton_;
  QCheckBox* sjisConvertCheck_;
  QCheckBox* ignoreCase_;
  QCheckBox* ignoreSpaceChange_;
  QCheckBox* ignoreAllSpace_;
  QCheckBox* ignoreBlankLine_;
};

}  // namespace vorn
