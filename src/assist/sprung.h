#pragma once

#include <atomic>
#include <memory>
#include <functional>
#include <optional>
#include <vector>

#include "ax/ax.h"
#include "ax/knopf_merkmal.h"
#include "platform/arbeitsplatz.h"
#include "platform/eingabe.h"
#include "platform/fensterliste.h"
#include "platform/laufschleife.h"

namespace klebwerk {

// How a hover-and-press ended: the button clicked; nothing clicked (no input field,
// the answer covered, no button, the button covered); or given up because the user
// held a mouse button or moved the pointer meanwhile.
enum class SprungErgebnis { geklickt, nichtGeklickt, unterbrochen };

struct SprungAusgang {
    SprungErgebnis ergebnis = SprungErgebnis::nichtGeklickt;
    // After a click: the application that was in front before, when it was another one.
    std::optional<int> zurueckZu;
};

// The services the sequence uses; all of them callable from the background lane.
struct SprungDienste {
    AX ax;
    Fensterliste& fensterliste;
    Eingabe& eingabe;
    Arbeitsplatz& arbeitsplatz;
    // Whether a held mouse button was already logged: while the user keeps it held,
    // the watch tries every second, and one line says it all. Shared by the presses of
    // one controller.
    std::shared_ptr<std::atomic<bool>> gehaltenGemeldet = std::make_shared<std::atomic<bool>>(false);
};

// The target as the main thread saw it when it asked for the press.
struct SprungAuftrag {
    Element app;
    Element fenster;
    int pid = 0;
    KnopfMerkmal merkmal;
    std::optional<int> vorne;  // the application in front at that moment
};

// The points just above the input field, over the newest answer, in the order they are tried.
std::vector<Punkt> schwebePunkte(const Rechteck& feld);

// The hover-and-press sequence as a chain of steps for the background lane: the input
// field, the hover points at which the target is on top, then for each: the pointer
// there and 2 points to the right, up to four searches for the button, and a click at
// its centre when nothing covers it; the pointer is put back at the end. Before each
// step it makes sure that the pointer is still where it put it and no mouse button is
// held. `fertig` runs once, on the background lane, at the end of the chain.
Schritt sprungKette(SprungDienste dienste, SprungAuftrag auftrag, std::function<void(SprungAusgang)> fertig);

}  // namespace klebwerk
