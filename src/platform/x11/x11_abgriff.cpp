#include "platform/x11/x11_abgriff.h"

#include <atomic>
#include <optional>

#include <xcb/xinput.h>

#include "platform/x11/zeiger_roh.h"
#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/eingabe.h"
#include "platform/x11/x11_tastenkuerzel.h"

namespace klebwerk::x11 {

namespace {

// Whether every checked request succeeded; every error is collected (and freed).
bool alleGelungen(xcb_connection_t* c, const std::vector<xcb_void_cookie_t>& kekse) {
    bool gut = true;
    for (auto keks : kekse) {
        if (xcb_generic_error_t* f = xcb_request_check(c, keks)) {
            gut = false;
            free(f);
        }
    }
    return gut;
}

}  // namespace

struct X11Abgriff::Tap {
    AbgriffRegel regel;
    std::function<void(const AbgriffEreignis&)> handler;
    std::shared_ptr<std::atomic<bool>> aktiv = std::make_shared<std::atomic<bool>>(true);
    std::vector<std::uint16_t> knopf;  // passive grabs of button 1 (lock masks)
    std::optional<Punkt> zeigerBei;    // where the pointer was last reported
    Marke zeigerUhr;
    bool tastatur = false;   // the keyboard grab is ours
    std::vector<std::pair<std::uint8_t, std::uint16_t>> tasten;  // passive grabs (keycode, mask)
    std::set<std::uint8_t> geschluckt;                             // keycodes taken from the application
};

X11Abgriff::X11Abgriff(XVerbindung& x, XTastatur& tastatur, Laufschleife& schleife)
    : x_(x), tastatur_(tastatur), schleife_(schleife) {
    if (!x_.verbunden()) return;
    ereignisMarke_ = x_.beiEreignis([this](const xcb_generic_event_t* e) { return ereignis(e); });
    x_.frage<bool>(
        [this] {
            xcb_connection_t* c = x_.xcb();
            const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_input_id);
            if (!ext || !ext->present) return false;
            auto* v = xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, xiHaupt, xiNeben), nullptr);
            // Raw events reach every client that selected them only from XInput 2.1 on.
            xi_ = v && (v->major_version > 2 || (v->major_version == 2 && v->minor_version >= 1));
            free(v);
            xiOpcode_ = ext->major_opcode;
            return true;
        },
        2.0);
}

X11Abgriff::~X11Abgriff() {
    ereignisMarke_.aufheben();
    x_.frage<bool>(
        [this] {
            for (auto& [nr, t] : taps_) baueAb(*t);
            taps_.clear();
            waehleRoh();
            return true;
        },
        2.0);
}

std::uint64_t X11Abgriff::flaggeVon(std::uint8_t keycode) {
    auto code = tastatur_.codeFuerTaste(keycode);
    if (!code) return 0;
    switch (*code) {
    case 0x38: case 0x3C: return flagge::umschalt;
    case 0x3B: case 0x3E: return flagge::control;
    case 0x3A: case 0x3D: return flagge::option;
    case 0x37: case 0x36: return flagge::befehl;
    default: return 0;
    }
}

void X11Abgriff::liesGehaltene() {
    gehalten_.clear();
    xcb_connection_t* c = x_.xcb();
    if (auto* r = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr)) {
        for (int k = 8; k < 256; ++k)
            if ((r->keys[k / 8] >> (k % 8)) & 1)
                if (flaggeVon(static_cast<std::uint8_t>(k))) gehalten_.insert(static_cast<std::uint8_t>(k));
        free(r);
    }
}

std::uint64_t X11Abgriff::gehalteneFlaggen() {
    std::uint64_t f = 0;
    for (auto k : gehalten_) f |= flaggeVon(k);
    return f;
}

bool X11Abgriff::istModifikator(std::uint8_t keycode) {
    auto code = tastatur_.codeFuerTaste(keycode);
    // Shift, Control, Alt/Option, Super/Command (both sides), caps lock.
    return code && (*code == 0x38 || *code == 0x3C || *code == 0x3B || *code == 0x3E || *code == 0x3A ||
                    *code == 0x3D || *code == 0x37 || *code == 0x36 || *code == 0x39);
}

Marke X11Abgriff::starte(const AbgriffRegel& regel, std::function<void(const AbgriffEreignis&)> handler) {
    if (!x_.verbunden()) return {};
    auto tap = std::make_shared<Tap>();
    tap->regel = regel;
    tap->handler = std::move(handler);
    auto nummer = x_.frage<std::uint64_t>(
        [this, tap]() -> std::uint64_t {
            if (!richteEin(*tap)) {
                baueAb(*tap);
                return 0;
            }
            auto nr = naechste_++;
            if (taps_.empty()) liesGehaltene();
            taps_[nr] = tap;
            waehleRoh();
            pruefeZeiger(tap);
            return nr;
        },
        2.0);
    if (!nummer || *nummer == 0) return {};
    std::uint64_t nr = *nummer;
    auto aktiv = tap->aktiv;
    return Marke([this, nr, aktiv] {
        *aktiv = false;  // nothing more reaches the handler from here on
        x_.aufX([this, nr] {
            auto it = taps_.find(nr);
            if (it == taps_.end()) return;
            baueAb(*it->second);
            taps_.erase(it);
            waehleRoh();
        });
    });
}

bool X11Abgriff::richteEin(Tap& t) {
    xcb_connection_t* c = x_.xcb();
    if (t.regel.nurTasten) return xi_;
    if (t.regel.linkeTaste == AbgriffRegel::Umgang::schlucken) {
        // Only the first button, and only without Shift, Control, Alt or Super: a
        // click with a modifier is the user's own.
        std::vector<xcb_void_cookie_t> kekse;
        for (std::uint16_t sperre : sperrKombinationen(tastatur_.numLockMaske())) {
            kekse.push_back(xcb_grab_button_checked(c, 0, x_.wurzel(),
                                                    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE,
                                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
                                                    XCB_BUTTON_INDEX_1, sperre));
            t.knopf.push_back(sperre);
        }
        if (!alleGelungen(c, kekse)) return false;
    }
    if (t.regel.geschluckteTasten.size() > 16) {
        // Nearly every key (shortcut recording): the whole keyboard.
        auto keks = xcb_grab_keyboard(c, 0, x_.wurzel(), XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        auto* r = xcb_grab_keyboard_reply(c, keks, nullptr);
        t.tastatur = r && r->status == XCB_GRAB_STATUS_SUCCESS;
        free(r);
        if (!t.tastatur) return false;
        for (std::uint16_t code : t.regel.geschluckteTasten)
            if (auto k = tastatur_.tasteFuerCode(code)) t.geschluckt.insert(k->keycode);
    } else {
        std::vector<xcb_void_cookie_t> kekse;
        for (std::uint16_t code : t.regel.geschluckteTasten) {
            auto k = tastatur_.tasteFuerCode(code);
            if (!k) continue;
            t.geschluckt.insert(k->keycode);
            for (std::uint16_t sperre : sperrKombinationen(tastatur_.numLockMaske())) {
                kekse.push_back(xcb_grab_key_checked(c, 1, x_.wurzel(), sperre, k->keycode, XCB_GRAB_MODE_ASYNC,
                                                     XCB_GRAB_MODE_ASYNC));
                t.tasten.emplace_back(k->keycode, sperre);
            }
        }
        if (!alleGelungen(c, kekse)) return false;
    }
    xcb_flush(c);
    return xi_;
}

void X11Abgriff::baueAb(Tap& t) {
    xcb_connection_t* c = x_.xcb();
    for (auto maske : t.knopf) xcb_ungrab_button(c, XCB_BUTTON_INDEX_1, x_.wurzel(), maske);
    t.knopf.clear();
    t.zeigerUhr.aufheben();
    if (t.tastatur) xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    for (auto [keycode, maske] : t.tasten) xcb_ungrab_key(c, keycode, x_.wurzel(), maske);
    t.tastatur = false;
    t.tasten.clear();
    xcb_flush(c);
}

void X11Abgriff::waehleRoh() {
    if (!xi_) return;
    // The pointer's own raw motion stays selected for the input service's idle time.
    std::uint32_t bits = zeigerRohMaske;
    for (const auto& [nr, t] : taps_) {
        bits |= XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE;
        if (!t->regel.nurTasten)
            bits |= XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE;
        if (!t->knopf.empty()) bits |= XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;
    }
    struct {
        xcb_input_event_mask_t kopf;
        std::uint32_t bits;
    } maske{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, bits};
    xcb_input_xi_select_events(x_.xcb(), x_.wurzel(), 1, &maske.kopf);
    xcb_flush(x_.xcb());
}

void X11Abgriff::folgeZeiger(const std::shared_ptr<Tap>& t, bool melden) {
    xcb_connection_t* c = x_.xcb();
    auto* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, x_.wurzel()), nullptr);
    if (!r) return;
    Punkt wo{double(r->root_x), double(r->root_y)};
    std::uint16_t maske = r->mask;
    free(r);
    if (t->zeigerBei == wo) return;
    t->zeigerBei = wo;
    if (!melden) return;
    AbgriffEreignis a;
    a.art = EreignisArt::mausBewegt;
    a.wo = wo;
    a.flaggen = tastatur_.flaggenAus(maske);
    a.geschluckt = false;
    melde(*t, a);
}

// Raw motion tells of every move of a device; a warped pointer (another program
// moving it) makes none, so the position is also looked at now and then.
void X11Abgriff::pruefeZeiger(const std::weak_ptr<Tap>& schwach) {
    auto t = schwach.lock();
    if (!t || t->knopf.empty()) return;
    folgeZeiger(t, t->zeigerUhr.aktiv());
    t->zeigerUhr = x_.nachX(0.05, [this, schwach] { pruefeZeiger(schwach); });
}

void X11Abgriff::melde(Tap& t, AbgriffEreignis e) {
    auto aktiv = t.aktiv;
    auto handler = t.handler;
    schleife_.aufHaupt([aktiv, handler, e] {
        if (*aktiv) handler(e);
    });
}

bool X11Abgriff::ereignis(const xcb_generic_event_t* e) {
    if (taps_.empty()) return false;
    std::uint8_t art = e->response_type & 0x7F;
    xcb_connection_t* c = x_.xcb();
    auto zeigerZustand = [&](Punkt& wo) -> std::uint16_t {
        std::uint16_t maske = 0;
        if (auto* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, x_.wurzel()), nullptr)) {
            wo = {double(r->root_x), double(r->root_y)};
            maske = r->mask;
            free(r);
        }
        return maske;
    };
    switch (art) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
        // Only the grabbed first button comes as a core event.
        auto* b = reinterpret_cast<const xcb_button_press_event_t*>(e);
        if (b->detail != XCB_BUTTON_INDEX_1) return false;
        bool runter = art == XCB_BUTTON_PRESS;
        for (auto& [nr, t] : taps_) {
            if (t->knopf.empty()) continue;
            AbgriffEreignis a;
            a.art = runter ? EreignisArt::mausRunter : EreignisArt::mausHoch;
            a.wo = {double(b->root_x), double(b->root_y)};
            a.flaggen = tastatur_.flaggenAus(b->state);
            a.geschluckt = true;
            melde(*t, a);
            return true;
        }
        return false;
    }
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        // A grabbed key comes as a core event (the server sends no raw events to
        // the client holding the grab).
        auto* k = reinterpret_cast<const xcb_key_press_event_t*>(e);
        bool unsere = false;
        for (auto& [nr, t] : taps_)
            if (t->tastatur || t->geschluckt.count(k->detail)) unsere = true;
        if (!unsere) return false;
        bool runter = art == XCB_KEY_PRESS;
        if (flaggeVon(k->detail)) {
            if (runter) gehalten_.insert(k->detail);
            else gehalten_.erase(k->detail);
        }
        auto code = tastatur_.codeFuerTaste(k->detail);
        for (auto& [nr, t] : taps_) {
            if (!t->tastatur && !t->geschluckt.count(k->detail)) continue;
            AbgriffEreignis a;
            a.wo = {double(k->root_x), double(k->root_y)};
            a.flaggen = gehalteneFlaggen();
            a.code = code.value_or(0xFFFF);
            if (istModifikator(k->detail)) {
                if (a.code == 0x39) continue;
                a.art = EreignisArt::flaggenGeaendert;
            } else {
                a.art = runter ? EreignisArt::tasteRunter : EreignisArt::tasteHoch;
            }
            a.geschluckt = true;
            melde(*t, a);
        }
        return true;
    }
    case XCB_GE_GENERIC: {
        auto* g = reinterpret_cast<const xcb_ge_generic_event_t*>(e);
        if (!xi_ || g->extension != xiOpcode_) return false;
        auto* roh = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(e);
        std::uint16_t typ = g->event_type;
        if (typ == XCB_INPUT_RAW_KEY_PRESS || typ == XCB_INPUT_RAW_KEY_RELEASE) {
            auto keycode = static_cast<std::uint8_t>(roh->detail);
            bool runter = typ == XCB_INPUT_RAW_KEY_PRESS;
            Punkt wo;
            zeigerZustand(wo);
            bool modifikator = istModifikator(keycode);
            if (flaggeVon(keycode)) {
                if (runter) gehalten_.insert(keycode);
                else gehalten_.erase(keycode);
            }
            std::uint64_t flaggen = gehalteneFlaggen();
            auto code = tastatur_.codeFuerTaste(keycode);
            for (auto& [nr, t] : taps_) {
                // Keys this tap grabs are reported from their core events.
                if (t->tastatur || (t->geschluckt.count(keycode) && (flaggen == 0 || !runter))) continue;
                AbgriffEreignis a;
                a.wo = wo;
                a.flaggen = flaggen;
                a.code = code.value_or(0xFFFF);
                if (modifikator) {
                    // The modifiers after the change; caps lock alone changes none of them.
                    if (a.code == 0x39) continue;
                    a.art = EreignisArt::flaggenGeaendert;
                } else {
                    a.art = runter ? EreignisArt::tasteRunter : EreignisArt::tasteHoch;
                }
                // The grab of a swallowed key holds without other modifiers (lock bits aside).
                a.geschluckt = false;
                melde(*t, a);
            }
            return true;
        }
        if (typ == XCB_INPUT_RAW_MOTION) {
            for (auto& [nr, t] : taps_)
                if (!t->knopf.empty()) folgeZeiger(t);
            return false;  // the input service times the pointer's rest from it too
        }
        if (typ == XCB_INPUT_RAW_BUTTON_PRESS || typ == XCB_INPUT_RAW_BUTTON_RELEASE) {
            auto* knopf = reinterpret_cast<const xcb_input_raw_button_press_event_t*>(e);
            if (knopf->detail != 1 && knopf->detail != 3) return true;
            Punkt wo;
            const std::uint16_t zustand = zeigerZustand(wo);
            std::uint64_t flaggen = tastatur_.flaggenAus(zustand);
            bool runter = typ == XCB_INPUT_RAW_BUTTON_PRESS;
            bool links = knopf->detail == 1;
            // The grab of the first button holds without modifiers (lock bits aside);
            // such a press is reported from its core event.
            const bool gegriffen = links && flaggen == 0;
            for (auto& [nr, t] : taps_) {
                if (t->regel.nurTasten || (gegriffen && !t->knopf.empty())) continue;
                AbgriffEreignis a;
                a.art = links ? (runter ? EreignisArt::mausRunter : EreignisArt::mausHoch)
                              : (runter ? EreignisArt::rechtsRunter : EreignisArt::rechtsHoch);
                a.wo = wo;
                a.flaggen = flaggen;
                a.geschluckt = false;
                melde(*t, a);
            }
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

}  // namespace klebwerk::x11
