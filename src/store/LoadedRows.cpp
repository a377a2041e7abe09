// ScanLoadedRows: cutting the text at line breaks near equal shares, one thread per share.
#include "store/LoadedRows.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "encoding/LineSplit.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorn {

namespace {

// Below this a part costs more to start than it saves.
constexpr std::size_t kMinPartBytes = std::size_t{8} << 20;
constexpr unsigned kMaxParts = 8;

struct TScannedPart {
  std::vector<TPackedRows> blocks;
  bool endedAtNul = false;
  std::exception_ptr failure;
};

// Bit k set when p[k] is a CR or an LF (or a NUL when stopAtNul), for the n <= 64 bytes at p.
std::uint64_t LineByteMask(const char* p, std::size_t n, bool stopAtNul) {
  std::uint64_t mask = 0;
#if defined(__SSE2__)
  if (n == 64) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = stopAtNul ? _mm_setzero_si128() : cr;
    for (int k = 0; k < 4; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
      const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, nul));
      mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hit))) << (16 * k);
    }
    return mask;
  }
#endif
  for (std::size_t k = 0; k < n; ++k)
    if (p[k] == '\r' || p[k] == '\n' || (stopAtNul && p[k] == '\0')) mask |= std::uint64_t{1} << k;
  return mask;
}

// The rows of one part, a block at a time. The breaks of 64 bytes at a time are found as one
// mask whose bits are then walked: with rows of some dozens of bytes, finding each break with
// a search of its own spent more time starting searches than searching, and so did keeping a
// block through its general interface.
class TPartScanner {
public:
  TPartScanner(std::size_t blockRows, TScannedPart& out) : blockRows_(blockRows), out_(out) {}

  void Scan(const char* p, const char* end, bool stopAtNul) {
    const char* rowBegin = p;
    for (const char* at = p; at < end; at += 64) {
      std::uint64_t mask = LineByteMask(at, std::min<std::size_t>(64, static_cast<std::size_t>(end - at)), stopAtNul);
      for (; mask != 0; mask &= mask - 1) {
        const char* q = at + __builtin_ctzll(mask);
        if (q < rowBegin) continue;  // the LF of a CR LF, stepped over with its CR
        if (stopAtNul && *q == '\0') {
          if (q > rowBegin) Add(rowBegin, q, false);
          out_.endedAtNul = true;
          Flush();
          return;
        }
        const bool crLf = *q == '\r' && q + 1 < end && q[1] == '\n';
        Add(rowBegin, q, crLf);
        rowBegin = q + (crLf ? 2 : 1);
      }
    }
    if (rowBegin < end) Add(rowBegin, end, false);  // the last row, without a break
    Flush();
  }

private:
  void Add(const char* b, const char* e, bool twoByteBreak) {
    if (static_cast<std::size_t>(e - b) > TPackedRows::kMaxSpan) throw std::length_error("row longer than 2 GiB");
    if (rows_ == blockRows_ || static_cast<std::size_t>(e - base_) > TPackedRows::kMaxSpan) Flush();
    if (rows_ == 0) {
      base_ = b;
      // Reserved first, so that a full block takes exactly one pool cell.
      ends_.reserve(blockRows_);
      ends_.resize(blockRows_);
    }
    ends_[rows_++] = static_cast<std::uint32_t>(e - base_) | (twoByteBreak ? TPackedRows::kTwoByteBreak : 0u);
  }
  void Flush() {
    if (rows_ == 0) return;
    ends_.resize(rows_);
    out_.blocks.emplace_back(base_, std::move(ends_), TRowWord{});
    ends_ = {};
    rows_ = 0;
  }

  const std::size_t blockRows_;
  TScannedPart& out_;
  const char* base_ = nullptr;
  TPackedRows::TEnds ends_;
  std::size_t rows_ = 0;
};

void ScanPart(const char* p, const char* end, bool stopAtNul, std::size_t blockRows, TScannedPart& out) {
  TPartScanner(blockRows, out).Scan(p, end, stopAtNul);
}

// Part boundaries: each just after the first whole line break at or past its share, so that a
// CR LF is never split and every part starts a row.
std::vector<const char*> PartBounds(const char* begin, const char* end, unsigned parts) {
  std::vector<const char*> bounds{begin};
  const std::size_t share = static_cast<std::size_t>(end - begin) / parts;
  for (unsigned k = 1; k < parts; ++k) {
    const char* from = std::max(bounds.back(), begin + k * share);
    const char* q = FindLineByte(from, end, false);
    if (q == end) break;
    const char* next = q + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
    if (next >= end) break;
    bounds.push_back(next);
  }
  bounds.push_back(end);
  return bounds;
}

}  // namespace

unsigned LoadScanParts(std::size_t size) {
  const unsigned cores = std::max(1u, std::min(kMaxParts, std::thread::hardware_concurrency()));
  return static_cast<unsigned>(std::clamp<std::size_t>(size / kMinPartBytes, 1, cores));
}

std::vector<TPackedRows> ScanLoadedRows(const char* begin, const char* end, bool stopAtNul, std::size_t blockRows,
                                        unsigned parts) {
  const std::vector<const char*> bounds = PartBounds(begin, end, std::max(1u, parts));
  std::vector<TScannedPart> scanned(bounds.size() - 1);
  const auto run = [&](std::size_t k) {
    try {
      ScanPart(bounds[k], bounds[k + 1], stopAtNul, blockRows, scanned[k]);
    } catch (...) {
      scanned[k].failure = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  for (std::size_t k = 1; k < scanned.size(); ++k) {
    try {
      threads.emplace_back(run, k);
    } catch (const std::system_error&) {
      run(k);  // no thread to be had: the part is scanned here instead
    }
  }
  run(0);
  for (std::thread& t : threads) t.join();
  std::vector<TPackedRows> blocks;
  for (TScannedPart& part : scanned) {
    if (part.failure) std::rethrow_exception(part.failure);
    for (TPackedRows& b : part.blocks) blocks.push_back(std::move(b));
    // The text ends at its first NUL: whatever the later parts found is not part of it.
    if (part.endedAtNul) break;
  }
  return blocks;
}

}  // namespace vorn
