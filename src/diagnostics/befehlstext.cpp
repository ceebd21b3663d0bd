#include "diagnostics/befehlstext.h"

#include <cstdio>

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

namespace {

void haengeMaskiertAn(std::string& ziel, const std::string& teil) {
    for (unsigned char c : teil) {
        switch (c) {
            case '"': ziel += "\\\""; break;
            case '\\': ziel += "\\\\"; break;
            case '\n': ziel += "\\n"; break;
            case '\r': ziel += "\\r"; break;
            case '\t': ziel += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    char code[12];
                    std::snprintf(code, sizeof code, "\\u{%x}", c);
                    ziel += code;
                } else {
                    ziel += static_cast<char>(c);
                }
        }
    }
}

}  // namespace

std::string befehlsListe(const std::vector<std::string>& teile) {
    std::string liste = "[";
    for (size_t i = 0; i < teile.size(); ++i) {
        if (i) liste += ", ";
        liste += '"';
        haengeMaskiertAn(liste, teile[i]);
        liste += '"';
    }
    liste += ']';
    return liste;
}

}  // namespace klebwerk
