#pragma once

#include <chrono>
#include <functional>

#include "platform/marke.h"

namespace klebwerk {

// One step of work on the background lane. It either ends the chain or names the
// next step and how long to wait before it; the lane stays held until the chain ends,
// so waits between steps never block a thread.
struct Fortsetzung;
using Schritt = std::function<Fortsetzung()>;
struct Fortsetzung {
    double warte = 0;
    Schritt weiter;  // empty: the chain is done

    static Fortsetzung fertig() { return {}; }
    static Fortsetzung danach(double sekunden, Schritt s) { return {sekunden, std::move(s)}; }
};

// All timing of the system: the clock, delayed main-thread work, repeating timers
// and the serial background lane. Every callback runs on the main thread unless it
// is background work; none runs inside the call that scheduled it.
class Laufschleife {
public:
    using Zeitpunkt = std::chrono::system_clock::time_point;

    virtual ~Laufschleife() = default;

    // Monotonic seconds since an arbitrary origin.
    virtual double jetzt() const = 0;
    // The wall clock (file times, log lines).
    virtual Zeitpunkt wanduhr() const = 0;

    // Runs `arbeit` on the main thread after `sekunden`.
    virtual Marke nach(double sekunden, std::function<void()> arbeit) = 0;
    // Runs `arbeit` on the main thread every `intervall` seconds, first after one interval.
    virtual Marke wiederhole(double intervall, std::function<void()> arbeit) = 0;
    // Starts a chain of steps on the serial background lane.
    virtual Marke hintergrund(Schritt schritt) = 0;
    // Hands work to the main thread; callable from any thread.
    virtual void aufHaupt(std::function<void()> arbeit) = 0;

    // Leaves the event loop with the given exit status.
    virtual void beende(int status) = 0;
};

}  // namespace klebwerk
