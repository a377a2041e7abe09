// TBufferedStream: mode switching between buffered reading and writing over a target stream.
#include "base/BufferedStream.h"

#include <algorithm>
#include <cstring>

#include "base/VornError.h"

namespace vorn {

TBufferedStream::TBufferedStream(TStream& target, int bufferSize) : target_(target) {
  if (bufferSize <= 0) throw EBufferedStreamError("TBufferedStream.Create: バッファサイズが不正です");
  buffer_.resize(static_cast<std::size_t>(bufferSize));
}

TBufferedStream::~TBufferedStream() {
  if (mode_ == bmWriting && pos_ > 0) target_.Write(buffer_.data(), pos_);
}

void TBufferedStream::LeaveMode() {
  if (mode_ == bmReading) {
    if (filled_ > pos_) target_.Seek(-static_cast<std::int64_t>(filled_ - pos_), soCurrent);
  } else if (mode_ == bmWriting) {
    if (pos_ > 0) target_.Write(buffer_.data(), pos_);
  }
  mode_ = bmIdle;
  filled_ = 0;
  pos_ = 0;
}

std::int64_t TBufferedStream::Read(void* buffer, std::int64_t count) {
  if (count < 0) throw EBufferedStreamError("TBufferedStream.Read: Count が負です");
  char* out = static_cast<char*>(buffer);
  int size = static_cast<int>(buffer_.size());
  if (mode_ != bmReading) {
    LeaveMode();
    mode_ = bmReading;
    filled_ = static_cast<int>(target_.Read(buffer_.data(), size));
    pos_ = 0;
  }
  std::int64_t done = 0;
  while (done < count) {
    if (pos_ >= filled_) {
      filled_ = static_cast<int>(target_.Read(buffer_.data(), size));
      pos_ = 0;
      if (filled_ <= 0) {
        filled_ = 0;
        break;
      }
    }
    int take = static_cast<int>(std::min<std::int64_t>(count - done, filled_ - pos_));
    std::memcpy(out + done, buffer_.data() + pos_, static_cast<std::size_t>(take));
    pos_ += take;
    done += take;
  }
  return done;
}

std::int64_t TBufferedStream::Write(const void* buffer, std::int64_t count) {
  if (count < 0) throw EBufferedStreamError("TBufferedStream.Write: Count が負です");
  const char* in = static_cast<const char*>(buffer);
  int size = static_cast<int>(buffer_.size());
  if (mode_ != bmWriting) {
    LeaveMode();
    mode_ = bmWriting;
  }
  std::int64_t done = 0;
  while (done < count) {
    int take = static_cast<int>(std::min<std::int64_t>(count - done, size - pos_));
    std::memcpy(buffer_.data() + pos_, in + done, static_cast<std::size_t>(take));
    pos_ += take;
    done += take;
    if (pos_ == size) {
      std::int64_t written = target_.Write(buffer_.data(), size);
      pos_ = 0;
      // A target that takes less than a full buffer is full: report what was taken so far.
      if (written < size) return done - size + std::max<std::int64_t>(0, written);
    }
  }
  return done;
}

std::int64_t TBufferedStream::Position() {
  std::int64_t targetPos = target_.Seek(0, soCurrent);
  if (mode_ == bmReading) return targetPos - (filled_ - pos_);
  if (mode_ == bmWriting) return targetPos + pos_;
  return targetPos;
}

std::int64_t TBufferedStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t result;
  if (origin == soBeginning) {
    result = offset;
  } else if (origin == soCurrent) {
    result = Position() + offset;
  } else if (origin == soEnd) {
    LeaveMode();
    result = target_.Size() - offset;
  } else {
    result = 0;
  }
  if (result != Position()) {
    LeaveMode();
    target_.Seek(result, soBeginning);
  }
  return Position();
}

std::int32_t TBufferedStream::Seek32(std::int32_t offset, int origin) {
  if (origin < soBeginning || origin > soEnd) return static_cast<std::int32_t>(Seek(0, static_cast<TSeekOrigin>(3)));
  return static_cast<std::int32_t>(Seek(offset, static_cast<TSeekOrigin>(origin)));
}

void TBufferedStream::SetSize(std::int64_t size) {
  LeaveMode();
  target_.SetSize(size);
}

}  // namespace vorn
