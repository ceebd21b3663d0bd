#pragma once

#include <atomic>

#include "platform/eigene_fenster.h"
#include "platform/ereignisabgriff.h"
#include "platform/tastenkuerzel.h"

// The services a sway session does not offer yet. Each says so in the log once and
// answers as its interface answers a failure.
namespace klebwerk::wayland {

// No event tap: every installation fails (an empty token).
class FehlenderAbgriff : public Ereignisabgriff {
public:
    Marke starte(const AbgriffRegel& regel, std::function<void(const AbgriffEreignis&)> handler) override;

private:
    std::atomic<bool> gemeldet_{false};
};

// No global hot keys: every registration fails with a status other than 0.
class FehlendeTastenkuerzel : public Tastenkuerzel {
public:
    // The status of a registration that the system refused.
    static constexpr int nichtVerfuegbar = -50;
    int registriere(std::uint32_t id, std::uint16_t code, std::uint32_t modifikatoren) override;
    void entferne(std::uint32_t) override {}
    void beiDruck(std::function<void(std::uint32_t id)>) override {}

private:
    std::atomic<bool> gemeldet_{false};
};

// Own windows stay as the compositor places them.
class FehlendeEigeneFenster : public EigeneFenster {
public:
    void schwebend(std::uint64_t fenster) override;

private:
    std::atomic<bool> gemeldet_{false};
};

}  // namespace klebwerk::wayland
