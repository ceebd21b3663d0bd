#include "panel/bedienfeld.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/steuerung.h"
#include "panel/feld_panel.h"
#include "panel/punkt_ansicht.h"
#include "panel/ziel_zeile.h"

namespace klebwerk {

// Construction, refresh and the button actions come with the panel itself; for now a
// bare window.
Bedienfeld::Bedienfeld(Steuerung& steuerung) : s(steuerung) {
    panel = std::make_unique<FeldPanel>(s.plattform, QStringLiteral("Klebwerk Bedienfeld"), true);
    punktFenster = std::make_unique<FeldPanel>(s.plattform, QStringLiteral("Klebwerk Punkt"), false);
    punktAnsicht = new PunktAnsicht(s.schleife, punktFenster.get());
    inhalt = new QWidget(panel.get());
    stapel = new QVBoxLayout(inhalt);
    listenFlaeche = new QWidget(inhalt);
    liste = new QVBoxLayout(listenFlaeche);
    stapel->addWidget(listenFlaeche);
}

Bedienfeld::~Bedienfeld() = default;

void Bedienfeld::aktualisiere() { baueListe(); }
void Bedienfeld::zeige() { aktualisiere(); }
void Bedienfeld::verstecke() {
    panel->weg();
    punktFenster->weg();
}
void Bedienfeld::passeGroesseAn() {}
void Bedienfeld::schalteTon() {}
void Bedienfeld::schliessen() {}
void Bedienfeld::klappen() {}
void Bedienfeld::kuerzelKlappen() {}
void Bedienfeld::waehlen() {}
void Bedienfeld::spracheWechseln() {}
void Bedienfeld::kappeGedrueckt(KappenKnopf*) {}
bool Bedienfeld::listeOffen() const { return false; }
void Bedienfeld::setzeListeOffen(bool) {}
bool Bedienfeld::kuerzelOffen() const { return true; }
void Bedienfeld::setzeKuerzelOffen(bool) {}
bool Bedienfeld::mini() const { return s.ud.istWahr("feldMini"); }
void Bedienfeld::setzeMini(bool wert) { s.ud.setzeWahr("feldMini", wert); }
QImage Bedienfeld::feldBild() { return {}; }
std::optional<QColor> Bedienfeld::statusFarbe() const { return std::nullopt; }

}  // namespace klebwerk
