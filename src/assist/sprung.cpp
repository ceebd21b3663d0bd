#include "assist/sprung.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "assist/knopfsuche.h"
#include "ax/letztes_element.h"
#include "ax/rollen.h"
#include "basis/protokoll.h"
#include "targets/fenster_suche.h"

namespace klebwerk {

namespace {

constexpr long feldGrenze = 20000;
constexpr double hoehen[] = {40, 80, 130, 200};
constexpr int hoechsteSuchen = 4;
constexpr double nachBewegung = 0.03;
constexpr double nachDaneben = 0.2;
constexpr double zwischenSuchen = 0.2;
constexpr double vorDruck = 0.05;
constexpr double gedrueckt = 0.04;
constexpr double nachDruck = 0.08;
// A pointer this close to where the sequence put it has not been moved by the user
// (the window system keeps whole pixels).
constexpr double zeigerSpiel = 1.5;

std::string ganz(double wert) { return std::to_string(static_cast<long long>(wert)); }

class Sprung : public std::enable_shared_from_this<Sprung> {
public:
    Sprung(SprungDienste d, SprungAuftrag a, std::function<void(SprungAusgang)> f)
        : d_(std::move(d)), a_(std::move(a)), fertig_(std::move(f)) {}

    Fortsetzung beginne() {
        if (d_.eingabe.maustasteGehalten()) {
            if (!d_.gehaltenGemeldet->exchange(true)) protokoll("Vorlesen: Maustaste gehalten, kein Sprung");
            return ende(SprungErgebnis::unterbrochen);
        }
        *d_.gehaltenGemeldet = false;
        auto feld = eingabeFeld();
        auto rahmen = feld ? d_.ax.rahmen(*feld) : std::nullopt;
        if (!rahmen) {
            protokoll("Vorlesen: Eingabefeld nicht gefunden");
            return ende(SprungErgebnis::nichtGeklickt);
        }
        nummer_ = d_.ax.fensterNummer(a_.fenster);
        for (Punkt p : schwebePunkte(*rahmen)) {
            if (obenBei(p)) punkte_.push_back(p);
        }
        if (punkte_.empty()) {
            protokoll("Vorlesen: Antwort ist verdeckt, kein Sprung");
            return ende(SprungErgebnis::nichtGeklickt);
        }
        vorher_ = d_.eingabe.zeiger();
        erwartet_ = vorher_;
        return zumPunkt();
    }

private:
    using Weiter = Fortsetzung (Sprung::*)();

    Fortsetzung nach(double sekunden, Weiter w) {
        auto selbst = shared_from_this();
        return Fortsetzung::danach(sekunden, [selbst, w] { return ((*selbst).*w)(); });
    }

    std::optional<Element> eingabeFeld() {
        if (auto fokus = d_.ax.element(a_.app, "AXFocusedUIElement")) {
            auto rolle = d_.ax.text(*fokus, "AXRole");
            if (rolle && eingabeRollen().count(*rolle)) return fokus;
        }
        return letztesElement(d_.ax, a_.fenster, feldGrenze,
                              [](const Element&, const std::optional<std::string>& rolle, const std::string&) {
                                  return rolle == "AXTextArea" || rolle == "AXTextField";
                              });
    }

    bool obenBei(Punkt p) { return liegtObenIn(d_.fensterliste, a_.pid, nummer_, p); }

    void bewege(Punkt p) {
        d_.eingabe.bewegeZeiger(p);
        erwartet_ = p;
        bewegt_ = true;
    }

    // The user took the pointer back: a held button, or the pointer elsewhere.
    bool nutzerDazwischen() {
        if (d_.eingabe.maustasteGehalten()) {
            protokoll("Vorlesen: Maustaste gehalten, Sprung abgebrochen");
            return true;
        }
        const Punkt jetzt = d_.eingabe.zeiger();
        if (std::abs(jetzt.x - erwartet_.x) > zeigerSpiel || std::abs(jetzt.y - erwartet_.y) > zeigerSpiel) {
            protokoll("Vorlesen: Zeiger bewegt, Sprung abgebrochen");
            return true;
        }
        return false;
    }

    Fortsetzung zumPunkt() {
        if (nutzerDazwischen()) return ende(SprungErgebnis::unterbrochen);
        suchen_ = 0;
        bewege(punkte_[index_]);
        return nach(nachBewegung, &Sprung::daneben);
    }

    Fortsetzung daneben() {
        if (nutzerDazwischen()) return ende(SprungErgebnis::unterbrochen);
        const Punkt p = punkte_[index_];
        bewege({p.x + 2, p.y});
        return nach(nachDaneben, &Sprung::suche);
    }

    Fortsetzung suche() {
        if (nutzerDazwischen()) return ende(SprungErgebnis::unterbrochen);
        ++suchen_;
        auto knopf = sucheKnopfIn(d_.ax, a_.fenster, a_.merkmal);
        if (!knopf) {
            if (suchen_ < hoechsteSuchen) return nach(zwischenSuchen, &Sprung::suche);
            return naechsterPunkt();
        }
        auto rahmen = d_.ax.rahmen(*knopf);
        if (!rahmen) return naechsterPunkt();
        mitte_ = rahmen->mitte();
        if (!obenBei(mitte_)) {
            const Punkt p = punkte_[index_];
            protokoll("Vorlesen: Knopf bei " + ganz(mitte_.x) + "," + ganz(mitte_.y) + " ist verdeckt von " +
                      verdeckerBei(mitte_) + ", Hover-Punkt " + ganz(p.x) + "," + ganz(p.y));
            return ende(SprungErgebnis::nichtGeklickt);
        }
        bewege(mitte_);
        return nach(vorDruck, &Sprung::druecke);
    }

    Fortsetzung naechsterPunkt() {
        if (++index_ >= punkte_.size()) return ende(SprungErgebnis::nichtGeklickt);
        return zumPunkt();
    }

    Fortsetzung druecke() {
        if (nutzerDazwischen()) return ende(SprungErgebnis::unterbrochen);
        d_.eingabe.maus(Maustaste::links, true, mitte_);
        return nach(gedrueckt, &Sprung::lasseLos);
    }

    // The button goes up whatever the user does meanwhile: it was pressed here.
    Fortsetzung lasseLos() {
        d_.eingabe.maus(Maustaste::links, false, mitte_);
        return nach(nachDruck, &Sprung::geklickt);
    }

    Fortsetzung geklickt() { return ende(SprungErgebnis::geklickt); }

    // The name of the application whose window lies on top at the point.
    std::string verdeckerBei(Punkt p) {
        auto f = obersterBei(d_.fensterliste, p);
        if (!f) return "nichts";
        if (!f->besitzer.empty()) return f->besitzer;
        if (auto app = d_.arbeitsplatz.anwendung(f->pid); app && !app->name.empty()) return app->name;
        if (f->pid == d_.arbeitsplatz.eigenePid()) return "Klebwerk";
        return "unbekannt";
    }

    Fortsetzung ende(SprungErgebnis e) {
        if (bewegt_) d_.eingabe.bewegeZeiger(vorher_);
        SprungAusgang aus{e, std::nullopt};
        if (e == SprungErgebnis::geklickt && a_.vorne && *a_.vorne != a_.pid) aus.zurueckZu = a_.vorne;
        if (fertig_) std::exchange(fertig_, nullptr)(aus);
        return Fortsetzung::fertig();
    }

    SprungDienste d_;
    SprungAuftrag a_;
    std::function<void(SprungAusgang)> fertig_;
    std::optional<std::uint32_t> nummer_;
    std::vector<Punkt> punkte_;
    std::size_t index_ = 0;
    int suchen_ = 0;
    Punkt vorher_;
    Punkt erwartet_;
    bool bewegt_ = false;
    Punkt mitte_;
};

}  // namespace

std::vector<Punkt> schwebePunkte(const Rechteck& feld) {
    const double x = feld.x + std::min(0.25 * feld.breite, 80.0);
    std::vector<Punkt> punkte;
    for (double h : hoehen) punkte.push_back({x, feld.y - h});
    return punkte;
}

Schritt sprungKette(SprungDienste dienste, SprungAuftrag auftrag, std::function<void(SprungAusgang)> fertig) {
    auto sprung = std::make_shared<Sprung>(std::move(dienste), std::move(auftrag), std::move(fertig));
    return [sprung] { return sprung->beginne(); };
}

}  // namespace klebwerk
