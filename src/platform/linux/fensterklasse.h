#pragma once

#include <string>

namespace klebwerk::linuxdesk {

// The class a window names its program with: X's `WM_CLASS` (instance and class name),
// or a Wayland client's app id (as both names).
struct FensterKlasse {
    std::string instanz;
    std::string klasse;
    bool operator==(const FensterKlasse&) const = default;
};

}  // namespace klebwerk::linuxdesk
