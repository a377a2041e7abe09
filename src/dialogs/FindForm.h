// TFindForm: the find and replace dialog. Collects a find condition from the search word, the
// replacement and four options, keeps the last ten conditions in "FindHist.kdt" and the four
// options per file type, and answers which search to run.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "qtplatform/VornUtilGui.h"
#include "shellcore/FindHistory.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vorn {

class TVornEditKeyword;

class TFindForm : public TVornNotHideForm {
  Q_OBJECT
public:
  enum TAction { faNone = 0, faDown = 1, faUp = 2, faRepeatReplace = 3, faReplaceAll = 4 };

  // historyPath: the user folder + "FindHist.kdt"; typeIniPath: the file type's ini file, empty
  // when the window has none.
  TFindForm(std::string historyPath, std::string typeIniPath, bool replace, QWidget* owner = nullptr);
  ~TFindForm() override;

  // The control's current condition: the word, the boxes and a previous line range.
  void FillFrom(const TVornEditKeyword& current);
  void SetSearchWord(const std::string& sjisWord);
  // What the previous-range button shows and takes back: select lines first..last, or undo.
  std::function<void(int first, int last)> ShowRange;
  std::function<void()> HideRange;

  bool ReplaceDialog() const { return replace_; }
  TAction Action() const { return action_; }
  int PrevRangeFirst() const { return prevFirst_; }
  int PrevRangeLast() const { return prevLast_; }
  bool StartHead() const;
  void SetStartHead(bool on);
  // Valid after an action button closed the dialog.
  TFindKeyWord& Condition() const { return *condition_; }
  // The history as it is written when the dialog closes, with the condition of an action last.
  TFindHistory& History() { return history_; }
  // Set when the history file could not be read (Shift_JIS).
  const std::string& HistoryError() const { return historyError_; }

  QComboBox* FindStrCombo() const { return findCombo_; }
  QComboBox* ReplaceStrCombo() const { return replaceCombo_; }
  QCheckBox* CaseCheck() const { return caseCheck_; }
  QCheckBox* WordCheck() const { return wordCheck_; }
  QCheckBox* UseJreCheck() const { return useJreCheck_; }
  QCheckBox* FuzzCheck() const { return fuzzCheck_; }
  QCheckBox* StartHeadCheck() const { return startHeadCheck_; }
  QPushButton* SetPrevSelectedButton() const { return prevButton_; }
  QPushButton* UpFindButton() const { return upButton_; }
  QPushButton* DownFindButton() const { return downButton_; }
  QPushButton* RepeatReplaceButton() const { return repeatButton_; }
  QPushButton* AllReplaceButton() const { return allButton_; }

  // What an action button does: checks the pattern (saying what is wrong) and closes the dialog
  // with the action; false when the pattern does not compile.
  bool RunAction(TAction action);

  void done(int result) override;

private:
  void BuildControls();
  void LoadHistoryLists();
  void LoadTypeOptions();
  void SaveTypeOptions() const;
  void TogglePrevRange();
  void BuildCondition(TFindKeyWord& into) const;

  std::string historyPath_;
  std::string typeIniPath_;
  bool replace_;
  TAction action_ = faNone;
  TFindHistory history_;
  std::string historyError_;
  std::unique_ptr<TFindKeyWord> condition_;
  int prevFirst_ = -1;
  int prevLast_ = -1;
  bool showingPrev_ = false;
  QComboBox* findCombo_;
  QComboBox* replaceCombo_;
  QCheckBox* caseCheck_;
  QCheckBox* wordCheck_;
  QCheckBox* useJreCheck_;
  QCheckBox* fuzzCheck_;
  QCheckBox* startHeadCheck_;
  QPushButton* prevButton_;
  QPushButton* upButton_;
  QPushButton* downButton_;
  QPushButton* repeatButton_;
  QPushButton* allButton_;
  QPushButton* helpButton_;
  QPushButton* cancelButton_;
};

}  // namespace vorn
