#include "platform/linux/qt_laufschleife.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace klebwerk::linuxdesk {

QtLaufschleife::QtLaufschleife() : start_(std::chrono::steady_clock::now()), arbeiter_([this] { arbeite(); }) {}

QtLaufschleife::~QtLaufschleife() {
    {
        std::lock_guard lock(sperre_);
        ende_ = true;
    }
    wecker_.notify_all();
    arbeiter_.join();
}

double QtLaufschleife::jetzt() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

Marke QtLaufschleife::zeitgeber(double sekunden, bool wiederholt, std::function<void()> arbeit) {
    auto* uhr = new QTimer(QCoreApplication::instance());
    uhr->setTimerType(Qt::PreciseTimer);
    uhr->setSingleShot(!wiederholt);
    uhr->setInterval(static_cast<int>(std::max(0.0, sekunden) * 1000.0 + 0.5));
    // The work stays alive while it runs, even if it cancels its own timer.
    auto geteilt = std::make_shared<std::function<void()>>(std::move(arbeit));
    QObject::connect(uhr, &QTimer::timeout, uhr, [geteilt, uhr, wiederholt] {
        auto halten = geteilt;
        if (!wiederholt) uhr->deleteLater();
        (*halten)();
    });
    uhr->start();
    QPointer<QTimer> schwach(uhr);
    return Marke([schwach] {
        if (schwach) {
            schwach->stop();
            schwach->deleteLater();
        }
    });
}

Marke QtLaufschleife::nach(double sekunden, std::function<void()> arbeit) {
    return zeitgeber(sekunden, false, std::move(arbeit));
}

Marke QtLaufschleife::wiederhole(double intervall, std::function<void()> arbeit) {
    return zeitgeber(intervall, true, std::move(arbeit));
}

void QtLaufschleife::aufHaupt(std::function<void()> arbeit) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(arbeit), Qt::QueuedConnection);
}

void QtLaufschleife::beende(int status) { QCoreApplication::exit(status); }

Marke QtLaufschleife::hintergrund(Schritt schritt) {
    auto kette = std::make_shared<Kette>();
    kette->schritt = std::move(schritt);
    kette->faellig = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(sperre_);
        ketten_.push_back(kette);
    }
    wecker_.notify_all();
    std::weak_ptr<Kette> schwach = kette;
    return Marke([this, schwach] {
        if (auto k = schwach.lock()) {
            std::lock_guard lock(sperre_);
            k->aufgehoben = true;
        }
        wecker_.notify_all();
    });
}

// The background lane: one chain at a time, in order; the waits between a chain's
// steps are timed waits of this thread that a cancellation or the end interrupts.
void QtLaufschleife::arbeite() {
    std::unique_lock lock(sperre_);
    while (true) {
        wecker_.wait(lock, [this] { return ende_ || !ketten_.empty(); });
        if (ende_) return;
        auto kette = ketten_.front();
        while (!ende_ && !kette->aufgehoben && std::chrono::steady_clock::now() < kette->faellig) {
            wecker_.wait_until(lock, kette->faellig);
        }
        if (ende_) return;
        if (kette->aufgehoben) {
            ketten_.pop_front();
            continue;
        }
        Schritt schritt = std::move(kette->schritt);
        lock.unlock();
        Fortsetzung f = schritt();
        lock.lock();
        if (f.weiter && !kette->aufgehoben) {
            kette->schritt = std::move(f.weiter);
            kette->faellig = std::chrono::steady_clock::now() +
                             std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                 std::chrono::duration<double>(std::max(0.0, f.warte)));
        } else {
            ketten_.pop_front();
        }
    }
}

}  // namespace klebwerk::linuxdesk
