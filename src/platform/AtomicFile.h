// Replacing a file's contents so that a failure part-way never destroys the previous version.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn {

// Writes a file through a temporary file in the target's folder that is renamed over the
// target once its bytes are on disk. The target's permission bits are kept, a symbolic link is
// written through to the file it names, and where the folder is not writable but the file is,
// the file is rewritten in place (the only case where a failure can damage the old content).
// Usage: Open, Write as often as needed, Commit. Destruction without Commit discards the
// temporary file and leaves the target untouched.
class TAtomicFileWriter {
public:
  TAtomicFileWriter() = default;
  TAtomicFileWriter(const TAtomicFileWriter&) = delete;
  TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;
  ~TAtomicFileWriter();

  // Each returns an empty text on success, else the system's reason text; after a failure
  // every further call fails with the same text.
  std::string Open(const std::string& path);
  std::string Write(const void* data, std::size_t count);
  std::string Commit();
  void Abort();

  // The file actually written (the end of a symbolic-link chain).
  const std::string& TargetPath() const { return target_; }
  bool WritingInPlace() const { return inPlace_; }

private:
  std::string Fail(const std::string& reason);
  std::string FlushBuffer();

  std::string target_;
  std::string tempPath_;
  std::string error_;
  std::string buffer_;
  int fd_ = -1;
  bool inPlace_ = false;
  bool haveOldMode_ = false;
  unsigned oldMode_ = 0;
  unsigned oldUid_ = 0;
  unsigned oldGid_ = 0;
};

// Writes bytes as the whole new content of path; returns an empty text or the reason text.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same, raising EFileCreateError (file name and reason) on failure.
void WriteFileAtomicallyOrThrow(const std::string& path, std::string_view bytes);

}  // namespace vorn
