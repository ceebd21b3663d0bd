#include "platform/sim/virtuelle_uhr.h"

#include <chrono>

namespace klebwerk::sim {

VirtuelleUhr::VirtuelleUhr() : start_(std::chrono::system_clock::now()) {}

Laufschleife::Zeitpunkt VirtuelleUhr::wanduhr() const {
    return start_ + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                        std::chrono::duration<double>(jetzt_));
}

std::shared_ptr<VirtuelleUhr::Auftrag> VirtuelleUhr::plane(double faellig, std::shared_ptr<Auftrag> a) {
    a->faellig = faellig;
    a->folge = ++folge_;
    plan_.push(a);
    return a;
}

Marke VirtuelleUhr::markeFuer(const std::shared_ptr<Auftrag>& a) {
    std::weak_ptr<Auftrag> schwach = a;
    return Marke([schwach] {
        if (auto a = schwach.lock()) a->aufgehoben = true;
    });
}

Marke VirtuelleUhr::nach(double sekunden, std::function<void()> arbeit) {
    auto a = std::make_shared<Auftrag>();
    a->arbeit = std::move(arbeit);
    return markeFuer(plane(jetzt_ + std::max(0.0, sekunden), a));
}

Marke VirtuelleUhr::wiederhole(double intervall, std::function<void()> arbeit) {
    auto a = std::make_shared<Auftrag>();
    a->intervall = intervall > 0 ? intervall : 1e-3;
    a->arbeit = std::move(arbeit);
    return markeFuer(plane(jetzt_ + a->intervall, a));
}

void VirtuelleUhr::aufHaupt(std::function<void()> arbeit) {
    auto a = std::make_shared<Auftrag>();
    a->arbeit = std::move(arbeit);
    plane(jetzt_, a);
}

Marke VirtuelleUhr::hintergrund(Schritt schritt) {
    auto a = std::make_shared<Auftrag>();
    a->hintergrund = true;
    a->schritt = std::move(schritt);
    wartendeKetten_.push_back(a);
    if (!laufendeKette_) starteNaechsteKette();
    return markeFuer(a);
}

void VirtuelleUhr::starteNaechsteKette() {
    while (!wartendeKetten_.empty()) {
        auto a = wartendeKetten_.front();
        wartendeKetten_.pop_front();
        if (a->aufgehoben) continue;
        laufendeKette_ = a;
        plane(jetzt_, a);
        return;
    }
}

void VirtuelleUhr::vorwaerts(double sekunden) {
    double ziel = jetzt_ + std::max(0.0, sekunden);
    while (!plan_.empty() && plan_.top()->faellig <= ziel) {
        auto a = plan_.top();
        plan_.pop();
        if (a->aufgehoben) {
            if (a == laufendeKette_) {
                laufendeKette_.reset();
                starteNaechsteKette();
            }
            continue;
        }
        jetzt_ = std::max(jetzt_, a->faellig);
        if (a->hintergrund) {
            Fortsetzung f = a->schritt();
            if (f.weiter && !a->aufgehoben) {
                a->schritt = std::move(f.weiter);
                plane(jetzt_ + std::max(0.0, f.warte), a);
            } else {
                laufendeKette_.reset();
                starteNaechsteKette();
            }
        } else if (a->intervall > 0) {
            a->arbeit();
            if (!a->aufgehoben) plane(a->faellig + a->intervall, a);
        } else {
            a->arbeit();
        }
    }
    // Time used inside work may have carried the clock past the end of the step.
    jetzt_ = std::max(jetzt_, ziel);
}

std::size_t VirtuelleUhr::offen() const {
    auto kopie = plan_;
    std::size_t n = 0;
    while (!kopie.empty()) {
        if (!kopie.top()->aufgehoben) ++n;
        kopie.pop();
    }
    return n;
}

}  // namespace klebwerk::sim
