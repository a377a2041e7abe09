// The user's file associations in the freedesktop model: the extension's glob in a MIME package,
// a hidden desktop entry made from the shipped one, and the default in mimeapps.list.
#include "shellcore/FileAssociation.h"

#include "base/VornError.h"
#include "platform/AtomicFile.h"
#include "platform/ChildRun.h"
#include "platform/FileBytes.h"
#include "platform/VornUtil.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace vorn {
namespace {

constexpr const char* kOwnMimePrefix = "application/x-vorneditor-";
constexpr const char* kDesktopIdPrefix = "org.vorneditor.VornEditor-";

std::string Slashed(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string EnvFolder(const char* name, const char* underHome) {
  if (const char* v = std::getenv(name); v && *v == '/') return Slashed(v);
  const char* home = std::getenv("HOME");
  return Slashed(std::string(home && *home ? home : "/") + underHome);
}

// The extension without its period, lower-cased, with what a MIME name or file name cannot
// hold made an underscore.
std::string NamePart(const std::string& extension) {
  std::string out;
  for (std::size_t i = extension.starts_with(".") ? 1 : 0; i < extension.size(); ++i) {
    const char c = extension[i];
    const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (c >= 'A' && c <= 'Z') out += static_cast<char>(c - 'A' + 'a');
    else out += keep ? c : '_';
  }
  return out;
}

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string XmlEscaped(const std::string& s) {
  std::string out;
  for (const char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A desktop entry's value escapes: backslash first, then the line breaks a value cannot hold.
std::string ValueEscaped(const std::string& s) {
  std::string out;
  for (const char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string PercentDoubled(const std::string& s) {
  std::string out;
  for (const char c : s) out += c == '%' ? std::string("%%") : std::string(1, c);
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

bool IsGroupLine(const std::string& line) { return line.starts_with("["); }

std::string ShippedIcon() {
  for (const std::string& line : Lines(std::string(ShippedDesktopEntry())))
    if (line.starts_with("Icon=")) return line.substr(5);
  return "org.vorneditor.VornEditor";
}

// Sets key in group (appended when missing), keeping every other line as it stands.
void SetGroupKey(std::vector<std::string>& lines, const std::string& group, const std::string& key,
                 const std::string& value) {
  const std::string header = "[" + group + "]";
  std::size_t at = 0;
  while (at < lines.size() && lines[at] != header) ++at;
  if (at == lines.size()) {
    if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
    lines.push_back(header);
    lines.push_back(key + "=" + value);
    return;
  }
  std::size_t end = at + 1;
  while (end < lines.size() && !IsGroupLine(lines[end])) ++end;
  for (std::size_t i = at + 1; i < end; ++i)
    if (lines[i].starts_with(key + "=")) {
      lines[i] = key + "=" + value;
      return;
    }
  std::size_t insert = end;
  while (insert > at + 1 && lines[insert - 1].empty()) --insert;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert), key + "=" + value);
}

std::string GroupValue(const std::vector<std::string>& lines, const std::string& group, const std::string& key) {
  bool inGroup = false;
  for (const std::string& line : lines) {
    if (IsGroupLine(line)) inGroup = line == "[" + group + "]";
    else if (inGroup && line.starts_with(key + "=")) return line.substr(key.size() + 1);
  }
  return {};
}

std::string ReadIfExists(const std::string& path) {
  if (!IsRegularFile(path)) return {};
  const TByteBuffer bytes = ReadFileBytes(path);
  return std::string(bytes.Data(), bytes.Size());
}

void WriteCreatingFolder(const std::string& path, const std::string& text, std::vector<std::string>& written) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  WriteFileAtomicallyOrThrow(path, text);
  written.push_back(path);
}

// Runs one refresher; an empty text when it ran and succeeded.
std::string RunRefresher(const std::string& program, const std::string& folder) {
  TChildRun run;
  std::string error;
  if (!run.Start(program, {folder}, {}, {}, &error, true, false)) return program + ": " + error;
  for (int waited = 0; !run.Pump(100) && waited < 100; ++waited) {
  }
  if (!run.Finished()) {
    run.Cancel();
    return program + ": 応答がありません";
  }
  if (run.ExitCode() != 0) return program + ": " + run.Errors();
  return {};
}

}  // namespace

TAssocFolders UserAssocFolders() {
  return {EnvFolder("XDG_DATA_HOME", "/.local/share"), EnvFolder("XDG_CONFIG_HOME", "/.config")};
}

bool IsOwnMimeType(const std::string& mimeType) { return mimeType.starts_with(kOwnMimePrefix); }

std::string AssociationMimeType(const TAssocRequest& r) {
  if (!r.KnownMimeType.empty()) return r.KnownMimeType;
  return kOwnMimePrefix + NamePart(r.Extension);
}

std::string AssociationDesktopId(const std::string& extension) {
  return kDesktopIdPrefix + NamePart(extension) + ".desktop";
}

// Inside double quotes a desktop entry escapes ", `, $ and \ with a backslash; percent signs
// that are no field code are doubled everywhere.
std::string AssociationExec(const std::string& programPath, const std::string& options) {
  std::string quoted = "\"";
  for (const char c : programPath) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string exec = PercentDoubled(quoted);
  if (!options.empty()) exec += " " + PercentDoubled(options);
  return ValueEscaped(exec + " %f");
}

// The shipped entry's names, icon and categories, hidden from the menus (the shipped entry is
// the one shown there), opening files of this one type with the options given.
std::string AssociationDesktopEntry(const TAssocRequest& r) {
  std::vector<std::string> out;
  bool inMain = false;
  for (const std::string& line : Lines(std::string(ShippedDesktopEntry()))) {
    if (IsGroupLine(line)) inMain = line == "[Desktop Entry]";
    if (!inMain) continue;
    if (line.starts_with("Exec=") || line.starts_with("MimeType=") || line.starts_with("Actions=") ||
        line.starts_with("NoDisplay="))
      continue;
    out.push_back(line);
  }
  while (!out.empty() && out.back().empty()) out.pop_back();
  out.push_back("NoDisplay=true");
  out.push_back("Exec=" + AssociationExec(r.ProgramPath, r.Options));
  out.push_back("MimeType=" + AssociationMimeType(r) + ";");
  return Joined(out);
}

std::string AssociationMimePackage(const TAssocRequest& r) {
  const std::string mime = AssociationMimeType(r);
  const bool own = IsOwnMimeType(mime);
  if (!own && !r.ChangeIcon) return {};
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                    "  <mime-type type=\"" + XmlEscaped(mime) + "\">\n";
  // The system's own types keep their names; only the editor's types are named by the user.
  if (own) {
    xml += "    <comment>" + XmlEscaped(r.TypeName) + "</comment>\n";
    xml += "    <sub-class-of type=\"text/plain\"/>\n";
  }
  if (r.ChangeIcon) xml += "    <icon name=\"" + XmlEscaped(ShippedIcon()) + "\"/>\n";
  xml += "    <glob pattern=\"*" + XmlEscaped(LowerAscii(r.Extension)) + "\"/>\n";
  xml += "  </mime-type>\n</mime-info>\n";
  return xml;
}

std::string MimeAppsWithAssociation(const std::string& current, const std::string& mimeType,
                                    const std::string& desktopId, bool makeDefault) {
  std::vector<std::string> lines = Lines(current);
  std::string added = desktopId + ";";
  std::istringstream others(GroupValue(lines, "Added Associations", mimeType));
  for (std::string id; std::getline(others, id, ';');)
    if (!id.empty() && id != desktopId) added += id + ";";
  SetGroupKey(lines, "Added Associations", mimeType, added);
  if (makeDefault) SetGroupKey(lines, "Default Applications", mimeType, desktopId + ";");
  return Joined(lines);
}

TAssocOutcome RegisterAssociation(const TAssocRequest& r, const TAssocFolders& folders) {
  TAssocOutcome outcome;
  outcome.MimeType = AssociationMimeType(r);
  const std::string package = folders.DataHome + "mime/packages/vorneditor-" + NamePart(r.Extension) + ".xml";
  const std::string packageText = AssociationMimePackage(r);
  std::error_code absent;
  // A type the system knows needs no package of ours; one left from an earlier registration goes.
  if (!packageText.empty()) WriteCreatingFolder(package, packageText, outcome.Written);
  else std::filesystem::remove(package, absent);
  const std::string id = AssociationDesktopId(r.Extension);
  WriteCreatingFolder(folders.DataHome + "applications/" + id, AssociationDesktopEntry(r), outcome.Written);
  const std::string apps = folders.ConfigHome + "mimeapps.list";
  WriteCreatingFolder(apps, MimeAppsWithAssociation(ReadIfExists(apps), outcome.MimeType, id, r.MakeDefault),
                      outcome.Written);
  // The database is rebuilt from the packages folder, which may hold none of ours yet.
  std::filesystem::create_directories(folders.DataHome + "mime/packages", absent);
  std::string note = RunRefresher("update-mime-database", folders.DataHome + "mime");
  const std::string desktopNote = RunRefresher("update-desktop-database", folders.DataHome + "applications");
  if (!desktopNote.empty()) note += (note.empty() ? "" : "\n") + desktopNote;
  if (!note.empty())
    outcome.RefreshNote = "関連付けのファイルは書き込みましたが、デスクトップへの通知に失敗しました。\n" + note;
  return outcome;
}

}  // namespace vorn
