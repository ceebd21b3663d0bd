#include "platform/linux/dbus_befehlskanal.h"

#include <QDBusConnection>

namespace klebwerk::linuxdesk {
namespace {
const QString pfad = QStringLiteral("/de/quenmoral/klebwerk");
const QString schnittstelle = QStringLiteral("de.quenmoral.klebwerk");
const QString name = QStringLiteral("befehl");
}  // namespace

void DbusEmpfaenger::befehl(const QString& text) {
    if (handler) handler(text.toStdString());
}

Marke DbusBefehlskanal::hoere(std::function<void(const std::string&)> handler) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return {};
    auto* empfaenger = new DbusEmpfaenger;
    empfaenger->handler = std::move(handler);
    if (!bus.connect(QString(), pfad, schnittstelle, name, empfaenger, SLOT(befehl(QString)))) {
        delete empfaenger;
        return {};
    }
    return Marke([empfaenger] {
        QDBusConnection::sessionBus().disconnect(QString(), pfad, schnittstelle, name, empfaenger,
                                                 SLOT(befehl(QString)));
        delete empfaenger;
    });
}

}  // namespace klebwerk::linuxdesk
