#include "ax/knopf_merkmal.h"

#include "ax/rollen.h"

namespace klebwerk {

bool KnopfMerkmal::passt(const std::optional<std::string>& kandidatRolle, const std::string& kandidatLabel,
                         const std::function<std::string()>& kandidatKlassen) const {
    if (!label.empty()) {
        if (kandidatLabel != label || !kandidatRolle) return false;
        return *kandidatRolle == rolle || knopfRollen().count(*kandidatRolle) > 0;
    }
    if (!kandidatRolle || *kandidatRolle != rolle) return false;
    if (klassen.empty()) return false;
    return kandidatKlassen() == klassen;
}

std::set<std::string> KnopfMerkmal::moeglicheRollen() const {
    if (!label.empty()) {
        std::set<std::string> r = knopfRollen();
        r.insert(rolle);
        return r;
    }
    if (klassen.empty()) return {};
    return {rolle};
}

namespace {
std::string zitiert(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out + "\"";
}
}  // namespace

std::string KnopfMerkmal::text() const {
    return "KnopfMerkmal(rolle: " + zitiert(rolle) + ", label: " + zitiert(label) + ", klassen: " + zitiert(klassen) +
           ")";
}

std::optional<KnopfMerkmal> gespeichertesMerkmal(const Einstellungen& ud, KnopfArt art) {
    const std::string p = knopfPraefix(art);
    auto rolle = ud.text(p + "Rolle");
    if (!rolle) return std::nullopt;
    return KnopfMerkmal{*rolle, ud.text(p + "Label").value_or(""), ud.text(p + "Klassen").value_or("")};
}

void speichereMerkmal(Einstellungen& ud, KnopfArt art, const std::optional<KnopfMerkmal>& m) {
    const std::string p = knopfPraefix(art);
    if (!m) {
        for (const char* feld : {"Rolle", "Label", "Klassen"}) ud.entferne(p + feld);
        return;
    }
    ud.setzeText(p + "Rolle", m->rolle);
    ud.setzeText(p + "Label", m->label);
    ud.setzeText(p + "Klassen", m->klassen);
}

}  // namespace klebwerk
