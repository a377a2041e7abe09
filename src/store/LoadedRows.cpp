// ScanLoadedRows: cutting the text at line breaks near equal shares, one thread per share.
#include "store/LoadedRows.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "encoding/LineSplit.h"

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

void ScanPart(const char* p, const char* end, bool stopAtNul, std::size_t blockRows, TScannedPart& out) {
  TPackedRows block;
  const auto add = [&](const char* b, const char* e) {
    if (static_cast<std::size_t>(e - b) > TPackedRows::kMaxSpan) throw std::length_error("row longer than 2 GiB");
    if (block.Size() >= blockRows || (!block.Empty() && !block.Fits(b, e))) {
      out.blocks.push_back(std::move(block));
      block = TPackedRows();
    }
    if (block.Empty()) {
      block = TPackedRows(b, TRowWord{});
      block.Reserve(blockRows);
    }
    block.Add(b, e);
  };
  while (p < end) {
    const char* q = FindLineByte(p, end, stopAtNul);
    if (stopAtNul && q < end && *q == '\0') {
      if (q > p) add(p, q);
      out.endedAtNul = true;
      break;
    }
    add(p, q);
    if (q == end) break;
    p = q + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
  }
  if (!block.Empty()) out.blocks.push_back(std::move(block));
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
