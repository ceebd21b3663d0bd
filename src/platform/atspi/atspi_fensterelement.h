#pragma once

// Window-only elements: a normal top-level window without an accessible counterpart
// (xterm, programs without an accessibility bridge) is still a window. Its element has
// the role "AXWindow", the subrole "AXStandardWindow", title, position and size from the
// desktop, and no children; it is raised and activated through the window manager and
// valid while the desktop window exists. Its number is the desktop's window id.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/atspi/desktop_fenster.h"
#include "platform/wert.h"

namespace klebwerk::atspi {

// An object element without a bus name; its path holds the window number.
Element nurFenster(int pid, std::int64_t nummer);
// The window number of a window-only element; absent for every other element.
std::optional<std::int64_t> nurFensterNummer(const Element& e);

// An attribute of a window-only element; absent once its window is gone and for
// attributes it does not have.
Wert nurFensterWert(DesktopFenster& desktop, const Element& e, const std::string& attribut);
// The attributes it has.
const std::vector<std::string>& nurFensterAttribute();

}  // namespace klebwerk::atspi
