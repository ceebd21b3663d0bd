#pragma once

// Two applications with one window each on the simulated desktop, a controller started
// with the permission, and the user's hand on the tap: clicks, moves and keys.

#include <string>

#include "support/protokoll_hilfe.h"
#include "support/sim_steuerung.h"
#include "support/sim_szenario.h"

namespace klebwerk::test {

class WahlSzenario {
public:
    static constexpr int chatPid = 100;
    static constexpr int editorPid = 200;
    static constexpr Rechteck chatRahmen{100, 100, 400, 300};
    static constexpr Rechteck editorRahmen{600, 100, 500, 400};

    SimUmgebung u;
    sim::SimKnoten* chat = nullptr;
    sim::SimKnoten* editor = nullptr;

    WahlSzenario() {
        starteApp(u.desktop, chatPid, "Chat", "com.example.chat");
        chat = &u.desktop.oeffneFenster(chatPid, "Gespräch", chatRahmen);
        starteApp(u.desktop, editorPid, "Editor", "org.example.editor");
        editor = &u.desktop.oeffneFenster(editorPid, "notizen.txt", editorRahmen);
        u.starte();
    }

    Steuerung& s() { return *u.steuerung; }

    // The user's input as the tap hands it on, then everything due runs.
    bool tue(EreignisArt art, Punkt wo = {}, std::uint16_t code = 0, std::uint64_t flaggen = 0) {
        bool gesehen = u.desktop.abgriff.simuliere({art, code, flaggen, wo});
        u.desktop.uhr.laufeFaelliges();
        return gesehen;
    }
    void klicke(Punkt wo) {
        tue(EreignisArt::mausRunter, wo);
        tue(EreignisArt::mausHoch, wo);
    }
    bool tapDa() const { return u.desktop.abgriff.regel.has_value(); }
    bool imLog(const std::string& text) const { return u.heim.protokoll().find(text) != std::string::npos; }
    int imLogMal(const std::string& text) const {
        return vorkommen(u.heim.protokoll(), text);
    }
    std::shared_ptr<Ziel> zielVon(sim::SimKnoten* fenster, int pid) {
        return std::make_shared<Ziel>(s().ax, u.desktop.arbeitsplatz, fenster->element(), pid);
    }
};

}  // namespace klebwerk::test
