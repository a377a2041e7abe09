// TByteBuffer: a large, move-only byte region whose pages are cheap to fault in.
#pragma once

#include <cstddef>
#include <string>

namespace vorn {

// Asks for huge pages behind a large untouched buffer, which spares a large text tens of
// thousands of page faults.
void AdviseHugePages(void* p, std::size_t size);
// Reserves capacity bytes for buf (its bytes kept) without touching the rest, on huge pages
// where the system allows.
void ReserveOutput(std::string& buf, std::size_t capacity);
// Makes room for needed bytes in all, at least doubling the reservation, the same way.
void GrowOutput(std::string& buf, std::size_t needed);

// Big buffers come from an anonymous mapping advised for huge pages: a 100 MB file then costs
// a few dozen page faults instead of 25 000, which dominates the time to open such a file.
// A buffer may instead adopt a std::string, so converted text needs no further copy.
class TByteBuffer {
public:
  TByteBuffer() = default;
  explicit TByteBuffer(std::size_t size);
  explicit TByteBuffer(std::string&& text);
  TByteBuffer(TByteBuffer&& other) noexcept;
  TByteBuffer& operator=(TByteBuffer&& other) noexcept;
  TByteBuffer(const TByteBuffer&) = delete;
  TByteBuffer& operator=(const TByteBuffer&) = delete;
  ~TByteBuffer();

  char* Data() { return data_; }
  const char* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  // Shortens the valid part; the memory stays reserved until the buffer dies.
  void Truncate(std::size_t size) {
    if (size < size_) size_ = size;
  }
  // Grows the buffer (copying) so that it can hold size bytes; used while reading a file
  // that grew after its size was taken.
  void Grow(std::size_t size);

private:
  void Release();

  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t mapped_ = 0;  // length of the mapping, 0 when not mapped
  std::string text_;
};

}  // namespace vorn
