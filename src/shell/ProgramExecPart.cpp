// TProgramExecPart: the run-program command.
#include "shell/ProgramExecPart.h"

#include "dialogs/ChildRunWait.h"
#include "dialogs/ProgramExecForm.h"
#include "document/DocumentWrite.h"
#include "editor/VornEdit.h"
#include "macro/MacroLibrary.h"
#include "platform/ChildRun.h"
#include "platform/Cp932Utf8.h"
#include "platform/PathVariables.h"
#include "platform/ProcessStart.h"
#include "platform/TempFile.h"
#include "platform/VornUtil.h"
#include "qtplatform/DesktopOpen.h"
#include "settings/VornMemInifile.h"
#include "shell/EditorWindow.h"
#include "shellcore/DiffRun.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/PipeText.h"
#include "shellcore/ProgramExec.h"

#include <QTimer>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vorn {
namespace {

constexpr const char* kStartFailed = "プログラム起動に失敗しました。";
// How long a new editor has to read the output file before it goes.
constexpr int kNewEditorFileMs = 30000;

std::string CurrentFolder() {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A program as written, or the executable it names along PATH; empty for anything else (a
// document, which the desktop opens).
std::string ExecutableFor(const std::string& program) {
  if (program.find('/') != std::string::npos)
    return ::access(program.c_str(), X_OK) == 0 && IsRegularFile(program) ? program : std::string();
  const char* path = std::getenv("PATH");
  return FindOnPath(program, path ? path : "/usr/bin:/bin");
}

}  // namespace

void TProgramExecPart::AddCommands(TCommandDispatcher& dispatcher) {
  dispatcher.Set(FunctionNumber("ProgramExec"), [this](bool) { Command(); });
}

// A replayed step with arguments runs without the dialog: program, options, console mode,
// input and output choice, prompt box and wait time, in that order.
bool TProgramExecPart::FromMacro(TProgramExecRequest& request) const {
  const std::vector<std::string>* given = window_.MacroArguments();
  if (!given || given->empty()) return false;
  const TPathVariableValues values = DefaultPathVariableValues(window_.FileName());
  auto text = [&](std::size_t i) {
    return i < given->size() ? Cp932ToUtf8(ExpandMacroArgumentPath((*given)[i], values)) : std::string();
  };
  auto number = [&](std::size_t i, int missing) {
    return i < given->size() && !(*given)[i].empty() ? std::atoi((*given)[i].c_str()) : missing;
  };
  request.Program = text(0);
  request.Options = text(1);
  TProgramExecState& s = request.Settings;
  s.Console = number(2, 0) != 0;
  const int input = number(3, 0), output = number(4, 0);
  s.Input = input >= 0 && input <= 2 ? static_cast<TProgramInput>(input) : piNone;
  s.Output = output >= 0 && output <= 4 ? static_cast<TProgramOutput>(output) : poNone;
  s.ShowPrompt = number(5, 1) != 0;
  const int wait = number(6, -1);
  s.WaitSeconds = wait < 0 || wait > 32767 ? -1 : wait;
  return true;
}

bool TProgramExecPart::Ask(const TProgramExecState& state, TProgramExecRequest& request) {
  if (const auto& ask = window_.Services().askProgram) {
    request.Settings = state;
    return ask(request);
  }
  // The selection, else the word at the caret, is offered as the program.
  TVornEditCore& core = window_.Editor()->Core();
  const std::string sjis = core.GetSelLength() > 0 ? core.GetSelText() : core.WordAtCaret();
  TProgramExecForm form(state, QString::fromStdString(Cp932ToUtf8(sjis)), &window_);
  if (form.exec() != QDialog::Accepted) return false;
  request = form.Request();
  return true;
}

void TProgramExecPart::Command() {
  const std::string iniPath = UserFolder() + kProgHistFileName;
  TProgramExecState state;
  state.Load(TVornMemInifile(iniPath));
  TProgramExecRequest request;
  if (!FromMacro(request) && !Ask(state, request)) return;
  Execute(request);
  TProgramExecState::Push(state.Programs, request.Program);
  TProgramExecState::Push(state.Options, request.Options);
  std::vector<std::string> programs = std::move(state.Programs), options = std::move(state.Options);
  state = request.Settings;
  state.Programs = std::move(programs);
  state.Options = std::move(options);
  TVornMemInifile ini(iniPath);
  state.Save(ini);
  ini.UpdateFile();
}

bool TProgramExecPart::Execute(const TProgramExecRequest& request) {
  return request.Settings.Console ? RunConsole(request) : RunNormal(request);
}

bool TProgramExecPart::RunNormal(const TProgramExecRequest& request) {
  const std::string program = Trimmed(SubstituteFileName(request.Program, window_.FileName(), false));
  if (program.empty()) return false;
  const std::string executable = ExecutableFor(program);
  std::string error;
  bool started;
  if (!executable.empty()) {
    started = StartProgramArgs(executable, NormalModeArguments(request.Options, window_.FileName()), &error);
  } else if (const auto& open = window_.Services().desktopOpen) {
    started = open(program, false);
  } else {
    started = OpenWithAssociatedProgram(program);
  }
  if (!started) window_.Prompts().Warn(kStartFailed);
  return started;
}

bool TProgramExecPart::RunConsole(const TProgramExecRequest& request) {
  const TProgramExecState& s = request.Settings;
  TVornEditCore& core = window_.Editor()->Core();
  const std::string folder = CurrentFolder();
  const std::string command =
      ResolveConsoleCommand(SubstituteFileName(request.Program, window_.FileName(), true), folder, s.ScriptPath);
  if (Trimmed(command).empty()) return false;
  // A console of its own can only be shown to a program whose streams are not ours.
  if (s.ShowPrompt && s.Input == piNone && s.Output == poNone) {
    std::string error;
    const bool started = StartProgramArgs("/usr/bin/x-terminal-emulator", {"-e", kShellProgram, "-c", command}, &error);
    if (!started) window_.Prompts().Warn(kStartFailed);
    return started;
  }
  std::string input;
  if (s.Input != piNone) {
    const std::string text = s.Input == piSelection ? core.GetSelText() : window_.Lines().GetTextStr();
    std::size_t lost = 0;
    input = PipeInputBytes(text, window_.CharCode(), window_.LineBreak(), lost);
    if (lost > 0 && !window_.Prompts().ConfirmOkCancel(UnencodableQuestion(window_.CharCode(), lost))) return false;
  }
  TChildRun run;
  std::string error;
  if (!run.Start(kShellProgram, ConsoleArguments(command), std::move(input), folder, &error, false, s.Input != piNone)) {
    window_.Prompts().Warn(kStartFailed);
    return false;
  }
  const int limitMs = s.WaitSeconds < 0 ? -1 : s.WaitSeconds * 1000;
  const TChildWaitEnd end = WaitForChildRun(run, &window_, QStringLiteral("プログラムの実行"), limitMs);
  if (end == TChildWaitEnd::weCancelled) return false;
  // A program that failed leaves the text as it was: its output is no result.
  if (end == TChildWaitEnd::weFinished && run.ExitCode() != 0) {
    std::string text = "プログラムがエラーで終了しました(終了コード " + std::to_string(run.ExitCode()) + ")";
    if (!run.Errors().empty()) text += "\r\n" + run.Errors().substr(0, 1000);
    window_.Prompts().Warn(text);
    return false;
  }
  if (s.Output != poNone) PutOutput(request, run.Output());
  return true;
}

void TProgramExecPart::PutOutput(const TProgramExecRequest& request, const std::string& bytes) {
  if (request.Settings.Output == poNewEditor) {
    OpenInNewEditor(bytes);
    return;
  }
  const TPipeOutput out = PipeOutputText(bytes, window_.CharCode());
  TVornEditCore& core = window_.Editor()->Core();
  switch (request.Settings.Output) {
    case poReplaceAll: core.SelectAll(); break;
    case poAppend:
      core.ClearSelection();
      core.MoveFileEnd();
      break;
    default: break;
  }
  core.InsertText(out.Text);
  core.ScrollCaretIntoView();
  window_.Editor()->Flush();
  window_.AfterDocumentCommand();
  if (out.Lost > 0)
    window_.Prompts().Inform("プログラムの出力に、Shift_JISで表せない文字が " + std::to_string(out.Lost) +
                             " 個ありました。代わりの文字に置き換えました");
}

void TProgramExecPart::OpenInNewEditor(const std::string& bytes) {
  auto file = std::make_shared<TTempFile>();
  if (!file->Create() || !file->Write(bytes)) {
    window_.Prompts().Warn(file->Path() + "が存在しません");
    return;
  }
  window_.StartOtherCopy("-n -f \"-p" + CurrentFolder() + "\" \"" + file->Path() + "\"");
  // The new editor reads the file as it starts; it goes once that has long happened.
  QTimer::singleShot(kNewEditorFileMs, &window_, [file] { file->Remove(); });
}

}  // namespace vorn
