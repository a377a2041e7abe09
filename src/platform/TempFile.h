// TTempFile: a temporary file of the user's, made by exclusive creation under a name nobody can
// guess or take over first, and removed when the object goes, whatever happened in between.
#pragma once

#include <string>
#include <string_view>

namespace vorn {

// $TMPDIR when it names a folder, else /tmp.
std::string UserTempFolder();

class TTempFile {
public:
  TTempFile() = default;
  ~TTempFile() { Remove(); }
  TTempFile(TTempFile&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
  TTempFile& operator=(TTempFile&& other) noexcept;
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  // Creates "vorne" + six random characters + ".tmp" in folder (the user's temporary folder
  // when empty), mode 0600. False with a reason when it could not.
  bool Create(std::string* error = nullptr, const std::string& folder = {});
  // Replaces the file's content. False when it could not be written.
  bool Write(std::string_view bytes) const;
  void Remove();
  // Gives up the removal: the file stays for whoever it was made for.
  std::string Release();

  const std::string& Path() const { return path_; }
  bool Exists() const { return !path_.empty(); }

private:
  std::string path_;
};

// Overwrites an existing regular file (or creates one) without following a symbolic link in
// its last component, so a name another process passes in cannot be turned into a write
// elsewhere. False when it could not.
bool OverwriteFileNoFollow(const std::string& path, std::string_view bytes);

}  // namespace vorn
