// TRowColumns: a row's tabs and double-byte pairs found by search and local look-back.
#include "editcore/RowColumns.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "layout/Wrap.h"
#include "store/PointerStringList.h"

namespace vorn {

namespace {
constexpr int kCheckpointBytes = 4096;
// A look-back longer than this switches to the checkpoints.
constexpr int kLookBackLimit = 256;
// Rows shorter than this are described afresh: cheaper than a cache look-up would save.
constexpr std::size_t kCacheFromBytes = 4096;

bool IsLead(char c) { return sjis::IsLeadByte(static_cast<unsigned char>(c)); }
}  // namespace

TRowColumns::TRowColumns(std::string_view text, int tabSpaceCount, int wrapByte)
    : text_(text), tabSpaceCount_(std::max(1, tabSpaceCount)), wrapByte_(std::max(0, wrapByte)) {
  const int n = static_cast<int>(text.size());
  int extra = 0;
  for (int from = 0; from < n;) {
    const void* hit = std::memchr(text.data() + from, '\t', static_cast<std::size_t>(n - from));
    if (!hit) break;
    const int at = static_cast<int>(static_cast<const char*>(hit) - text.data());
    from = at + 1;
    if (!CharStart(at)) continue;  // the trail byte of a pair, not a tab
    const int col = at + extra;
    const int width = TabWidthAt(col);
    tabs_.push_back(TTab{at, col});
    extra += width - 1;
  }
  width_ = n + extra;
}

TRowColumns::TRowColumns(std::string_view text, int tabSpaceCount, int wrapByte, std::vector<int> tabBytes)
    : text_(text), tabSpaceCount_(std::max(1, tabSpaceCount)), wrapByte_(std::max(0, wrapByte)) {
  PlaceTabs(tabBytes);
}

// Tab widths follow from the columns before them, so every tab after an insert moves anew.
void TRowColumns::PlaceTabs(const std::vector<int>& tabBytes) {
  int extra = 0;
  tabs_.reserve(tabBytes.size());
  for (int at : tabBytes) {
    const int col = at + extra;
    tabs_.push_back(TTab{at, col});
    extra += TabWidthAt(col) - 1;
  }
  width_ = static_cast<int>(text_.size()) + extra;
}

std::shared_ptr<const TRowColumns> TRowColumns::AfterSplice(const TRowColumns& old, std::string_view text, int pos,
                                                            int removed, int inserted, bool removedPlain) {
  if (!removedPlain || pos < 0 || removed < 0 || inserted < 0) return nullptr;
  if (static_cast<std::size_t>(pos + inserted) > text.size()) return nullptr;
  // A lead byte before the insert may have paired with a byte now moved away from it.
  if (pos > 0 && IsLead(text[static_cast<std::size_t>(pos - 1)])) return nullptr;
  for (int i = pos; i < pos + inserted; ++i) {
    const char c = text[static_cast<std::size_t>(i)];
    if (c == '\t' || IsLead(c)) return nullptr;
  }
  std::vector<int> tabBytes;
  tabBytes.reserve(old.tabs_.size());
  for (const TTab& t : old.tabs_) tabBytes.push_back(t.Byte < pos ? t.Byte : t.Byte - removed + inserted);
  return std::shared_ptr<const TRowColumns>(new TRowColumns(text, old.tabSpaceCount_, old.wrapByte_, std::move(tabBytes)));
}

int TRowColumns::TabWidthAt(int col) const {
  const int t = tabSpaceCount_;
  if (wrapByte_ == 0) return t - col % t;
  const int inRow = col % wrapByte_;
  return std::min(t - inRow % t, wrapByte_ - inRow);
}

bool TRowColumns::CharStart(int byte) const {
  if (byte <= 0) return true;
  // The byte after a non-lead byte starts a character whether that byte stood alone or ended
  // a pair; from there lead bytes pair up, so the parity of the run before byte decides.
  int run = 0;
  for (int i = byte - 1; i >= 0 && IsLead(text_[static_cast<std::size_t>(i)]); --i) {
    if (++run > kLookBackLimit) return CharStartFromCheckpoint(byte);
  }
  return run % 2 == 0;
}

bool TRowColumns::CharStartFromCheckpoint(int byte) const {
  const int n = static_cast<int>(text_.size());
  if (checkpoints_.empty()) {
    checkpoints_.assign(static_cast<std::size_t>(n / kCheckpointBytes + 1), false);
    for (int i = 0; i < n;) {
      if (i % kCheckpointBytes == 0) checkpoints_[static_cast<std::size_t>(i / kCheckpointBytes)] = true;
      i += IsLead(text_[static_cast<std::size_t>(i)]) ? 2 : 1;
    }
  }
  const int cp = byte / kCheckpointBytes * kCheckpointBytes;
  int i = checkpoints_[static_cast<std::size_t>(cp / kCheckpointBytes)] ? cp : cp + 1;
  while (i < byte) i += IsLead(text_[static_cast<std::size_t>(i)]) ? 2 : 1;
  return i == byte;
}

const TRowColumns::TTab* TRowColumns::TabAtOrBeforeCol(int col) const {
  auto it = std::upper_bound(tabs_.begin(), tabs_.end(), col, [](int c, const TTab& t) { return c < t.Col; });
  return it == tabs_.begin() ? nullptr : &*(it - 1);
}

const TRowColumns::TTab* TRowColumns::TabBeforeByte(int byte) const {
  auto it = std::lower_bound(tabs_.begin(), tabs_.end(), byte, [](const TTab& t, int b) { return t.Byte < b; });
  return it == tabs_.begin() ? nullptr : &*(it - 1);
}

char TRowColumns::Code(int col) const {
  if (col < 0 || col >= width_) return '\0';
  const TTab* tab = TabAtOrBeforeCol(col);
  const int tabWidth = tab ? TabWidthAt(tab->Col) : 0;
  if (tab && col < tab->Col + tabWidth) return col == tab->Col ? cmDelimiter : cmTabRest;
  const int byte = tab ? col - (tab->Col + tabWidth - 1 - tab->Byte) : col;
  if (!CharStart(byte)) return cmTrail;
  const char c = text_[static_cast<std::size_t>(byte)];
  if (IsLead(c) && byte + 1 < static_cast<int>(text_.size())) return cmLead;
  return DefaultDelimiterSet().test(static_cast<unsigned char>(c)) ? cmDelimiter : cmSingle;
}

int TRowColumns::ColToByte(int col) const {
  col = std::max(0, col);
  const int upTo = std::min(col, width_ - 1);
  const TTab* tab = TabAtOrBeforeCol(upTo);
  if (!tab) return col;
  const int restsBefore = tab->Col - tab->Byte;
  return col - restsBefore - std::min(upTo - tab->Col, TabWidthAt(tab->Col) - 1);
}

int TRowColumns::ByteToCol(int byte) const {
  const int n = static_cast<int>(text_.size());
  const int inside = std::clamp(byte, 0, n);
  const TTab* tab = TabBeforeByte(inside);
  const int col = tab ? inside + (tab->Col + TabWidthAt(tab->Col) - 1 - tab->Byte) : inside;
  return col + std::max(0, byte - n);
}

namespace {

struct TCacheEntry {
  const char* Data = nullptr;
  std::size_t Size = 0;
  int Tab = 0;
  int Wrap = 0;
  std::uint64_t Generation = 0;
  std::shared_ptr<const TRowColumns> Columns;
};

}  // namespace

std::shared_ptr<const TRowColumns> CachedRowColumns(std::string_view bytes, int tabSpaceCount, int wrapByte) {
  if (bytes.size() < kCacheFromBytes) return std::make_shared<const TRowColumns>(bytes, tabSpaceCount, wrapByte);
  // A few entries: the caret row, the selection anchor's row and whatever a repaint asks.
  static std::array<TCacheEntry, 4> cache;
  static std::size_t next = 0;
  const std::uint64_t generation = TPointerStringList::BytesGeneration();
  for (TCacheEntry& e : cache) {
    if (e.Columns && e.Data == bytes.data() && e.Size == bytes.size() && e.Tab == tabSpaceCount &&
        e.Wrap == wrapByte && e.Generation == generation)
      return e.Columns;
  }
  // Typing or deleting in the row in place: carry its columns over rather than search 50 MB again.
  const TPointerStringList::TInPlaceSplice& splice = TPointerStringList::LastInPlaceSplice();
  if (splice.Data == bytes.data() && splice.GenerationAfter == generation) {
    for (TCacheEntry& e : cache) {
      if (!e.Columns || e.Data != bytes.data() || e.Generation != splice.GenerationBefore || e.Tab != tabSpaceCount ||
          e.Wrap != wrapByte || e.Size - splice.Removed + splice.Inserted != bytes.size())
        continue;
      if (auto carried = TRowColumns::AfterSplice(*e.Columns, bytes, static_cast<int>(splice.Pos),
                                                  static_cast<int>(splice.Removed), static_cast<int>(splice.Inserted),
                                                  splice.RemovedPlain)) {
        e = TCacheEntry{bytes.data(), bytes.size(), tabSpaceCount, wrapByte, generation, std::move(carried)};
        return e.Columns;
      }
    }
  }
  TCacheEntry& e = cache[next];
  next = (next + 1) % cache.size();
  e = TCacheEntry{bytes.data(), bytes.size(), tabSpaceCount, wrapByte, generation,
                  std::make_shared<const TRowColumns>(bytes, tabSpaceCount, wrapByte)};
  return e.Columns;
}

std::shared_ptr<const TRowColumns> ColumnsOfRow(const TVornEditCore& core, int row) {
  TVornEditScreenStrings& store = core.Store();
  const std::string_view text = row >= 0 && row < store.Count() ? store.Row(row) : std::string_view();
  return CachedRowColumns(text, core.CaretOptions().TabSpaceCount, store.WrapsRow(row) ? store.Wrapper().WrapByte() : 0);
}

}  // namespace vorn
