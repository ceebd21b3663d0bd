#pragma once

// What the x11 backend's desktop tests share: waiting on a condition with a bound,
// and the project's own small window as a real client of the X server.

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <deque>
#include <mutex>

#include <QProcess>
#include <QStringList>

#include "desktop/warten.h"
#include "platform/laufschleife.h"

namespace klebwerk::test {

// A run loop whose main lane is the test's own thread: work handed to it waits in a
// queue until the test runs `abarbeiten` (the wait loops below do so).
class TestSchleife : public Laufschleife {
public:
    double jetzt() const override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    Zeitpunkt wanduhr() const override { return std::chrono::system_clock::now(); }
    Marke nach(double, std::function<void()> arbeit) override {
        aufHaupt(std::move(arbeit));
        return {};
    }
    Marke wiederhole(double, std::function<void()>) override { return {}; }
    Marke hintergrund(Schritt) override { return {}; }
    void aufHaupt(std::function<void()> arbeit) override {
        std::lock_guard lock(sperre_);
        warteschlange_.push_back(std::move(arbeit));
    }
    void beende(int) override {}
    void abarbeiten() {
        while (true) {
            std::function<void()> a;
            {
                std::lock_guard lock(sperre_);
                if (warteschlange_.empty()) return;
                a = std::move(warteschlange_.front());
                warteschlange_.pop_front();
            }
            a();
        }
    }

private:
    std::mutex sperre_;
    std::deque<std::function<void()>> warteschlange_;
};

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
