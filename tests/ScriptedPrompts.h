// TScriptedPrompts: answers the document commands' questions from a script and records every
// text shown, so a test can check both what was asked and what was told.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/DocumentPrompts.h"

namespace vorn::testing {

class TScriptedPrompts : public TDocumentPrompts {
public:
  // Answers for the questions to come, in order; a question without one fails the test run.
  std::deque<TPromptAnswer> answers;
  std::vector<std::string> asked, warnings, errors, infos;

  bool ConfirmOkCancel(const std::string& text) override {
    asked.push_back(text);
    const TPromptAnswer a = Next();
    return a == TPromptAnswer::Ok || a == TPromptAnswer::Yes;
  }
  TPromptAnswer AskYesNoCancel(const std::string& text) override {
    asked.push_back(text);
    return Next();
  }
  void Warn(const std::string& text) override { warnings.push_back(text); }
  void Error(const std::string& text) override { errors.push_back(text); }
  void Inform(const std::string& text) override { infos.push_back(text); }

  bool Quiet() const { return asked.empty() && warnings.empty() && errors.empty() && infos.empty(); }

private:
  TPromptAnswer Next() {
    if (answers.empty()) throw std::logic_error("unexpected question: " + asked.back());
    const TPromptAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
};

}  // namespace vorn::testing
