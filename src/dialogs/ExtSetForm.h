// TExtSetForm ("ファイルタイプ別の設定"): the file types and every setting of the selected
// type on nine pages. It works on a type list of its own, read when it opens; OK saves it
// through the list's save path (asking first when another editor saved the types meanwhile),
// "保存しないで更新(&A)" hands the selected type to the window without saving.
#pragma once

#include "qtplatform/VornUtilGui.h"
#include "settings/SettingsSaveGuard.h"
#include "settings/TypeList.h"
#include "shellcore/ExtSetRules.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace vorn {

class TColorSetListBox;
class TColorSamplePainter;

struct TExtSetContext {
  TSettingFolders Folders;
  std::string DocumentName;  // the document's file name, empty for a new one
  std::string TypeHint;      // the command line's type, empty for none
  bool Grep = false;         // the window shows grep results
  TFontSpec DefaultFont = DefaultEditorFont();
  // "位置の記憶": remembers the main window's place as the fixed position; empty leaves it off.
  std::function<void()> rememberPosition;
};

class TExtSetForm : public TVornNotHideForm {
  Q_OBJECT
public:
  explicit TExtSetForm(TExtSetContext context, QWidget* owner = nullptr);
  ~TExtSetForm() override;

  TTypeList& Types() { return *types_; }
  // The type shown now; after OK the one the window applies.
  TFileSetting* Shown() const { return shown_; }
  bool AppliedWithoutSaving() const { return withoutSaving_; }
  // The question when another editor saved the types after this dialog opened: true keeps
  // theirs (nothing is saved). Replaceable by tests; the default asks the user.
  std::function<bool()> keepOthersSettings;
  // The save dialog of the colour set and keyword files, overwrite question included: the chosen
  // file, empty for none. Replaceable by tests; the default is AskSaveName.
  std::function<QString(const QString& filters, const QString& suffix)> askSaveName;
  // Messages of the load (a damaged file) and of the checks, for the caller's status.
  const std::vector<std::string>& LoadMessages() const { return loadMessages_; }

  QTabWidget* Pages() const { return pages_; }
  QListWidget* TypeListBox() const { return typeList_; }
  TColorSetListBox* ColorList() const { return colorList_; }
  QTreeWidget* KeywordView() const { return keywordView_; }
  QListWidget* BracketList() const { return bracketList_; }
  QListWidget* ExtensionList() const { return extList_; }
  QLineEdit* FieldByCaption(const QString& caption) const;
  QCheckBox* CheckByCaption(const QString& caption) const;
  QPushButton* ButtonByCaption(const QString& caption) const;

  // Takes the controls into the shown type; false (with the message shown and the field
  // focused) when a value is outside its limit.
  bool StoreControls();
  // What OK does after the checks; false when nothing was saved.
  bool SaveAndClose();
  void SelectType(int index);

  void accept() override;

  // The font-name list: Western and Japanese families of fixed pitch, measured rather than
  // asked, since the platform calls dual-width Japanese fonts proportional.
  static QStringList MeasureFixedPitchFamilies();

private:
  struct TCheckBinding {
    QCheckBox* Box;
    bool TFileTypeValues::*Field;
  };
  struct TNumberBinding {
    QLineEdit* Edit;
    int TFileTypeValues::*Field;
    const TFieldLimit* Limit;
    int Page;
  };
  QWidget* BuildTypeColumn();
  QWidget* BuildDisplayPage();
  QWidget* BuildOutlinePage();
  QWidget* BuildInputPage();
  QWidget* BuildSeikeiPage();
  QWidget* BuildSavePage();
  QWidget* BuildColorPage();
  QWidget* BuildKeywordPage();
  QWidget* BuildCommentPage();
  QWidget* BuildRelationPage();
  QWidget* BuildRegistrationBox(QWidget* page);
  void UpdateRegistration();
  void RegisterExtension();
  QCheckBox* Check(QWidget* parent, const char* caption, bool TFileTypeValues::*field);
  QLineEdit* Number(QWidget* parent, int TFileTypeValues::*field, const TFieldLimit& limit, int page);
  void ShowType(TFileSetting& type);
  void FillTypeList();
  void UpdateTypeButtons();
  void UpdateDependencies();
  void UpdateColorControls();
  void FillKeywords();
  void UpdateKeywordButtons();
  void FillBrackets();
  void FillExtensions();
  void FillFontSizes();
  static const QStringList& FixedPitchFamilies();
  void AskName(const QString& initial, const std::function<void(const std::string&)>& use);
  void NewType(bool copy);
  void RenameType();
  void DeleteType();
  void MoveType(int delta);
  void ImportType();
  void ExportType();
  void EditKeyword(int row);
  void MoveKeywords(int move);
  void EditBracket(int row);
  void MoveBracket(int delta);
  void ChooseColor(bool text);
  void SaveColorSet();
  void LoadColorSet();
  void LoadKeywordFile();
  void SaveKeywordFile();
  QString AskSaveName(const QString& filters, const QString& suffix);
  int Selected() const;
  QString ProgramFolderText() const;

  TExtSetContext context_;
  std::unique_ptr<TTypeList> types_;
  TSettingsSaveGuard guard_;
  TFileSetting* shown_ = nullptr;
  bool withoutSaving_ = false;
  bool settingControls_ = false;
  bool keywordsSorted_ = false;
  std::vector<std::string> loadMessages_;
  std::vector<TCheckBinding> checks_;
  std::vector<TNumberBinding> numbers_;
  std::vector<QWidget*> captioned_;
  QTabWidget* pages_ = nullptr;
  QListWidget* typeList_ = nullptr;
  QLineEdit* nameEdit_ = nullptr;
  QPushButton *upButton_ = nullptr, *downButton_ = nullptr, *deleteButton_ = nullptr;
  QComboBox* fontName_ = nullptr;
  QComboBox* fontSize_ = nullptr;
  QRadioButton* standardSize_ = nullptr;
  QRadioButton* fixedSize_ = nullptr;
  QPushButton* rememberPosition_ = nullptr;
  QLineEdit* autoTriggerStr_ = nullptr;
  QLineEdit* extMacroPath_ = nullptr;
  QLabel* underlineColor_ = nullptr;
  QLabel* vlineColor_ = nullptr;
  unsigned underlineValue_ = 0, vlineValue_ = 0;
  TColorSetListBox* colorList_ = nullptr;
  QLabel* colorSample_ = nullptr;
  QTreeWidget* keywordView_ = nullptr;
  QLineEdit* commentStart_ = nullptr;
  std::vector<std::pair<QLineEdit*, QLineEdit*>> quoteRows_;
  QListWidget* bracketList_ = nullptr;
  QListWidget* extList_ = nullptr;
  QLineEdit* assocExt_ = nullptr;
  QLineEdit* assocName_ = nullptr;
  QLineEdit* assocOptions_ = nullptr;
  QCheckBox* assocIcon_ = nullptr;
  QCheckBox* assocStandard_ = nullptr;
  QPushButton* registerButton_ = nullptr;
  std::shared_ptr<TColorSamplePainter> samplePainter_;
  std::shared_ptr<TColorSamplePainter> bracketPainter_;
  std::pair<QString, QString> shownFont_;
};

}  // namespace vorn
