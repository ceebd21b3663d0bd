#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <queue>
#include <vector>

#include "platform/laufschleife.h"

namespace klebwerk::sim {

// A run loop on virtual time: nothing runs until the test moves the clock forward,
// then all due work runs in order of its time, main and background lane on one
// timeline. The wall clock starts at the real time of creation.
class VirtuelleUhr : public Laufschleife {
public:
    VirtuelleUhr();

    double jetzt() const override { return jetzt_; }
    Zeitpunkt wanduhr() const override;
    Marke nach(double sekunden, std::function<void()> arbeit) override;
    Marke wiederhole(double intervall, std::function<void()> arbeit) override;
    Marke hintergrund(Schritt schritt) override;
    void aufHaupt(std::function<void()> arbeit) override;
    void beende(int status) override { beendet_ = status; }

    // Runs everything due within the next `sekunden`, then stands at that time.
    void vorwaerts(double sekunden);
    // Time passes inside a call (an accessibility request that costs time): the clock
    // moves on at once; work that became due runs after the current work returns.
    void verbrauche(double sekunden) { jetzt_ += std::max(0.0, sekunden); }
    // Runs what is due now (work posted for the main thread, started chains).
    void laufeFaelliges() { vorwaerts(0); }

    std::optional<int> beendet() const { return beendet_; }
    // Work still scheduled (repeating timers included).
    std::size_t offen() const;

private:
    struct Auftrag {
        double faellig = 0;
        std::uint64_t folge = 0;
        double intervall = 0;  // > 0: repeats
        bool hintergrund = false;
        bool aufgehoben = false;
        std::function<void()> arbeit;
        Schritt schritt;
    };
    struct Spaeter {
        bool operator()(const std::shared_ptr<Auftrag>& a, const std::shared_ptr<Auftrag>& b) const {
            return a->faellig != b->faellig ? a->faellig > b->faellig : a->folge > b->folge;
        }
    };

    std::shared_ptr<Auftrag> plane(double faellig, std::shared_ptr<Auftrag> a);
    void starteNaechsteKette();
    Marke markeFuer(const std::shared_ptr<Auftrag>& a);

    double jetzt_ = 0;
    Zeitpunkt start_;
    std::uint64_t folge_ = 0;
    std::priority_queue<std::shared_ptr<Auftrag>, std::vector<std::shared_ptr<Auftrag>>, Spaeter> plan_;
    // The background lane: the running chain holds it; the others wait in order.
    std::shared_ptr<Auftrag> laufendeKette_;
    std::deque<std::shared_ptr<Auftrag>> wartendeKetten_;
    std::optional<int> beendet_;
};

}  // namespace klebwerk::sim
