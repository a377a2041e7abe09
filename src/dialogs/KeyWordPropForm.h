// TKeyWordPropForm ("キーワードのプロパティ"): one keyword's pattern, options, colour entry
// and group colouring; TBracketPropForm ("コメントセット文字列のプロパティ"): one comment set.
// Both edit a private copy that the caller takes on OK.
#pragma once

#include "qtplatform/VornUtilGui.h"
#include "syntax/KeyWord.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace vorn {

class TVornEditColors;

// The four option boxes of a pattern; "正規表現" checked checks the case box too.
struct TPatternBoxes {
  QLineEdit* Pattern;
  QCheckBox* Case;
  QCheckBox* Word;
  QCheckBox* RegExp;
  QCheckBox* Fuzzy;
  void Show(const TBregexpObj& k);
  void Store(TBregexpObj& k) const;
};

// A combo of the named colour entries in dialog order.
QComboBox* NewColorCombo(const TVornEditColors& colors, QWidget* parent);

class TKeyWordPropForm : public TVornNotHideForm {
  Q_OBJECT
public:
  // colors null: no colour controls (the comment start pattern).
  TKeyWordPropForm(const TVornEditColors* colors, QWidget* owner = nullptr);
  ~TKeyWordPropForm() override;

  void SetKeyWord(const TKeyWord& k);
  TKeyWord& KeyWord() const { return *keyword_; }
  void SetAllowEmpty(bool on) { allowEmpty_ = on; }
  // The formatting lists: always regular expressions, never whole words.
  void SetRegExpOnly();

  TPatternBoxes& Boxes() { return boxes_; }
  QComboBox* ColorCombo() const { return colorCombo_; }
  QCheckBox* GroupCheck() const { return groupCheck_; }
  QSpinBox* GroupNumber() const { return groupNumber_; }

  void accept() override;

private:
  void UpdateGroup();
  std::unique_ptr<TKeyWord> keyword_;
  TPatternBoxes boxes_{};
  QComboBox* colorCombo_ = nullptr;
  QCheckBox* groupCheck_ = nullptr;
  QSpinBox* groupNumber_ = nullptr;
  bool allowEmpty_ = false;
};

class TBracketPropForm : public TVornNotHideForm {
  Q_OBJECT
public:
  TBracketPropForm(const TVornEditColors& colors, QWidget* owner = nullptr);
  ~TBracketPropForm() override;

  void SetBracket(const TBracket& b);
  void SetColorEntry(int entry);
  // The pair with the controls' values, into target.
  void StoreInto(TBracket& target) const;

  TPatternBoxes& Left() { return left_; }
  TPatternBoxes& Right() { return right_; }
  QSpinBox* CountSpin() const { return count_; }
  QCheckBox* LineOnlyCheck() const { return lineOnly_; }

  void accept() override;

private:
  void UpdateLineOnly();
  TPatternBoxes left_{}, right_{};
  QLineEdit* escape_;
  QSpinBox* count_;
  QCheckBox* lineOnly_;
  QComboBox* colorCombo_;
};

}  // namespace vorn
