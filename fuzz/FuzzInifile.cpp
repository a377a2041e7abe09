// Fuzzes the ini reader: any bytes load, every lookup answers, and what is written reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/VornMemInifile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorn;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TVornMemInifile ini("");
  ini.SetText(bytes);
  TCustomIniFile::TNameList sections, names;
  ini.ReadSections(sections);
  for (const auto& s : sections) {
    ini.ReadSection(s, names);
    for (const auto& n : names) {
      (void)ini.ReadInteger(s, n, 0);
      (void)ini.ReadDateTime(s, n, 0);
      std::string bin;
      (void)ini.ReadBinaryStream(s, n, bin);
    }
  }
  const std::string text = ini.GetText();
  TVornMemInifile again("");
  again.SetText(text);
  if (again.GetText() != text) std::abort();
  // Whatever text is written under a fixed key reads back the same after a save and a load.
  const std::size_t cut = size / 2;
  std::string_view section = bytes.substr(0, cut);
  const std::string_view value = bytes.substr(cut);
  section = section.substr(0, section.find_first_of("\r\n"));  // what WriteString keeps
  ini.WriteString(section, "Key", value);
  TVornMemInifile reread("");
  reread.SetText(ini.GetText());
  if (reread.ReadString(section, "key", "\x01missing") != ini.ReadString(section, "KEY", "\x02missing")) std::abort();
  if (!sections.empty()) {
    ini.WriteString(sections.front(), "k", "v");
    if (ini.ReadString(sections.front(), "K", "") != "v") std::abort();
    ini.EraseSection(sections.front());
  }
  return 0;
}
