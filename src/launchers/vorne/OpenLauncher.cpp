// VornE's command line: option-file parsing, placeholders, per-folder options, quoting.
#include "vorne/OpenLauncher.h"

#include "platform/VornUtil.h"
#include "encoding/jconvert.h"

namespace vorn {
namespace {

std::string WithTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + ((end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

std::string DecodeOptionText(std::string_view bytes) {
  TCharCodeKind kind = DetectCharCode(bytes);
  if (kind == ckUtf8 || kind == ckUtf8N) {
    std::string_view body = kind == ckUtf8 ? bytes.substr(3) : bytes;
    return std::string(body);
  }
  return ConvertCharCode(bytes, ckSjis, ckUtf8N);
}

// The parameters as pieces, so that a placeholder is only ever found in the template's own
// text and never inside an argument put in for an earlier placeholder.
struct TPiece {
  std::string text;
  bool fromTemplate;
};

bool ReplacePlaceholder(std::vector<TPiece>& pieces, const std::string& mark, const std::string& value) {
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (!pieces[i].fromTemplate) continue;
    std::size_t at = pieces[i].text.find(mark);
    if (at == std::string::npos) continue;
    std::string after = pieces[i].text.substr(at + mark.size());
    pieces[i].text.resize(at);
    pieces.insert(pieces.begin() + static_cast<std::ptrdiff_t>(i) + 1, {{value, false}, {after, true}});
    return true;
  }
  return false;
}

}  // namespace

std::string CanonicalFolderOnDisk(const std::string& folder) { return CanonicalFileName(folder); }

std::string OpenLauncherOptionFile(const std::string& ownPath) {
  std::size_t slash = ownPath.rfind('/');
  std::size_t dot = ownPath.rfind('.');
  std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
                         ? ownPath.substr(0, dot) : ownPath;
  return stem + ".opt";
}

TOpenLauncherFile ParseOpenLauncherFile(std::string_view bytes, const TCanonicalFolder& canonical) {
  TOpenLauncherFile file;
  const std::vector<std::string> lines = SplitTextLines(DecodeOptionText(bytes));
  if (lines.size() > 0) file.Template = lines[0];
  if (lines.size() > 1) file.Editor = lines[1];
  for (std::size_t i = 2; i < lines.size();) {
    if (lines[i].empty() || i + 1 >= lines.size()) {
      ++i;  // an empty folder line is skipped; a folder line without options line is ignored
      continue;
    }
    file.Folders.push_back(WithTrailingSlash(canonical(lines[i])));
    file.Options.push_back(lines[i + 1]);
    i += 2;
  }
  return file;
}

TOpenLaunch BuildOpenLaunch(const TOpenLauncherFile& file, const std::string& ownPath,
                            const std::vector<std::string>& args, const std::string& currentFolder,
                            const TCanonicalFolder& canonical, const TPathExists& exists) {
  TOpenLaunch launch;
  launch.Editor = file.Editor.empty() ? ExtractFilePath(ownPath) + "VornEditor" : file.Editor;
  std::vector<TPiece> pieces{{file.Template, true}};
  std::string tail;
  bool fileSeen = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const std::string mark = "%" + std::to_string(i + 1);
    if (file.Template.find(mark) != std::string::npos) {
      ReplacePlaceholder(pieces, mark, arg);
      continue;
    }
    if (!arg.empty() && IsSwitchArgument(arg, exists)) {
      tail += " \"" + arg + "\"";
      continue;
    }
    if (!fileSeen) {
      fileSeen = true;
      std::string folder = ExtractFilePath(arg);
      folder = WithTrailingSlash(canonical(folder.empty() ? currentFolder : folder));
      for (std::size_t k = 0; k < file.Folders.size(); ++k) {
        if (folder.compare(0, file.Folders[k].size(), file.Folders[k]) != 0) continue;
        tail += " " + file.Options[k];
        break;
      }
    }
    tail += " \"" + arg + "\"";
  }
  if (!fileSeen) {
    const std::string folder = WithTrailingSlash(canonical(currentFolder));
    for (std::size_t k = 0; k < file.Folders.size(); ++k) {
      if (folder != file.Folders[k]) continue;
      tail += " " + file.Options[k];
      break;
    }
  }
  for (const TPiece& p : pieces) launch.Parameters += p.text;
  launch.Parameters += tail;
  return launch;
}

}  // namespace vorn
