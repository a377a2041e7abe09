// jconvert: where a Shift_JIS character outside JIS X 0208 goes when written as JIS or EUC-JP.
#include <array>
#include <memory>

#include "platform/cp932.h"
#include "encoding/jconvertInternal.h"

namespace vorn::jconv {

namespace {

constexpr bool IsTrailByte(unsigned b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The code of unit among the leads that JIS and EUC-JP can hold (81-EF), the NEC-selected rows
// ED-EE first, since that is where the IBM extensions have their twins; 0 where there is none.
std::uint16_t JisCodeOf(const TCp932Table& t, char16_t unit) {
  static constexpr unsigned kLeadOrder[] = {0xED, 0xEE};
  for (unsigned lead : kLeadOrder)
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (t.dbcs[lead << 8 | trail] == unit) return static_cast<std::uint16_t>(lead << 8 | trail);
  for (unsigned lead = 0x81; lead <= 0xEF; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail)
      if (IsTrailByte(trail) && t.dbcs[lead << 8 | trail] == unit)
        return static_cast<std::uint16_t>(lead << 8 | trail);
  }
  return 0;
}

}  // namespace

std::uint16_t NecSelectedTwin(unsigned lead, unsigned trail) {
  using TTwins = std::array<std::uint16_t, 3 * 256>;
  static const std::unique_ptr<TTwins> twins = [] {
    const TCp932Table& t = Cp932Table();
    auto x = std::make_unique<TTwins>();
    x->fill(0);
    for (unsigned l = 0xFA; l <= 0xFC; ++l)
      for (unsigned tr = 0x40; tr <= 0xFC; ++tr) {
        const char16_t unit = t.dbcs[l << 8 | tr];
        if (unit != 0 && IsTrailByte(tr)) (*x)[(l - 0xFA) << 8 | tr] = JisCodeOf(t, unit);
      }
    return x;
  }();
  if (lead < 0xFA || lead > 0xFC) return 0;
  return (*twins)[(lead - 0xFA) << 8 | (trail & 0xFF)];
}

}  // namespace vorn::jconv
