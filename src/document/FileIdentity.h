// Which file a name means, and whether the file is still the one this process last read or wrote.
#pragma once

#include <cstdint>
#include <string>

namespace vorn {

// Two names mean the same file when their canonical forms are equal byte for byte: Linux file
// names differ by case, so "A.txt" and "a.txt" are two documents.
bool SameFileName(const std::string& a, const std::string& b);

// What identifies one state of a file: the modification time to the nanosecond, the size and
// the inode. A rewrite within one clock tick still changes the size or, when the writer replaced
// the file as editors do, the inode.
struct TFileStamp {
  bool exists = false;
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;
  std::int64_t size = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  bool operator==(const TFileStamp&) const = default;
};

// The stamp of the file a name leads to (through symbolic links); exists is false when there
// is no such file.
TFileStamp TakeFileStamp(const std::string& path);

enum class TFileChange { Unchanged, Changed, Deleted };

// How the file at path now differs from stored. A stamp taken of no file (an untitled or
// never-saved document) reports Unchanged: there is nothing this process read to compare with.
TFileChange CompareFileStamp(const TFileStamp& stored, const std::string& path);

}  // namespace vorn
