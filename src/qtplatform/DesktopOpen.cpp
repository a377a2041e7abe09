#include "qtplatform/DesktopOpen.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vorn {
namespace {

QString Local(const std::string& path) { return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())); }

bool AskFileManagerToShow(const QUrl& file) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusInterface manager(QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
                         QStringLiteral("org.freedesktop.FileManager1"), bus);
  if (!manager.isValid()) return false;
  const QDBusMessage reply = manager.call(QStringLiteral("ShowItems"), QStringList{file.toString()}, QString());
  return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace

bool ShowFileInFolder(const std::string& path) {
  const QString name = Local(path);
  if (AskFileManagerToShow(QUrl::fromLocalFile(name))) return true;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(name).absolutePath()));
}

bool OpenWithAssociatedProgram(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Local(path)));
}

}  // namespace vorn
