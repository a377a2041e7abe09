// VornGrep's command line: folder from the first argument, mask from the names of the files.
#include "vorngrep/GrepLauncher.h"

#include <dirent.h>
#include <sys/stat.h>

#include "platform/PathPolicy.h"
#include "search/FileMask.h"

namespace vorn {

TFoundKind LookUpPathOnDisk(const std::string& pathOrPattern) {
  const std::string name = ExtractFileName(pathOrPattern);
  if (!HasWildcards(name)) {
    struct stat st {};
    if (::stat(pathOrPattern.c_str(), &st) != 0) return fkNothing;
    return S_ISDIR(st.st_mode) ? fkFolder : fkFile;
  }
  // A pattern: the first entry of its folder that matches decides, as the file system lists it.
  std::string folder = ExtractFilePath(pathOrPattern);
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return fkNothing;
  TFoundKind found = fkNothing;
  while (const dirent* e = ::readdir(dir)) {
    if (!MatchesFileMask(e->d_name, name)) continue;
    struct stat st {};
    const bool isDir = ::stat((folder + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    found = isDir ? fkFolder : fkFile;
    break;
  }
  ::closedir(dir);
  return found;
}

std::vector<std::string> BuildGrepLaunchArgs(const std::vector<std::string>& args, const TPathLookup& lookUp) {
  if (args.empty()) return {"-g"};
  const std::string folder = lookUp(args[0]) == fkFolder ? args[0] : ExtractFilePath(args[0]);
  std::string mask;
  for (const std::string& arg : args) {
    if (lookUp(arg) == fkFolder) continue;
    mask += ExtractFileName(arg) + ";";
  }
  if (!mask.empty()) mask.pop_back();
  return {"-g" + mask, "-p" + folder};
}

}  // namespace vorn
