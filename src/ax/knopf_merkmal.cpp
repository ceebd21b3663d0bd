#include "ax/knopf_merkmal.h"

namespace klebwerk {

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
