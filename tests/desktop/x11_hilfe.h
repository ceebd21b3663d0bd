#pragma once

// What the x11 backend's desktop tests share: waiting on a condition with a bound,
// and the project's own small window as a real client of the X server.

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <QProcess>
#include <QStringList>

namespace klebwerk::test {

// Polls `bedingung` until it holds or `frist` seconds have passed.
inline bool warteBis(const std::function<bool()>& bedingung, double frist = 5.0) {
    auto ende = std::chrono::steady_clock::now() + std::chrono::duration<double>(frist);
    while (true) {
        if (bedingung()) return true;
        if (std::chrono::steady_clock::now() > ende) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

inline bool hatAnzeige() { return std::getenv("DISPLAY") && *std::getenv("DISPLAY"); }

// The test window (tests/desktop/probefenster): started with a title and geometry;
// its output lines tell its X window id and the keys it received.
class Probefenster {
public:
    Probefenster(const std::string& titel, int x, int y, int breite, int hoehe) {
        prozess_.setProgram(QStringLiteral(KLEBWERK_PROBEFENSTER));
        prozess_.setArguments({QString::fromStdString(titel), QString::number(x), QString::number(y),
                               QString::number(breite), QString::number(hoehe)});
        prozess_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        prozess_.start();
        prozess_.waitForStarted(5000);
    }
    ~Probefenster() { beende(); }

    void beende() {
        if (prozess_.state() == QProcess::NotRunning) return;
        prozess_.terminate();
        if (!prozess_.waitForFinished(3000)) {
            prozess_.kill();
            prozess_.waitForFinished(3000);
        }
    }

    int pid() const { return static_cast<int>(prozess_.processId()); }

    // Reads what the window printed so far (bounded wait for more).
    const std::vector<std::string>& zeilen(int msWarte = 20) {
        if (prozess_.state() != QProcess::NotRunning) prozess_.waitForReadyRead(msWarte);
        while (prozess_.canReadLine()) zeilen_.push_back(prozess_.readLine().trimmed().toStdString());
        return zeilen_;
    }
    bool hat(const std::string& zeile) {
        for (const auto& z : zeilen())
            if (z == zeile) return true;
        return false;
    }
    std::uint32_t fensterId() {
        for (const auto& z : zeilen())
            if (z.rfind("fenster ", 0) == 0) return static_cast<std::uint32_t>(std::stoull(z.substr(8)));
        return 0;
    }

private:
    QProcess prozess_;
    std::vector<std::string> zeilen_;
};

}  // namespace klebwerk::test
