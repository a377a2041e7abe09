// The remembered documents: TFileInfo, TFileHistory and the "FileHist.fhd" byte format.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct TFileInfo {
  std::string fileName;                  // canonical, native bytes
  std::int32_t caret = 0;                // character offset, every line end counted as 2
  std::array<std::int32_t, 10> numberedMarks{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  std::vector<std::int32_t> marks;       // unnumbered marks, line indices
  void* menuItem = nullptr;              // the menu entry showing it (not owned)

  bool operator==(const TFileInfo& o) const {
    return fileName == o.fileName && caret == o.caret && numberedMarks == o.numberedMarks && marks == o.marks;
  }
};

class TFileHistory {
public:
  static constexpr int kMaxEntries = 30;

  // Moves the entry of the canonical name to the top, or creates it there, and drops what
  // falls beyond kMaxEntries. Returns the entry.
  TFileInfo& Touch(const std::string& fileName);
  TFileInfo* Find(const std::string& fileName);

  std::vector<TFileInfo>& Items() { return items_; }
  const std::vector<TFileInfo>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear() { items_.clear(); }

  int MenuCount() const { return menuCount_; }
  void SetMenuCount(int count) { menuCount_ = count; }
  // The file menu is rebuilt only when a load changed the entries.
  bool MenuNeedsRebuild() const { return menuDirty_; }
  void SetMenuNeedsRebuild(bool dirty) { menuDirty_ = dirty; }

private:
  std::vector<TFileInfo> items_;
  int menuCount_ = 10;
  bool menuDirty_ = true;
};

// "FileHist.fhd": int32 count, then per entry int32 caret, the Shift_JIS name ended by a zero
// byte, int32 k (10 + unnumbered marks) and k int32 marks. Names that code page 932 cannot
// hold are left out, so the file stays valid for every reader.
std::string SaveFileHistoryBytes(const TFileHistory& history);

// Reads the bytes into history (cleared first). A file that does not hold the count it
// announces, or holds impossible values, leaves the history empty and answers false: a
// damaged history is dropped whole rather than half-believed. Empty bytes are no entries.
// Bytes after the last announced entry are ignored.
bool LoadFileHistoryBytes(std::string_view bytes, TFileHistory& history);

}  // namespace vorn
