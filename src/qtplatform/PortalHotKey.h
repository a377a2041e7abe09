// A global hot key through the desktop portal's global-shortcuts interface, which sessions
// without an X server (Wayland) offer where the desktop supports it: the program asks for a
// shortcut, the desktop binds it (often after asking the user) and reports its activations.
#pragma once

#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

#include "qtplatform/KeyCodeMap.h"

namespace vorn {

class TPortalHotKey : public QObject {
  Q_OBJECT
public:
  explicit TPortalHotKey(QObject* parent = nullptr);

  // True when the session bus has a portal with the global-shortcuts interface.
  static bool Available();

  // Asks for the chord as the station's one shortcut, in place of an earlier one. The answer
  // comes later: Bound(true) once the desktop bound it, Bound(false) when it refused.
  void Bind(TKeyChord chord);
  void Unbind();

  // The trigger text the portal expects ("CTRL+ALT+v"); empty for a key it cannot be named by.
  static QString TriggerText(TKeyChord chord);

Q_SIGNALS:
  void Pressed();
  void Bound(bool bound);

private Q_SLOTS:
  void SessionCreated(uint response, const QVariantMap& results);
  void ShortcutsBound(uint response, const QVariantMap& results);
  void Activated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp, const QVariantMap& options);

private:
  QString RequestPath(const QString& token) const;
  bool WatchRequest(const QString& token, const char* slot);
  void SendBind();

  QString session_;
  TKeyChord chord_;
  bool wanted_ = false;
  int tokenCount_ = 0;
};

}  // namespace vorn
