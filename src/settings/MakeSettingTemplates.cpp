// Build step that turns the readable file-type templates (data/Setting: <name>.ini with a
// [Colors] section, <name>.hil keyword file, Setting.txt) into the shipped "Setting" folder:
// complete type ini files and their ".fbd" lists, exactly as the program reads them.
#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"
#include "syntax/KeyWordFile.h"
#include "settings/FileSetting.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace vorn;

namespace {

// "[Colors]" lines "<index>=<text colour>,<background>,<style>": index and style decimal, colours hexadecimal.
void ApplyColors(TVornMemInifile& ini, TFileSetting& type) {
  TCustomIniFile::TNameList lines;
  ini.ReadSectionValues("Colors", lines);
  for (const std::string& line : lines) {
    unsigned index = 0, text = 0, bk = 0, style = 0;
    if (std::sscanf(line.c_str(), "%u=%x,%x,%u", &index, &text, &bk, &style) != 4 ||
        index >= static_cast<unsigned>(type.Colors().Count())) {
      throw EVornError(ini.FileName() + ": bad colour line: " + line);
    }
    type.Colors()[static_cast<int>(index)].SetColor(text);
    type.Colors()[static_cast<int>(index)].SetBkColor(bk);
    type.Colors()[static_cast<int>(index)].SetStyle(static_cast<TFontStyles>(style));
  }
  ini.EraseSection("Colors");
}

void ApplyKeywordFile(const fs::path& hil, TFileSetting& type) {
  if (!fs::exists(hil)) return;
  const TByteBuffer bytes = ReadFileBytes(hil.string());
  LoadKeyWordFile(std::string_view(bytes.Data(), bytes.Size()),
                  {type.Keywords(), type.Quotation, type.QuotationCanceler, type.Commenter(), type.Brackets()});
}

void MakeType(const fs::path& source, const fs::path& outDir) {
  TVornMemInifile ini(source.string());
  TFileSetting type(nullptr, nullptr);
  type.LoadFromIni(ini, true);
  ApplyColors(ini, type);
  ApplyKeywordFile(fs::path(source).replace_extension(".hil"), type);
  TVornMemInifile out((outDir / source.filename()).string());
  out.SetText(ini.GetText());
  type.SaveToIni(out);
  out.UpdateFile();
  const fs::path fbd = (outDir / source.filename()).replace_extension(".fbd");
  WriteFileAtomicallyOrThrow(fbd.string(), type.SaveFbdBytes());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <template folder> <output Setting folder>\n", argv[0]);
    return 2;
  }
  try {
    const fs::path src = argv[1], out = argv[2];
    fs::create_directories(out);
    for (const auto& entry : fs::directory_iterator(src)) {
      if (entry.path().extension() == ".ini") MakeType(entry.path(), out);
    }
    fs::copy_file(src / "Setting.txt", out / "Setting.txt", fs::copy_options::overwrite_existing);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
