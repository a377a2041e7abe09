// What the window tests share: a window that asks the user nothing at start and hands nothing
// to another process, and reading a file back byte for byte.
#pragma once

#include "shell/Main.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace vorn::testing {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Refuses every question with answer and keeps what it was told, so a test can check it.
class TQuietPrompts : public TDocumentPrompts {
public:
  explicit TQuietPrompts(TPromptAnswer answer = TPromptAnswer::Cancel) : answer_(answer) {}
  bool ConfirmOkCancel(const std::string&) override { return false; }
  TPromptAnswer AskYesNoCancel(const std::string&) override { return answer_; }
  void Warn(const std::string& text) override { said.push_back(text); }
  void Error(const std::string& text) override { said.push_back(text); }
  void Inform(const std::string&) override {}
  std::vector<std::string> said;

private:
  TPromptAnswer answer_;
};

// A missing file is not created, no folder is browsed, and warnings go to warn (dropped when
// empty); the document's questions go to prompts.
inline void MakeQuiet(TVornEditMain& w, TDocumentPrompts& prompts,
                      std::function<void(const QString&)> warn = {}) {
  TVornEditMain::TPrompts p;
  p.askCreateMissing = [](const QString&) { return daNo; };
  p.chooseFileIn = [](const QString&) { return QString(); };
  p.warn = warn ? std::move(warn) : [](const QString&) {};
  w.SetPrompts(p);
  w.SetHandOffEnabled(false);
  w.SetDocumentPrompts(&prompts);
}

}  // namespace vorn::testing
