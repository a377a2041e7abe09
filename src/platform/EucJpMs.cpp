// The eucJP-ms three-byte forms: each decoded once by the system iconv, then placed in code page 932.
#include "platform/EucJpMs.h"

#include <iconv.h>

#include <array>
#include <memory>

#include "platform/cp932.h"

namespace vorn {
namespace {

constexpr unsigned kFirst = 0xA1, kCount = 94;  // A1-FE
using TThreeByteTable = std::array<std::uint16_t, kCount * kCount>;

// One form through the converter; NoMapping unless it gives exactly one BMP unit.
std::uint16_t DecodeForm(iconv_t toU16, unsigned b2, unsigned b3) {
  char in[3] = {static_cast<char>(0x8F), static_cast<char>(b2), static_cast<char>(b3)};
  char out[8];
  char* inPtr = in;
  char* outPtr = out;
  std::size_t inLeft = sizeof in, outLeft = sizeof out;
  iconv(toU16, nullptr, nullptr, nullptr, nullptr);
  if (iconv(toU16, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
      sizeof out - outLeft != 2)
    return Cp932NoMapping;
  const auto unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8);
  return Cp932Table().fromU16[unit];
}

std::unique_ptr<TThreeByteTable> BuildTable() {
  auto table = std::make_unique<TThreeByteTable>();
  table->fill(Cp932NoMapping);
  iconv_t toU16 = iconv_open("UTF-16LE", "EUC-JP-MS");
  if (toU16 == reinterpret_cast<iconv_t>(-1)) return table;
  for (unsigned b2 = 0; b2 < kCount; ++b2)
    for (unsigned b3 = 0; b3 < kCount; ++b3) (*table)[b2 * kCount + b3] = DecodeForm(toU16, kFirst + b2, kFirst + b3);
  iconv_close(toU16);
  return table;
}

}  // namespace

std::uint16_t EucMsThreeByteToCp932(unsigned b2, unsigned b3) {
  static const std::unique_ptr<TThreeByteTable> table = BuildTable();
  if (b2 < kFirst || b2 >= kFirst + kCount || b3 < kFirst || b3 >= kFirst + kCount) return Cp932NoMapping;
  return (*table)[(b2 - kFirst) * kCount + (b3 - kFirst)];
}

}  // namespace vorn
