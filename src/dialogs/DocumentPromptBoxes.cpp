// TDocumentPromptBoxes: document questions through the centred message box.
#include "dialogs/DocumentPromptBoxes.h"

#include "qtplatform/VornUtilGui.h"

namespace vorn {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

bool TDocumentPromptBoxes::ConfirmOkCancel(const std::string& text) {
  return CenteredMessageDlg(Q(text), mtConfirmation, mbOK | mbCancel, false, owner_) == mrOk;
}

TPromptAnswer TDocumentPromptBoxes::YesNoCancel(const std::string& text, bool onTop) {
  switch (CenteredMessageDlg(Q(text), mtConfirmation, mbYes | mbNo | mbCancel, onTop, owner_)) {
    case mrYes: return TPromptAnswer::Yes;
    case mrNo: return TPromptAnswer::No;
    default: return TPromptAnswer::Cancel;
  }
}

TPromptAnswer TDocumentPromptBoxes::AskYesNoCancel(const std::string& text) { return YesNoCancel(text, false); }

TPromptAnswer TDocumentPromptBoxes::AskYesNoCancelOnTop(const std::string& text) { return YesNoCancel(text, true); }

void TDocumentPromptBoxes::Warn(const std::string& text) { CenteredMessageDlg(Q(text), mtWarning, mbOK, false, owner_); }

void TDocumentPromptBoxes::Error(const std::string& text) { CenteredMessageDlg(Q(text), mtError, mbOK, false, owner_); }

void TDocumentPromptBoxes::Inform(const std::string& text) {
  CenteredMessageDlg(Q(text), mtInformation, mbOK, false, owner_);
}

}  // namespace vorn
