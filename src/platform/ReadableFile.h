// Opening a path for reading when it may name anything: a folder, a device, a named pipe, a
// socket, a kernel pseudo-file or a file too large for the memory left. Only regular files
// with real bytes are read; everything else is refused before a byte is read, and no call
// here waits on another program.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace vorn {

enum TFileRefusal : std::uint8_t {
  frNone,      // a regular file: it may be read
  frFolder,
  frDevice,    // a character or block device (/dev/zero, a disk, a terminal)
  frFifo,      // a named pipe: reading it waits for a writer and may never end
  frSocket,
  frPseudo,    // a kernel file (/proc, /sys): its size says nothing and reading may not end
  frOther,
  frTooLarge,  // more than the memory the process can still take
};

// The user's words for a refusal (UTF-8), to follow the file's name.
std::string RefusalReason(TFileRefusal refusal);

// A path opened for reading: the descriptor (owned) and the size it had when opened, which is
// as far as it is ever read, so that a file another program keeps appending to still ends.
class TReadableFile {
public:
  TReadableFile() = default;
  ~TReadableFile();
  TReadableFile(TReadableFile&& other) noexcept;
  TReadableFile& operator=(TReadableFile&& other) noexcept;
  TReadableFile(const TReadableFile&) = delete;
  TReadableFile& operator=(const TReadableFile&) = delete;

  // Opens path without waiting on it. Answers frNone with the file open, or the refusal with
  // nothing open; a failure of open itself answers frOther with errno in Error().
  TFileRefusal Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  std::uint64_t Size() const { return size_; }
  int Error() const { return error_; }
  // Hands the descriptor over to the caller, who closes it.
  int TakeFd() { return std::exchange(fd_, -1); }
  void Close();

private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
  int error_ = 0;
};

// What TReadableFile::Open would refuse path for, asked without opening it; frNone for a
// regular file and for a path that does not exist.
TFileRefusal RefusalOfPath(const std::string& path);

// The bytes the process can still allocate: what the system reports available (memory and
// free swap), less where the address-space limit leaves less. 0 when it cannot be told, which
// callers read as "do not refuse".
std::uint64_t AvailableMemoryBytes();

// Whether a file of fileBytes may be read into a store that needs storeFactor times its size
// (in eighths) plus a margin, with available bytes left. available 0 always fits.
bool FitsInMemory(std::uint64_t fileBytes, std::uint64_t available, unsigned storeEighths = 10);

}  // namespace vorn
