// TByteBuffer: huge-page-advised anonymous mappings for large buffers, plain strings otherwise.
#include "base/ByteBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace vorn {

namespace {
constexpr std::size_t kMapThreshold = std::size_t(1) << 20;
constexpr std::size_t kHugePage = std::size_t(2) << 20;
}  // namespace

void AdviseHugePages(void* p, std::size_t size) {
#ifdef MADV_HUGEPAGE
  if (size >= 4 * kHugePage) {
    const auto begin = (reinterpret_cast<std::uintptr_t>(p) + kHugePage - 1) & ~(kHugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(p) + size) & ~(kHugePage - 1);
    // Only advice: where the system refuses, the buffer simply keeps small pages.
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
#else
  (void)p;
  (void)size;
#endif
}

void ReserveOutput(std::string& buf, std::size_t capacity) {
  if (capacity <= buf.capacity()) return;
  if (buf.empty()) {
    buf.reserve(capacity);
    AdviseHugePages(buf.data(), capacity);
    return;
  }
  // Advised before the bytes are copied over: a reservation grown in place would fault the copy
  // in on small pages.
  std::string grown;
  grown.reserve(capacity);
  AdviseHugePages(grown.data(), capacity);
  grown.append(buf);
  buf.swap(grown);
}

void GrowOutput(std::string& buf, std::size_t needed) {
  if (needed > buf.capacity()) ReserveOutput(buf, std::max(buf.capacity() * 2, needed));
}

TByteBuffer::TByteBuffer(std::size_t size) {
  if (size < kMapThreshold) {
    text_.resize(size);
    data_ = text_.data();
    size_ = size;
    return;
  }
  std::size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
  // Mapped one huge page longer and trimmed to a huge-page boundary: an unaligned mapping
  // gets huge pages only in its aligned middle, and its ends fault in 4 KiB at a time.
  void* p = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  const auto raw = reinterpret_cast<std::uintptr_t>(p);
  const std::uintptr_t begin = (raw + kHugePage - 1) & ~(kHugePage - 1);
  if (begin > raw) ::munmap(p, begin - raw);
  if (begin + length < raw + length + kHugePage) ::munmap(reinterpret_cast<void*>(begin + length), raw + kHugePage - begin);
  p = reinterpret_cast<void*>(begin);
#ifdef MADV_HUGEPAGE
  ::madvise(p, length, MADV_HUGEPAGE);
#endif
  data_ = static_cast<char*>(p);
  size_ = size;
  mapped_ = length;
}

TByteBuffer::TByteBuffer(std::string&& text) : text_(std::move(text)) {
  data_ = text_.data();
  size_ = text_.size();
}

TByteBuffer::TByteBuffer(TByteBuffer&& other) noexcept { *this = std::move(other); }

TByteBuffer& TByteBuffer::operator=(TByteBuffer&& other) noexcept {
  if (this == &other) return *this;
  Release();
  mapped_ = other.mapped_;
  size_ = other.size_;
  if (mapped_) {
    data_ = other.data_;
  } else {
    text_ = std::move(other.text_);
    data_ = text_.data();
  }
  other.data_ = nullptr;
  other.size_ = 0;
  other.mapped_ = 0;
  other.text_.clear();
  return *this;
}

TByteBuffer::~TByteBuffer() { Release(); }

void TByteBuffer::Release() {
  if (mapped_) ::munmap(data_, mapped_);
  mapped_ = 0;
  data_ = nullptr;
  size_ = 0;
  text_.clear();
  text_.shrink_to_fit();
}

void TByteBuffer::Grow(std::size_t size) {
  if (size <= size_) return;
  if (!mapped_ && size < kMapThreshold) {
    text_.resize(size);
    data_ = text_.data();
    size_ = size;
    return;
  }
  if (mapped_ && size <= mapped_) {
    size_ = size;
    return;
  }
  TByteBuffer bigger(size + size / 2);
  std::memcpy(bigger.data_, data_, size_);
  bigger.size_ = size;
  *this = std::move(bigger);
}

}  // namespace vorn
