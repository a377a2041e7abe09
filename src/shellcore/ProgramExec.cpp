// Placeholders, shell quoting, the script search and ProgHist.ini.
#include "shellcore/ProgramExec.h"

#include "encoding/jconvert.h"
#include "platform/PathPolicy.h"
#include "settings/VornMemInifile.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

namespace vorn {
namespace {

constexpr const char* kOptionSection = "Option";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r' || s.back() == '\n')) s.remove_suffix(1);
  return std::string(s);
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string Joined(std::string folder, std::string_view name) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + std::string(name);
}

// The interpreter line's text after "#" and "!", or nothing when the file has none.
std::string InterpreterOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!std::getline(in, line)) return {};
  std::string t = Trim(line);
  if (t.empty() || t.front() != '#') return {};
  t = Trim(std::string_view(t).substr(1));
  if (t.empty() || t.front() != '!') return {};
  return Trim(std::string_view(t).substr(1));
}

std::string ToSjis(const std::string& utf8, bool& lost) {
  std::size_t substituted = 0;
  std::string s = ConvertCharCode(utf8, ckUtf8N, ckSjis, &substituted);
  lost = substituted > 0;
  return s;
}

void LoadHistory(const TCustomIniFile& ini, const char* section, std::vector<std::string>& into) {
  into.clear();
  const int count = std::clamp(ini.ReadInteger(section, "Count", 0), 0, static_cast<int>(kProgHistLimit));
  for (int i = 0; i < count; ++i) {
    const std::string sjis = ini.ReadString(section, std::to_string(i), "");
    if (!sjis.empty()) into.push_back(ConvertCharCode(sjis, ckSjis, ckUtf8N));
  }
}

void SaveHistory(TCustomIniFile& ini, const char* section, const std::vector<std::string>& history) {
  ini.EraseSection(section);
  int n = 0;
  for (const std::string& entry : history) {
    if (n >= static_cast<int>(kProgHistLimit)) break;
    bool lost = false;
    const std::string sjis = ToSjis(entry, lost);
    if (lost) continue;
    ini.WriteString(section, std::to_string(n++), sjis);
  }
  ini.WriteInteger(section, "Count", n);
}

}  // namespace

std::string ShellQuote(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  out += '\'';
  return out;
}

std::string SubstituteFileName(std::string_view text, const std::string& path, bool quoted) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (next == 'F' || next == 'f') {
        out += quoted ? ShellQuote(path) : path;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::vector<std::string> NormalModeArguments(std::string_view options, const std::string& path) {
  std::vector<std::string> args = SplitParamText(options);
  for (std::string& a : args) a = SubstituteFileName(a, path, false);
  return args;
}

std::string_view CommandFirstWord(std::string_view command) {
  bool inQuotes = false;
  std::size_t i = 0;
  for (; i < command.size(); ++i) {
    if (command[i] == '"') inQuotes = !inQuotes;
    else if (IsBlank(command[i]) && !inQuotes) break;
  }
  return command.substr(0, i);
}

std::string ResolveConsoleCommand(std::string_view command, const std::string& folder, const std::string& scriptPath) {
  std::string_view trimmed = command;
  while (!trimmed.empty() && IsBlank(trimmed.front())) trimmed.remove_prefix(1);
  const std::string_view word = CommandFirstWord(trimmed);
  std::string name(word);
  name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
  if (name.empty()) return std::string(command);
  std::string found;
  if (IsFile(name.front() == '/' ? name : Joined(folder, name))) {
    found = name.front() == '/' ? name : Joined(folder, name);
  } else if (name.find('/') == std::string::npos) {
    std::size_t at = 0;
    while (found.empty() && at <= scriptPath.size()) {
      std::size_t end = scriptPath.find(';', at);
      if (end == std::string::npos) end = scriptPath.size();
      const std::string dir = Trim(std::string_view(scriptPath).substr(at, end - at));
      at = end + 1;
      if (!dir.empty() && IsFile(Joined(dir, name))) found = Joined(dir, name);
    }
  }
  if (found.empty()) return std::string(command);
  const std::string interpreter = InterpreterOf(found);
  std::string out = interpreter.empty() ? std::string() : interpreter + " ";
  out += ShellQuote(found);
  out += trimmed.substr(word.size());
  return out;
}

std::vector<std::string> ConsoleArguments(const std::string& command) { return {"-c", command}; }

void TProgramExecState::Push(std::vector<std::string>& history, const std::string& text) {
  if (Trim(text).empty()) return;
  history.erase(std::remove(history.begin(), history.end(), text), history.end());
  history.insert(history.begin(), text);
  if (history.size() > kProgHistLimit) history.resize(kProgHistLimit);
}

void TProgramExecState::Load(const TCustomIniFile& ini) {
  LoadHistory(ini, "ProgHist", Programs);
  LoadHistory(ini, "OptHist", Options);
  Console = ini.ReadBool(kOptionSection, "Console", false);
  Input = ini.ReadBool(kOptionSection, "StdinAll", false)        ? piAll
          : ini.ReadBool(kOptionSection, "StdinSelected", false) ? piSelection
                                                                 : piNone;
  Output = ini.ReadBool(kOptionSection, "StdoutNew", false)        ? poNewEditor
           : ini.ReadBool(kOptionSection, "StdoutAdd", false)      ? poAppend
           : ini.ReadBool(kOptionSection, "StdoutAll", false)      ? poReplaceAll
           : ini.ReadBool(kOptionSection, "StdoutSelected", false) ? poReplaceSelection
                                                                   : poNone;
  ShowPrompt = ini.ReadBool(kOptionSection, "ShowPrompt", false);
  WaitSeconds = ini.ReadInteger(kOptionSection, "WaitTime", -1);
  if (WaitSeconds < -1 || WaitSeconds > 32767) WaitSeconds = -1;
  ScriptPath = ConvertCharCode(ini.ReadString(kOptionSection, "ScriptPath", ""), ckSjis, ckUtf8N);
}

void TProgramExecState::Save(TCustomIniFile& ini) const {
  SaveHistory(ini, "ProgHist", Programs);
  SaveHistory(ini, "OptHist", Options);
  ini.WriteBool(kOptionSection, "Console", Console);
  ini.WriteBool(kOptionSection, "StdinNone", Input == piNone);
  ini.WriteBool(kOptionSection, "StdinSelected", Input == piSelection);
  ini.WriteBool(kOptionSection, "StdinAll", Input == piAll);
  ini.WriteBool(kOptionSection, "StdoutNone", Output == poNone);
  ini.WriteBool(kOptionSection, "StdoutSelected", Output == poReplaceSelection);
  ini.WriteBool(kOptionSection, "StdoutAll", Output == poReplaceAll);
  ini.WriteBool(kOptionSection, "StdoutAdd", Output == poAppend);
  ini.WriteBool(kOptionSection, "StdoutNew", Output == poNewEditor);
  ini.WriteBool(kOptionSection, "ShowPrompt", ShowPrompt);
  ini.WriteInteger(kOptionSection, "WaitTime", WaitSeconds);
  bool lost = false;
  const std::string path = ToSjis(ScriptPath, lost);
  ini.WriteString(kOptionSection, "ScriptPath", lost ? std::string() : path);
}

}  // namespace vorn
