// Path variables ("%Temp%", "%OpenFileFolder%", "%Delimiter=/%" ...) in file names given to macros
// and settings, and the shortening of long paths for menus.
#include "platform/PathVariables.h"

#include <cstdlib>
#include <fstream>

#include "platform/VornUtil.h"
#include "base/sjis.h"

namespace vorn {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return (v && *v) ? std::string(v) : std::string();
}

std::string Home() {
  std::string h = Env("HOME");
  return h.empty() ? std::string("/") : h;
}

std::string Slashed(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// A folder of the desktop's user-dirs file (XDG_DESKTOP_DIR="$HOME/Desktop"), or the fallback.
std::string XdgUserDir(const std::string& key, const std::string& fallback) {
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty()) config = Home() + "/.config";
  std::ifstream in(config + "/user-dirs.dirs");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key + "=\"", 0) != 0 || line.size() < key.size() + 3 || line.back() != '"') continue;
    std::string value = line.substr(key.size() + 2, line.size() - key.size() - 3);
    if (value.rfind("$HOME", 0) == 0) value = Home() + value.substr(5);
    if (!value.empty() && value.front() == '/') return value;
  }
  return fallback;
}

std::string ExtensionlessName(const std::string& name) {
  std::size_t slash = name.rfind('/');
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name;
  return name.substr(0, dot);
}

std::string NamePart(const std::string& name) {
  std::size_t slash = name.rfind('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string FolderPart(const std::string& name) {
  std::size_t slash = name.rfind('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

bool StartsWithI(std::string_view text, std::size_t pos, std::string_view name) {
  return text.size() - pos >= name.size() && sjis::SameTextI(text.substr(pos, name.size()), name);
}

std::string ReplaceSlashes(const std::string& value, const std::string& delimiter) {
  std::string out;
  for (char c : value) {
    if (c == '/') out += delimiter;
    else out += c;
  }
  return out;
}

}  // namespace

TPathVariableValues DefaultPathVariableValues(const std::string& openFileName) {
  TPathVariableValues v;
  v.windows = "/etc/";
  v.system = "/usr/bin/";
  std::string tmp = Env("TMPDIR");
  v.temp = Slashed(tmp.empty() ? std::string("/tmp") : tmp);
  v.desktop = Slashed(CanonicalFileName(XdgUserDir("XDG_DESKTOP_DIR", Home() + "/Desktop")));
  v.personal = Slashed(CanonicalFileName(XdgUserDir("XDG_DOCUMENTS_DIR", Home() + "/Documents")));
  std::string data = Env("XDG_DATA_HOME");
  v.startMenu = Slashed(CanonicalFileName((data.empty() ? Home() + "/.local/share" : data) + "/applications"));
  std::string config = Env("XDG_CONFIG_HOME");
  v.startup = Slashed(CanonicalFileName((config.empty() ? Home() + "/.config" : config) + "/autostart"));
  v.exec = ProgramFolder();
  v.macro = v.exec + "Macro/";
  v.user = UserFolder();
  v.openFileName = openFileName;
  return v;
}

std::string ExpandPathVariables(std::string_view text, const TPathVariableValues& values) {
  const std::string& file = values.openFileName;
  // The two name-part variables keep their text whatever the delimiter: they hold no folders.
  const struct {
    std::string_view name;
    std::string value;
    bool followsDelimiter;
  } table[] = {
      {"%Windows%", values.windows, true},
      {"%System%", values.system, true},
      {"%Temp%", values.temp, true},
      {"%Desktop%", values.desktop, true},
      {"%Personal%", values.personal, true},
      {"%StartMenu%", values.startMenu, true},
      {"%Startup%", values.startup, true},
      {"%Exec%", values.exec, true},
      {"%Macro%", values.macro, true},
      {"%User%", values.user, true},
      {"%OpenFileName%", file, true},
      {"%OpenFileNameWithoutExt%", ExtensionlessName(file), true},
      {"%OpenFileFolder%", FolderPart(file), true},
      {"%OpenFileName2%", NamePart(file), false},
      {"%OpenFileName2WithoutExt%", ExtensionlessName(NamePart(file)), false},
  };
  constexpr std::string_view kDelimiter = "%Delimiter=";

  std::string out;
  std::string delimiter;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (sjis::IsLeadByte(text[pos])) {
      std::size_t n = sjis::CharLen(text, pos);
      out.append(text.substr(pos, n));
      pos += n;
      continue;
    }
    if (StartsWithI(text, pos, kDelimiter)) {
      std::size_t end = pos + kDelimiter.size();
      while (end < text.size() && text[end] != '%') end += sjis::CharLen(text, end);
      delimiter = std::string(text.substr(pos + kDelimiter.size(), end - pos - kDelimiter.size()));
      pos = end < text.size() ? end + 1 : text.size();
      continue;
    }
    bool matched = false;
    for (const auto& v : table) {
      if (!StartsWithI(text, pos, v.name)) continue;
      out += (v.followsDelimiter && !delimiter.empty()) ? ReplaceSlashes(v.value, delimiter) : v.value;
      pos += v.name.size();
      matched = true;
      break;
    }
    if (!matched) out += text[pos++];
  }
  return out;
}

std::string ExpandPathVariables(std::string_view text, const std::string& openFileName) {
  if (text.find('%') == std::string_view::npos) return std::string(text);
  return ExpandPathVariables(text, DefaultPathVariableValues(openFileName));
}

std::string ShortenPath(std::string_view path, const TTextMeasure& measure, int maxWidth) {
  // No drive letters here: the root "/" stays in front and the shortest form is "/.../name".
  std::size_t slash = path.rfind('/');
  std::string folder(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
  const std::string file(path.substr(folder.size()));
  while (measure.TextWidth(folder + file) > maxWidth) {
    const bool rooted = !folder.empty() && folder.front() == '/';
    std::string rest = rooted ? folder.substr(1) : folder;
    if (rest.rfind(".../", 0) == 0) rest.erase(0, 4);
    std::size_t cut = rest.find('/');
    if (cut == std::string::npos) break;  // nothing left to cut
    rest.erase(0, cut + 1);
    folder = (rooted ? "/.../" : ".../") + rest;
  }
  return folder + file;
}

}  // namespace vorn
