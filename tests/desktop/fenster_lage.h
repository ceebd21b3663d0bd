#pragma once

// The windows of the desktop as xdotool and xprop see them: a visible window by its
// title, its place and size, the active window; and the pointer moved by XTest.

#include <cstdio>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "desktop/klebwerk_lauf.h"

namespace klebwerk::test {

// Place and size of a window in root coordinates.
struct Lage {
    int x = 0, y = 0, breite = 0, hoehe = 0;
    int mitteX() const { return x + breite / 2; }
    int mitteY() const { return y + hoehe / 2; }
    bool operator==(const Lage&) const = default;
};

inline std::ostream& operator<<(std::ostream& aus, const Lage& l) {
    return aus << l.x << "," << l.y << " " << l.breite << "x" << l.hoehe;
}

// The id of the first mapped window whose title is exactly `titel`; "" when there is none.
inline std::string sichtbaresFenster(const std::string& titel) {
    const std::string ids = ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^" + titel + "$"});
    return ids.substr(0, ids.find('\n'));
}

inline std::optional<Lage> lageVon(const std::string& id) {
    if (id.empty()) return std::nullopt;
    std::istringstream in(ausgabeVon({"xdotool", "getwindowgeometry", "--shell", id}));
    Lage l;
    int gefunden = 0;
    for (std::string zeile; std::getline(in, zeile);) {
        const auto gleich = zeile.find('=');
        if (gleich == std::string::npos) continue;
        const std::string name = zeile.substr(0, gleich);
        int* ziel = name == "X" ? &l.x : name == "Y" ? &l.y : name == "WIDTH" ? &l.breite : name == "HEIGHT" ? &l.hoehe : nullptr;
        if (!ziel) continue;
        *ziel = std::stoi(zeile.substr(gleich + 1));
        ++gefunden;
    }
    if (gefunden != 4) return std::nullopt;
    return l;
}

// Where the visible window of that title stands; none while there is no such window.
inline std::optional<Lage> lageVonFenster(const std::string& titel) { return lageVon(sichtbaresFenster(titel)); }

// The window `id` standing at `l` with the window manager's decoration around it
// (_NET_FRAME_EXTENTS: left, right, top, bottom); `l` itself without one.
inline Lage mitDekoration(const std::string& id, const Lage& l) {
    const std::string zeile = ausgabeVon({"xprop", "-id", id, "_NET_FRAME_EXTENTS"});
    int links = 0, rechts = 0, oben = 0, unten = 0;
    const auto gleich = zeile.find(" = ");
    if (gleich == std::string::npos ||
        std::sscanf(zeile.c_str() + gleich + 3, "%d, %d, %d, %d", &links, &rechts, &oben, &unten) != 4)
        return l;
    return {l.x - links, l.y - oben, l.breite + links + rechts, l.hoehe + oben + unten};
}

// The window the window manager calls active (decimal id), 0 when none.
inline unsigned long aktivesFenster() {
    const std::string zeile = ausgabeVon({"xprop", "-root", "_NET_ACTIVE_WINDOW"});
    const auto raute = zeile.find("# ");
    if (raute == std::string::npos) return 0;
    return std::stoul(zeile.substr(raute + 2), nullptr, 16);
}

// Where the pointer is, "x y".
inline std::string zeigerOrt() {
    // "x:900 y:650 screen:0 window:…"
    std::istringstream in(ausgabeVon({"xdotool", "getmouselocation"}));
    std::string x, y;
    in >> x >> y;
    return x.substr(x.find(':') + 1) + " " + y.substr(y.find(':') + 1);
}

// Moves the pointer and waits (bounded) until the X server has it there. (xdotool's
// own --sync waits for ever when the pointer already stands there.)
inline bool zeigerNach(int x, int y) {
    if (fuehreAus({"xdotool", "mousemove", std::to_string(x), std::to_string(y)}) != 0) return false;
    const std::string ziel = std::to_string(x) + " " + std::to_string(y);
    return warteBis([&] { return zeigerOrt() == ziel; }, 5);
}

}  // namespace klebwerk::test
