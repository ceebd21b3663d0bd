#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/geometrie.h"

namespace klebwerk {

// One on-screen window as the window server lists it.
struct FensterInfo {
    std::int64_t nummer = 0;
    int pid = 0;
    int schicht = 0;  // 0: a normal window; docks, panels, menus, tooltips on other layers
    Rechteck rahmen;  // top-left screen coordinates
    std::string titel;
    std::string besitzer;  // the owning application's name
};

// The window server: the on-screen windows, front to back. Cheap, callable from any thread.
class Fensterliste {
public:
    virtual ~Fensterliste() = default;
    virtual std::vector<FensterInfo> fenster() = 0;
};

}  // namespace klebwerk
