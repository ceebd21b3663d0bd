// Sending in the target, returning the user, and moving delivered captures to the trash.

#include <filesystem>

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "delivery/zustellung.h"
#include "delivery/zwischenlager.h"

namespace klebwerk {

namespace {

// Whether `pfad` lies inside `ordner` (both made canonical, so neither `..` nor a
// link leads out of it).
bool liegtIn(const std::filesystem::path& pfad, const std::string& ordner) {
    std::error_code f;
    auto datei = std::filesystem::weakly_canonical(pfad, f);
    if (f) return false;
    auto basis = std::filesystem::weakly_canonical(ordner, f);
    if (f || basis.empty()) return false;
    auto [b, d] = std::mismatch(basis.begin(), basis.end(), datei.begin(), datei.end());
    return b == basis.end() && d != datei.end();
}
}  // namespace

void Steuerung::sende(const std::shared_ptr<Ziel>& z, bool zurueck) {
    ruhigBis = schleife.jetzt() + 2.0;
    auto vorher = plattform.arbeitsplatz.vorderste();
    const bool zielWarVorn = vorher && vorher->pid == z->pid;
    if (!zielWarVorn) holeNachVorn(z->pid);
    hebe(z->fenster);
    warteBisVorn(z, 30, [this, z, zurueck, zielWarVorn, vorher](bool vorn) {
        fokussiereEingabe(z);
        nach(0.15, [this, z, zurueck, zielWarVorn, vorher, vorn] {
            drueckeReturn(*z, vorn, [this, zurueck, zielWarVorn, vorher, vorn] {
                protokoll(std::string("Gesendet (vorn: ") + (vorn ? "true" : "false") + ")");
                hinweis.zeige(L("✓ Gesendet", "✓ Sent"), 1.6);
                if (zurueck && !zielWarVorn && vorher) {
                    const int pid = vorher->pid;
                    nach(0.3, [this, pid] { holeNachVorn(pid); });
                }
            });
        });
    });
}

void Steuerung::kehreZurueck(const Zustellung& z) {
    if (!z.zielWarVorn && z.vorher) {
        holeNachVorn(z.vorher->pid);
    } else if (z.vorherFenster && !(*z.vorherFenster == z.ziel->fenster)) {
        hebe(*z.vorherFenster);
    }
}

void Steuerung::wirfWeg(const std::string& aufnahme) {
    const std::string name = std::filesystem::path(aufnahme).filename().string();
    // Only a capture that lies in a watched capture folder is ever trashed.
    bool erlaubt = false;
    for (const auto& ordner : waechter.alleOrdner) erlaubt = erlaubt || liegtIn(aufnahme, ordner);
    if (!erlaubt) {
        protokoll("Papierkorb fehlgeschlagen: " + name + " liegt in keinem beobachteten Ordner");
        return;
    }
    std::string fehler;
    if (plattform.arbeitsplatz.inPapierkorb(aufnahme, fehler)) {
        protokoll("In den Papierkorb: " + name);
    } else {
        protokoll("Papierkorb fehlgeschlagen: " + fehler);
    }
}

void Steuerung::raeumeZwischenlagerAuf() { raeumeAuf(zwischenlager, schleife.wanduhr()); }

}  // namespace klebwerk
