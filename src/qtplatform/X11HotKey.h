// A global hot key on an X server: a passive grab of one key on the root window, so the key
// reaches this program whichever window has the focus.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <functional>
#include <vector>

#include "qtplatform/KeyCodeMap.h"

struct xcb_connection_t;

namespace vorn {

class TX11HotKey : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT
public:
  enum TResult { xrGrabbed, xrTaken, xrNoKey, xrNoServer };

  explicit TX11HotKey(QObject* parent = nullptr);
  ~TX11HotKey() override;

  // True when the application runs on an X server (the xcb platform).
  static bool Available();

  // Grabs chord (virtual key, Shift 1 Ctrl 2 Alt 4) in place of any earlier grab. xrTaken when
  // another client holds the key already: the X server refuses a second grab of it.
  TResult Grab(TKeyChord chord);
  void Ungrab();

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
  void Pressed();

private:
  xcb_connection_t* connection_ = nullptr;
  quint32 root_ = 0;
  quint8 keyCode_ = 0;
  quint16 modifiers_ = 0;  // the X modifier mask of the chord
};

}  // namespace vorn
