// TVornEditMain: the editor window, its document state, title and status bar, and the
// command-line passes that open the named documents into it.
#pragma once

#include "shellcore/CommandLine.h"
#include "shell/StatusPanels.h"
#include "document/VornDocument.h"
#include "textfile/JConvStrList.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QToolBar;

namespace vorn {

class TVornEdit;

// Answers of a confirmation box, numbered as the platform's dialog results.
enum TDialogAnswer : int { daYes = 6, daNo = 7, daCancel = 2 };

class TVornEditMain : public QMainWindow {
  Q_OBJECT
public:
  // The user interactions the window needs while starting, replaceable by tests.
  struct TPrompts {
    std::function<TDialogAnswer(const QString& text)> askCreateMissing;
    std::function<QString(const QString& folder)> chooseFileIn;
    std::function<void(const QString& text)> warn;
  };

  explicit TVornEditMain(bool stationMode, QWidget* parent = nullptr);

  void SetPrompts(TPrompts prompts) { prompts_ = std::move(prompts); }

  // Runs the three passes over the arguments; hands every named file but the first to a new
  // copy of the program. Returns false when the process should end without showing a window.
  bool ProcessCommandLine(const std::vector<std::string>& args);

  bool LoadDocument(const std::string& name, bool reload);

  void SetFileName(const std::string& name);
  void SetModified(bool modified);
  void SetCharCode(TCharCodeKind kind);
  void SetLineBreak(TLineBreakKind kind);
  void SetOpenCodeGiven(bool given);
  void SetLineBreakGiven(bool given);
  void SetReadOnly(bool readOnly);
  void UpdateTitle();
  void UpdateStatus();

  TVornDocument& Document() { return document_; }
  const std::string& FileName() const { return document_.FileName(); }
  TVornEditStrings& Lines();
  TVornEdit* Editor() const { return edit_; }
  bool Modified() const { return document_.Modified(); }
  TCharCodeKind CharCode() const { return document_.FileSettings().CharCode; }
  TLineBreakKind LineBreak() const { return document_.FileSettings().LineBreak; }
  bool ReadOnly() const { return document_.FileSettings().ReadOnly; }
  bool StationMode() const { return stationMode_; }
  const TCommandLinePlan& Plan() const { return plan_; }
  TStatusPanels* StatusPanels() const { return status_; }
  // The text as the control holds it, rows joined by LF.
  QString ShownText() const;
  // "%5d:%4d" of the caret's line and column, as the status bar shows it.
  QString CaretPositionText() const;
  // The parameter text of the last hand-off, empty when there was none.
  const std::string& HandOffParams() const { return handOffParams_; }
  void SetHandOffEnabled(bool enabled) { handOffEnabled_ = enabled; }
  int MonitorNumber() const;

private:
  void BuildWindow();
  void ApplyPass3();
  // Opens one argument of pass 2; false when the user cancelled the start.
  bool OpenNamedArgument(const std::string& argument);
  void ShowCaretPosition();
  void ReportDroppedCharacters(int count);
  void JumpToLine(const TJumpTarget& target);
  void HandOff();

  bool stationMode_;
  bool browseMode_ = false;
  bool creationDone_ = false;
  int monitorIndex_ = -1;
  TCommandLinePlan plan_;
  std::string handOffParams_;
  bool handOffEnabled_ = true;

  TVornDocument document_;
  // The pane over the document's store; a station window has one too, unshown, so that every
  // document operation has a control to work through.
  TVornEdit* edit_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  TStatusPanels* status_ = nullptr;
  TPrompts prompts_;
};

}  // namespace vorn
