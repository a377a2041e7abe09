// TCodeSelectForm: the save-code dialog, choosing the character code and line break for saving
// or converting a document, with the optional fixed-mode boxes.
#pragma once

#include "qtplatform/VornUtilGui.h"
#include "textfile/JConvStrList.h"
#include "encoding/jconvert.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace vorn {

class TCodeSelectForm : public TVornNotHideForm {
  Q_OBJECT
public:
  explicit TCodeSelectForm(QWidget* owner = nullptr);

  // Kinds 0, 1, 5 and 6 select "SJIS"; a value outside 0-11 leaves the selection.
  void SetCharCode(int kind);
  // The chosen entry's kind; ckSjis when nothing is selected.
  TCharCodeKind CharCode() const;
  // lbCRLF, lbCR, lbLF select "CR+LF", "CR", "LF"; other values leave the selection.
  void SetLineBreak(int lineBreak);
  // The chosen line-break kind; lbCRLF when nothing is selected.
  TLineBreakKind LineBreak() const;

  // Setting a fixed-mode state also shows its box; until then the boxes stay hidden.
  void SetCharCodeFixed(bool fixed);
  bool CharCodeFixed() const;
  void SetLineBreakFixed(bool fixed);
  bool LineBreakFixed() const;

  // The code conversion command hides the line-break row and relabels the code row.
  void SetLineBreakRowVisible(bool visible);
  void SetCodeLabel(const QString& text);

  QComboBox* CodeBox() const { return codeBox_; }
  QComboBox* LineBreakBox() const { return lineBreakBox_; }
  QCheckBox* CodeFixedBox() const { return codeFixedBox_; }
  QCheckBox* LineBreakFixedBox() const { return lineBreakFixedBox_; }
  QLabel* CodeLabel() const { return codeLabel_; }

private:
  QLabel* codeLabel_;
  QComboBox* codeBox_;
  QLabel* lineBreakLabel_;
  QComboBox* lineBreakBox_;
  QCheckBox* codeFixedBox_;
  QCheckBox* lineBreakFixedBox_;
};

}  // namespace vorn
