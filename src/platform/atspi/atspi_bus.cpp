#include "platform/atspi/atspi_bus.h"

#include <cmath>
#include <deque>

#include <QCoreApplication>
#include <QDBusPendingCall>
#include <QThread>
#include <unistd.h>

#include "platform/atspi/atspi_antworten.h"
#include "platform/atspi/atspi_status.h"

namespace klebwerk::atspi {
namespace {

using Uhr = std::chrono::steady_clock;
constexpr double stummSekunden = 3.0;

Uhr::duration dauer(double sekunden) {
    return std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(sekunden));
}

}  // namespace

AtspiBus::AtspiBus() : eigenePid_(static_cast<int>(getpid())) {}

QDBusConnection AtspiBus::verbindung() {
    std::lock_guard lock(sperre_);
    if (verbindung_ && verbindung_->isConnected()) return *verbindung_;
    auto adresse = zugaenglichkeitsBusAdresse();
    if (!adresse) return QDBusConnection(QString());
    const QString name = QStringLiteral("klebwerk-atspi");
    QDBusConnection::disconnectFromBus(name);
    verbindung_ = QDBusConnection::connectToBus(*adresse, name);
    return *verbindung_;
}

bool AtspiBus::stumm(const QString& bus) {
    std::lock_guard lock(sperre_);
    auto it = stummBis_.find(bus);
    if (it == stummBis_.end()) return false;
    if (Uhr::now() < it->second) return true;
    stummBis_.erase(it);
    return false;
}

bool AtspiBus::istHauptfaden() const {
    QCoreApplication* app = QCoreApplication::instance();
    return app ? QThread::currentThread() == app->thread() : true;
}

std::vector<QDBusMessage> AtspiBus::sende(const std::vector<QDBusMessage>& anfragen, double frist) {
    std::vector<QDBusMessage> antworten(anfragen.size());
    QDBusConnection c = verbindung();
    if (!c.isConnected()) return antworten;
    const int ms = std::max(1, static_cast<int>(std::lround(frist * 1000)));
    const auto ende = Uhr::now() + dauer(frist);
    const bool haupt = istHauptfaden();
    std::vector<std::optional<QDBusPendingCall>> laufend(anfragen.size());
    std::deque<size_t> eigeneImFlug;  // this call's background requests, oldest first

    auto abschliessen = [&](size_t i) {
        // Waits on the reply without running an event loop (QtDBus's own thread reads it).
        laufend[i]->waitForFinished();
        antworten[i] = laufend[i]->reply();
        const QString bus = anfragen[i].service();
        std::lock_guard lock(sperre_);
        Warteschlange& q = schlangen_[bus];
        if (haupt) --q.hauptImFlug;
        else --q.hintergrundImFlug;
        // Not answering: a main-thread deadline passed while none of our own background
        // work for it was queued (else that work may be what keeps it busy).
        if (haupt && istZeitUeberschreitung(antworten[i]) && q.hintergrundImFlug == 0 && q.hintergrundWartend == 0) {
            stummBis_[bus] = Uhr::now() + dauer(stummSekunden);
        }
        frei_.notify_all();
    };
    auto schicke = [&](size_t i) {
        const QString bus = anfragen[i].service();
        if (stumm(bus)) return;
        if (!haupt) {
            while (eigeneImFlug.size() >= hintergrundHoechstens) {
                abschliessen(eigeneImFlug.front());
                eigeneImFlug.pop_front();
            }
            std::unique_lock lock(sperre_);
            Warteschlange& q = schlangen_[bus];
            ++q.hintergrundWartend;
            const bool frei = frei_.wait_until(lock, ende, [&] {
                Warteschlange& w = schlangen_[bus];
                return w.hauptImFlug == 0 && w.hintergrundImFlug < static_cast<int>(hintergrundHoechstens);
            });
            Warteschlange& w = schlangen_[bus];
            --w.hintergrundWartend;
            if (!frei) return;  // its deadline passed in the queue: no answer, and no verdict
            ++w.hintergrundImFlug;
        } else {
            std::lock_guard lock(sperre_);
            ++schlangen_[bus].hauptImFlug;
        }
        const int rest = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(ende - Uhr::now()).count());
        laufend[i] = c.asyncCall(anfragen[i], haupt ? ms : std::max(1, rest));
        if (!haupt) eigeneImFlug.push_back(i);
    };
    for (size_t i = 0; i < anfragen.size(); ++i) {
        schicke(i);
        if (einzeln && laufend[i] && haupt) abschliessen(i);
        if (einzeln && laufend[i] && !haupt) {
            abschliessen(i);
            eigeneImFlug.pop_back();
        }
    }
    for (size_t i = 0; i < anfragen.size(); ++i) {
        if (!laufend[i] || antworten[i].type() != QDBusMessage::InvalidMessage) continue;
        abschliessen(i);
    }
    return antworten;
}

QDBusMessage AtspiBus::rufeDaemon(const QDBusMessage& anfrage, double frist) {
    return verbindung().call(anfrage, QDBus::Block, std::max(1, int(frist * 1000)));
}

std::optional<QString> AtspiBus::busFuerPid(int pid, double frist) {
    if (pid == eigenePid_ || pid <= 0) return std::nullopt;
    {
        std::lock_guard lock(sperre_);
        if (auto it = busVonPid_.find(pid); it != busVonPid_.end()) return it->second;
    }
    auto anfrage = QDBusMessage::createMethodCall(registerDienst, wurzelPfad, iAccessible, QStringLiteral("GetChildren"));
    auto antwort = sende({anfrage}, frist);
    if (!istAntwort(antwort[0])) return std::nullopt;
    for (const Adresse& a : referenzListe(antwort[0].arguments().front())) {
        if (pidFuerBus(a.bus, frist) == pid) return a.bus;
    }
    return std::nullopt;
}

int AtspiBus::bekanntePid(const QString& bus) {
    std::lock_guard lock(sperre_);
    auto it = pidVonBus_.find(bus);
    return it == pidVonBus_.end() ? 0 : it->second;
}

int AtspiBus::pidFuerBus(const QString& bus, double frist) {
    if (int pid = bekanntePid(bus)) return pid;
    auto anfrage = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                  QStringLiteral("org.freedesktop.DBus"),
                                                  QStringLiteral("GetConnectionUnixProcessID"));
    anfrage << bus;
    QDBusMessage antwort = rufeDaemon(anfrage, frist);
    if (!istAntwort(antwort)) return 0;
    int pid = static_cast<int>(antwort.arguments().front().toUInt());
    std::lock_guard lock(sperre_);
    pidVonBus_[bus] = pid;
    busVonPid_[pid] = bus;
    return pid;
}

std::optional<AtspiBus::Werkzeug> AtspiBus::werkzeug(const QString& bus, double frist) {
    {
        std::lock_guard lock(sperre_);
        if (auto it = werkzeuge_.find(bus); it != werkzeuge_.end()) return it->second;
    }
    std::vector<QDBusMessage> anfragen;
    for (const char* name : {"ToolkitName", "Version"}) {
        auto m = QDBusMessage::createMethodCall(bus, wurzelPfad, eigenschaften, QStringLiteral("Get"));
        m << iApplication << QString::fromLatin1(name);
        anfragen.push_back(m);
    }
    auto antwort = sende(anfragen, frist);
    if (!istAntwort(antwort[0])) return std::nullopt;  // unknown: asked again next time
    Werkzeug w{eigenschaftsWert(antwort[0]).toString(),
               istAntwort(antwort[1]) ? eigenschaftsWert(antwort[1]).toString() : QString()};
    std::lock_guard lock(sperre_);
    werkzeuge_[bus] = w;
    return w;
}

}  // namespace klebwerk::atspi
