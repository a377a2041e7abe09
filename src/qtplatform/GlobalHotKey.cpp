// TGlobalHotKey: the choice between the X grab and the portal, made on first registration.
#include "qtplatform/GlobalHotKey.h"

#include "qtplatform/PortalHotKey.h"
#include "qtplatform/X11HotKey.h"

namespace vorn {

TGlobalHotKey::TGlobalHotKey(QObject* parent) : QObject(parent) {
  if (TX11HotKey::Available()) {
    x11_ = new TX11HotKey(this);
    connect(x11_, &TX11HotKey::Pressed, this, &TGlobalHotKey::Pressed);
  }
}

TGlobalHotKey::~TGlobalHotKey() { Unregister(); }

TGlobalHotKey::TResult TGlobalHotKey::Register(TKeyChord chord) {
  if (x11_) {
    switch (x11_->Grab(chord)) {
      case TX11HotKey::xrGrabbed: return grRegistered;
      case TX11HotKey::xrTaken: return grTaken;
      case TX11HotKey::xrNoKey: return grNoKey;
      case TX11HotKey::xrNoServer: break;
    }
    return grUnavailable;
  }
  // The portal is asked over the session bus, which takes a round trip: once per process.
  if (!portalChecked_) {
    portalChecked_ = true;
    if (TPortalHotKey::Available()) {
      portal_ = new TPortalHotKey(this);
      connect(portal_, &TPortalHotKey::Pressed, this, &TGlobalHotKey::Pressed);
      connect(portal_, &TPortalHotKey::Bound, this, [this](bool bound) {
        if (!bound) Q_EMIT Refused();
      });
    }
  }
  if (!portal_) return grUnavailable;
  portal_->Bind(chord);
  return grRegistered;
}

void TGlobalHotKey::Unregister() {
  if (x11_) x11_->Ungrab();
  if (portal_) portal_->Unbind();
}

}  // namespace vorn
