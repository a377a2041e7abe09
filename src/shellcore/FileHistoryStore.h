// "FileHist.fhd" in the user folder, read and rewritten under the history lock.
#pragma once

#include <functional>
#include <string>

#include "shellcore/FileHistory.h"

namespace vorn {

inline constexpr const char* kFileHistoryFileName = "FileHist.fhd";
inline constexpr const char* kFileHistoryLockName = "VORNEDITOR_FILEHIST_MUTEX";
inline constexpr const char* kMutexFailedMessage = "Mutexが作成できません";

// The lock file lies beside the history, not in the per-display runtime folder: editors on
// two displays that share one user folder must still take turns.
class TFileHistoryStore {
public:
  explicit TFileHistoryStore(std::string userFolder, int lockTimeoutMs = 10000);

  std::string FilePath() const;
  std::string LockPath() const;

  enum TResult { hrOk, hrNoFile, hrDamaged, hrLockFailed, hrReadFailed, hrWriteFailed };

  // Loads the history. hrNoFile leaves it as it was; hrDamaged empties it; message receives
  // the text to show for every result but hrOk and hrNoFile.
  TResult Load(TFileHistory& history, std::string& message) const;

  // Read-modify-write of one entry under the lock: the file is read again (another process
  // may have written since), the name touched, fill called on its entry, and the file
  // replaced atomically. history receives the list as written. A damaged file is started
  // afresh. The caller then broadcasts the reload.
  TResult WriteEntry(TFileHistory& history, const std::string& fileName,
                     const std::function<void(TFileInfo&)>& fill, std::string& message) const;

private:
  int LockFile(std::string& message) const;

  std::string folder_;
  int lockTimeoutMs_;
};

}  // namespace vorn
