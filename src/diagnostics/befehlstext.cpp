#include "diagnostics/befehlstext.h"

#include "basis/protokoll.h"

namespace klebwerk {

std::vector<std::string> teileBefehl(std::string_view text) { return teileBei(text, '|'); }

std::vector<std::string> teileBei(std::string_view text, char trenner) {
    std::vector<std::string> teile;
    size_t anfang = 0;
    while (true) {
        size_t strich = text.find(trenner, anfang);
        if (strich == std::string_view::npos) {
            teile.emplace_back(text.substr(anfang));
            return teile;
        }
        teile.emplace_back(text.substr(anfang, strich - anfang));
        anfang = strich + 1;
    }
}


std::string befehlsListe(const std::vector<std::string>& teile) {
    std::string liste = "[";
    for (size_t i = 0; i < teile.size(); ++i) {
        if (i) liste += ", ";
        liste += '"';
        haengeMaskiertAn(liste, teile[i], true);
        liste += '"';
    }
    liste += ']';
    return liste;
}

}  // namespace klebwerk
