// TProgramExecForm: the run-program dialog: the program and its options with their histories,
// and console mode with its standard input, standard output, wait and script path.
#pragma once

#include "qtplatform/VornUtilGui.h"
#include "shellcore/ProgramExec.h"

#include <QString>

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vorn {

// What the dialog ends with: the texts (native) and the state's options.
struct TProgramExecRequest {
  std::string Program;
  std::string Options;
  TProgramExecState Settings;  // its histories are not used
};

class TProgramExecForm : public TVornNotHideForm {
  Q_OBJECT
public:
  // presetProgram, when not empty, is shown instead of the newest history entry.
  TProgramExecForm(const TProgramExecState& state, const QString& presetProgram, QWidget* owner);
  TProgramExecRequest Request() const;

  QComboBox* ProgramCombo() const { return programCombo_; }
  QCheckBox* ConsoleCheck() const { return consoleCheck_; }

private:
  void UpdateEnabled();

  QComboBox* programCombo_;
  QComboBox* optionCombo_;
  QCheckBox* consoleCheck_;
  QGroupBox* inputGroup_;
  QGroupBox* outputGroup_;
  QGroupBox* waitGroup_;
  QRadioButton* input_[3];
  QRadioButton* output_[5];
  QCheckBox* showPromptCheck_;
  QRadioButton* infiniteWait_;
  QRadioButton* timedWait_;
  QSpinBox* seconds_;
  QLineEdit* pathEdit_;
};

}  // namespace vorn
