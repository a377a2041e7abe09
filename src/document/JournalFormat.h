// The journal of a document's unsaved edits as bytes: a header naming the text the edits start
// from, then one record per edit, each with its own checksum so that a journal cut short or
// damaged anywhere is read up to its last whole record and known to be damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// What the edits start from: the bytes of a file (known by size, time and hash) or nothing.
struct TJournalHeader {
  std::string Path;             // the file's canonical name; empty for an untitled document
  std::string UntitledId;       // which untitled document, when Path is empty
  bool FileBase = false;        // the edits start from the text read from Path
  bool BaseHashKnown = false;   // the file could be hashed as it was read
  std::uint64_t BaseHash = 0;   // TByteHasher of the file's bytes
  std::uint64_t BaseSize = 0;   // the file's size then
  std::uint64_t BaseTextLength = 0;  // the text's length (CR LF rows) the first edit applies to
  std::int64_t CreatedNs = 0;   // when the journal began (Unix time)
  std::int32_t CharCode = 0;    // the code the file was read in, so that it reads the same again
};

// The text's bytes from Offset, Removed of them, became Inserted. Offsets count the text as the
// store gives it (CR LF after each line).
struct TJournalEdit {
  std::uint64_t Offset = 0;
  std::uint64_t Removed = 0;
  std::string Inserted;
};

enum TJournalDamage : std::uint8_t {
  jdNone,       // every byte was read as whole records
  jdTruncated,  // the last record is cut short
  jdCorrupt,    // a record's checksum or fields do not hold; what follows it is not read
  jdNoHeader,   // not a journal, or its header is damaged: nothing can be trusted
};

struct TJournalContents {
  TJournalHeader Header;
  std::vector<TJournalEdit> Edits;  // the whole records before any damage
  TJournalDamage Damage = jdNone;
};

std::string EncodeJournalHeader(const TJournalHeader& header);
void AppendJournalEdit(std::string& out, std::uint64_t offset, std::uint64_t removed, std::string_view inserted);

// Reads any bytes without failing: a damaged journal yields the edits before the damage.
TJournalContents ParseJournal(std::string_view bytes);

// Applies edits to text in order. An edit that reaches past the text stops the replay; answers
// how many were applied.
std::size_t ApplyJournalEdits(std::string& text, const std::vector<TJournalEdit>& edits);

// The bytes the edits put there and that are still there, without any text of a base that is
// not at hand: runs of base text become one line break.
std::string RebuildWithoutBase(const TJournalContents& contents);

// The lines the edits touched, counted in the text they produce: what a restore offer names.
std::size_t ChangedLineCount(std::string_view before, std::string_view after);

// A 64-bit hash of a byte stream fed in pieces of any size; a file's bytes give the same value
// however they are cut. Not cryptographic: it tells whether a file is still the one read.
class TByteHasher {
public:
  void Add(std::string_view bytes);
  std::uint64_t Value() const;

private:
  void Block(const unsigned char* p);
  std::uint64_t lanes_[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull,
                             0x27D4EB2F165667C5ull};
  unsigned char tail_[32] = {};
  std::size_t tailSize_ = 0;
  std::uint64_t total_ = 0;
};

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

}  // namespace vorn
