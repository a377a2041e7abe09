// Journal bytes: little-endian fields, a CRC-32 after the header and after every record.
#include "document/JournalFormat.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vorn {

namespace {

constexpr std::string_view kMagic("VORNJNL\x01", 8);
constexpr char kEditTag = 'E';
// Tag, offset, removed, inserted length: the fixed part of an edit record before its bytes.
constexpr std::size_t kEditFixed = 1 + 8 + 8 + 4;
constexpr std::size_t kCrcBytes = 4;

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutU64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutString(std::string& out, std::string_view s) {
  PutU32(out, static_cast<std::uint32_t>(s.size()));
  out.append(s);
}

// Reads fields from a span, turning every overrun into a failure instead of a read past it.
class TFieldReader {
public:
  explicit TFieldReader(std::string_view bytes) : bytes_(bytes) {}
  bool Ok() const { return ok_; }
  std::size_t Used() const { return at_; }
  std::uint64_t Uint(int size) {
    if (!Has(static_cast<std::size_t>(size))) return 0;
    std::uint64_t v = 0;
    for (int i = 0; i < size; ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes_[at_ + i])) << (8 * i);
    at_ += static_cast<std::size_t>(size);
    return v;
  }
  std::string_view Bytes(std::size_t n) {
    if (!Has(n)) return {};
    std::string_view s = bytes_.substr(at_, n);
    at_ += n;
    return s;
  }
  std::string_view String() { return Bytes(static_cast<std::size_t>(Uint(4))); }

private:
  bool Has(std::size_t n) {
    if (ok_ && n <= bytes_.size() - at_) return true;
    ok_ = false;
    return false;
  }
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

std::uint32_t ReadU32(std::string_view s) {
  TFieldReader r(s);
  return static_cast<std::uint32_t>(r.Uint(4));
}

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  return table;
}

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t Rotl(std::uint64_t v, int r) { return (v << r) | (v >> (64 - r)); }
std::uint64_t Load64(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
  const auto& t = CrcTable();
  crc = ~crc;
  for (const char ch : bytes) crc = t[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void TByteHasher::Block(const unsigned char* p) {
  for (int i = 0; i < 4; ++i) lanes_[i] = Rotl(lanes_[i] + Load64(p + 8 * i) * kPrime2, 31) * kPrime1;
}

void TByteHasher::Add(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t n = bytes.size();
  total_ += n;
  if (tailSize_ > 0) {
    const std::size_t take = std::min(n, sizeof tail_ - tailSize_);
    std::memcpy(tail_ + tailSize_, p, take);
    tailSize_ += take;
    p += take;
    n -= take;
    if (tailSize_ < sizeof tail_) return;
    Block(tail_);
    tailSize_ = 0;
  }
  for (; n >= 32; p += 32, n -= 32) Block(p);
  std::memcpy(tail_, p, n);
  tailSize_ = n;
}

std::uint64_t TByteHasher::Value() const {
  std::uint64_t h = Rotl(lanes_[0], 1) + Rotl(lanes_[1], 7) + Rotl(lanes_[2], 12) + Rotl(lanes_[3], 18);
  h ^= total_ * kPrime1;
  for (std::size_t i = 0; i < tailSize_; ++i) h = Rotl(h ^ (tail_[i] * kPrime2), 11) * kPrime1;
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  return h;
}

std::string EncodeJournalHeader(const TJournalHeader& header) {
  std::string body;
  PutString(body, header.Path);
  PutString(body, header.UntitledId);
  body.push_back(static_cast<char>((header.FileBase ? 1 : 0) | (header.BaseHashKnown ? 2 : 0)));
  PutU64(body, header.BaseHash);
  PutU64(body, header.BaseSize);
  PutU64(body, header.BaseTextLength);
  PutU64(body, static_cast<std::uint64_t>(header.CreatedNs));
  PutU32(body, static_cast<std::uint32_t>(header.CharCode));
  std::string out(kMagic);
  PutU32(out, static_cast<std::uint32_t>(body.size()));
  out += body;
  PutU32(out, Crc32(body));
  return out;
}

void AppendJournalEdit(std::string& out, std::uint64_t offset, std::uint64_t removed, std::string_view inserted) {
  const std::size_t start = out.size();
  out.push_back(kEditTag);
  PutU64(out, offset);
  PutU64(out, removed);
  PutU32(out, static_cast<std::uint32_t>(inserted.size()));
  out.append(inserted);
  PutU32(out, Crc32(std::string_view(out).substr(start)));
}

TJournalContents ParseJournal(std::string_view bytes) {
  TJournalContents c;
  c.Damage = jdNoHeader;
  if (bytes.substr(0, kMagic.size()) != kMagic) return c;
  TFieldReader outer(bytes.substr(kMagic.size()));
  const std::string_view body = outer.String();
  const std::uint32_t crc = static_cast<std::uint32_t>(outer.Uint(4));
  if (!outer.Ok() || Crc32(body) != crc) return c;
  TFieldReader h(body);
  c.Header.Path = std::string(h.String());
  c.Header.UntitledId = std::string(h.String());
  const auto flags = h.Uint(1);
  c.Header.FileBase = (flags & 1) != 0;
  c.Header.BaseHashKnown = (flags & 2) != 0;
  c.Header.BaseHash = h.Uint(8);
  c.Header.BaseSize = h.Uint(8);
  c.Header.BaseTextLength = h.Uint(8);
  c.Header.CreatedNs = static_cast<std::int64_t>(h.Uint(8));
  c.Header.CharCode = static_cast<std::int32_t>(h.Uint(4));
  if (!h.Ok()) {
    c.Header = TJournalHeader{};
    return c;
  }
  c.Damage = jdNone;
  std::string_view rest = bytes.substr(kMagic.size() + outer.Used());
  while (!rest.empty()) {
    if (rest[0] != kEditTag) {
      c.Damage = jdCorrupt;
      break;
    }
    if (rest.size() < kEditFixed) {
      c.Damage = jdTruncated;
      break;
    }
    const std::size_t length = ReadU32(rest.substr(kEditFixed - 4));
    if (length > rest.size() - kEditFixed || rest.size() - kEditFixed - length < kCrcBytes) {
      c.Damage = jdTruncated;
      break;
    }
    const std::string_view record = rest.substr(0, kEditFixed + length);
    if (Crc32(record) != ReadU32(rest.substr(record.size()))) {
      c.Damage = jdCorrupt;
      break;
    }
    TFieldReader r(record.substr(1));
    TJournalEdit e;
    e.Offset = r.Uint(8);
    e.Removed = r.Uint(8);
    r.Uint(4);
    e.Inserted = std::string(r.Bytes(length));
    c.Edits.push_back(std::move(e));
    rest.remove_prefix(record.size() + kCrcBytes);
  }
  return c;
}

std::size_t ApplyJournalEdits(std::string& text, const std::vector<TJournalEdit>& edits) {
  std::size_t applied = 0;
  for (const TJournalEdit& e : edits) {
    if (e.Offset > text.size() || e.Removed > text.size() - e.Offset) break;
    text.replace(static_cast<std::size_t>(e.Offset), static_cast<std::size_t>(e.Removed), e.Inserted);
    ++applied;
  }
  return applied;
}

std::string RebuildWithoutBase(const TJournalContents& contents) {
  // The unknown base is held as NUL bytes, which no text in the store contains.
  const std::uint64_t baseLength = std::min<std::uint64_t>(contents.Header.BaseTextLength, std::uint64_t{1} << 32);
  std::string text(static_cast<std::size_t>(baseLength), '\0');
  ApplyJournalEdits(text, contents.Edits);
  std::string out;
  bool inBase = false;
  for (const char c : text) {
    if (c == '\0') {
      inBase = true;
      continue;
    }
    if (inBase && !out.empty() && out.back() != '\n') out += "\r\n";
    inBase = false;
    out.push_back(c);
  }
  return out;
}

std::size_t ChangedLineCount(std::string_view before, std::string_view after) {
  std::size_t prefix = 0;
  const std::size_t shorter = std::min(before.size(), after.size());
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) ++suffix;
  if (prefix == before.size() && prefix == after.size()) return 0;
  const auto lines = [](std::string_view s) { return static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')); };
  // The lines of the differing stretch, in whichever text has more of them.
  const std::string_view a = before.substr(prefix, before.size() - prefix - suffix);
  const std::string_view b = after.substr(prefix, after.size() - prefix - suffix);
  return std::max(lines(a), lines(b)) + 1;
}

}  // namespace vorn
