#include <string>
#include <vector>

#include "app/atomar.h"
#include "app/protokoll.h"
#include "app/prozesswerte.h"
#include "app/steuerung.h"
#include "diagnostics/befehlstext.h"
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

// "fenster.txt": one line per window the menu would offer, "app | title".
void schreibeFensterliste(Steuerung& s) {
    std::string inhalt;
    for (const FensterEintrag& e : alleFenster(s.ax, s.plattform.arbeitsplatz)) {
        if (!inhalt.empty()) inhalt += '\n';
        inhalt += e.appName + " | " + e.titel;
    }
    schreibeAtomar(datenOrdner() + "/fenster.txt", inhalt);
}

const Befehl befehle[] = {
    {"knopf", 3, [](Steuerung& s, const Teile& t) { s.setzeMerkmal(KnopfArt::vorlesen, KnopfMerkmal{t[1], t[2], ""}); }},
    {"knopfweg", 1, [](Steuerung& s, const Teile&) { s.setzeMerkmal(KnopfArt::vorlesen, std::nullopt); }},
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
    {"aufnahmen", 2, [](Steuerung& s, const Teile& t) { schalte(s, "aufnahmen", t); }},
    {"papierkorb", 2, [](Steuerung& s, const Teile& t) { schalte(s, "papierkorb", t); }},
    {"liste", 2,
     [](Steuerung& s, const Teile& t) {
         schalte(s, "listeOffen", t);
         s.aktualisiereFeld();
     }},
    {"fenster", 1, [](Steuerung& s, const Teile&) { schreibeFensterliste(s); }},
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
