// Fuzzes the keyword and bracket record readers and the keyword file reader: errors are allowed, crashes are
// not, and whatever reads without error writes back to bytes that read back the same.
#include "syntax/KeyWordFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace vorn;

template <class T>
std::string Save(const T& object) {
  TRecordWriter writer;
  object.SaveToStream(writer);
  return writer.Data();
}

template <class T>
void RoundTrip(std::string_view data) {
  T object;
  TRecordReader reader(data);
  try {
    object.LoadFromStream(reader);
  } catch (const ERecordReadError&) {
    return;
  } catch (const EKeyWordError&) {
    return;
  }
  const std::string saved = Save(object);
  T again;
  TRecordReader back(saved);
  again.LoadFromStream(back);
  if (Save(again) != saved || !back.AtEnd()) std::abort();
}

void KeyWordFile(std::string_view text) {
  TKeyWordList keyWords;
  std::string quotation, canceler;
  TBregexpObj commenter;
  TBracketList brackets;
  const TKeyWordFileData data{keyWords, quotation, canceler, commenter, brackets};
  try {
    LoadKeyWordFile(text, data);
  } catch (const EKeyWordError&) {
    return;
  }
  // Fields the file cannot hold (line breaks, NUL bytes, leading separators) make a second pass differ,
  // so only a second round trip must be stable.
  const std::string first = SaveKeyWordFile(data);
  LoadKeyWordFile(first, data);
  const std::string second = SaveKeyWordFile(data);
  LoadKeyWordFile(second, data);
  if (SaveKeyWordFile(data) != second) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  switch (bytes[0] % 6) {
    case 0: RoundTrip<TKeyWord>(data); break;
    case 1: RoundTrip<TFindKeyWord>(data); break;
    case 2: RoundTrip<TGrepKeyWord>(data); break;
    case 3: RoundTrip<TKeyWordList>(data); break;
    case 4: RoundTrip<TBracketList>(data); break;
    default: KeyWordFile(data); break;
  }
  return 0;
}
