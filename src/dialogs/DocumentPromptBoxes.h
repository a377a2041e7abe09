// TDocumentPromptBoxes: the document commands' questions and messages as centred message boxes.
//
// Errors, dialogs: a dialog that reads or writes its settings catches the EVornError and shows
// it itself, then goes on from its defaults; it returns the user's choice, never an exception.
#pragma once

#include "document/DocumentPrompts.h"

class QWidget;

namespace vorn {

class TDocumentPromptBoxes : public TDocumentPrompts {
public:
  explicit TDocumentPromptBoxes(QWidget* owner) : owner_(owner) {}

  bool ConfirmOkCancel(const std::string& text) override;
  TPromptAnswer AskYesNoCancel(const std::string& text) override;
  TPromptAnswer AskYesNoCancelOnTop(const std::string& text) override;
  void Warn(const std::string& text) override;
  void Error(const std::string& text) override;
  void Inform(const std::string& text) override;

private:
  TPromptAnswer YesNoCancel(const std::string& text, bool onTop);

  QWidget* owner_;
};

}  // namespace vorn
