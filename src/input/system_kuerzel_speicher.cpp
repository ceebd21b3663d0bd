#include "input/system_kuerzel_speicher.h"

#include "basis/protokoll.h"
#include "input/kuerzel_anzeige.h"

namespace klebwerk {

std::string systemKuerzelText(const SystemKuerzelLesung& l, Eingabe& eingabe) {
    switch (l.stand) {
        case SystemKuerzelLesung::Stand::aus:
            return "aus";
        case SystemKuerzelLesung::Stand::gesetzt: {
            std::string taste = l.code ? tastenText(*l.code, eingabe) : l.name.empty() ? "?" : benannteTaste(l.name);
            return modifikatorZeichen(l.flaggen) + taste;
        }
        case SystemKuerzelLesung::Stand::unbekannt:
        case SystemKuerzelLesung::Stand::fehler:
            break;
    }
    return "–";
}

std::string SystemKuerzelSpeicher::text(int nummer) {
    std::string fassung = quelle_.fassung();
    if (fassung != fassung_) {
        texte_.clear();
        fassung_ = fassung;
    }
    if (auto it = texte_.find(nummer); it != texte_.end()) return it->second;
    SystemKuerzelLesung l = quelle_.lies(nummer);
    std::string text = systemKuerzelText(l, eingabe_);
    if (l.stand == SystemKuerzelLesung::Stand::fehler) {
        std::string meldung = "Systemkürzel " + std::to_string(nummer) + " nicht lesbar: " + l.fehler;
        if (meldung != gemeldet_) protokoll(meldung);
        gemeldet_ = meldung;
        return text;
    }
    texte_[nummer] = text;
    return text;
}

}  // namespace klebwerk
