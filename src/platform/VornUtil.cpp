// Shared Qt-free helpers of the shell and tools: program and user folders, canonical names,
// file tests, trimming, name sanitising, atom strings, help and version text.
#include "platform/VornUtil.h"

#include <fcntl.h>
#include <iconv.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "base/sjis.h"

#ifndef VORN_VERSION_MAJOR
#define VORN_VERSION_MAJOR 0
#define VORN_VERSION_MINOR 0
#define VORN_VERSION_PATCH 0
#define VORN_VERSION_BUILD 0
#endif
#ifndef VORN_INSTALL_DATADIR
#define VORN_INSTALL_DATADIR "/usr/share/VornEditor/"
#endif

extern char** environ;

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
// is already valid UTF-8 ASCII passes through; anything iconv cannot map is kept as it was.
std::string SjisToUtf8(const std::string& sjis) {
  bool ascii = true;
  for (unsigned char c : sjis) ascii = ascii && c < 0x80;
  if (ascii) return sjis;
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return sjis;
  std::string out(sjis.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(sjis.data());
  size_t inLeft = sjis.size();
  char* op = out.data();
  size_t outLeft = out.size();
  size_t r = iconv(cd, &in, &inLeft, &op, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return sjis;
  out.resize(out.size() - outLeft);
  return out;
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

std::mutex folderMutex;
std::string programFolderCache, userFolderCache;

}  // namespace

std::string ExecutableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return WithTrailingSlash(fs::current_path(ec).string());
  return WithTrailingSlash(exe.parent_path().string());
}

std::string ChooseProgramFolder(const std::string& exeFolder, const std::string& dataHome) {
  std::string folder = WithTrailingSlash(exeFolder);
  if (IsWritableFolder(folder) || DirectoryExists(folder + "Setting")) return folder;
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
  // An install prefix puts the program in <prefix>/bin and its data in <prefix>/share.
  std::string beside = WithTrailingSlash(fs::path(exe).parent_path().parent_path().string()) + "share/VornEditor/";
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

std::string SanitizeFileName(std::string_view sjisText) {
  std::string out(sjisText);
  for (std::size_t i = 0; i < out.size();) {
    std::size_t n = sjis::CharLen(out, i);
    if (n == 1 && std::string_view("\"*,/:;<>?\\|").find(out[i]) != std::string_view::npos) out[i] = '_';
    i += n;
  }
  return out;
}

namespace {

// Length of a blank at pos, or 0: a space, a tab when asked, the full-width space when asked.
std::size_t BlankAt(std::string_view s, std::size_t pos, bool withTabs, bool withWide) {
  if (s[pos] == ' ' || (withTabs && s[pos] == '\t')) return 1;
  if (withWide && pos + 1 < s.size() && s[pos] == '\x81' && s[pos + 1] == '\x40') return 2;
  return 0;
}

}  // namespace

std::string TrimBlanksLeft(std::string_view text, bool withTabs, bool withWideSpaces) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t n = BlankAt(text, pos, withTabs, withWideSpaces);
    if (n == 0) break;
    pos += n;
  }
  return std::string(text.substr(pos));
}

std::string TrimBlanksRight(std::string_view text, bool withTabs, bool withWideSpaces) {
  // Walk forward so that a trail byte 0x40 after another lead byte is never taken for a blank.
  std::size_t keep = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t n = BlankAt(text, pos, withTabs, withWideSpaces);
    if (n == 0) {
      n = sjis::CharLen(text, pos);
      keep = pos + n;
    }
    pos += n;
  }
  return std::string(text.substr(0, keep));
}

std::string TrimBlanks(std::string_view text, bool withTabs, bool withWideSpaces) {
  return TrimBlanksRight(TrimBlanksLeft(text, withTabs, withWideSpaces), withTabs, withWideSpaces);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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

bool TakeAtomString(std::optional<std::string>& atom, std::string& text) {
  if (!atom) return false;
  std::string value = std::move(*atom);
  atom.reset();
  if (value.size() > kMaxAtomLength) {
    std::size_t cut = 0;
    while (cut < kMaxAtomLength) {
      std::size_t n = sjis::CharLen(value, cut);
      if (cut + n > kMaxAtomLength) break;
      cut += n;
    }
    value.resize(cut);
  }
  text = std::move(value);
  return true;
}

std::string HelpFileName(const std::string& page) {
  std::string rel = "Help/" + (page.empty() ? std::string("Index.html") : page);
  std::string own = ProgramFolder() + rel;
  if (!fs::exists(fs::path(own))) {
    std::string installed = InstalledDataFolder();
    if (!installed.empty() && fs::exists(fs::path(installed + rel))) return installed + rel;
  }
  return own;
}

bool ShowHelp(const std::string& page) {
  std::string file = HelpFileName(page);
  // Some desktops keep xdg-open running as long as the browser, so it runs in the background
  // of a shell that ends at once; the shell reports only whether xdg-open exists.
  const char* script = "command -v xdg-open >/dev/null 2>&1 || exit 1; xdg-open \"$1\" >/dev/null 2>&1 &";
  const char* argv[] = {"/bin/sh", "-c", script, "sh", file.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string VersionText() {
  return "r." + std::to_string(VORN_VERSION_MAJOR) + "." + std::to_string(VORN_VERSION_MINOR) + "." +
         std::to_string(VORN_VERSION_PATCH) + " Build " + std::to_string(VORN_VERSION_BUILD);
}

bool IsDebugBuild() {
#ifdef NDEBUG
  return false;
#else
  return true;
#endif
}

}  // namespace vorn
