// The station's global hot key on whatever the session offers: the X server's key grab, else
// the desktop portal's global shortcuts, else none, which the caller tells the user.
#pragma once

#include <QObject>

#include "qtplatform/KeyCodeMap.h"

namespace vorn {

class TX11HotKey;
class TPortalHotKey;

class TGlobalHotKey : public QObject {
  Q_OBJECT
public:
  enum TResult {
    grRegistered,   // grabbed, or asked of the portal (a refusal comes as Refused)
    grTaken,        // another program holds the key
    grNoKey,        // no key of this keyboard gives the virtual key
    grUnavailable,  // neither an X server nor a portal with global shortcuts
  };

  explicit TGlobalHotKey(QObject* parent = nullptr);
  ~TGlobalHotKey() override;

  // Registers chord (virtual key, Shift 1 Ctrl 2 Alt 4) in place of any earlier hot key.
  TResult Register(TKeyChord chord);
  void Unregister();

Q_SIGNALS:
  void Pressed();
  // The portal refused a shortcut that Register had asked for.
  void Refused();

private:
  TX11HotKey* x11_ = nullptr;
  TPortalHotKey* portal_ = nullptr;
  bool portalChecked_ = false;
};

}  // namespace vorn
