#include <cmath>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <QVBoxLayout>

#include "basis/atomar.h"
#include "basis/protokoll.h"
#include "app/zahltext.h"
#include "input/abgriff_regel.h"
#include "basis/prozesswerte.h"
#include "app/steuerung.h"
#include "panel/bedienfeld.h"
#include "panel/ziel_zeile.h"
#include "diagnostics/befehlstext.h"
#include "diagnostics/browser_befehle.h"
#include "delivery/png_kodierung.h"
#include "menubar/menue.h"
#include "menubar/statusleiste.h"
#include "targets/fenster_suche.h"

namespace klebwerk {
namespace {

using Teile = std::vector<std::string>;

struct Befehl {
    const char* wort;
    size_t mindestTeile;  // the command word included
    void (*ausfuehren)(Steuerung&, const Teile&);
};

void schalte(Steuerung& s, const char* schluessel, const Teile& t) { s.ud.setzeWahr(schluessel, istEins(t[1])); }

// "punkt.png" and "punkt.txt": the point as drawn, and where point and panel stand.
void schreibePunkt(Steuerung& s) {
    Bedienfeld& feld = s.feld();
    if (auto png = schnellesPng(feld.punktBild())) schreibeAtomar(datenOrdner() + "/punkt.png", *png);
    schreibeAtomar(datenOrdner() + "/punkt.txt", feld.punktText());
}

// "fenster.txt": one line per window the menu would offer, "app | title".
void schreibeFensterliste(Steuerung& s) {
    std::string inhalt;
    for (const FensterEintrag& e : alleFenster(s.ax, s.plattform.arbeitsplatz)) {
        if (!inhalt.empty()) inhalt += '\n';
        inhalt += e.appName + " | " + e.titel;
    }
    schreibeAtomar(datenOrdner() + "/fenster.txt", inhalt);
}

// "takte.txt": how long each focus tick since the last "takte" kept the main thread,
// one line per tick, oldest first: microseconds, then 1 for a tick that ran the 2-second
// checks, else 0. The record starts over.
void schreibeTakte(Steuerung& s) {
    std::string inhalt;
    for (const auto& [d, abgleich] : s.taktDauern)
        inhalt += std::to_string(static_cast<long long>(d * 1e6)) + (abgleich ? " 1\n" : " 0\n");
    s.taktDauern.clear();
    schreibeAtomar(datenOrdner() + "/takte.txt", inhalt);
}

// "feld.png": the panel's content as it looks now.
void schreibeFeldbild(Steuerung& s) {
    if (auto png = schnellesPng(s.feld().feldBild())) schreibeAtomar(datenOrdner() + "/feld.png", *png);
}

// The first window of `alleFenster` of application `app` whose title contains `teil`.
std::shared_ptr<Ziel> neuesZiel(Steuerung& s, const std::string& app, const std::string& teil) {
    for (const FensterEintrag& e : alleFenster(s.ax, s.plattform.arbeitsplatz)) {
        if (e.appName == app && e.titel.find(teil) != std::string::npos)
            return std::make_shared<Ziel>(s.ax, s.plattform.arbeitsplatz, e.fenster, e.pid);
    }
    return nullptr;
}

std::shared_ptr<Ziel> verbundenesNamens(Steuerung& s, const std::string& name) {
    for (const auto& z : s.verbunden) {
        if (s.name(z) == name) return z;
    }
    return nullptr;
}

// Drags the panel's row `von` onto the row `auf` as the user's hand would: the pointer
// 2 points below the middle of `auf`, then the drag ends.
void ziehtest(Steuerung& s, const std::string& von, const std::string& auf) {
    Bedienfeld& f = s.feld();
    f.baueListe();
    // Rows made just now get their places at once, not with the next layout pass.
    f.liste->activate();
    ZielZeile* gezogen = nullptr;
    ZielZeile* ziel = nullptr;
    for (ZielZeile* zeile : f.zeilenDerListe()) {
        if (!gezogen && zeile->name == von) gezogen = zeile;
        if (!ziel && zeile->name == auf) ziel = zeile;
    }
    if (!gezogen || !ziel) return;
    QPointF zeiger = ziel->mapToGlobal(QPointF(ziel->width() / 2.0, ziel->height() / 2.0 + 2));
    f.verschiebe(*gezogen, zeiger);
    if (auto ende = gezogen->losgelassen) ende();
}

// Largest capture that "zustellen" hands on.
constexpr std::int64_t hoechsteAufnahme = 512LL * 1024 * 1024;

// Only an existing regular file of sane size: no device, pipe or folder, nothing
// that reads without end. The kernel's files under /proc count as regular but give
// their size as 0 and can read without end (or block): an empty file is no capture.
void stelleZu(Steuerung& s, const std::string& pfad) {
    struct stat st{};
    std::string grund;
    if (pfad.empty() || pfad[0] != '/') grund = "kein absoluter Pfad";
    else if (::stat(pfad.c_str(), &st) != 0) grund = "nicht vorhanden";
    else if (!S_ISREG(st.st_mode)) grund = "keine gewöhnliche Datei";
    else if (st.st_size == 0) grund = "leer";
    else if (st.st_size > hoechsteAufnahme) grund = "zu groß";
    if (!grund.empty()) {
        protokoll("Zustellen abgewiesen: " + grund);
        return;
    }
    s.neuerScreenshot(pfad);
}

// A key code as the keyboard event carries it: a whole number 0…65535.
std::optional<std::uint16_t> tastenCode(const std::string& text) {
    auto z = liesZahl(text);
    if (!z || *z != static_cast<double>(static_cast<long long>(*z)) || *z < 0 || *z > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(*z);
}

// A hot-key number: a whole number 0…4294967295.
std::optional<std::uint32_t> hotKeyNummer(const std::string& text) {
    auto z = liesZahl(text);
    if (!z || *z < 0 || *z > 4294967295.0 || std::floor(*z) != *z) return std::nullopt;
    return static_cast<std::uint32_t>(*z);
}

// "cmd,alt" → event flags; unknown words add nothing.
std::uint64_t flaggenAus(const std::string& woerter) {
    std::uint64_t f = 0;
    for (const std::string& w : teileBei(woerter, ',')) {
        if (w == "cmd") f |= flagge::befehl;
        else if (w == "alt") f |= flagge::option;
        else if (w == "ctrl") f |= flagge::control;
        else if (w == "shift") f |= flagge::umschalt;
    }
    return f;
}

const Befehl befehle[] = {
    {"ziel", 3,
     [](Steuerung& s, const Teile& t) {
         if (auto z = neuesZiel(s, t[1], t[2])) s.setzeZiel(z);
     }},
    {"aktiv", 2,
     [](Steuerung& s, const Teile& t) {
         if (auto z = verbundenesNamens(s, t[1])) s.aktiviere(z, false);
     }},
    {"entferne", 2,
     [](Steuerung& s, const Teile& t) {
         if (auto z = verbundenesNamens(s, t[1])) {
             s.merkeAbgewaehlt(z);
             s.entferne(z, true);
         }
     }},
    {"aufheben", 1,
     [](Steuerung& s, const Teile&) {
         if (auto z = s.ziel) {
             s.merkeAbgewaehlt(z);
             s.entferne(z, true);
         }
     }},
    {"zustellen", 2, [](Steuerung& s, const Teile& t) { stelleZu(s, t[1]); }},
    {"knopf", 3, [](Steuerung& s, const Teile& t) { s.setzeMerkmal(KnopfArt::vorlesen, KnopfMerkmal{t[1], t[2], ""}); }},
    {"knopfweg", 1, [](Steuerung& s, const Teile&) { s.setzeMerkmal(KnopfArt::vorlesen, std::nullopt); }},
    {"wache", 1,
     [](Steuerung& s, const Teile&) {
         if (auto z = s.ziel) {
             s.stoppeWache();
             s.starteWache(z);
         }
     }},
    {"vorlesen", 1, [](Steuerung& s, const Teile&) { s.jetztVorlesen(); }},
    {"dknopf", 3, [](Steuerung& s, const Teile& t) { s.setzeMerkmal(KnopfArt::diktat, KnopfMerkmal{t[1], t[2], ""}); }},
    {"dknopfweg", 1, [](Steuerung& s, const Teile&) { s.setzeMerkmal(KnopfArt::diktat, std::nullopt); }},
    {"diktat", 2,
     [](Steuerung& s, const Teile& t) {
         schalte(s, "diktatAn", t);
         if (!s.diktat()) s.stoppeDiktat();
     }},
    {"diktatsenden", 2, [](Steuerung& s, const Teile& t) { schalte(s, "diktatSenden", t); }},
    {"lernart", 2,
     [](Steuerung& s, const Teile& t) { s.lernArt = t[1] == "diktat" ? KnopfArt::diktat : KnopfArt::vorlesen; }},
    {"auto", 2, [](Steuerung&, const Teile&) {}},
    {"absenden", 2, [](Steuerung& s, const Teile& t) { schalte(s, "absenden", t); }},
    {"pause", 2, [](Steuerung& s, const Teile& t) { schalte(s, "pausiert", t); }},
    // Quits the way the menu's quit item does: the event loop ends, and the end of
    // the process runs from the application's about-to-quit.
    {"beenden", 1, [](Steuerung& s, const Teile&) { s.schleife.beende(0); }},
    {"aufnahmen", 2, [](Steuerung& s, const Teile& t) { schalte(s, "aufnahmen", t); }},
    {"papierkorb", 2, [](Steuerung& s, const Teile& t) { schalte(s, "papierkorb", t); }},
    {"liste", 2,
     [](Steuerung& s, const Teile& t) {
         schalte(s, "listeOffen", t);
         s.feld().aktualisiere();
     }},
    {"feld", 2,
     [](Steuerung& s, const Teile& t) {
         if (istEins(t[1]) != s.feldSichtbar()) s.schalteFeld();
     }},
    {"kuerzelklappen", 1, [](Steuerung& s, const Teile&) { s.feld().kuerzelKlappen(); }},
    {"feldbild", 1, [](Steuerung& s, const Teile&) { schreibeFeldbild(s); }},
    {"mini", 2,
     [](Steuerung& s, const Teile& t) {
         if (istEins(t[1])) s.feld().minimieren();
         else s.feld().wiederherstellen();
     }},
    {"punktdoppel", 1, [](Steuerung& s, const Teile&) { s.feld().punktDoppelklick(); }},
    {"punktbild", 1, [](Steuerung& s, const Teile&) { schreibePunkt(s); }},
    {"fenster", 1, [](Steuerung& s, const Teile&) { schreibeFensterliste(s); }},
    {"klaenge", 1, [](Steuerung& s, const Teile&) { s.klang.speichere(datenOrdner()); }},
    {"takte", 1, [](Steuerung& s, const Teile&) { schreibeTakte(s); }},
    {"zielneu", 4,
     [](Steuerung& s, const Teile& t) {
         // The replacement belongs to this choice alone: without the window nothing changes.
         auto z = neuesZiel(s, t[2], t[3]);
         if (!z) return;
         s.wahlErsetzt = verbundenesNamens(s, t[1]);
         s.setzeZiel(z);
     }},
    {"klickwahl", 3,
     [](Steuerung& s, const Teile& t) {
         auto x = liesZahl(t[1]), y = liesZahl(t[2]);
         if (x && y) s.waehle({*x, *y});
     }},
    {"wahl", 1, [](Steuerung& s, const Teile&) { s.zielWahlStarten(); }},
    {"abbruch", 1, [](Steuerung& s, const Teile&) { s.beendeModus(); }},
    {"ordne", 1,
     [](Steuerung& s, const Teile& t) {
         std::vector<std::shared_ptr<Ziel>> neu;
         for (size_t i = 1; i < t.size(); ++i) {
             if (auto z = verbundenesNamens(s, t[i])) neu.push_back(z);
         }
         s.ordne(neu);
     }},
    {"ziehtest", 3, [](Steuerung& s, const Teile& t) { ziehtest(s, t[1], t[2]); }},
    {"taste", 3,
     [](Steuerung& s, const Teile& t) {
         auto code = tastenCode(t[1]);
         if (!code) return;
         AbgriffEreignis e{EreignisArt::tasteRunter, *code, flaggenAus(t[2]), s.plattform.eingabe.zeiger()};
         s.tapEreignis(EreignisArt::tasteRunter, e);
     }},
    {"klick", 1,
     [](Steuerung& s, const Teile&) {
         Punkt p = s.plattform.eingabe.zeiger();
         s.plattform.eingabe.maus(Maustaste::links, true, p);
         s.plattform.eingabe.maus(Maustaste::links, false, p);
     }},
    {"menue", 1, [](Steuerung& s, const Teile&) { schreibeAtomar(datenOrdner() + "/menue.txt", menueText(s.baueMenue())); }},
    // "menue.png": the status menu as it opens now, at twice its size.
    {"menuebild", 1,
     [](Steuerung& s, const Teile&) {
         if (auto png = schnellesPng(Statusleiste::bild(s.baueMenue(), 2))) schreibeAtomar(datenOrdner() + "/menue.png", *png);
     }},
    {"lernen", 1, [](Steuerung& s, const Teile&) { s.lernenStarten(); }},
    {"klicklernen", 3,
     [](Steuerung& s, const Teile& t) {
         auto x = liesZahl(t[1]), y = liesZahl(t[2]);
         if (x && y) s.lerne({*x, *y});
     }},
    {"url", 3, [](Steuerung& s, const Teile& t) { schreibeUrlDiagnose(s, neuesZiel(s, t[1], t[2])); }},
    {"ki", 1, [](Steuerung& s, const Teile&) { schreibeKiListe(s); }},
    {"feldziel", 3,
     [](Steuerung& s, const Teile& t) {
         if (auto z = neuesZiel(s, t[1], t[2])) verbindeFeldziel(s, z);
     }},
    {"browserfokus", 3,
     [](Steuerung& s, const Teile& t) {
         if (auto z = neuesZiel(s, t[1], t[2])) s.erkenneBrowserFenster(z->fenster, z->pid);
     }},
    {"kuerzellernen", 2,
     [](Steuerung& s, const Teile& t) {
         if (t[1] == "diktat") s.kuerzelAufnehmen(KuerzelArt::diktat);
         else if (t[1] == "senden") s.kuerzelAufnehmen(KuerzelArt::senden);
     }},
    {"kuerzeldruck", 2,
     [](Steuerung& s, const Teile& t) {
         if (auto id = hotKeyNummer(t[1])) s.kuerzelGedrueckt(*id);
     }},
    {"kuerzel", 1,
     [](Steuerung& s, const Teile&) { s.plattform.eingabe.taste(tasteS, flagge::control | flagge::option, std::nullopt); }},
};

}  // namespace

void Steuerung::testBefehl(const std::string& text) {
    if (text.size() > befehlHoechstlaenge) {
        protokoll("Testbefehl abgewiesen: " + std::to_string(text.size()) + " Bytes, höchstens " +
                  std::to_string(befehlHoechstlaenge));
        return;
    }
    Teile teile = teileBefehl(text);
    protokoll("Testbefehl: " + befehlsListe(teile));
    for (const Befehl& b : befehle) {
        if (teile[0] == b.wort && teile.size() >= b.mindestTeile) {
            b.ausfuehren(*this, teile);
            break;
        }
    }
    aktualisiereLeiste();
}

}  // namespace klebwerk
