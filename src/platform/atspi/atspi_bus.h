#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

namespace klebwerk::atspi {

// The transport to the accessibility bus: the connection, one request queue per
// application, and the bus names of processes.
//
// Every call blocks (never running an event loop inside the call, which would re-enter
// timers) at most for its deadline. Main-thread requests go out at once; background
// requests wait while a main-thread request to the same application is in flight and
// while a handful of background requests are, so that a long search never starves the
// main thread's short reads. An application counts as not answering for a few seconds
// after a main-thread deadline passed with none of our own background work for it
// queued; requests to it then fail at once.
class AtspiBus {
public:
    AtspiBus();

    std::vector<QDBusMessage> sende(const std::vector<QDBusMessage>& anfragen, double frist);
    // A call on the bus daemon itself (no queue).
    QDBusMessage rufeDaemon(const QDBusMessage& anfrage, double frist);

    // The bus name of a process's accessible application; absent for this process.
    std::optional<QString> busFuerPid(int pid, double frist);
    // The process of a bus name; 0 when unknown.
    int pidFuerBus(const QString& bus, double frist);
    // The same from what is known already; 0 when nothing is.
    int bekanntePid(const QString& bus);
    int eigenePid() const { return eigenePid_; }

    // The toolkit an application reports (ToolkitName and Version of its root).
    struct Werkzeug {
        QString name;
        QString version;
    };
    std::optional<Werkzeug> werkzeug(const QString& bus, double frist);

    // For measurements: every request waits for its answer before the next is sent.
    std::atomic<bool> einzeln{false};

private:
    QDBusConnection verbindung();
    bool stumm(const QString& bus);
    bool istHauptfaden() const;

    const int eigenePid_;
    std::mutex sperre_;
    std::optional<QDBusConnection> verbindung_;
    std::map<int, QString> busVonPid_;
    std::map<QString, int> pidVonBus_;
    std::map<QString, Werkzeug> werkzeuge_;
    std::map<QString, std::chrono::steady_clock::time_point> stummBis_;
    struct Warteschlange {
        int hauptImFlug = 0;
        int hintergrundImFlug = 0;
        int hintergrundWartend = 0;
    };
    static constexpr std::size_t hintergrundHoechstens = 6;
    std::map<QString, Warteschlange> schlangen_;
    std::condition_variable frei_;
};

}  // namespace klebwerk::atspi
