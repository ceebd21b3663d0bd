// The delivery queue: one capture at a time, from the pasteboard to the paste and
// back to where the user was.

#include <filesystem>
#include <memory>

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "delivery/ablage.h"
#include "delivery/aufnahmeart.h"
#include "delivery/tastendruck.h"
#include "delivery/zustellung.h"
#include "delivery/zwischenlager.h"
#include "platform/eingabe.h"
#include "targets/browser.h"

namespace klebwerk {

namespace {

std::string dateiname(const std::string& pfad) { return std::filesystem::path(pfad).filename().string(); }

}  // namespace

void Steuerung::neuerScreenshot(const std::string& pfad) {
    protokoll("Screenshot: " + dateiname(pfad));
    if (!vertraut || pausiert()) return;
    if (ziel) {
        schlange.push_back(pfad);
        if (!beschaeftigt) naechster();
        return;
    }
    hinweis.zeige(L("Kein Zielfenster gewählt – ", "No target window chosen – ") + artWort(waechter.arten, pfad, false) +
                      L(" nicht zugestellt", " not delivered"),
                  2.5);
}

void Steuerung::naechster() {
    if (schlange.empty()) {
        beschaeftigt = false;
        return;
    }
    if (!ziel) {
        beschaeftigt = false;
        schlange.clear();
        return;
    }
    auto z = std::make_shared<Zustellung>();
    z->ziel = ziel;
    if (!ax.text(z->ziel->fenster, "AXRole")) {
        entferne(z->ziel, false);
        naechster();
        return;
    }
    const bool browser = istBrowser(plattform.arbeitsplatz, z->ziel->pid);
    if (browser && !bewerteBrowser(z->ziel)) {
        std::string verworfen = schlange.front();
        schlange.erase(schlange.begin());
        protokoll("Nicht eingefügt, im Browserfenster ist kein KI-Chat offen: " + dateiname(verworfen));
        hinweis.zeige(L("Im Browser ist kein KI-Chat offen und kein Eingabefeld angeklickt – nicht eingefügt",
                        "No AI chat open and no input field clicked in the browser – not pasted"),
                      3.0);
        naechster();
        return;
    }
    beschaeftigt = true;
    z->aufnahme = schlange.front();
    schlange.erase(schlange.begin());
    z->datei = z->aufnahme;

    z->papierkorb = papierkorb();
    if (z->papierkorb) {
        if (auto kopie = legeKopieAn(zwischenlager, z->aufnahme)) z->datei = *kopie;
    }

    // The capture's PNG may be made already, or be under way, since its file was
    // complete; without it the file is decoded and encoded here.
    vorkodierung.hole(z->aufnahme, [this, z](std::optional<std::string> png) {
        z->png = std::move(png);
        sichereAblage(z);
    });
}

void Steuerung::sichereAblage(const std::shared_ptr<Zustellung>& z) {
    // The user's pasteboard. A restore that the previous delivery left pending holds
    // what the user had: while nobody changed the pasteboard since, this delivery takes
    // it over instead of saving the previous capture as the user's.
    if (ablageRueckgabe && plattform.ablage.aenderungen() == ablageRueckgabe->zaehler) {
        z->gesichert = ablageRueckgabe->gesichert;
        legeAufUndWeiter(z);
        return;
    }
    // Otherwise the read waits on the run loop: the owner may be slow or the data large.
    ablageLesung = sichere(plattform.ablage, [this, z](AblageLesung l) {
        if (l.gelesen()) {
            z->gesichert = std::move(l.eintraege);
        } else {
            // Not known is not empty: nothing is written back after this delivery.
            protokoll("Zwischenablage nicht gesichert: " + *l.fehler);
        }
        legeAufUndWeiter(z);
    });
}

void Steuerung::legeAufUndWeiter(const std::shared_ptr<Zustellung>& z) {
    Zwischenablage& ablage = plattform.ablage;
    const bool video = waechter.arten.istVideo(z->datei);
    if (!(z->png && !video ? legeAufPng(ablage, z->datei, *z->png) : legeAuf(ablage, z->datei, video))) {
        // The pasteboard was not touched; a pending restore stays as it was.
        protokoll("Bild nicht lesbar: " + z->aufnahme);
        naechster();
        return;
    }
    ablageRueckgabe.reset();
    z->zaehler = ablage.aenderungen();
    laufend = z;

    z->vorher = plattform.arbeitsplatz.vorderste();
    z->zielWarVorn = z->vorher && z->vorher->pid == z->ziel->pid;
    if (z->zielWarVorn) z->vorherFenster = ax.element(z->ziel->app, "AXFocusedWindow");

    aktiviereZiel(*z->ziel);
    warteBisVorn(z->ziel, 30, [this, z](bool vorn) {
        z->vorn = vorn;
        fokussiereEingabe(z->ziel);
        nach(0.15, [this, z] {
            // What follows a key counts from the moment it went out, not from the
            // moment it was asked for: a held modifier may have delayed it.
            taste(tasteV, flagge::befehl, z->ziel->pid, z->vorn, [this, z] {
                nach(absenden() ? 1.4 : 0.5, [this, z] {
                    auto schluss = [this, z] { nach(0.25, [this, z] { schliesseAb(z); }); };
                    if (absenden()) {
                        auto vorne = plattform.arbeitsplatz.vorderste();
                        drueckeReturn(*z->ziel, vorne && vorne->pid == z->ziel->pid, schluss);
                        return;
                    }
                    if (diktat() && merkmal(KnopfArt::diktat) &&
                        !istBrowser(plattform.arbeitsplatz, z->ziel->pid)) {
                        starteDiktat(z->ziel);
                        z->diktatGestartet = true;
                    }
                    schluss();
                });
            });
        });
    });
}

void Steuerung::schliesseAb(const std::shared_ptr<Zustellung>& z) {
    if (!z->diktatGestartet) kehreZurueck(*z);
    const std::string name = z->ziel->titel.empty() ? z->ziel->appName : z->ziel->titel;
    hinweis.zeige("✓ " + artWort(waechter.arten, z->aufnahme, true) + L(" eingefügt in: ", " pasted into: ") + name, 2.2);
    letzteZustellung = dateiname(z->aufnahme);
    if (z->papierkorb && z->datei != z->aufnahme) wirfWeg(z->aufnahme);
    protokoll("Eingefügt in " + z->ziel->anzeige() + ": " + dateiname(z->aufnahme) +
              " (vorn: " + (z->vorn ? "true" : "false") + ")");
    schreibeStatus();

    // Pending also when the pasteboard could not be saved: the next delivery then
    // knows that the capture on it is not the user's.
    AblageRueckgabe rueckgabe;
    rueckgabe.gesichert = std::move(z->gesichert);
    rueckgabe.zaehler = z->zaehler;
    ablageRueckgabe = std::move(rueckgabe);
    laufend.reset();
    ablageRueckgabe->uhr = schleife.nach(1.5, [this] {
        auto r = std::move(ablageRueckgabe);
        ablageRueckgabe.reset();
        // A copy the user made in the meantime stays.
        if (r->gesichert && plattform.ablage.aenderungen() == r->zaehler) stelleHer(plattform.ablage, *r->gesichert);
    });
    nach(0.3, [this] { naechster(); });
}

}  // namespace klebwerk
