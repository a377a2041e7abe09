// Saving what a settings dialog edited without losing what another editor saved meanwhile.
// The dialog takes a fingerprint of the files it is about to rewrite when it opens; on OK,
// under a lock that orders the dialogs of every process, a changed fingerprint means another
// editor saved first, and the user is asked before those settings are overwritten.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorn {

// The lock held by a dialog from its check to the end of its save.
extern const char* const kSettingsDialogLockName;

// What the file-type settings are on disk now: the "Type" sections of Common.ini and every
// FSet ini and ".fbd" of the user folder (trailing "/").
std::uint64_t TypeSettingsFingerprint(const std::string& userFolder);
// The key table and tool bar files of the user folder.
std::uint64_t KeyMapFingerprint(const std::string& userFolder);

// The message of the question, naming what was saved by the other editor.
std::string ConcurrentSaveQuestion(const std::string& whatUtf8);

class TSettingsSaveGuard {
public:
  using TFingerprint = std::function<std::uint64_t()>;
  explicit TSettingsSaveGuard(TFingerprint fingerprint);

  // Under the lock: when the files changed since the guard was made (or last saved), asks
  // keepOthers whether the other editor's settings should be kept; true keeps them and saves
  // nothing. Otherwise runs save. Answers whether save ran.
  bool Save(const std::function<bool()>& keepOthers, const std::function<void()>& save);
  bool ChangedElsewhere() const;
  // Takes the files as they are now as the state the dialog started from (after its own load
  // wrote them, as a first start does).
  void Rebase() { opened_ = fingerprint_(); }

private:
  TFingerprint fingerprint_;
  std::uint64_t opened_;
};

}  // namespace vorn
