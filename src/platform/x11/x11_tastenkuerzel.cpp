#include "platform/x11/x11_tastenkuerzel.h"

namespace klebwerk::x11 {

std::vector<std::uint16_t> sperrKombinationen(std::uint16_t numLock) {
    return {0, XCB_MOD_MASK_LOCK, numLock, static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock)};
}

X11Tastenkuerzel::X11Tastenkuerzel(XVerbindung& x, XTastatur& tastatur, Laufschleife& schleife)
    : x_(x), tastatur_(tastatur), schleife_(schleife) {
    if (!x_.verbunden()) return;
    ereignisMarke_ = x_.beiEreignis([this](const xcb_generic_event_t* e) { return ereignis(e); });
    aenderungMarke_ = tastatur_.beiAenderung([this] { erneuere(); });
}

X11Tastenkuerzel::~X11Tastenkuerzel() {
    aenderungMarke_.aufheben();
    ereignisMarke_.aufheben();
    x_.frage<bool>(
        [this] {
            for (const auto& [id, e] : eintraege_) lasse(e);
            eintraege_.clear();
            xcb_flush(x_.xcb());
            return true;
        },
        2.0);
}

int X11Tastenkuerzel::greife(Eintrag& e) {
    auto taste = tastatur_.tasteFuerCode(e.code);
    if (!taste) return unbekannt;
    e.keycode = taste->keycode;
    e.maske = 0;
    if (e.modifikatoren & carbon::control) e.maske |= tastatur_.controlMaske();
    if (e.modifikatoren & carbon::option) e.maske |= tastatur_.altMaske();
    if (e.modifikatoren & carbon::umschalt) e.maske |= tastatur_.shiftMaske();
    if (e.modifikatoren & carbon::befehl) e.maske |= tastatur_.superMaske();
    xcb_connection_t* c = x_.xcb();
    std::vector<xcb_void_cookie_t> kekse;
    auto kombinationen = sperrKombinationen(tastatur_.numLockMaske());
    for (std::uint16_t sperre : kombinationen)
        kekse.push_back(xcb_grab_key_checked(c, 1, x_.wurzel(), e.maske | sperre, e.keycode, XCB_GRAB_MODE_ASYNC,
                                             XCB_GRAB_MODE_ASYNC));
    int status = 0;
    for (auto keks : kekse) {
        if (xcb_generic_error_t* f = xcb_request_check(c, keks)) {
            status = f->error_code == XCB_ACCESS ? vergeben : -static_cast<int>(f->error_code);
            free(f);
        }
    }
    // All combinations or none: a half registration would fire only with Caps Lock on.
    if (status != 0) lasse(e);
    return status;
}

void X11Tastenkuerzel::lasse(const Eintrag& e) {
    if (!e.keycode) return;
    for (std::uint16_t sperre : sperrKombinationen(tastatur_.numLockMaske()))
        xcb_ungrab_key(x_.xcb(), e.keycode, x_.wurzel(), e.maske | sperre);
}

int X11Tastenkuerzel::registriere(std::uint32_t id, std::uint16_t code, std::uint32_t modifikatoren) {
    auto status = x_.frage<int>(
        [this, id, code, modifikatoren] {
            auto alt = eintraege_.find(id);
            if (alt != eintraege_.end()) {
                lasse(alt->second);
                eintraege_.erase(alt);
            }
            Eintrag e;
            e.code = code;
            e.modifikatoren = modifikatoren;
            int s = greife(e);
            if (s == 0) eintraege_[id] = e;
            xcb_flush(x_.xcb());
            return s;
        },
        2.0);
    return status.value_or(-1);
}

void X11Tastenkuerzel::entferne(std::uint32_t id) {
    x_.frage<bool>(
        [this, id] {
            auto it = eintraege_.find(id);
            if (it == eintraege_.end()) return false;
            lasse(it->second);
            eintraege_.erase(it);
            xcb_flush(x_.xcb());
            return true;
        },
        2.0);
}

void X11Tastenkuerzel::beiDruck(std::function<void(std::uint32_t id)> handler) {
    std::lock_guard lock(geteilt_->sperre);
    geteilt_->handler = std::move(handler);
}

void X11Tastenkuerzel::erneuere() {
    // The old grabs went with the old key codes and modifier bits: taken again with the new ones.
    for (auto it = eintraege_.begin(); it != eintraege_.end();) {
        lasse(it->second);
        Eintrag e = it->second;
        if (greife(e) == 0) {
            it->second = e;
            ++it;
        } else {
            it = eintraege_.erase(it);  // now held by another client or without a key
        }
    }
    xcb_flush(x_.xcb());
}

bool X11Tastenkuerzel::ereignis(const xcb_generic_event_t* e) {
    std::uint8_t art = e->response_type & 0x7F;
    if (art != XCB_KEY_PRESS && art != XCB_KEY_RELEASE) return false;
    auto* k = reinterpret_cast<const xcb_key_press_event_t*>(e);
    std::uint16_t ohneSperren = k->state & ~(XCB_MOD_MASK_LOCK | tastatur_.numLockMaske());
    // Only the modifiers a hot key can carry; the mouse buttons' bits say nothing.
    ohneSperren &= tastatur_.controlMaske() | tastatur_.altMaske() | tastatur_.shiftMaske() | tastatur_.superMaske();
    for (const auto& [id, eintrag] : eintraege_) {
        if (eintrag.keycode != k->detail) continue;
        if (art == XCB_KEY_RELEASE) {
            unten_.erase(k->detail);
            return true;
        }
        if (eintrag.maske != ohneSperren) continue;
        if (!unten_.insert(k->detail).second) return true;  // held down: fired already
        std::weak_ptr<Geteilt> schwach = geteilt_;
        std::uint32_t nummer = id;
        schleife_.aufHaupt([schwach, nummer] {
            auto g = schwach.lock();
            if (!g) return;
            std::function<void(std::uint32_t)> h;
            {
                std::lock_guard lock(g->sperre);
                h = g->handler;
            }
            if (h) h(nummer);
        });
        return true;
    }
    return false;
}

}  // namespace klebwerk::x11
