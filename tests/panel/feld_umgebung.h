#pragma once

// A started controller on the simulated desktop with its panel, and applications
// whose windows become targets.

#include <memory>
#include <string>

#include <QPushButton>

#include "app/steuerung.h"
#include "basis/prozesswerte.h"
#include "panel/bedienfeld.h"
#include "panel/feld_panel.h"
#include "support/sim_steuerung.h"
#include "support/sim_szenario.h"

namespace klebwerk::test {

struct FeldUmgebung : SimUmgebung {
    Steuerung& s() { return *steuerung; }
    Bedienfeld& f() { return s().feld(); }

    // A window of a new application, connected and made the active target.
    std::shared_ptr<Ziel> verbinde(const std::string& titel) {
        const int pid = 700 + naechste_++;
        starteApp(desktop, pid, "App " + std::to_string(pid), "org.example.app" + std::to_string(pid));
        auto& fenster = desktop.oeffneFenster(pid, titel, {100, 100, 400, 300});
        auto z = std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, fenster.element(), pid);
        s().setzeZiel(z);
        desktop.uhr.laufeFaelliges();
        return z;
    }

    // The panel's button with this accessibility label.
    QPushButton* knopf(const QString& name) {
        for (auto* k : f().panel->findChildren<QPushButton*>()) {
            if (k->accessibleName() == name) return k;
        }
        return nullptr;
    }

    // The sounds played so far, as their kinds.
    std::vector<KlangArt> klaenge() {
        std::vector<KlangArt> arten;
        for (const std::string& wav : desktop.klang.gespielt) {
            for (KlangArt a : alleKlangArten) {
                if (s().klang.daten(a) == wav) arten.push_back(a);
            }
        }
        return arten;
    }

private:
    int naechste_ = 0;
};

}  // namespace klebwerk::test
