// TBufferedStream: a read/write buffer in front of another stream, for small record I/O.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Stream.h"

namespace vorn {

// Idle, reading or writing; an operation that needs the other mode leaves the current one
// first (reading gives back the unread bytes, writing writes the pending ones), so reads and
// writes may be mixed on one stream. Misuse raises EBufferedStreamError.
class TBufferedStream : public TStream {
public:
  enum TMode : int { bmIdle = 0, bmReading = 1, bmWriting = 2 };

  // target is not owned. A bufferSize of 0 or less raises EBufferedStreamError.
  // Seek from soEnd counts backwards: offset 0 is the end, offset 10 ten bytes before it.
  TBufferedStream(TStream& target, int bufferSize);
  ~TBufferedStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int32_t Seek32(std::int32_t offset, int origin);
  void SetSize(std::int64_t size) override;
  void SetSize32(std::int32_t size) { SetSize(size); }
  std::int64_t Position() override;

  TMode Mode() const { return mode_; }
  int Filled() const { return filled_; }
  int Pos() const { return pos_; }

private:
  void LeaveMode();

  TStream& target_;
  std::vector<char> buffer_;
  TMode mode_ = bmIdle;
  int filled_ = 0;
  int pos_ = 0;
};

}  // namespace vorn
