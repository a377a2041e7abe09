// Bookmarks of one document: ten numbered marks and any number of unnumbered ones, by logical line.
#pragma once

#include "base/NotifyPersistent.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vorn {

// What the line marks need from the document they belong to.
class TLineMarkHost {
public:
  virtual ~TLineMarkHost() = default;
  virtual int LineCount() const = 0;
  // Every view of the document repaints its left margin, where the marks are drawn.
  virtual void RepaintMargins() = 0;
};

// The store owns one table; its edits move the marks through AdjustForEdit.
class TVornEditLineMark : public TNotifyPersistent {
public:
  static constexpr int NumberedCount = 10;

  explicit TVornEditLineMark(TLineMarkHost* host = nullptr);
  // Keeps its host, as the store's table does.
  explicit TVornEditLineMark(std::unique_ptr<TLineMarkHost> host);

  TLineMarkHost* Host() const { return host_; }
  void SetHost(TLineMarkHost* host) { host_ = host; }

  int Numbered(int n) const { return marks_[n]; }
  int Unnumbered(int i) const { return marks_[NumberedCount + i]; }
  int UnnumberedCount() const { return static_cast<int>(marks_.size()) - NumberedCount; }
  // Raw entries: 0..9 numbered (-1 unset), then the unnumbered ones.
  int EntryCount() const { return static_cast<int>(marks_.size()); }
  int Entry(int index) const { return marks_[index]; }

  void SetNumbered(int n, int line);
  void AddUnnumbered(int line);
  void RemoveAt(int index);
  int RemoveLine(int line);
  void ClearMarks(bool unnumbered, bool numbered);
  void DropBeyond(int lineCount);
  // Lines were added (delta > 0) or removed (delta < 0) at line.
  void AdjustForEdit(int line, int delta);
  void ClearAll() { ClearMarks(true, true); }

  bool operator==(const TVornEditLineMark& o) const { return marks_ == o.marks_; }
  void Assign(const TVornEditLineMark& src);

  void Changed() override;

private:
  // Removes entry index without notifying: numbered ones are unset, unnumbered ones deleted.
  void Remove(int index);
  bool DropBeyondQuietly(int lineCount);

  std::unique_ptr<TLineMarkHost> ownHost_;
  TLineMarkHost* host_;
  std::vector<int32_t> marks_;
};

}  // namespace vorn
