// Shared Qt-free file-system helpers of the shell and tools: program and user folders, canonical
// names, file tests, help.
#include "platform/VornUtil.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string_view>

#include "base/TextUtil.h"
#include "platform/Cp932Utf8.h"
#include "platform/ProcessStart.h"

#ifndef VORN_INSTALL_DATADIR
#define VORN_INSTALL_DATADIR "/usr/share/VornEditor/"
#endif
// The installed data folder as seen from the installed programs' folder.
#ifndef VORN_DATA_FROM_PROGRAMS
#define VORN_DATA_FROM_PROGRAMS "../../share/VornEditor/"
#endif

namespace vorn {

namespace fs = std::filesystem;

namespace {

std::string WithTrailingSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v && *v) ? std::string(v) : fallback;
}

std::string HomeFolder() {
  if (const char* h = std::getenv("HOME"); h && *h) return h;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string XdgDataHome() { return EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share"); }

bool IsWritableFolder(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

// "UsrDir.dat" is written in Shift_JIS like every stored text; paths here are UTF-8. A line that
// is not well-formed Shift_JIS is kept as it was rather than named with substitute characters.
std::string SjisToUtf8(const std::string& sjis) {
  std::size_t substituted = 0;
  std::string utf8 = Cp932ToUtf8(sjis, &substituted);
  return substituted == 0 ? utf8 : sjis;
}

std::string FirstLineOf(const std::string& path, bool& found) {
  std::ifstream in(path, std::ios::binary);
  found = static_cast<bool>(in);
  std::string line;
  if (found) std::getline(in, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

std::string LoginName() {
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name && *pw->pw_name) return pw->pw_name;
  return EnvOr("USER", "");
}

// Login names are UTF-8, whose bytes outside ASCII are all 0x80 or above: a byte-wise pass
// replaces exactly the separators and never touches part of a character.
std::string SanitizeBytes(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (std::string_view("\"*,/:;<>?\\|").find(c) != std::string_view::npos) c = '_';
  return out;
}

// The first executable file of that name in a folder of $PATH, or empty. Looked up here
// because starting a program takes a full path and does not search.
std::string FindOnSearchPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string_view folders = (path && *path) ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!folders.empty()) {
    const std::size_t colon = std::min(folders.find(':'), folders.size());
    std::string folder(folders.substr(0, colon));
    folders.remove_prefix(std::min(colon + 1, folders.size()));
    const std::string candidate = WithTrailingSlash(folder.empty() ? "." : folder) + program;
    if (IsRegularFile(candidate) && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::string();
}

std::mutex folderMutex;
std::string programFolderCache, userFolderCache;

}  // namespace

std::string ExecutableFolder() {
  const std::string exe = CurrentExecutablePath();
  std::error_code ec;
  if (exe.empty()) return WithTrailingSlash(fs::current_path(ec).string());
  return WithTrailingSlash(fs::path(exe).parent_path().string());
}

std::string InstallLayoutDataFolder(const std::string& exeFolder) {
  return WithTrailingSlash((fs::path(WithTrailingSlash(exeFolder)) / VORN_DATA_FROM_PROGRAMS).lexically_normal().string());
}

std::string ChooseProgramFolder(const std::string& exeFolder, const std::string& dataHome) {
  std::string folder = WithTrailingSlash(exeFolder);
  if (DirectoryExists(folder + "Setting")) return folder;
  // An installed program keeps the user's files out of the install even where the user may
  // write there (root, a prefix in the home folder): a package removal must find only its own.
  const bool installed = DirectoryExists(InstallLayoutDataFolder(folder) + "Setting");
  if (!installed && IsWritableFolder(folder)) return folder;
  return WithTrailingSlash(dataHome) + "VornEditor/";
}

std::string ProgramFolder() {
  std::lock_guard lock(folderMutex);
  if (programFolderCache.empty()) programFolderCache = ChooseProgramFolder(ExecutableFolder(), XdgDataHome());
  return programFolderCache;
}

std::string InstalledDataFolder() {
  std::string exe = ExecutableFolder();
  if (ProgramFolder() == exe) return std::string();
  // Any install prefix keeps the data at the same place relative to the programs.
  std::string beside = InstallLayoutDataFolder(exe);
  if (DirectoryExists(beside)) return beside;
  return VORN_INSTALL_DATADIR;
}

std::string ChooseUserFolder(const std::string& programFolder, const std::string& loginName) {
  std::string base = WithTrailingSlash(programFolder);
  bool found = false;
  std::string line = FirstLineOf(base + "UsrDir.dat", found);
  if (found && !line.empty()) return base + SjisToUtf8(SanitizeFileName(line)) + "/";
  if (!loginName.empty()) return base + SanitizeBytes(loginName) + "/";
  return base + "Default/";
}

std::string UserFolder() {
  std::string program = ProgramFolder();
  std::lock_guard lock(folderMutex);
  if (userFolderCache.empty()) userFolderCache = ChooseUserFolder(program, LoginName());
  return userFolderCache;
}

namespace {

bool MakeWritableFolder(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  return DirectoryExists(folder) && IsWritableFolder(folder);
}

}  // namespace

TUserFolderChoice MakeUserFolderIn(const std::string& preferred, const std::string& dataHome,
                                   const std::string& loginName) {
  if (MakeWritableFolder(preferred)) return {preferred, {}};
  const std::string own = ChooseUserFolder(WithTrailingSlash(dataHome) + "VornEditor/", loginName);
  if (own != preferred && MakeWritableFolder(own)) return {own, preferred};
  return {preferred, {}};
}

TUserFolderChoice MakeUserFolder() {
  const TUserFolderChoice choice = MakeUserFolderIn(UserFolder(), XdgDataHome(), LoginName());
  if (!choice.Refused.empty()) SetUserFolderOverride(choice.Folder);
  return choice;
}

void SetProgramFolderOverride(const std::string& folder) {
  std::lock_guard lock(folderMutex);
  programFolderCache = folder.empty() ? std::string() : WithTrailingSlash(folder);
}

void SetUserFolderOverride(const std::string& folder) {
  std::lock_guard lock(folderMutex);
  userFolderCache = folder.empty() ? std::string() : WithTrailingSlash(folder);
}

std::string CanonicalFileName(const std::string& name) {
  if (name.empty()) return name;
  std::error_code ec;
  fs::path full = fs::absolute(fs::path(name), ec);
  if (ec) full = fs::path(name);
  full = full.lexically_normal();
  if (fs::exists(full, ec)) {
    fs::path canon = fs::canonical(full, ec);
    if (!ec) return canon.string();
  }
  std::string out = full.string();
  // "a/b/" and "a/b" name the same thing; keep the root "/" alone.
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

std::string ResolveShortcut(const std::string& name) {
  std::error_code ec;
  if (!fs::is_symlink(fs::path(name), ec)) return name;
  fs::path target = fs::canonical(fs::path(name), ec);
  if (ec) return name;
  return target.string();
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileIsReadOnly(const std::string& path) {
  struct stat st {};
  if (path.empty() || stat(path.c_str(), &st) != 0) return false;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
  // A read-only mount is the other way a file ends up unwritable for everybody.
  return access(path.c_str(), W_OK) != 0 && errno == EROFS;
}

bool FileIsHeldForWriting(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno != ENOENT && errno != ENOTDIR;
  bool held = false;
  // The lock layer uses flock; other programs may use POSIX or OFD record locks. Either kind
  // of exclusive lock means a writer holds the file.
  if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
    held = errno == EWOULDBLOCK;
  } else {
    flock(fd, LOCK_UN);
    struct flock fl {};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    if (fcntl(fd, F_OFD_GETLK, &fl) == 0) held = fl.l_type == F_WRLCK;
  }
  close(fd);
  return held;
}

std::string ShippedFileName(const std::string& rel) {
  std::string own = ProgramFolder() + rel;
  if (!fs::exists(fs::path(own))) {
    std::string installed = InstalledDataFolder();
    if (!installed.empty() && fs::exists(fs::path(installed + rel))) return installed + rel;
  }
  return own;
}

std::string SettingTemplateFolder() { return ShippedFileName("Setting/"); }

std::string HelpFileName(const std::string& page) {
  return ShippedFileName("Help/" + (page.empty() ? std::string("Index.html") : page));
}

bool ShowHelp(const std::string& page) {
  const std::string opener = FindOnSearchPath("xdg-open");
  return !opener.empty() && StartProgramArgs(opener, {HelpFileName(page)});
}

}  // namespace vorn
