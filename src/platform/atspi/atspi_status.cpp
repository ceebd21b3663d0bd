#include "platform/atspi/atspi_status.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace klebwerk::atspi {
namespace {

constexpr int fristMs = 1000;
const QString busDienst = QStringLiteral("org.a11y.Bus");
const QString busPfad = QStringLiteral("/org/a11y/bus");
const QString eigenschaftenSchnittstelle = QStringLiteral("org.freedesktop.DBus.Properties");
const QString status = QStringLiteral("org.a11y.Status");

QDBusMessage rufeSitzung(const QDBusMessage& anfrage) {
    return QDBusConnection::sessionBus().call(anfrage, QDBus::Block, fristMs);
}

}  // namespace

std::optional<QString> zugaenglichkeitsBusAdresse() {
    if (!QDBusConnection::sessionBus().isConnected()) return std::nullopt;
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, busDienst, QStringLiteral("GetAddress"));
    QDBusMessage antwort = rufeSitzung(anfrage);
    if (antwort.type() != QDBusMessage::ReplyMessage || antwort.arguments().isEmpty()) return std::nullopt;
    QString adresse = antwort.arguments().front().toString();
    if (adresse.isEmpty()) return std::nullopt;
    return adresse;
}

std::optional<bool> zugaenglichkeitAn() {
    if (!zugaenglichkeitsBusAdresse()) return std::nullopt;
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, eigenschaftenSchnittstelle, QStringLiteral("Get"));
    anfrage << status << QStringLiteral("IsEnabled");
    QDBusMessage antwort = rufeSitzung(anfrage);
    if (antwort.type() != QDBusMessage::ReplyMessage || antwort.arguments().isEmpty()) return std::nullopt;
    return antwort.arguments().front().value<QDBusVariant>().variant().toBool();
}

bool schalteZugaenglichkeitEin() {
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, eigenschaftenSchnittstelle, QStringLiteral("Set"));
    anfrage << status << QStringLiteral("IsEnabled") << QVariant::fromValue(QDBusVariant(true));
    return rufeSitzung(anfrage).type() == QDBusMessage::ReplyMessage;
}

}  // namespace klebwerk::atspi
