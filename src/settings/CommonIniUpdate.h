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

// The file-type dialog's "位置の記憶": the main window's left and top become the position a
// type with a fixed position opens at, written at once, but only while the main window itself
// has a fixed position (else the place remembered would be one the user never chose). Returns
// whether it wrote.
bool RememberFixedPosition(const std::string& commonIniPath, bool mainWindowFixed, int left, int top);

}  // namespace vorn
