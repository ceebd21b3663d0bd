#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/laufschleife.h"

namespace klebwerk::linuxdesk {

// The run loop on Qt's event loop, with one worker thread as the background lane.
class QtLaufschleife : public Laufschleife {
public:
    QtLaufschleife();
    ~QtLaufschleife() override;

    double jetzt() const override;
    Zeitpunkt wanduhr() const override { return std::chrono::system_clock::now(); }
    Marke nach(double sekunden, std::function<void()> arbeit) override;
    Marke wiederhole(double intervall, std::function<void()> arbeit) override;
    Marke hintergrund(Schritt schritt) override;
    void aufHaupt(std::function<void()> arbeit) override;
    void beende(int status) override;

private:
    struct Kette {
        Schritt schritt;
        std::chrono::steady_clock::time_point faellig;
        bool aufgehoben = false;
    };
    Marke zeitgeber(double sekunden, bool wiederholt, std::function<void()> arbeit);
    void arbeite();

    std::chrono::steady_clock::time_point start_;
    std::mutex sperre_;
    std::condition_variable wecker_;
    std::deque<std::shared_ptr<Kette>> ketten_;
    bool ende_ = false;
    std::thread arbeiter_;
};

}  // namespace klebwerk::linuxdesk
