// The editor's command line: switch recognition, switch values, and the three passes as a plan.
#include "shellcore/CommandLine.h"

#include <cctype>
#include <charconv>

namespace vorn {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::optional<char> ThirdChar(std::string_view arg) {
  return arg.size() >= 3 ? std::optional<char>(arg[2]) : std::nullopt;
}

// Integer value as the run time's string-to-integer conversion reads it: the whole text must be
// a decimal number with an optional sign.
std::optional<int> ParseInt(std::string_view s) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

std::string TrimSpaces(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

void ApplyPass1(std::string_view arg, TCommandLinePlan& plan) {
  const std::string_view value = arg.substr(2);
  switch (Lower(arg[1])) {
    case 'c': plan.fileTypeName = std::string(arg.substr(1)); break;
    case 'f': plan.noHistory = true; break;
    case 'g': plan.grepMask = TrimSpaces(value); break;
    case 'j': plan.jump = ParseJumpValue(value); break;
    case 'l': plan.macroLine = std::string(value); break;
    case 'm': plan.macroFile = std::string(value); break;
    case 'o':
      plan.openCodeGiven = true;
      plan.openCode = CodeKindOfLetter(ThirdChar(arg));
      break;
    case 'r':
      plan.lineBreakGiven = true;
      plan.lineBreak = LineBreakOfLetter(ThirdChar(arg));
      break;
    case 'x': plan.monitorIndex = ParseMonitorValue(value); break;
    case 'y': plan.stayOnTop = true; break;
    default: break;
  }
}

// A switch goes on as written; one whose value holds a blank is quoted, or the next process
// would split it and take its tail for a file to open.
std::string SwitchAsWritten(std::string_view arg) {
  for (char c : arg)
    if (static_cast<unsigned char>(c) <= ' ') return "\"" + std::string(arg) + "\"";
  return std::string(arg);
}

void ApplyPass3(std::string_view arg, TCommandLinePlan& plan) {
  plan.switchText += SwitchAsWritten(arg) + " ";
  const bool dash = arg.size() >= 3 && arg[2] == '-';
  switch (Lower(arg[1])) {
    case 'b': plan.browseMode = true; break;
    case 'e': plan.escCloses = true; break;
    case 'n': plan.forgetFileName = true; break;
    case 'p': plan.currentFolder = std::string(arg.substr(2)); break;
    case 's': plan.statusBarVisible = !dash; break;
    case 't': plan.toolBarVisible = !dash; break;
    case 'z': plan.maximized = !dash; break;
    default: break;
  }
}

}  // namespace

TJumpTarget ParseJumpValue(std::string_view value) {
  if (value.size() == 1 && Lower(value[0]) == 'e') return {true, 0};
  return {false, ParseInt(value).value_or(0)};
}

int ParseMonitorValue(std::string_view value) { return ParseInt(value).value_or(-1); }

bool TakesStationGate(const std::vector<std::string>& args) {
  for (const auto& a : args) {
    if (a.size() == 2 && a[0] == '/' && (a[1] == 'H' || a[1] == 'h' || a[1] == 'A' || a[1] == 'a')) return true;
  }
  return false;
}

bool IsStationModeCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) return false;
  const auto& a = args[0];
  return a.size() == 2 && (a[0] == '-' || a[0] == '/') && (Lower(a[1]) == 'h' || Lower(a[1]) == 'a');
}

bool IsDesktopStationCommand(const std::vector<std::string>& args) {
  return IsStationModeCommand(args) && Lower(args[0][1]) == 'a';
}

bool StartsMinimized(const std::vector<std::string>& args) {
  for (const auto& a : args) {
    if (a.size() == 3 && (a[0] == '-' || a[0] == '/') && Lower(a[1]) == 'z' && a[2] == '-') return true;
  }
  return false;
}

TCommandLinePlan PlanCommandLine(const std::vector<std::string>& args, const TPathExists& exists) {
  TCommandLinePlan plan;
  std::vector<bool> isSwitch;
  isSwitch.reserve(args.size());
  for (const auto& a : args) isSwitch.push_back(a.size() >= 2 && IsSwitchArgument(a, exists));

  for (std::size_t i = 0; i < args.size(); ++i)
    if (isSwitch[i]) ApplyPass1(args[i], plan);
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (isSwitch[i] && !exists(args[i])) continue;
    if (!args[i].empty()) plan.namedFiles.push_back(args[i]);
  }
  for (std::size_t i = 0; i < args.size(); ++i)
    if (isSwitch[i]) ApplyPass3(args[i], plan);
  return plan;
}

std::string HandOffParamText(const TCommandLinePlan& plan, int monitor) {
  std::string text = plan.switchText;
  for (std::size_t i = 1; i < plan.namedFiles.size(); ++i)
    text += "\"" + plan.namedFiles[i] + "\" -x" + std::to_string(monitor) + " ";
  return text;
}

}  // namespace vorn
