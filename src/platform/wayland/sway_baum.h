#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometrie.h"

namespace klebwerk::wayland {

// One window (a view) of sway's tree.
struct SwayFenster {
    std::int64_t conId = 0;   // the container id, what `[con_id=N]` names
    int pid = 0;
    std::string titel;
    std::string appId;        // the Wayland app id, or an X program's window class
    Rechteck rahmen;          // the window's own content area, in layout coordinates
    bool fokussiert = false;
    bool sichtbar = false;    // on a shown workspace and not hidden behind a tab
    bool schwebend = false;
    Rechteck aussen;          // the container with its border and title bar
    bool operator==(const SwayFenster&) const = default;
};

// A change of one window, as sway's window events tell it.
struct FensterEreignis {
    std::string art;  // "new", "close", "focus", "title", "move", …
    std::int64_t conId = 0;
    std::string titel;
};

// The change a window event's payload tells; nothing when it is unreadable.
std::optional<FensterEreignis> fensterEreignis(const std::string& json);

// The windows of a get_tree reply, front to back: in each container its floating
// windows before its tiled ones, each group in the order they last had the focus;
// outputs in the same order, the scratchpad left out. Nothing when the text is no tree.
std::optional<std::vector<SwayFenster>> fensterAusBaum(const std::string& json);

// Whether every command of a run_command reply succeeded; else the first error sway
// gave, or that the reply was unreadable.
bool befehlGelungen(const std::string& json, std::string& fehler);

}  // namespace klebwerk::wayland
