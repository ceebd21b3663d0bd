#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/geometrie.h"
#include "platform/marke.h"

namespace klebwerk::atspi {

// A top-level window as the desktop backend knows it (an X window, a compositor's
// toplevel). Its id is the window number that the rest of the program sees.
struct FensterFakten {
    std::int64_t nummer = 0;
    int pid = 0;          // the owning process; 0 when the desktop cannot tell
    std::string titel;
    Rechteck rahmen;      // the client area, top-left screen coordinates
    Rechteck aussen;      // the same with the window manager's decorations
    bool normal = false;  // a normal top-level window (no dialog, menu, dock, tooltip)
};

// What the accessibility layer needs of the desktop's windows: the windows an accessible
// window can be paired with, whether a window still exists, and raising one. The desktop
// backend provides it; nothing here knows which desktop that is. Callable from any thread.
class DesktopFenster {
public:
    virtual ~DesktopFenster() = default;
    // The windows the user can see and choose, front to back: managed by the window
    // manager, mapped, on the current workspace; this process's own windows left out.
    virtual std::vector<FensterFakten> kandidaten() = 0;
    // A window the window manager still manages, shown or not (a minimised window is
    // still there); absent once it was destroyed or left the managed list.
    virtual std::optional<FensterFakten> fenster(std::int64_t nummer) = 0;
    // The active window; 0 when none.
    virtual std::int64_t aktives() = 0;
    // Raises and activates the window through the window manager.
    virtual bool hebe(std::int64_t nummer) = 0;

    enum class Aenderung { titel, weg };
    // Follows one window: its title changed, or it is gone (destroyed or no longer
    // managed; never a mere unmap). Called on the desktop backend's own thread, never
    // inside this call; must not block. Dropping the token ends it.
    virtual Marke beobachte(std::int64_t nummer, std::function<void(Aenderung)> rueckruf) = 0;
};

}  // namespace klebwerk::atspi
