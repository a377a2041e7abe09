// TFindExecForm: the replace-all progress window with its stop button, and the confirmation
// asked before each replacement.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPoint>

#include <functional>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vorn {

class TFindExecForm : public QDialog {
  Q_OBJECT
public:
  explicit TFindExecForm(QWidget* owner = nullptr);

  // The progress handler of replace all: (kind, count, position) -> 0 once "中止" was pressed.
  // Events are processed between calls (at most every few milliseconds, so a million calls
  // cost little), which keeps the window and its button alive. shown: the window is used;
  // otherwise only the status text is updated through status.
  int Progress(int kind, int count, int position);
  void SetShown(bool shown) { shown_ = shown; }
  // Where the count goes without the window (the status bar), and the text length positions
  // are measured against.
  std::function<void(const std::string& sjisText)> Status;
  void SetTotalLength(long long length) { total_ = length; }
  int FinalCount() const { return finalCount_; }

  QLabel* LineLabel() const { return lineLabel_; }
  QLabel* MatchLabel() const { return matchLabel_; }
  QProgressBar* ProgressBar() const { return progress_; }
  QPushButton* StopButton() const { return stopButton_; }
  bool Cancelled() const { return cancelled_; }

  void reject() override;

private:
  void Pump();

  QLabel* lineLabel_;
  QLabel* matchLabel_;
  QProgressBar* progress_;
  QPushButton* stopButton_;
  bool cancelled_ = false;
  bool shown_ = true;
  long long total_ = 0;
  int finalCount_ = 0;
  QElapsedTimer sincePump_;
};

// The confirmation before a replacement, placed beside the caret (screen point): Yes, No,
// Cancel and with withAll also All; the dialog results 6, 7, 2, 8.
int AskReplace(QWidget* owner, QPoint caretOnScreen, bool withAll);

}  // namespace vorn
