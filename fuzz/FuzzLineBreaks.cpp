// Fuzzes line splitting and line-break conversion against plain byte-by-byte reference code.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/HeadlessView.h"
#include "store/LoadedRows.h"
#include "textfile/JConvStrList.h"

namespace {

using namespace vorn;

void Check(bool ok) {
  if (!ok) std::abort();
}

// Lines the slow way: breaks CR LF, CR or LF, none after a final break.
std::vector<std::string> ReferenceLines(const std::string& t) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < t.size()) {
    std::size_t j = i;
    while (j < t.size() && t[j] != '\r' && t[j] != '\n') ++j;
    lines.push_back(t.substr(i, j - i));
    // Step over exactly one break.
    std::size_t k = j;
    if (k < t.size()) k += (t[k] == '\r' && k + 1 < t.size() && t[k + 1] == '\n') ? 2 : 1;
    i = k;
  }
  return lines;
}

std::string ReferenceConvert(const std::string& t, const char* brk) {
  std::string out;
  for (const std::string& line : ReferenceLines(t)) out += line + brk;
  bool finalBreak = !t.empty() && (t.back() == '\r' || t.back() == '\n');
  if (!finalBreak && !out.empty()) out.resize(out.size() - std::string(brk).size());
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string upToNul = input.substr(0, input.find('\0'));

  // Break detection agrees with the first break of the text.
  std::size_t first = input.find_first_of("\r\n");
  TLineBreakKind kind = DetectLineBreak(input);
  if (first == std::string::npos)
    Check(kind == lbUnknown);
  else
    Check(kind == (input[first] == '\n' ? lbLF : (first + 1 < size && input[first + 1] == '\n') ? lbCRLF : lbCR));

  // Conversion: the text up to its first NUL, every break replaced.
  static const char* const kBreaks[] = {"", "\r\n", "\r", "\n"};
  for (int to = 1; to <= 3; ++to) {
    std::string converted = ConvertLineBreaks(input, lbCR, static_cast<TLineBreakKind>(to));
    if (to == lbCR) {
      Check(converted == input);
    } else {
      Check(converted == ReferenceConvert(upToNul, kBreaks[to]));
    }
  }
  // Saving converts every break and keeps NUL bytes.
  std::string encoded = EncodeText(input, lbLF, ckSjis);
  Check(encoded.find('\r') == std::string::npos);
  Check(std::count(encoded.begin(), encoded.end(), '\0') == std::count(input.begin(), input.end(), '\0'));

  // The store splits as the reference does and gives the text back with CR LF breaks.
  TVornEditHeadlessView view;
  view.Lines().SetTextStr(input);
  std::vector<std::string> lines = ReferenceLines(upToNul);
  TVornEditScreenStrings& store = *view.Store();
  Check(store.Count() == static_cast<int>(lines.size()));
  for (int i = 0; i < store.Count(); ++i) Check(store.Strings(i) == lines[static_cast<std::size_t>(i)]);
  std::string joined;
  for (const std::string& line : lines) joined += line + "\r\n";
  Check(view.Lines().GetTextStr() == joined);

  // The loader's scan, cut into any number of parts, finds the same rows, and an edit in the
  // middle of the packed rows keeps every other row's bytes.
  for (unsigned parts = 2; parts <= 4; ++parts) {
    std::vector<std::string> scanned;
    for (const TPackedRows& b : ScanLoadedRows(input.data(), input.data() + input.size(), true, 3, parts))
      for (std::size_t j = 0; j < b.Size(); ++j) scanned.emplace_back(b.Base() + b.Begin(j), b.Length(j));
    Check(scanned == lines);
  }
  if (store.Count() > 2) {
    const int middle = store.Count() / 2;
    store.ReplaceRows(middle, 1, "x\r\n");
    for (int i = 0; i < store.Count(); ++i)
      Check(store.Strings(i) == (i == middle ? std::string("x") : lines[static_cast<std::size_t>(i)]));
  }

  // The file-reading list keeps NUL bytes inside lines.
  TJConvStringList list;
  list.SetTextStr(input);
  std::vector<std::string> all = ReferenceLines(input);
  Check(list.Count() == static_cast<int>(all.size()));
  for (int i = 0; i < list.Count(); ++i) Check(list.Get(i) == all[static_cast<std::size_t>(i)]);
  return 0;
}
