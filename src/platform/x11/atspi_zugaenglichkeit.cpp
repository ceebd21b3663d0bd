#include "platform/x11/atspi_zugaenglichkeit.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace klebwerk::x11 {
namespace {

constexpr int fristMs = 1000;
const QString busDienst = QStringLiteral("org.a11y.Bus");
const QString busPfad = QStringLiteral("/org/a11y/bus");
const QString eigenschaften = QStringLiteral("org.freedesktop.DBus.Properties");
const QString status = QStringLiteral("org.a11y.Status");

QDBusMessage rufe(const QDBusMessage& anfrage) {
    return QDBusConnection::sessionBus().call(anfrage, QDBus::Block, fristMs);
}

bool busAntwortet() {
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, busDienst, QStringLiteral("GetAddress"));
    QDBusMessage antwort = rufe(anfrage);
    return antwort.type() == QDBusMessage::ReplyMessage && !antwort.arguments().isEmpty() &&
           !antwort.arguments().front().toString().isEmpty();
}

}  // namespace

std::optional<bool> zugaenglichkeitAn() {
    if (!QDBusConnection::sessionBus().isConnected() || !busAntwortet()) return std::nullopt;
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, eigenschaften, QStringLiteral("Get"));
    anfrage << status << QStringLiteral("IsEnabled");
    QDBusMessage antwort = rufe(anfrage);
    if (antwort.type() != QDBusMessage::ReplyMessage || antwort.arguments().isEmpty()) return std::nullopt;
    return antwort.arguments().front().value<QDBusVariant>().variant().toBool();
}

bool schalteZugaenglichkeitEin() {
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, eigenschaften, QStringLiteral("Set"));
    anfrage << status << QStringLiteral("IsEnabled") << QVariant::fromValue(QDBusVariant(true));
    return rufe(anfrage).type() == QDBusMessage::ReplyMessage;
}

bool AtspiZugaenglichkeit::vertraut(bool nachfragen) {
    auto an = zugaenglichkeitAn();
    if (!an) return false;
    if (*an || !nachfragen) return *an;
    schalteZugaenglichkeitEin();
    return zugaenglichkeitAn().value_or(false);
}

Element AtspiZugaenglichkeit::anwendung(int pid) { return Element{Element::Art::anwendung, pid, "", ""}; }
Element AtspiZugaenglichkeit::systemweit() { return Element{Element::Art::systemweit, 0, "", ""}; }

}  // namespace klebwerk::x11
