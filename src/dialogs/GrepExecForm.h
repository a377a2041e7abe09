// TGrepExecForm: the grep progress window. Runs a grep condition on a worker thread, shows the
// file, line and hit count as it goes, stops on "中止", and hands the result text on.
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "search/GrepOptions.h"

class QLabel;
class QPushButton;
class QTimer;

namespace vorn {

class TGrepEngine;
class TGrepKeyWord;

// What a run produced: the text for the result window (Shift_JIS, every line ended by CR LF),
// the lines with the real file paths beside the shown text, the counts and the status text.
struct TGrepOutcome {
  std::string Text;
  std::vector<TGrepResultLine> Lines;
  TGrepSummary Summary;
  std::string StatusText;  // Shift_JIS
  bool Started = false;    // false: the condition was refused and the user was told why
};

class TGrepExecForm : public QDialog {
  Q_OBJECT
public:
  explicit TGrepExecForm(QWidget* owner = nullptr);
  // A run still going is stopped and waited for.
  ~TGrepExecForm() override;

  // Runs the condition (a compiled copy) while the window is shown; returns when the run has
  // ended or was stopped. The outcome also goes to the finished callback.
  TGrepOutcome Execute(const TGrepKeyWord& condition);
  void SetOnFinished(std::function<void(const TGrepOutcome&)> callback) { onFinished_ = std::move(callback); }
  // How often the labels are refreshed while the run lasts.
  void SetRefreshIntervalMs(int ms);

  QLabel* FilenameLabel() const { return filenameLabel_; }
  QLabel* LineLabel() const { return lineLabel_; }
  QLabel* MatchLabel() const { return matchLabel_; }
  QPushButton* StopButton() const { return stopButton_; }
  bool Cancelled() const { return cancelled_; }

  // Closing the window stops the run like "中止"; the window closes when the run has ended.
  void reject() override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  class TSink;
  void Stop();
  void RefreshLabels();
  void Finish();

  QLabel* filenameLabel_;
  QLabel* lineLabel_;
  QLabel* matchLabel_;
  QPushButton* stopButton_;
  QTimer* refresh_;
  std::unique_ptr<TGrepEngine> engine_;
  std::unique_ptr<TSink> sink_;
  std::thread worker_;
  TGrepSummary summary_;
  TGrepOutcome outcome_;
  bool running_ = false;
  bool cancelled_ = false;
  std::function<void(const TGrepOutcome&)> onFinished_;
};

}  // namespace vorn
