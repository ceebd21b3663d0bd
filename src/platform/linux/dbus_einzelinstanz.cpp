#include "platform/linux/dbus_einzelinstanz.h"

#include <chrono>
#include <thread>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QMetaObject>

#include "basis/prozesswerte.h"

namespace klebwerk::linuxdesk {

namespace {
const QString pfad = QStringLiteral("/de/quenmoral/klebwerk/Instanz");
const QString schnittstelle = QStringLiteral("de.quenmoral.klebwerk.Instanz");
constexpr int rufFristMs = 3000;

QString name() { return QString::fromStdString(kennung); }

bool belegt(QDBusConnection& bus) {
    QDBusReply<bool> r = bus.interface()->isServiceRegistered(name());
    return !r.isValid() || r.value();
}
}  // namespace

void DbusInstanzEmpfaenger::Zeige() {
    // The reply goes out first; the work follows on the main thread.
    if (gerufen) QMetaObject::invokeMethod(this, gerufen, Qt::QueuedConnection);
}

DbusEinzelinstanz::~DbusEinzelinstanz() {
    if (empfaenger_) QDBusConnection::sessionBus().unregisterObject(pfad);
}

Einzelinstanz::Anspruch DbusEinzelinstanz::beanspruche(std::function<void()> gerufen) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return Anspruch::fehler;
    if (eigen_) return Anspruch::eigen;
    // The object first, so that a call right after the name was won finds it.
    if (!empfaenger_) {
        empfaenger_ = std::make_unique<DbusInstanzEmpfaenger>();
        if (!bus.registerObject(pfad, empfaenger_.get(), QDBusConnection::ExportScriptableSlots)) {
            empfaenger_.reset();
            return Anspruch::fehler;
        }
    }
    empfaenger_->gerufen = std::move(gerufen);
    QDBusReply<QDBusConnectionInterface::RegisterServiceReply> antwort = bus.interface()->registerService(
        name(), QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (antwort.isValid() && antwort.value() == QDBusConnectionInterface::ServiceRegistered) {
        eigen_ = true;
        return Anspruch::eigen;
    }
    bus.unregisterObject(pfad);
    empfaenger_.reset();
    return antwort.isValid() ? Anspruch::vergeben : Anspruch::fehler;
}

Einzelinstanz::Ruf DbusEinzelinstanz::rufe() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return Ruf::keineAntwort;
    QDBusMessage ruf = QDBusMessage::createMethodCall(name(), pfad, schnittstelle, QStringLiteral("Zeige"));
    QDBusMessage antwort = bus.call(ruf, QDBus::Block, rufFristMs);
    if (antwort.type() == QDBusMessage::ReplyMessage) return Ruf::angenommen;
    // A holder that ended during the call leaves the name free behind it.
    return belegt(bus) ? Ruf::keineAntwort : Ruf::niemand;
}

void DbusEinzelinstanz::gibAuf() {
    if (!eigen_) return;
    eigen_ = false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(name());
    bus.unregisterObject(pfad);
    empfaenger_.reset();
}

bool warteBisInstanzFrei(double frist) {
    // The bus connection wants an application object; the helper has none of its own.
    static int argc = 1;
    static char programm[] = "klebwerk";
    static char* argv[] = {programm, nullptr};
    std::unique_ptr<QCoreApplication> anwendung;
    if (!QCoreApplication::instance()) anwendung = std::make_unique<QCoreApplication>(argc, argv);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) return true;
    const auto bis = std::chrono::steady_clock::now() + std::chrono::duration<double>(frist);
    while (belegt(bus)) {
        if (std::chrono::steady_clock::now() > bis) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace klebwerk::linuxdesk
