#include "panel/feld_rahmen.h"

#include <algorithm>
#include <cmath>

#include <QJsonArray>

#include "app/einstellungen.h"

namespace klebwerk {
namespace {

std::string schluessel(const std::string& name) { return "rahmen." + name; }

double ueberlappung(const Rechteck& a, const Rechteck& b) {
    double breite = std::min(a.x + a.breite, b.x + b.breite) - std::max(a.x, b.x);
    double hoehe = std::min(a.y + a.hoehe, b.y + b.hoehe) - std::max(a.y, b.y);
    return breite > 0 && hoehe > 0 ? breite * hoehe : 0;
}

}  // namespace

std::optional<Rechteck> gespeicherterRahmen(const Einstellungen& ud, const std::string& name) {
    QJsonValue wert = ud.wert(schluessel(name));
    if (!wert.isArray()) return std::nullopt;
    QJsonArray feld = wert.toArray();
    if (feld.size() != 4) return std::nullopt;
    double z[4];
    for (int i = 0; i < 4; ++i) {
        if (!feld[i].isDouble() || !std::isfinite(feld[i].toDouble())) return std::nullopt;
        z[i] = feld[i].toDouble();
    }
    if (z[2] <= 0 || z[3] <= 0 || std::abs(z[0]) > 1e6 || std::abs(z[1]) > 1e6 || z[2] > 1e5 || z[3] > 1e5)
        return std::nullopt;
    return Rechteck{z[0], z[1], z[2], z[3]};
}

void speichereRahmen(Einstellungen& ud, const std::string& name, const Rechteck& r) {
    ud.setze(schluessel(name), QJsonArray{r.x, r.y, r.breite, r.hoehe});
}

std::optional<Bildschirm> bildschirmVon(const Rechteck& r, const std::vector<Bildschirm>& bildschirme) {
    if (bildschirme.empty()) return std::nullopt;
    const Bildschirm* bester = &bildschirme.front();
    double meiste = 0;
    for (const Bildschirm& b : bildschirme) {
        double f = ueberlappung(r, b.sichtbar);
        if (f > meiste) {
            meiste = f;
            bester = &b;
        }
    }
    return *bester;
}

Rechteck inSichtbaremBereich(const Rechteck& r, const std::vector<Bildschirm>& bildschirme) {
    std::optional<Bildschirm> bildschirm = bildschirmVon(r, bildschirme);
    if (!bildschirm) return r;
    const Rechteck& v = bildschirm->sichtbar;
    Rechteck ergebnis = r;
    ergebnis.x = std::max(v.x, std::min(r.x, v.x + v.breite - r.breite));
    ergebnis.y = std::max(v.y, std::min(r.y, v.y + v.hoehe - r.hoehe));
    return ergebnis;
}

}  // namespace klebwerk
