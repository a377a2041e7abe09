// TStream and its file and memory forms: the byte streams settings and histories go through.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

enum TSeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
public:
  virtual ~TStream() = default;
  // Returns the bytes transferred (fewer at the end of the stream or on a short write).
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // From soEnd the offset is added to the size (use 0 or a negative offset), as file
  // streams do; returns the new position.
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(std::int64_t size) = 0;
  virtual std::int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(std::int64_t pos) { Seek(pos, soBeginning); }
  virtual std::int64_t Size();
};

// Open modes of a file stream.
enum TFileMode : int { fmOpenRead = 0, fmOpenWrite = 1, fmOpenReadWrite = 2, fmCreate = 3 };

// A file opened through POSIX calls. Open failures raise EFileOpenError, create failures
// EFileCreateError. fmCreate truncates in place, keeping the file's inode and permissions.
class TFileStream : public TStream {
public:
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t size) override;
  int Handle() const { return fd_; }

private:
  int fd_ = -1;
};

// A growable in-memory stream.
class TMemoryStream : public TStream {
public:
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  void SetSize(std::int64_t size) override;
  const std::string& Bytes() const { return data_; }
  std::string& Bytes() { return data_; }

private:
  std::string data_;
  std::int64_t pos_ = 0;
};

// Reads everything from the stream's position to its end.
std::string ReadToEnd(TStream& stream);

}  // namespace vorn
