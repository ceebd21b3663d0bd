#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/einstellungen.h"
#include "app/steuerung.h"
#include "platform/sim/sim_desktop.h"
#include "support/temp_heim.h"

namespace klebwerk::test {

// A controller on the simulated desktop, with its own home folder and settings,
// that records the calls of the focus timer's periodic work.
class ZaehlendeSteuerung : public Steuerung {
public:
    using Steuerung::Steuerung;
    std::vector<std::string> aufrufe;
    void pruefeFokus() override { aufrufe.push_back("fokus"); }
    void pruefeAusstehende() override { aufrufe.push_back("ausstehende"); }
    void pruefeNeueFenster() override { aufrufe.push_back("neueFenster"); }
    void lerne(Punkt p) override {
        aufrufe.push_back("lerne " + std::to_string(static_cast<int>(p.x)) + "," + std::to_string(static_cast<int>(p.y)));
    }
    void kuerzelTaste(std::uint16_t code, std::uint64_t flaggen, const AbgriffEreignis&) override {
        aufrufe.push_back("kuerzelTaste " + std::to_string(code) + " " + std::to_string(flaggen));
    }
};

struct SimUmgebung {
    TempHeim heim;
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
    Einstellungen ud{einstellungsDatei()};
    std::unique_ptr<ZaehlendeSteuerung> steuerung = std::make_unique<ZaehlendeSteuerung>(plattform, ud);

    void starte() {
        steuerung->starte();
        desktop.uhr.laufeFaelliges();
    }
    std::string status() const { return TempHeim::lies(heim.daten("status.json")); }
};

}  // namespace klebwerk::test
