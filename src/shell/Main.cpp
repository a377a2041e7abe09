// TVornEditMain: the process's main window, the command line's passes and the close question.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "macro/MacroText.h"
#include "base/VornError.h"
#include "platform/ReadableFile.h"
#include "platform/ProcessStart.h"
#include "platform/VornUtil.h"
#include "shell/CommandActions.h"
#include "shell/FileCommandsPart.h"
#include "shell/GrepPart.h"
#include "shell/JournalPart.h"
#include "shell/MacroPart.h"
#include "shell/Sub.h"
#include "shellcore/InstanceCoordination.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QToolBar>

#include <unistd.h>

namespace vorn {
namespace {

QString FromPath(const std::string& path) { return QString::fromStdString(path); }

TWindowServices::TPrompts DefaultPrompts(QWidget* owner) {
  TWindowServices::TPrompts p;
  p.askCreateMissing = [owner](const QString& text) {
    const auto answer = QMessageBox::question(owner, QStringLiteral("VornEditor"), text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Yes);
    return answer == QMessageBox::Yes ? daYes : answer == QMessageBox::No ? daNo : daCancel;
  };
  p.chooseFileIn = [owner](const QString& folder) {
    return QFileDialog::getOpenFileName(owner, QString(), folder,
                                        QStringLiteral("すべてのファイル(*.*) (*);;テキストファイル(*.txt) (*.txt)"));
  };
  p.warn = [owner](const QString& text) { QMessageBox::warning(owner, QStringLiteral("VornEditor"), text); };
  return p;
}

// Questions as message boxes; messages through the services' warning, which tests capture.
class TWindowPromptBoxes : public TDocumentPromptBoxes {
public:
  TWindowPromptBoxes(QWidget* owner, const TWindowServices::TPrompts& prompts)
      : TDocumentPromptBoxes(owner), prompts_(prompts) {}
  void Warn(const std::string& text) override { prompts_.warn(QString::fromStdString(text)); }
  void Error(const std::string& text) override { prompts_.warn(QString::fromStdString(text)); }

private:
  const TWindowServices::TPrompts& prompts_;
};

}  // namespace

TVornEditMain::TVornEditMain(QWidget* parent) : TEditorWindow(std::make_unique<TEditorProcess>(), parent) {
  setObjectName(QStringLiteral("TVornEditMain"));
  TEditorProcess& process = Process();
  Services().prompts = DefaultPrompts(this);
  promptBoxes_ = std::make_unique<TWindowPromptBoxes>(this, Services().prompts);
  process.Prompts().SetDefault(promptBoxes_.get());
  TFileCommandsPart::InstallFileDialogs(*this);
  TWindowServices& services = Services();
  Commands().SetSaveAsChooser([&services] { return services.fileDialogs.askSaveAs(); });
  BuildWindow();
  UpdateTitle();
  UpdateStatus();
}

// The sub windows go first, while the list they leave still exists.
TVornEditMain::~TVornEditMain() { DeleteSubWindows(); }

// Another editor that shows the file takes this start's requests and comes forward; this
// process then ends without a window of its own.
bool TVornEditMain::HandedToWindowShowing(const std::string& name) {
  if (WindowShowingFile(name) == 0) return false;
  if (!CommonOptions().RestrictAlreadyOpenMsg) Prompts().Inform(name + "は開かれています");
  const TCommandLinePlan& plan = Plan();
  TStartupRequests requests;
  if (plan.jump) requests.lineJump = plan.jump->toEnd ? -1 : plan.jump->line;
  // The command line is native text; the other window reads a Shift_JIS line.
  if (plan.macroLine) requests.lineMacro = MacroLineFromCommandLine(*plan.macroLine);
  requests.macroFile = plan.macroFile;
  const TStartupHandOff handOff = HandOffToOpenWindow(Process().Bus(), name, requests, BusId());
  ShowMessage(handOff.message);
  return handOff.handedOff;
}

bool TVornEditMain::OpenNamedArgument(const std::string& argument) {
  const std::string name = CanonicalFileName(argument);
  if (IsRegularFile(name)) {
    if (HandedToWindowShowing(name)) return false;
    LoadDocument(name, false);
  } else if (DirectoryExists(name)) {
    ::chdir(name.c_str());
    const QString chosen = WindowPrompts().chooseFileIn(FromPath(name));
    if (!chosen.isEmpty()) LoadDocument(chosen.toStdString(), false);
  } else if (const TFileRefusal refusal = RefusalOfPath(name); refusal != frNone) {
    // A device or a pipe exists: offering to create it would end in writing to it.
    Prompts().Error(EFileOpenError(name, RefusalReason(refusal)).what());
  } else {
    const QString text = FromPath(name) + QStringLiteral("はみつかりません。新規作成しますか？") +
                         QStringLiteral("\r\n\r\n") + QStringLiteral("（関連づけがうまくいかない場合は、") +
                         QStringLiteral("VornEditorヘルプの「起動方法」－「関連づけ」") +
                         QStringLiteral("のページを参照してください）");
    const TDocumentFileSettings& file = Document().FileSettings();
    switch (WindowPrompts().askCreateMissing(text)) {
      case daCancel: return false;
      case daYes:
        SetFileName(name);
        SetCharCode(file.OpenCodeGiven ? file.OpenCode : ckSjis);
        SetLineBreak(file.LineBreakGiven ? Plan().lineBreak : lbCRLF);
        break;
      default: break;
    }
  }
  return true;
}

bool TVornEditMain::ProcessCommandLine(const std::vector<std::string>& args) {
  TEditorProcess& process = Process();
  const TCommandLinePlan& plan = process.plan = PlanCommandLine(args);
  LoadCommonSettings(false);
  LoadFileHistory();
  // pass 1
  process.monitorIndex = plan.monitorIndex;
  TDocumentFileSettings& file = Document().FileSettings();
  if (plan.openCodeGiven) {
    file.OpenCodeGiven = true;
    file.OpenCode = plan.openCode;
    file.CharCode = plan.openCode;
  }
  if (plan.lineBreakGiven) {
    file.LineBreakGiven = true;
    file.GivenLineBreak = plan.lineBreak;
  }
  file.LineBreak = plan.lineBreak;
  if (plan.stayOnTop) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (plan.grepMask) Grep().RequestGrepDialog(*plan.grepMask);
  // pass 2
  for (const auto& named : plan.namedFiles) {
    if (!FileName().empty()) break;
    if (!OpenNamedArgument(named)) return false;
  }
  if (FileName().empty()) Journal().AtUntitledStart();
  if (plan.jump) JumpToLine(*plan.jump);
  // As posted messages to the window: they run once it is shown.
  if (plan.macroLine)
    QTimer::singleShot(0, this, [this, line = MacroLineFromCommandLine(*plan.macroLine)] { Macro().RunLine(line); });
  if (plan.macroFile) QTimer::singleShot(0, this, [this, file = *plan.macroFile] { Macro().RunFile(file); });
  ApplyPass3();
  if (plan.namedFiles.size() > 1) HandOff();
  process.creationDone = true;
  if (FileName().empty()) ApplyFileType();  // an untitled document takes the common type
  SizeByColumnsAndRows(process.monitorIndex);
  UpdateTitle();
  UpdateStatus();
  return true;
}

void TVornEditMain::ApplyPass3() {
  const TCommandLinePlan& plan = Plan();
  if (plan.browseMode) SetBrowseMode(true);
  if (plan.forgetFileName) Document().SetFileName(std::string());
  if (plan.currentFolder) ::chdir(plan.currentFolder->c_str());
  if (plan.statusBarVisible || plan.toolBarVisible) {
    QToolBar* toolBar = Actions()->ToolBar();
    ShowBars(plan.toolBarVisible.value_or(toolBar && !toolBar->isHidden()),
             plan.statusBarVisible.value_or(!StatusPanels()->isHidden()));
  }
  if (plan.maximized) setWindowState(*plan.maximized ? Qt::WindowMaximized : Qt::WindowMinimized);
}

void TVornEditMain::HandOff() {
  TEditorProcess& process = Process();
  process.handOffParams = HandOffParamText(process.plan, MonitorNumber());
  if (!Services().handOffEnabled) return;
  std::string error;
  if (!StartProgram(CurrentExecutablePath(), process.handOffParams, &error))
    WindowPrompts().warn(QStringLiteral("VornEditor: ") + QString::fromStdString(error));
}

bool TVornEditMain::ConfirmCloseAllWindows() {
  if (!CommonOptions().QueryCloseAllMultiWindow || Process().SubWindows().empty()) return true;
  return Prompts().ConfirmOkCancel(CloseAllWindowsQuestion());
}

void TVornEditMain::closeEvent(QCloseEvent* event) {
  if ((!Closing() && Modified() && !Commands().QuerySave()) || !ConfirmCloseAllWindows()) {
    event->ignore();
    AfterDocumentCommand();
    return;
  }
  WriteHistoryEntry();
  CloseSubWindows();
  event->accept();
}

void TVornEditMain::CloseSubWindows() {
  const std::vector<TEditorWindow*> subs = Process().SubWindows();
  for (TEditorWindow* sub : subs) sub->close();
}

// Also frees the sub windows already closed whose deferred deletion has not come yet.
void TVornEditMain::DeleteSubWindows() {
  Process().SetClosingWindows(true);
  disconnect(qApp, nullptr, this, nullptr);
  if (QClipboard* clipboard = QGuiApplication::clipboard()) disconnect(clipboard, nullptr, this, nullptr);
  const QList<TVornEditSub*> subs = findChildren<TVornEditSub*>(Qt::FindDirectChildrenOnly);
  for (TVornEditSub* sub : subs) delete sub;
}

}  // namespace vorn
