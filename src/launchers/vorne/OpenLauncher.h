// VornE's command line: reading the option file and building the editor's parameter text.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathPolicy.h"

namespace vorn {

// Brings a folder to canonical form (absolute, on-disk spelling when it exists).
using TCanonicalFolder = std::function<std::string(const std::string&)>;
std::string CanonicalFolderOnDisk(const std::string& folder);

// The option file: line 1 the template, line 2 the editor, then folder and options lines.
struct TOpenLauncherFile {
  std::string Template;
  std::string Editor;
  std::vector<std::string> Folders;  // canonical, with a trailing "/"
  std::vector<std::string> Options;  // parallel to Folders
};

// The option file beside the launcher: its own path with the extension replaced by ".opt".
std::string OpenLauncherOptionFile(const std::string& ownPath);

// Parses the file's bytes: Shift_JIS as the file format says, or UTF-8 when it is valid
// UTF-8, so that files written on this system read as they were typed.
TOpenLauncherFile ParseOpenLauncherFile(std::string_view bytes, const TCanonicalFolder& canonical);

struct TOpenLaunch {
  std::string Editor;
  std::string Parameters;  // one text, split by the command-line rules when the editor starts
};

// args are the launcher's arguments after its own path; currentFolder is the process's.
TOpenLaunch BuildOpenLaunch(const TOpenLauncherFile& file, const std::string& ownPath,
                            const std::vector<std::string>& args, const std::string& currentFolder,
                            const TCanonicalFolder& canonical, const TPathExists& exists = PathExistsOnDisk);

}  // namespace vorn
