// TMarkListForm: the list of a document's line marks with jump, toggle, delete and clear
// buttons; TJumpInputForm: the line-jump dialog.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "qtplatform/VornUtilGui.h"
#include "shellcore/MarkList.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vorn {

// What the list does to the document; each action is followed by a refresh from Entries.
struct TMarkListActions {
  std::function<std::vector<TMarkListEntry>()> Entries;
  std::function<void(int line)> Jump;
  std::function<void()> ToggleMark;
  std::function<void(int entry)> Remove;
  std::function<void(bool unnumbered, bool numbered)> Clear;
};

class TMarkListForm : public TVornNotHideForm {
  Q_OBJECT
public:
  TMarkListForm(TMarkListActions actions, QWidget* owner = nullptr);

  void Refresh();
  QTreeWidget* List() const { return list_; }
  QPushButton* JumpButton() const { return jumpButton_; }
  QPushButton* MarkButton() const { return markButton_; }
  QPushButton* DeleteButton() const { return deleteButton_; }
  QPushButton* ClearAllButton() const { return clearAllButton_; }
  QPushButton* ClearNumberedButton() const { return clearNumberedButton_; }
  QPushButton* ClearUnnumberedButton() const { return clearUnnumberedButton_; }

private:
  void UpdateButtons();
  const TMarkListEntry* Selected() const;
  void JumpToSelected();

  TMarkListActions actions_;
  std::vector<TMarkListEntry> entries_;
  QTreeWidget* list_;
  QPushButton* jumpButton_;
  QPushButton* markButton_;
  QPushButton* deleteButton_;
  QPushButton* clearAllButton_;
  QPushButton* clearNumberedButton_;
  QPushButton* clearUnnumberedButton_;
};

class TJumpInputForm : public TVornNotHideForm {
  Q_OBJECT
public:
  // jump receives the number typed: -1 for the end of the text, else the line as the margin
  // numbers it.
  TJumpInputForm(std::function<void(int)> jump, QWidget* owner = nullptr);
  QLineEdit* LineEdit() const { return edit_; }
  QPushButton* JumpButton() const { return jumpButton_; }

private:
  void JumpPressed();

  std::function<void(int)> jump_;
  QLineEdit* edit_;
  QPushButton* jumpButton_;
};

}  // namespace vorn
