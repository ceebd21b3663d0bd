#include "platform/wayland/sway_kombination.h"

#include <algorithm>
#include <cctype>
#include <strings.h>

#include <xkbcommon/xkbcommon.h>

#include "platform/tastenkuerzel.h"
#include "platform/linux/tastencodes.h"

namespace klebwerk::wayland {

namespace {

struct ModName {
    const char* name;
    std::uint32_t bit;
};

constexpr ModName modNamen[] = {
    {"Shift", swaymod::shift}, {"Lock", swaymod::lock}, {"Control", swaymod::control}, {"Ctrl", swaymod::control},
    {"Mod1", swaymod::mod1},   {"Alt", swaymod::mod1},  {"Mod2", swaymod::mod2},       {"Mod3", swaymod::mod3},
    {"Mod4", swaymod::mod4},   {"Mod5", swaymod::mod5},
};

std::string_view beschnitten(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Words split at blanks; a quoted word keeps its blanks and loses its quotes.
std::vector<std::string> woerter(std::string_view zeile) {
    std::vector<std::string> liste;
    std::size_t i = 0;
    while (i < zeile.size()) {
        while (i < zeile.size() && std::isspace(static_cast<unsigned char>(zeile[i]))) ++i;
        if (i >= zeile.size()) break;
        std::string wort;
        char anfuehrung = 0;
        for (; i < zeile.size(); ++i) {
            char c = zeile[i];
            if (anfuehrung) {
                if (c == anfuehrung) anfuehrung = 0;
                else wort += c;
            } else if (c == '"' || c == '\'') {
                anfuehrung = c;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                break;
            } else {
                wort += c;
            }
        }
        liste.push_back(std::move(wort));
    }
    return liste;
}

// The config's lines with continued lines (a backslash at the end) joined.
std::vector<std::string> zeilen(const std::string& text) {
    std::vector<std::string> liste;
    std::string laufend;
    std::size_t anfang = 0;
    while (anfang <= text.size()) {
        std::size_t ende = text.find('\n', anfang);
        if (ende == std::string::npos) ende = text.size();
        std::string_view zeile(text.data() + anfang, ende - anfang);
        if (!zeile.empty() && zeile.back() == '\r') zeile.remove_suffix(1);
        if (!zeile.empty() && zeile.back() == '\\') {
            laufend.append(zeile.substr(0, zeile.size() - 1));
        } else {
            laufend.append(zeile);
            liste.push_back(std::move(laufend));
            laufend.clear();
        }
        anfang = ende + 1;
    }
    if (!laufend.empty()) liste.push_back(std::move(laufend));
    return liste;
}

struct Variable {
    std::string name;  // with its $
    std::string wert;
};

// Replaces each $name by its value, the longest name that fits first, as sway does.
std::string ersetzeVariablen(std::string_view zeile, const std::vector<Variable>& variablen) {
    std::string ergebnis;
    for (std::size_t i = 0; i < zeile.size();) {
        const Variable* treffer = nullptr;
        if (zeile[i] == '$') {
            for (const Variable& v : variablen)
                if (zeile.substr(i, v.name.size()) == v.name && (!treffer || v.name.size() > treffer->name.size()))
                    treffer = &v;
        }
        if (treffer) {
            ergebnis += treffer->wert;
            i += treffer->name.size();
        } else {
            ergebnis += zeile[i++];
        }
    }
    return ergebnis;
}

bool istStandardModus(const std::vector<std::string>& w) {
    // mode [--pango_markup] <name>
    for (std::size_t i = 1; i < w.size(); ++i)
        if (w[i].rfind("--", 0) != 0) return w[i] == "default";
    return false;
}

}  // namespace

std::optional<std::string> swayKombinationstext(std::uint16_t code, std::uint32_t carbonMaske) {
    auto taste = linuxdesk::tastenCode(code);
    if (!taste) return std::nullopt;
    char name[64];
    if (xkb_keysym_get_name(taste->keysym, name, sizeof name) <= 0) return std::nullopt;
    std::string text;
    if (carbonMaske & carbon::befehl) text += "Mod4+";
    if (carbonMaske & carbon::control) text += "Ctrl+";
    if (carbonMaske & carbon::option) text += "Mod1+";
    if (carbonMaske & carbon::umschalt) text += "Shift+";
    return text + name;
}

std::optional<SwayKombination> leseKombination(std::string_view text) {
    SwayKombination k;
    std::size_t anfang = 0;
    while (anfang <= text.size()) {
        std::size_t ende = text.find('+', anfang);
        if (ende == std::string_view::npos) ende = text.size();
        const std::string teil(text.substr(anfang, ende - anfang));
        anfang = ende + 1;
        if (teil.empty()) return std::nullopt;
        const ModName* mod = nullptr;
        for (const ModName& m : modNamen)
            if (strcasecmp(m.name, teil.c_str()) == 0) mod = &m;
        if (mod) {
            k.modifikatoren |= mod->bit;
            continue;
        }
        if (teil.size() == 6 && strncasecmp(teil.c_str(), "group", 5) == 0 && teil[5] >= '1' && teil[5] <= '4') continue;
        xkb_keysym_t keysym = xkb_keysym_from_name(teil.c_str(), XKB_KEYSYM_CASE_INSENSITIVE);
        if (keysym == XKB_KEY_NoSymbol) return std::nullopt;
        k.tasten.push_back(keysym);
    }
    if (k.tasten.empty()) return std::nullopt;
    std::sort(k.tasten.begin(), k.tasten.end());
    return k;
}

std::vector<SwayKombination> gebundeneKombinationen(const std::string& konfiguration) {
    std::vector<SwayKombination> liste;
    std::vector<Variable> variablen;
    std::vector<std::vector<std::string>> bloecke;  // the words of each open block's head
    for (const std::string& roh : zeilen(konfiguration)) {
        std::string_view zeile = beschnitten(roh);
        if (zeile.empty() || zeile.front() == '#') continue;
        if (zeile.front() == '}') {
            if (!bloecke.empty()) bloecke.pop_back();
            continue;
        }
        // set $name value: the value with the variables so far replaced, the name as it is.
        if (bloecke.empty() && zeile.rfind("set", 0) == 0) {
            std::vector<std::string> w = woerter(zeile);
            if (w.size() >= 2 && w[0] == "set" && w[1].size() > 1 && w[1][0] == '$') {
                std::string_view rest = beschnitten(zeile.substr(3));
                rest = beschnitten(rest.substr(std::min(rest.size(), w[1].size())));
                std::string wert = ersetzeVariablen(rest, variablen);
                std::erase_if(variablen, [&](const Variable& v) { return v.name == w[1]; });
                variablen.push_back({w[1], std::move(wert)});
                continue;
            }
        }
        std::vector<std::string> w = woerter(ersetzeVariablen(zeile, variablen));
        if (w.empty()) continue;
        if (w.back() == "{") {
            w.pop_back();
            bloecke.push_back(std::move(w));
            continue;
        }
        // A line in a block continues the command of the block's head.
        std::vector<std::string> befehl;
        bool standardModus = true;
        for (const auto& kopf : bloecke) {
            if (!kopf.empty() && kopf.front() == "mode") {
                standardModus = istStandardModus(kopf);
                continue;
            }
            befehl.insert(befehl.end(), kopf.begin(), kopf.end());
        }
        befehl.insert(befehl.end(), w.begin(), w.end());
        if (befehl.empty()) continue;
        if (!standardModus || befehl.front() != "bindsym") continue;
        for (std::size_t i = 1; i < befehl.size(); ++i) {
            if (befehl[i].rfind("--", 0) == 0) continue;
            if (auto k = leseKombination(befehl[i])) liste.push_back(*k);
            break;
        }
    }
    return liste;
}

}  // namespace klebwerk::wayland
