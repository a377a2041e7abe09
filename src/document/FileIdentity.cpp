// File identity: canonical names compared exactly, and stamps of a file's state.
#include "document/FileIdentity.h"

#include <sys/stat.h>

#include "platform/VornUtil.h"

namespace vorn {

bool SameFileName(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  return a == b || CanonicalFileName(a) == CanonicalFileName(b);
}

TFileStamp TakeFileStamp(const std::string& path) {
  TFileStamp stamp;
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return stamp;
  stamp.exists = true;
  stamp.seconds = st.st_mtim.tv_sec;
  stamp.nanoseconds = st.st_mtim.tv_nsec;
  stamp.size = st.st_size;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  return stamp;
}

TFileChange CompareFileStamp(const TFileStamp& stored, const std::string& path) {
  if (!stored.exists) return TFileChange::Unchanged;
  const TFileStamp now = TakeFileStamp(path);
  if (!now.exists) return TFileChange::Deleted;
  return now == stored ? TFileChange::Unchanged : TFileChange::Changed;
}

}  // namespace vorn
