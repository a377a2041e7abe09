// ReadFileBytes: the file's size read into a huge-page-friendly buffer, large files in parts.
#include "platform/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

#include "base/VornError.h"
#include "platform/ReadableFile.h"

namespace vorn {

namespace {

// Reading a gigabyte is mostly copying it out of the page cache into fresh pages that fault
// in on the way; two cores do that in about half the time. Smaller files take one read.
constexpr std::size_t kMinPartBytes = std::size_t{64} << 20;
constexpr unsigned kMaxParts = 4;

struct TReadPart {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t done = 0;  // bytes read from begin
  int error = 0;
};

void ReadPart(int fd, char* buffer, TReadPart& part) {
  while (part.begin + part.done < part.end) {
    const std::size_t at = part.begin + part.done;
    const ssize_t n = ::pread(fd, buffer + at, part.end - at, static_cast<off_t>(at));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      part.error = errno;
      return;
    }
    if (n == 0) return;  // shrank meanwhile
    part.done += static_cast<std::size_t>(n);
  }
}

std::vector<TReadPart> SplitForReading(std::size_t size) {
  const unsigned cores = std::max(1u, std::min(kMaxParts, std::thread::hardware_concurrency()));
  const std::size_t parts = std::clamp<std::size_t>(size / kMinPartBytes, 1, cores);
  std::vector<TReadPart> out(parts);
  for (std::size_t k = 0; k < parts; ++k) {
    out[k].begin = size / parts * k;
    out[k].end = k + 1 == parts ? size : size / parts * (k + 1);
  }
  return out;
}

// Reads every part, on threads of their own but the first; a part that cannot get a thread is
// read here.
void ReadParts(int fd, char* buffer, std::vector<TReadPart>& parts) {
  std::vector<std::thread> threads;
  for (std::size_t k = 1; k < parts.size(); ++k) {
    try {
      threads.emplace_back(ReadPart, fd, buffer, std::ref(parts[k]));
    } catch (const std::system_error&) {
      ReadPart(fd, buffer, parts[k]);
    }
  }
  ReadPart(fd, buffer, parts[0]);
  for (std::thread& t : threads) t.join();
}

}  // namespace

TByteBuffer ReadFileBytes(const std::string& fileName) {
  TReadableFile file;
  const TFileRefusal refusal = file.Open(fileName);
  if (refusal == frOther && file.Error() != 0) throw EFileOpenError(fileName, std::strerror(file.Error()));
  if (refusal != frNone) throw EFileOpenError(fileName, RefusalReason(refusal));
  // Asked before the read, so that a file the memory cannot hold is refused with a message
  // instead of the kernel ending the process halfway through.
  if (!FitsInMemory(file.Size(), AvailableMemoryBytes())) throw EFileOpenError(fileName, RefusalReason(frTooLarge));
  // The size at opening is as far as the file is read: one that grows meanwhile still ends.
  TByteBuffer buffer(static_cast<std::size_t>(file.Size()));
  std::vector<TReadPart> parts = SplitForReading(buffer.Size());
  ReadParts(file.Fd(), buffer.Data(), parts);
  // A file that shrank meanwhile ends where the first part came up short: what later parts
  // read lies past that end and is not part of one consistent text.
  std::size_t done = 0;
  for (const TReadPart& part : parts) {
    if (part.error != 0) throw EFileOpenError(fileName, std::strerror(part.error));
    done = part.begin + part.done;
    if (part.begin + part.done < part.end) break;
  }
  buffer.Truncate(done);
  return buffer;
}

}  // namespace vorn
