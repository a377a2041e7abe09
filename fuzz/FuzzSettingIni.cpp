// Fuzzes reading a type's ini file and choosing a type by name: any text loads, values stay in
// their ranges, a saved type reads back equal, and matching names against its masks ends.
#include "settings/FileSetting.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorn;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TVornMemInifile ini("");
  ini.SetText(bytes);
  TFileSetting type(nullptr, nullptr);
  type.LoadFromIni(ini, true);
  if (type.TabCol < 2 || type.TabCol > 128 || type.WordBytes < 10 || type.WordBytes > 500) std::abort();
  if (type.IndentWidth < 1 || type.IndentWidth > 20) std::abort();
  TVornMemInifile out("");
  type.SaveToIni(out);
  TVornMemInifile reread("");
  reread.SetText(out.GetText());
  TFileSetting again(nullptr, nullptr);
  again.LoadFromIni(reread, true);
  if (!(static_cast<const TFileTypeValues&>(again) == static_cast<const TFileTypeValues&>(type))) std::abort();
  // Every value read is a candidate file name against every mask read.
  for (const std::string& name : type.Extensions()) {
    (void)type.Claims(TFileNameKey(name));
    for (const std::string& mask : type.Extensions()) (void)MatchesTypeMask(name, mask);
  }
  return 0;
}
