// TStrings defaults (text, assignment, files) and TStringList.
#include "base/Strings.h"

#include "base/Stream.h"

namespace vorn {

int TStrings::Add(std::string_view s) {
  int index = Count();
  Insert(index, s);
  return index;
}

std::string TStrings::GetTextStr() const {
  std::size_t size = 0;
  int n = Count();
  for (int i = 0; i < n; ++i) size += Get(i).size() + 2;
  std::string text;
  text.reserve(size);
  for (int i = 0; i < n; ++i) text.append(Get(i)).append("\r\n");
  return text;
}

void TStrings::SetTextStr(std::string_view text) {
  BeginUpdate();
  Clear();
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t j = i;
    while (j < text.size() && text[j] != '\r' && text[j] != '\n') ++j;
    Add(text.substr(i, j - i));
    if (j < text.size() && text[j] == '\r') ++j;
    if (j < text.size() && text[j] == '\n') ++j;
    i = j;
  }
  EndUpdate();
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  BeginUpdate();
  Clear();
  for (int i = 0; i < source.Count(); ++i) Add(source.Get(i));
  EndUpdate();
}

void TStrings::LoadFromStream(TStream& stream) { SetTextStr(ReadToEnd(stream)); }

void TStrings::SaveToStream(TStream& stream) const {
  std::string text = GetTextStr();
  stream.Write(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TStringList::Insert(int i, std::string_view s) {
  items_.insert(items_.begin() + i, std::string(s));
}

void TStringList::Delete(int i) { items_.erase(items_.begin() + i); }

}  // namespace vorn
