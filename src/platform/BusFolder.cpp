// Registration records, liveness by lock, and the checks that keep the bus folder private.
#include "platform/BusFolder.h"

#include "base/TextUtil.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/VornUtil.h"
#include "platform/NamedLock.h"

namespace vorn {
namespace {

constexpr const char* kRecordMagic = "VBR1";

// A folder the bus may live in: a real folder (not a link to one) that is ours and closed to
// others. A shared folder such as /tmp (sticky bit) is never narrowed, only refused.
std::string SecureFolder(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno != ENOENT) return path + ": " + std::strerror(errno);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return path + ": " + std::strerror(errno);
    if (::lstat(path.c_str(), &st) != 0) return path + ": " + std::strerror(errno);
  }
  if (!S_ISDIR(st.st_mode)) return path + " is not a folder";
  if (st.st_uid != ::geteuid()) return path + " belongs to another user";
  if (st.st_mode & S_ISVTX) return path + " is a shared folder";
  if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
    return path + ": " + std::strerror(errno);
  return {};
}

std::string ReadSmallFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return {};
  std::string out;
  char buffer[1024];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0 && out.size() < 16384) out.append(buffer, n);
  ::close(fd);
  return out;
}

bool ParseRecord(const std::string& bytes, TBusPeer& peer) {
  std::size_t pos = 0;
  auto line = [&](std::string& out) {
    const std::size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) return false;
    out = bytes.substr(pos, end - pos);
    pos = end + 1;
    return true;
  };
  std::string magic, pid, stamp, enabled, minimized;
  if (!line(magic) || magic != kRecordMagic || !line(peer.className) || !line(pid) || !line(stamp) ||
      !line(enabled) || !line(minimized))
    return false;
  peer.title = bytes.substr(pos);
  peer.pid = static_cast<pid_t>(std::atol(pid.c_str()));
  peer.activated = std::atoll(stamp.c_str());
  peer.enabled = enabled == "1";
  peer.minimized = minimized == "1";
  return true;
}

// The owner holds its lock file exclusively for its whole life; if a shared lock is granted,
// nobody holds it. Checked on the open file, then on the path, so a fresh endpoint that
// happens to reuse the id is never swept with the old one.
bool OwnerIsGone(const std::string& lockPath, int& fdOut) {
  fdOut = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fdOut < 0) return errno == ENOENT;
  if (::flock(fdOut, LOCK_SH | LOCK_NB) != 0) return false;
  struct stat held {}, now {};
  if (::fstat(fdOut, &held) != 0 || ::stat(lockPath.c_str(), &now) != 0) return true;
  return held.st_ino == now.st_ino && held.st_dev == now.st_dev;
}

bool IdFromFileName(const char* name, std::int64_t& id) {
  const char* dot = std::strrchr(name, '.');
  if (!dot || std::strcmp(dot, ".rec") != 0 || dot == name) return false;
  char* end = nullptr;
  id = std::strtoll(name, &end, 10);
  return end == dot && id > 0;
}

}  // namespace

bool TBusPeer::IsStation() const { return className == "TVornEditMain" && title == "VORNEDITORSTATION"; }

bool TBusPeer::IsEditor() const {
  if (className != "TVornEditMain" && className != "TVornEditSub") return false;
  if (title == "VORNEDITORSTATION") return false;
  return !TrimBlanks(title, true, true).empty();
}

TBusFolder TBusFolder::Default() { return TBusFolder(RuntimeFolder()); }

TBusFolder::TBusFolder(std::string runtimeFolder)
    : runtime_(std::move(runtimeFolder)), path_(runtime_ + "/bus") {}

std::string TBusFolder::Prepare() const {
  std::string error = SecureFolder(runtime_);
  if (error.empty()) error = SecureFolder(path_);
  return error;
}

std::string TBusFolder::SocketPath(std::int64_t id) const { return path_ + "/" + std::to_string(id) + ".sock"; }
std::string TBusFolder::LockPath(std::int64_t id) const { return path_ + "/" + std::to_string(id) + ".lock"; }
std::string TBusFolder::RecordPath(std::int64_t id) const { return path_ + "/" + std::to_string(id) + ".rec"; }

bool TBusFolder::WriteRecord(const TBusPeer& peer) const {
  std::string bytes = std::string(kRecordMagic) + "\n" + peer.className + "\n" + std::to_string(peer.pid) +
                      "\n" + std::to_string(peer.activated) + "\n" + (peer.enabled ? "1" : "0") + "\n" +
                      (peer.minimized ? "1" : "0") + "\n" + peer.title;
  const std::string target = RecordPath(peer.id);
  const std::string temp = target + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ::close(fd);
  if (written && ::rename(temp.c_str(), target.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

bool TBusFolder::SweepIfDead(std::int64_t id) const {
  int fd = -1;
  const bool gone = OwnerIsGone(LockPath(id), fd);
  if (gone) {
    ::unlink(RecordPath(id).c_str());
    ::unlink((RecordPath(id) + ".tmp").c_str());
    ::unlink(SocketPath(id).c_str());
    ::unlink(LockPath(id).c_str());
  }
  if (fd >= 0) ::close(fd);
  return gone;
}

bool TBusFolder::Find(std::int64_t id, TBusPeer& peer) const {
  if (SweepIfDead(id)) return false;
  peer = TBusPeer();
  peer.id = id;
  return ParseRecord(ReadSmallFile(RecordPath(id)), peer);
}

std::vector<TBusPeer> TBusFolder::List() const {
  std::vector<TBusPeer> peers;
  DIR* dir = ::opendir(path_.c_str());
  if (!dir) return peers;
  while (const dirent* entry = ::readdir(dir)) {
    std::int64_t id = 0;
    TBusPeer peer;
    if (IdFromFileName(entry->d_name, id) && Find(id, peer)) peers.push_back(std::move(peer));
  }
  ::closedir(dir);
  std::sort(peers.begin(), peers.end(), [](const TBusPeer& a, const TBusPeer& b) {
    return a.activated != b.activated ? a.activated > b.activated : a.id < b.id;
  });
  return peers;
}

std::vector<TBusPeer> OtherMainEditors(const std::vector<TBusPeer>& all, std::int64_t ownMain) {
  std::vector<TBusPeer> out;
  for (const TBusPeer& p : all)
    if (p.IsMainWindow() && p.IsEditor() && p.id != ownMain) out.push_back(p);
  return out;
}

std::vector<TBusPeer> AllEditorWindows(const std::vector<TBusPeer>& all) {
  std::vector<TBusPeer> out;
  for (const TBusPeer& p : all)
    if (p.IsEditor()) out.push_back(p);
  return out;
}

std::int64_t FindStation(const std::vector<TBusPeer>& all) {
  for (const TBusPeer& p : all)
    if (p.IsStation()) return p.id;
  return 0;
}

std::int64_t BusActivationStamp() {
  timespec ts {};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

}  // namespace vorn
