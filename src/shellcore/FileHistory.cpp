// History list operations and the "FileHist.fhd" reader and writer.
#include "shellcore/FileHistory.h"

#include <algorithm>

#include "platform/VornUtil.h"
#include "syntax/KeyWordStream.h"
#include "shellcore/HistoryNames.h"

namespace vorn {

TFileInfo& TFileHistory::Touch(const std::string& fileName) {
  const std::string name = CanonicalFileName(fileName);
  auto it = std::find_if(items_.begin(), items_.end(), [&](const TFileInfo& f) { return f.fileName == name; });
  if (it != items_.end()) {
    std::rotate(items_.begin(), it, it + 1);
  } else {
    TFileInfo info;
    info.fileName = name;
    items_.insert(items_.begin(), std::move(info));
    if (items_.size() > kMaxEntries) items_.resize(kMaxEntries);
  }
  menuDirty_ = true;
  return items_.front();
}

TFileInfo* TFileHistory::Find(const std::string& fileName) {
  const std::string name = CanonicalFileName(fileName);
  for (TFileInfo& f : items_)
    if (f.fileName == name) return &f;
  return nullptr;
}

std::string SaveFileHistoryBytes(const TFileHistory& history) {
  TRecordWriter body;
  std::int32_t count = 0;
  for (const TFileInfo& f : history.Items()) {
    std::string sjis;
    if (!NativeNameToSjis(f.fileName, sjis)) continue;
    body.WriteInt32(f.caret);
    body.WriteZString(sjis);
    body.WriteInt32(static_cast<std::int32_t>(10 + f.marks.size()));
    for (std::int32_t m : f.numberedMarks) body.WriteInt32(m);
    for (std::int32_t m : f.marks) body.WriteInt32(m);
    ++count;
  }
  TRecordWriter out;
  out.WriteInt32(count);
  out.Data() += body.Data();
  return out.Data();
}

namespace {

bool ReadEntry(TRecordReader& in, std::size_t size, TFileInfo& f) {
  f.caret = in.ReadInt32();
  if (in.AtEnd()) return false;
  const std::string sjis = in.ReadZString();
  const std::int32_t k = in.ReadInt32();
  // Every mark takes four bytes, so a count the rest of the file cannot hold is damage.
  if (k < 10 || static_cast<std::size_t>(k) > (size - in.Position()) / 4) return false;
  for (std::int32_t& m : f.numberedMarks) m = in.ReadInt32();
  f.marks.resize(k - 10);
  for (std::int32_t& m : f.marks) m = in.ReadInt32();
  f.fileName = SjisNameToNative(sjis);
  return !sjis.empty();
}

}  // namespace

bool LoadFileHistoryBytes(std::string_view bytes, TFileHistory& history) {
  history.Clear();
  history.SetMenuNeedsRebuild(true);
  if (bytes.empty()) return true;
  std::vector<TFileInfo> items;
  try {
    TRecordReader in(bytes);
    const std::int32_t count = in.ReadInt32();
    // The smallest entry is 4 + 2 + 4 + 40 bytes.
    if (count < 0 || static_cast<std::size_t>(count) > bytes.size() / 50) return false;
    for (std::int32_t i = 0; i < count; ++i) {
      TFileInfo f;
      if (!ReadEntry(in, bytes.size(), f)) return false;
      if (items.size() < TFileHistory::kMaxEntries) items.push_back(std::move(f));
    }
  } catch (const ERecordReadError&) {
    return false;
  }
  history.Items() = std::move(items);
  return true;
}

}  // namespace vorn
