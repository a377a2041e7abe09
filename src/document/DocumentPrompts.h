// The questions and messages of the document commands, answered by the window's message boxes
// or, in tests, by a script.
#pragma once

#include <string>

namespace vorn {

// Answers numbered as the platform's dialog results, so the window can pass them through.
enum class TPromptAnswer : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Every text is UTF-8 and exactly what the user is shown.
class TDocumentPrompts {
public:
  virtual ~TDocumentPrompts() = default;
  // A confirmation with OK and Cancel; true for OK.
  virtual bool ConfirmOkCancel(const std::string& text) = 0;
  // A confirmation with Yes, No and Cancel.
  virtual TPromptAnswer AskYesNoCancel(const std::string& text) = 0;
  // The same, kept above other windows: the question about another program's change comes
  // when the user returns to the editor from that program.
  virtual TPromptAnswer AskYesNoCancelOnTop(const std::string& text) { return AskYesNoCancel(text); }
  virtual void Warn(const std::string& text) = 0;
  virtual void Error(const std::string& text) = 0;
  virtual void Inform(const std::string& text) = 0;
};

}  // namespace vorn
