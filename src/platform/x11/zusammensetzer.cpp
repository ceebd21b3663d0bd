#include <cstdlib>
#include <string>

#include <xcb/xcb.h>

#include "platform/x11/x11_desktop.h"

namespace klebwerk::x11 {

// A compositing manager owns the selection _NET_WM_CM_S<screen>. Asked on a short
// connection of its own, so Qt's connection stays Qt's.
bool X11Bildschirme::durchscheinend() {
    int bildschirm = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &bildschirm);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        return false;
    }
    std::string name = "_NET_WM_CM_S" + std::to_string(bildschirm);
    bool besetzt = false;
    if (auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, name.size(), name.c_str()), nullptr)) {
        if (atom->atom != XCB_ATOM_NONE) {
            if (auto* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr)) {
                besetzt = owner->owner != XCB_WINDOW_NONE;
                std::free(owner);
            }
        }
        std::free(atom);
    }
    xcb_disconnect(c);
    return besetzt;
}

}  // namespace klebwerk::x11
