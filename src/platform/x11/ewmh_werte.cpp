#include "platform/x11/ewmh_werte.h"

#include <algorithm>
#include <array>

namespace klebwerk::x11 {

std::string latin1AlsUtf8(std::string_view latin1) {
    std::string aus;
    aus.reserve(latin1.size());
    for (unsigned char c : latin1) {
        if (c == 0) break;
        if (c < 0x80) {
            aus.push_back(static_cast<char>(c));
        } else {
            aus.push_back(static_cast<char>(0xC0 | (c >> 6)));
            aus.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return aus;
}

std::string gueltigesUtf8(std::string_view bytes) {
    while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    static const std::string ersatz = "\xEF\xBF\xBD";
    std::string aus;
    aus.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        auto c = static_cast<unsigned char>(bytes[i]);
        size_t laenge = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool gut = laenge > 0 && i + laenge <= bytes.size();
        std::uint32_t punkt = laenge == 1 ? c : laenge == 2 ? (c & 0x1F) : laenge == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; gut && k < laenge; ++k) {
            auto f = static_cast<unsigned char>(bytes[i + k]);
            if ((f & 0xC0) != 0x80) gut = false;
            punkt = (punkt << 6) | (f & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not valid UTF-8.
        static constexpr std::array<std::uint32_t, 5> kleinste{0, 0, 0x80, 0x800, 0x10000};
        if (gut && laenge > 1 && (punkt < kleinste[laenge] || punkt > 0x10FFFF || (punkt >= 0xD800 && punkt <= 0xDFFF)))
            gut = false;
        if (gut && c == 0) gut = false;
        if (gut) {
            aus.append(bytes.substr(i, laenge));
            i += laenge;
        } else {
            aus += ersatz;
            ++i;
        }
    }
    return aus;
}

std::string fenstertitel(std::string_view netWmName, bool netWmNameGesetzt, std::string_view wmName,
                         bool wmNameLatin1) {
    if (netWmNameGesetzt) {
        std::string titel = gueltigesUtf8(netWmName);
        if (!titel.empty()) return titel;
    }
    return wmNameLatin1 ? latin1AlsUtf8(wmName) : gueltigesUtf8(wmName);
}

FensterKlasse fensterklasse(std::string_view bytes) {
    FensterKlasse k;
    size_t null = bytes.find('\0');
    k.instanz = gueltigesUtf8(bytes.substr(0, null));
    if (null != std::string_view::npos) {
        std::string_view rest = bytes.substr(null + 1);
        k.klasse = gueltigesUtf8(rest.substr(0, rest.find('\0')));
    }
    return k;
}

namespace {
constexpr std::string_view typPraefix = "_NET_WM_WINDOW_TYPE_";
constexpr std::array<std::string_view, 14> bekannteArten{
    "normal", "dialog", "utility", "toolbar", "splash", "menu", "dropdown_menu",
    "popup_menu", "tooltip", "notification", "combo", "dnd", "dock", "desktop"};
}  // namespace

std::string fensterart(const std::vector<std::string>& typAtome, bool transient) {
    for (const auto& atom : typAtome) {
        if (atom.size() <= typPraefix.size() || atom.compare(0, typPraefix.size(), typPraefix) != 0) continue;
        std::string art = atom.substr(typPraefix.size());
        std::transform(art.begin(), art.end(), art.begin(), [](unsigned char c) { return std::tolower(c); });
        if (std::find(bekannteArten.begin(), bekannteArten.end(), art) != bekannteArten.end()) return art;
    }
    return transient ? "dialog" : "normal";
}

bool istStandardfenster(std::string_view art, std::uint32_t transientFuer) { return art == "normal" && transientFuer == 0; }

int schichtFuer(std::string_view art) {
    if (art == "normal") return 0;
    if (art == "utility" || art == "toolbar" || art == "splash") return 3;
    if (art == "dialog") return 8;
    if (art == "dock") return 20;
    if (art == "notification") return 25;
    if (art == "menu" || art == "dropdown_menu" || art == "popup_menu" || art == "combo") return 101;
    if (art == "tooltip") return 200;
    if (art == "dnd") return 500;
    if (art == "desktop") return -2147483623;
    return 3;
}

std::vector<std::uint32_t> vonVorn(const std::vector<std::uint32_t>& stapelVonUnten) {
    return {stapelVonUnten.rbegin(), stapelVonUnten.rend()};
}

bool aufBildschirm(bool abgebildet, bool versteckt, std::int64_t fensterDesktop, std::int64_t aktuellerDesktop) {
    if (!abgebildet || versteckt) return false;
    if (aktuellerDesktop < 0 || fensterDesktop < 0) return true;
    return fensterDesktop == 0xFFFFFFFFLL || fensterDesktop == aktuellerDesktop;
}

}  // namespace klebwerk::x11
