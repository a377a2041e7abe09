// The locked update of shared ini files.
#include "settings/CommonIniUpdate.h"

#include "platform/NamedLock.h"

namespace vorn {

const char* const kCommonIniLockName = "VORNEDITOR_COMMONINI_MUTEX";

namespace {
constexpr int kLockTimeoutMs = 5000;
}

void UpdateSharedIni(const std::string& path, const std::function<void(TCustomIniFile&)>& edit) {
  TNamedLock lock;
  lock.Acquire(kCommonIniLockName, kLockTimeoutMs);
  TVornMemInifile ini(path);
  edit(ini);
  ini.UpdateFile();
}

bool RememberFixedPosition(const std::string& commonIniPath, bool mainWindowFixed, int left, int top) {
  if (!mainWindowFixed) return false;
  UpdateSharedIni(commonIniPath, [left, top](TCustomIniFile& ini) {
    ini.WriteInteger("Standard", "PositionFixX", left);
    ini.WriteInteger("Standard", "PositionFixY", top);
  });
  return true;
}

}  // namespace vorn
