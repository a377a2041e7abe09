// TPortalHotKey: the portal's session, the binding of the one shortcut, and its activations.
#include "qtplatform/PortalHotKey.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QList>

#include <X11/keysym.h>

namespace vorn {
namespace {

constexpr const char* kService = "org.freedesktop.portal.Desktop";
constexpr const char* kPath = "/org/freedesktop/portal/desktop";
constexpr const char* kInterface = "org.freedesktop.portal.GlobalShortcuts";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
constexpr const char* kShortcutId = "vorneditor-station";

struct TPortalShortcut {
  QString Id;
  QVariantMap Properties;
};

}  // namespace
}  // namespace vorn

Q_DECLARE_METATYPE(vorn::TPortalShortcut)

namespace vorn {
namespace {

QDBusArgument& operator<<(QDBusArgument& arg, const TPortalShortcut& s) {
  arg.beginStructure();
  arg << s.Id << s.Properties;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, TPortalShortcut& s) {
  arg.beginStructure();
  arg >> s.Id >> s.Properties;
  arg.endStructure();
  return arg;
}

QString KeyName(int virtualKey) {
  if (virtualKey >= 0x41 && virtualKey <= 0x5A) return QString(QChar(virtualKey + 0x20));
  if (virtualKey >= 0x30 && virtualKey <= 0x39) return QString(QChar(virtualKey));
  if (virtualKey >= 0x70 && virtualKey <= 0x87) return QStringLiteral("F%1").arg(virtualKey - 0x6F);
  switch (X11KeySymOfVirtualKey(virtualKey)) {
    case XK_space: return QStringLiteral("space");
    case XK_Return: return QStringLiteral("Return");
    case XK_Escape: return QStringLiteral("Escape");
    case XK_Tab: return QStringLiteral("Tab");
    case XK_Home: return QStringLiteral("Home");
    case XK_End: return QStringLiteral("End");
    case XK_Prior: return QStringLiteral("Prior");
    case XK_Next: return QStringLiteral("Next");
    case XK_Insert: return QStringLiteral("Insert");
    case XK_Delete: return QStringLiteral("Delete");
    case XK_Left: return QStringLiteral("Left");
    case XK_Up: return QStringLiteral("Up");
    case XK_Right: return QStringLiteral("Right");
    case XK_Down: return QStringLiteral("Down");
    default: return QString();
  }
}

}  // namespace

TPortalHotKey::TPortalHotKey(QObject* parent) : QObject(parent) {
  qDBusRegisterMetaType<TPortalShortcut>();
  qDBusRegisterMetaType<QList<TPortalShortcut>>();
  QDBusConnection::sessionBus().connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                                        SLOT(Activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

bool TPortalHotKey::Available() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage get = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
  get << QString::fromLatin1(kInterface) << QStringLiteral("version");
  const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
  return reply.type() == QDBusMessage::ReplyMessage;
}

QString TPortalHotKey::TriggerText(TKeyChord chord) {
  const QString key = KeyName(chord.Key);
  if (key.isEmpty()) return key;
  QString text;
  if (chord.Modifiers & 2) text += QStringLiteral("CTRL+");
  if (chord.Modifiers & 4) text += QStringLiteral("ALT+");
  if (chord.Modifiers & 1) text += QStringLiteral("SHIFT+");
  return text + key;
}

// The portal answers each call through a request object whose path it derives from our bus
// name and a token of ours; watching it before the call leaves no gap for the answer.
QString TPortalHotKey::RequestPath(const QString& token) const {
  QString sender = QDBusConnection::sessionBus().baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

bool TPortalHotKey::WatchRequest(const QString& token, const char* slot) {
  return QDBusConnection::sessionBus().connect(kService, RequestPath(token), kRequest, QStringLiteral("Response"),
                                               this, slot);
}

void TPortalHotKey::Bind(TKeyChord chord) {
  chord_ = chord;
  wanted_ = true;
  if (!session_.isEmpty()) {
    SendBind();
    return;
  }
  const QString token = QStringLiteral("vorn%1").arg(++tokenCount_);
  WatchRequest(token, SLOT(SessionCreated(uint, QVariantMap)));
  QDBusInterface portal(kService, kPath, kInterface);
  portal.asyncCall(QStringLiteral("CreateSession"),
                   QVariantMap{{QStringLiteral("handle_token"), token},
                               {QStringLiteral("session_handle_token"), QStringLiteral("vornsession")}});
}

void TPortalHotKey::Unbind() {
  wanted_ = false;
  if (session_.isEmpty()) return;
  // Closing the session drops its shortcuts; a later Bind opens a new one.
  QDBusInterface session(kService, session_, QStringLiteral("org.freedesktop.portal.Session"));
  session.asyncCall(QStringLiteral("Close"));
  session_.clear();
}

void TPortalHotKey::SessionCreated(uint response, const QVariantMap& results) {
  session_ = response == 0 ? results.value(QStringLiteral("session_handle")).toString() : QString();
  if (session_.isEmpty()) {
    Q_EMIT Bound(false);
    return;
  }
  if (wanted_) SendBind();
}

void TPortalHotKey::SendBind() {
  QVariantMap properties{{QStringLiteral("description"), QStringLiteral("VornEditor: 常駐メニュー")}};
  const QString trigger = TriggerText(chord_);
  if (!trigger.isEmpty()) properties.insert(QStringLiteral("preferred_trigger"), trigger);
  const QList<TPortalShortcut> shortcuts{{QString::fromLatin1(kShortcutId), properties}};
  const QString token = QStringLiteral("vorn%1").arg(++tokenCount_);
  WatchRequest(token, SLOT(ShortcutsBound(uint, QVariantMap)));
  QDBusInterface portal(kService, kPath, kInterface);
  portal.asyncCall(QStringLiteral("BindShortcuts"), QVariant::fromValue(QDBusObjectPath(session_)),
                   QVariant::fromValue(shortcuts), QString(),
                   QVariantMap{{QStringLiteral("handle_token"), token}});
}

void TPortalHotKey::ShortcutsBound(uint response, const QVariantMap&) { Q_EMIT Bound(response == 0); }

void TPortalHotKey::Activated(const QDBusObjectPath& session, const QString& id, qulonglong, const QVariantMap&) {
  if (wanted_ && session.path() == session_ && id == QLatin1String(kShortcutId)) Q_EMIT Pressed();
}

}  // namespace vorn
