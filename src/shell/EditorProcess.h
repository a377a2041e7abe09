// TEditorProcess: what the windows of one editor process share — the document and its commands,
// the services, the command line's plan, the file history, the common and file-type options
// the windows follow, the grep result shown, and the list of windows. The main window owns it;
// a sub window and every window part reach the same one.
#pragma once

#include "document/VornDocument.h"
#include "platform/BusFolder.h"
#include "search/GrepOptions.h"
#include "settings/SettingsApplyTarget.h"
#include "shell/WindowServices.h"
#include "shellcore/CommandLine.h"
#include "shellcore/DocumentCommands.h"
#include "shellcore/FileHistory.h"
#include "store/VornEditView.h"

#include <memory>
#include <string>
#include <vector>

namespace vorn {

class TEditorWindow;
class TGrepKeyWord;

// The document commands' questions go to the message boxes, or to whatever a test puts in
// their place; the commands hold one reference for their whole life.
class TSwitchablePrompts : public TDocumentPrompts {
public:
  explicit TSwitchablePrompts(TDocumentPrompts* target) : target_(target), default_(target) {}
  // nullptr goes back to the default.
  void SetTarget(TDocumentPrompts* target) { target_ = target ? target : default_; }
  void SetDefault(TDocumentPrompts* prompts) {
    if (target_ == default_) target_ = prompts;
    default_ = prompts;
  }
  bool ConfirmOkCancel(const std::string& text) override { return target_->ConfirmOkCancel(text); }
  TPromptAnswer AskYesNoCancel(const std::string& text) override { return target_->AskYesNoCancel(text); }
  TPromptAnswer AskYesNoCancelOnTop(const std::string& text) override { return target_->AskYesNoCancelOnTop(text); }
  void Warn(const std::string& text) override { target_->Warn(text); }
  void Error(const std::string& text) override { target_->Error(text); }
  void Inform(const std::string& text) override { target_->Inform(text); }

private:
  TDocumentPrompts* target_;
  TDocumentPrompts* default_;
};

class TEditorProcess {
public:
  TEditorProcess();
  TEditorProcess(const TEditorProcess&) = delete;
  TEditorProcess& operator=(const TEditorProcess&) = delete;

  TVornDocument& Document() { return document_; }
  const TVornDocument& Document() const { return document_; }
  TDocumentCommands& Commands() { return commands_; }
  // The questions of the document commands, and of every window of the process.
  TSwitchablePrompts& Prompts() { return prompts_; }
  TWindowServices& Services() { return services_; }
  const TWindowServices& Services() const { return services_; }

  // The bus that finds the other editors: the services' runtime folder, else the user's.
  const TBusFolder& Bus();
  std::string HistoryUserFolder() const;
  std::string GrepHandOffFolder() const;

  // The main window first, then the sub windows in the order they were opened.
  std::vector<TEditorWindow*> Windows() const;
  TEditorWindow* MainWindow() const { return mainWindow_; }
  void SetMainWindow(TEditorWindow* window) { mainWindow_ = window; }
  void AddSubWindow(TEditorWindow* window) { subWindows_.push_back(window); }
  // False when the window was not one of the sub windows.
  bool ForgetSubWindow(TEditorWindow* window);
  const std::vector<TEditorWindow*>& SubWindows() const { return subWindows_; }
  // True while the main window frees its sub windows: they need not retitle the others.
  bool ClosingWindows() const { return closingWindows_; }
  void SetClosingWindows(bool on) { closingWindows_ = on; }

  // The command line's passes and what they left for later.
  TCommandLinePlan plan;
  std::string handOffParams;
  int monitorIndex = -1;
  bool creationDone = false;  // the command line ran; later names re-apply the file type

  TFileHistory history;
  TWindowCommonOptions common;
  TWindowTypeOptions windowType;
  std::string appliedTypeName;  // the name the applied file type was chosen by
  int appliedTypeTabs = 0;      // the tab width that type gave the panes
  bool appliedTypeLineNumbers = false;  // whether that type shows line numbers
  // A type applied with "保存しないで更新(&A)" is kept when other editors announce saved file
  // types, until the next OK of the file-type dialog here.
  bool typeHeldUnsaved = false;
  bool browseMode = false;

  // The grep result shown, with its lines' real paths, kept for the tag jump; the condition a
  // handed-over request left for the dialog.
  std::vector<TGrepResultLine> grepLines;
  std::shared_ptr<TGrepKeyWord> shownGrep;
  std::shared_ptr<TGrepKeyWord> pendingGrep;

  // Where the last edit left the caret; Row -1 when nothing was edited since the document came.
  TRowCol lastEdit{-1, -1};
  bool editSinceStatus = false;
  void ForgetLastEdit() {
    lastEdit = TRowCol{-1, -1};
    editSinceStatus = false;
  }

private:
  TVornDocument document_;
  TSwitchablePrompts prompts_{nullptr};
  TDocumentCommands commands_;
  TWindowServices services_;
  std::unique_ptr<TBusFolder> bus_;
  std::string busFor_;  // the runtime folder bus_ was made for
  TEditorWindow* mainWindow_ = nullptr;
  std::vector<TEditorWindow*> subWindows_;
  bool closingWindows_ = false;
};

}  // namespace vorn
