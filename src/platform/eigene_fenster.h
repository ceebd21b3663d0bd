#pragma once

#include <cstdint>

namespace klebwerk {

// This program's own floating windows (the panel and its point), made known to the
// window manager as such.
class EigeneFenster {
public:
    virtual ~EigeneFenster() = default;
    // The window `fenster` (the toolkit's native id), just shown: it stays above the
    // others, on every workspace, out of the taskbar and the pager. Asked for again at
    // every showing, since a window manager forgets such states when a window is hidden.
    virtual void schwebend(std::uint64_t fenster) = 0;
};

}  // namespace klebwerk
