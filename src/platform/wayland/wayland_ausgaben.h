#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/geometrie.h"

struct wl_output;
struct wl_registry;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

namespace klebwerk::wayland {

// The compositor's outputs as one connection sees them, each with its place in the
// layout (xdg-output's logical position and size: the top-left global coordinates
// that windows, the pointer and the IPC share). Fed from the connection's registry
// listener; used on that connection's thread only.
class WaylandAusgaben {
public:
    struct Ausgabe {
        std::uint32_t name = 0;  // of the global
        wl_output* ausgabe = nullptr;
        zxdg_output_v1* xdg = nullptr;
        Rechteck lage;
        bool lageBekannt = false;
    };

    WaylandAusgaben() = default;
    WaylandAusgaben(const WaylandAusgaben&) = delete;
    WaylandAusgaben& operator=(const WaylandAusgaben&) = delete;
    ~WaylandAusgaben();

    // Takes an output or the xdg-output manager from the registry; false for any other global.
    bool globalNeu(wl_registry* reg, std::uint32_t name, const char* schnittstelle, std::uint32_t version);
    // The output of that global name, when it was one (it is gone afterwards).
    std::unique_ptr<Ausgabe> globalWeg(std::uint32_t name);
    // Asks for the place of every output that has no xdg-output object yet (the manager
    // may be announced after the outputs); the answers come with the next roundtrip.
    void frageLagen();
    bool kenntLagen() const { return manager_ != nullptr; }

    const std::vector<std::unique_ptr<Ausgabe>>& alle() const { return ausgaben_; }
    // The box around all outputs whose place is known; empty without one.
    Rechteck umfang() const;
    // The place of an output: (0, 0) and unknown size without xdg-output.
    Rechteck lage(const wl_output* ausgabe) const;

private:
    std::vector<std::unique_ptr<Ausgabe>> ausgaben_;
    zxdg_output_manager_v1* manager_ = nullptr;
};

}  // namespace klebwerk::wayland
