// The journal reader on any bytes: never a fault, what it accepts re-encodes and reads back the
// same, and replaying its edits (with or without their base) stays inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/JournalFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vorn::TJournalContents c = vorn::ParseJournal(bytes);
  if (c.Damage == vorn::jdNoHeader) {
    if (!c.Edits.empty()) std::abort();
    return 0;
  }
  std::string again = vorn::EncodeJournalHeader(c.Header);
  for (const vorn::TJournalEdit& e : c.Edits) vorn::AppendJournalEdit(again, e.Offset, e.Removed, e.Inserted);
  const vorn::TJournalContents back = vorn::ParseJournal(again);
  if (back.Damage != vorn::jdNone || back.Edits.size() != c.Edits.size()) std::abort();
  for (std::size_t i = 0; i < c.Edits.size(); ++i)
    if (back.Edits[i].Offset != c.Edits[i].Offset || back.Edits[i].Removed != c.Edits[i].Removed ||
        back.Edits[i].Inserted != c.Edits[i].Inserted)
      std::abort();
  if (back.Header.Path != c.Header.Path || back.Header.UntitledId != c.Header.UntitledId ||
      back.Header.BaseHash != c.Header.BaseHash || back.Header.BaseTextLength != c.Header.BaseTextLength ||
      back.Header.FileBase != c.Header.FileBase || back.Header.CharCode != c.Header.CharCode)
    std::abort();
  // A base of at most 64 KiB keeps the replay small; the rebuild sees the same bound.
  c.Header.BaseTextLength %= 65536;
  std::string text(static_cast<std::size_t>(c.Header.BaseTextLength), 'b');
  vorn::ApplyJournalEdits(text, c.Edits);
  const std::string rebuilt = vorn::RebuildWithoutBase(c);
  if (rebuilt.size() > text.size() * 2 + 2) std::abort();
  return 0;
}
