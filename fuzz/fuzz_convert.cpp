// Fuzz target: every conversion pair on arbitrary bytes; the first byte picks the pair. Checks
// that nothing crashes, that output stays within a linear bound of the input, that the baseline
// and the processor's faster loops agree, that text read into Shift_JIS and written back
// out reads back to the same Shift_JIS, and that EUC-JP read without loss (its three-byte forms
// included) and saved again reads back as the same characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "encoding/jconvert.h"
#include "encoding/jconvertInternal.h"
#include "platform/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto from = static_cast<vorn::TCharCodeKind>(data[0] % 12);
  const auto to = static_cast<vorn::TCharCodeKind>(data[0] / 12 % 12);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::size_t lost = 0;
  const std::string out = vorn::ConvertCharCode(text, from, to, &lost);
  if (out.size() > 8 * text.size() + 16) std::abort();
  std::size_t lostBaseline = 0;
  vorn::jconv::UseBaselineVectorForms(true);
  const std::string baseline = vorn::ConvertCharCode(text, from, to, &lostBaseline);
  vorn::jconv::UseBaselineVectorForms(false);
  if (baseline != out || lostBaseline != lost) std::abort();
  const bool unicode = from == vorn::ckUnicodeLE || from == vorn::ckUnicodeBE ||
                       from == vorn::ckUtf8 || from == vorn::ckUtf8N || from == vorn::ckUtf7;
  if (to == vorn::ckSjis && (from == vorn::ckUtf8 || from == vorn::ckUtf8N)) {
    // Reading UTF-8 in place, cut into parts converted side by side, gives the same.
    for (unsigned parts = 1; parts <= 3; ++parts) {
      vorn::TByteBuffer bytes(text.size());
      if (!text.empty()) std::memcpy(bytes.Data(), text.data(), text.size());
      std::size_t lostInPlace = 0;
      vorn::Utf8ToSjisInPlace(bytes, lostInPlace, parts);
      if (std::string_view(bytes.Data(), bytes.Size()) != out || lostInPlace != lost) std::abort();
    }
    // A file's bytes: its NULs and those the conversion makes become spaces, counted.
    std::string spaced(text);
    std::size_t nuls = 0;
    for (char& c : spaced)
      if (c == '\0') c = ' ', ++nuls;
    std::size_t lostSpaced = 0;
    std::string model = vorn::ConvertCharCode(spaced, from, to, &lostSpaced);
    for (char& c : model)
      if (c == '\0') c = ' ', ++nuls;
    for (unsigned parts = 1; parts <= 3; ++parts) {
      vorn::TByteBuffer bytes(text.size());
      if (!text.empty()) std::memcpy(bytes.Data(), text.data(), text.size());
      std::size_t lostInPlace = 0;
      const std::size_t replaced = vorn::Utf8FileToSjisInPlace(bytes, lostInPlace, parts);
      if (std::string_view(bytes.Data(), bytes.Size()) != model || lostInPlace != lostSpaced || replaced != nuls)
        std::abort();
    }
  }
  if (to == vorn::ckSjis && unicode && lost == 0 && out.find('\0') == std::string::npos) {
    // Unicode text read without loss must survive a save and a re-read in the same code: the
    // bytes saved may differ (UTF-7 forms), the Shift_JIS must not.
    std::size_t lostOut = 0, lostIn = 0;
    const std::string saved = vorn::ConvertCharCode(out, vorn::ckSjis, from, &lostOut);
    const std::string reread = vorn::ConvertCharCode(saved, from, vorn::ckSjis, &lostIn);
    if (reread != out || lostOut != 0 || lostIn != 0) std::abort();
  }
  if (to == vorn::ckSjis && from == vorn::ckEuc && lost == 0) {
    // An IBM extension read from a three-byte form is saved as its NEC-selected twin: other
    // bytes, the same character.
    std::size_t lostOut = 0, lostIn = 0;
    const std::string saved = vorn::ConvertCharCode(out, vorn::ckSjis, vorn::ckEuc, &lostOut);
    const std::string reread = vorn::ConvertCharCode(saved, vorn::ckEuc, vorn::ckSjis, &lostIn);
    if (lostOut == 0 && (lostIn != 0 || vorn::Cp932ToUtf16(reread) != vorn::Cp932ToUtf16(out))) std::abort();
  }
  return 0;
}
