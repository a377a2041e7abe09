// Read-modify-write of a settings file shared by every editor process, under a named lock.
#pragma once

#include "settings/VornMemInifile.h"

#include <functional>
#include <string>

namespace vorn {

// The lock that orders the writers of "Common.ini".
extern const char* const kCommonIniLockName;

// Takes the lock, loads the file as it is on disk now, lets edit change it and writes it back,
// so the keys another process wrote since this one read the file survive. When the lock cannot
// be had within a few seconds (a hung peer), the update goes ahead rather than dropping the
// user's change.
void UpdateSharedIni(const std::string& path, const std::function<void(TCustomIniFile&)>& edit);

}  // namespace vorn
