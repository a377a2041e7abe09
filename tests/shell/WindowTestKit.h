// What the window tests share: a window that asks the user nothing at start and hands nothing
// to another process, reading a file back byte for byte, and a message sent as an outside
// program sends it.
#pragma once

#include "platform/BusClient.h"
#include "platform/BusFolder.h"
#include "platform/BusMessage.h"
#include "shell/Main.h"

#include <QApplication>

#include <chrono>
#include <fstream>
#include <functional>
#include <future>
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
  TWindowServices::TPrompts p;
  p.askCreateMissing = [](const QString&) { return daNo; };
  p.chooseFileIn = [](const QString&) { return QString(); };
  p.warn = warn ? std::move(warn) : [](const QString&) {};
  w.Services().prompts = p;
  w.SetHandOffEnabled(false);
  w.SetDocumentPrompts(&prompts);
}

// Sends from another thread, as an outside program would, and keeps the window's loop running
// until the answer is in.
inline TBusReply SendFromOutside(const TBusFolder& folder, const TVornEditMain& w, TBusMessage message,
                                 std::int64_t wParam = 0, std::int64_t lParam = 0) {
  TBusRequest request;
  request.name = std::string(BusMessageName(message));
  request.wParam = wParam;
  request.lParam = lParam;
  const std::int64_t target = w.BusId();
  auto answer = std::async(std::launch::async, [=] { return SendBusMessage(folder, target, request, 5000); });
  while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  return answer.get();
}

}  // namespace vorn::testing
