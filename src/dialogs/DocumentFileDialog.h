// TDocumentFileDialog: the open, save and rename dialogs of a document, a non-native file
// dialog with the character-code list and the document filters.
#pragma once

#include <QFileDialog>

#include <optional>

#include "shellcore/DocumentCommands.h"
#include "shellcore/FileDialogFilters.h"
#include "shellcore/FolderHistory.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vorn {

class TDocumentFileDialog : public QFileDialog {
  Q_OBJECT
public:
  enum class TKind { Open, Save, Rename };

  // Open (open, reload, insert): filters of the open dialog; offerExtension puts the given
  // file's extension second. Save: the save filters, with the open file's extension offered for
  // save as (pass the document's name; empty for an untitled one). Rename: every file.
  TDocumentFileDialog(TKind kind, const QString& givenName, bool offerExtension, QWidget* owner = nullptr);

  // Open: the entry of this code is selected (automatic detection when none).
  void SetFixedCode(std::optional<TCharCodeKind> code);
  // Save: what the code selection dialog starts from when the second entry is chosen.
  void SetCurrentCode(const TSaveCodeChoice& current) { current_ = current; }

  // Open: the chosen code, nullopt for automatic detection.
  std::optional<TCharCodeKind> ChosenCode() const;
  // The chosen file; for Save a name typed without an extension gets the chosen filter's.
  QString ChosenName() const;
  // Save: shows the code selection dialog when its entry was chosen. False when the user
  // cancelled that dialog; choice stays empty for "the current code".
  bool AskSaveCode(std::optional<TSaveCodeChoice>& choice);

  // The remembered folders (the button is hidden while there are none) and size (-1: the
  // dialog's own). Memory answers the size now and the folders with their fixed flags as the
  // user left them.
  void SetMemory(const TFileDialogMemory& memory);
  TFileDialogMemory Memory() const;
  QPushButton* FolderHistoryButton() const { return folderButton_; }
  // Opens the folder pop-up; it closes itself.
  void ShowFolderHistory();

  QComboBox* CodeBox() const { return codeBox_; }
  const TFilterList& Filters() const { return filters_; }
  int ChosenFilter() const;

  // Shows the dialog and answers for the document commands; nullopt when cancelled.
  // memory goes in with what Common.ini holds and comes out with the size at closing and the
  // folder list as the user left it.
  static std::optional<TSaveAsRequest> AskSaveAs(const QString& documentName, const TSaveCodeChoice& current,
                                                 TFileDialogMemory& memory, QWidget* owner);
  struct TOpenChoice {
    QString name;
    std::optional<TCharCodeKind> code;
  };
  // presetName: the given file is preselected (reload); otherwise only its folder is used.
  static std::optional<TOpenChoice> AskOpen(const QString& givenName, bool offerExtension, bool presetName,
                                            std::optional<TCharCodeKind> fixedCode, TFileDialogMemory& memory,
                                            QWidget* owner);

private:
  void AddCodeRow(const QString& label);
  void AddFolderHistoryButton();

  TKind kind_;
  TFilterList filters_;
  QLabel* codeLabel_ = nullptr;
  QComboBox* codeBox_ = nullptr;
  TSaveCodeChoice current_;
  QPushButton* folderButton_ = nullptr;
  std::vector<TFolderEntry> folders_;
};

}  // namespace vorn
