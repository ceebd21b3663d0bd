#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ax/ax.h"
#include "platform/arbeitsplatz.h"
#include "platform/fensterliste.h"

namespace klebwerk {

// A window found under a point: its owner, its number and its bounds (top-left points).
struct FensterTreffer {
    int pid = 0;
    std::uint32_t nummer = 0;
    Rechteck rahmen;
    bool operator==(const FensterTreffer&) const = default;
};

// One window the user can pick: owner, element, application name, title.
struct FensterEintrag {
    int pid = 0;
    Element fenster;
    std::string appName;
    std::string titel;
};

// The topmost ordinary window (layer 0) of another process under `punkt`.
std::optional<FensterTreffer> fensterUnter(Fensterliste& liste, int eigenePid, Punkt punkt);

// The topmost on-screen window under `punkt` of any layer and any process, this one
// included: where a click at that point would land.
std::optional<FensterInfo> obersterBei(Fensterliste& liste, Punkt punkt);

// Whether the window of `pid` (with that number, when it can be told) is the topmost
// window under `punkt`.
bool liegtObenIn(Fensterliste& liste, int pid, std::optional<std::uint32_t> nummer, Punkt punkt);

// The accessible window of `pid` with that number, else the first whose frame differs
// from `rahmen` by less than 2 points in x, y, width and height.
std::optional<Element> axFenster(const AX& ax, int pid, std::uint32_t nummer, const Rechteck& rahmen);

// Every standard window of every regular application, in the workspace's order.
std::vector<FensterEintrag> alleFenster(const AX& ax, Arbeitsplatz& arbeitsplatz);

// An application's key: its bundle identifier, else its executable path ("" when it has neither).
std::string kennungVon(const Anwendung& a);

// The key of the running process; none when it does not run or has no key.
std::optional<std::string> appKennung(Arbeitsplatz& arbeitsplatz, int pid);

// Application elements made for a scan of windows answer within this time or are skipped.
inline constexpr double scanZeitlimit = 0.3;

}  // namespace klebwerk
