// Running an outside program from the window: the placeholders, the command line the shell
// gets, the script search and the dialog's state kept in "ProgHist.ini". Texts here are native
// (UTF-8) as the system runs them; the ini file holds them in Shift_JIS.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TCustomIniFile;

inline constexpr const char* kProgHistFileName = "ProgHist.ini";
inline constexpr std::size_t kProgHistLimit = 10;
// The command interpreter of console mode.
inline constexpr const char* kShellProgram = "/bin/sh";

// What goes to the program's standard input, and where its standard output goes: the radio
// buttons' numbers, as macros pass them.
enum TProgramInput : int { piNone = 0, piSelection = 1, piAll = 2 };
enum TProgramOutput : int { poNone = 0, poReplaceSelection = 1, poReplaceAll = 2, poAppend = 3, poNewEditor = 4 };

// The one quoting that makes any byte string one word of /bin/sh: single quotes, with each
// single quote written as '\''. Nothing inside is expanded, a line break included.
std::string ShellQuote(std::string_view text);

// "%%" becomes "%", "%F" and "%f" the document's path, any other "%" stays. With quoted the
// path goes in as one quoted shell word, so a name holding quotes, ";", "$()" or a line break
// is only ever a name.
std::string SubstituteFileName(std::string_view text, const std::string& path, bool quoted);

// The options text of normal mode as the program's arguments: split by the command-line
// rules first, each piece's placeholders replaced after, so the path is one argument whatever
// it holds.
std::vector<std::string> NormalModeArguments(std::string_view options, const std::string& path);

// The first word of a console command: up to the first blank outside double quotes.
std::string_view CommandFirstWord(std::string_view command);

// The console command with its first word resolved: found as written (relative to folder) or
// in a folder of scriptPath (";"-separated), it is replaced by its full path, quoted, and a
// first line "#!interpreter args" puts "interpreter args " in front.
std::string ResolveConsoleCommand(std::string_view command, const std::string& folder, const std::string& scriptPath);

// The argument vector of kShellProgram for a console command.
std::vector<std::string> ConsoleArguments(const std::string& command);

// The dialog's state between runs.
struct TProgramExecState {
  std::vector<std::string> Programs;  // newest first
  std::vector<std::string> Options;
  bool Console = false;
  TProgramInput Input = piNone;
  TProgramOutput Output = poNone;
  bool ShowPrompt = false;
  int WaitSeconds = -1;  // -1: without limit
  std::string ScriptPath;

  void Load(const TCustomIniFile& ini);
  // Writes the whole state; entries Shift_JIS cannot hold are left out of the histories.
  void Save(TCustomIniFile& ini) const;
  // A non-blank text goes to the top; later equal entries go; the list keeps kProgHistLimit.
  static void Push(std::vector<std::string>& history, const std::string& text);
};

}  // namespace vorn
