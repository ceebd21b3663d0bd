#include "platform/x11/tastatur.h"

// xkb.h names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/eingabe.h"
#include "platform/linux/tastencodes.h"

namespace klebwerk::x11 {

XTastatur::XTastatur(XVerbindung& x) : x_(x) {
    if (!x_.verbunden()) return;
    ereignisMarke_ = x_.beiEreignis([this](const xcb_generic_event_t* e) { return ereignis(e); });
    x_.frage<bool>(
        [this] {
            xcb_connection_t* c = x_.xcb();
            std::uint8_t erstesFehler = 0;
            if (!xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                             XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &xkbErstes_,
                                             &erstesFehler))
                return false;
            kontext_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
            geraet_ = xkb_x11_get_core_keyboard_device_id(c);
            // New keyboards, keymap changes and the layout group.
            const std::uint16_t ereignisse = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                             XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
            const std::uint16_t teile = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                                        XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                                        XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                                        XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
            xcb_xkb_select_events_details_t details{};
            details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
            details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
            details.affectState = XCB_XKB_STATE_PART_GROUP_BASE | XCB_XKB_STATE_PART_GROUP_LATCH |
                                  XCB_XKB_STATE_PART_GROUP_LOCK | XCB_XKB_STATE_PART_MODIFIER_LOCK;
            details.stateDetails = details.affectState;
            xcb_xkb_select_events_aux(c, geraet_, ereignisse, 0, 0, teile, teile, &details);
            // A held key repeats as presses without releases in between, so that a
            // hot key held down fires once.
            free(xcb_xkb_per_client_flags_reply(
                c,
                xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
                                         XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0),
                nullptr));
            lade();
            xcb_flush(c);
            return true;
        },
        3.0);
}

XTastatur::~XTastatur() {
    ereignisMarke_.aufheben();
    x_.frage<bool>(
        [this] {
            if (zustand_) xkb_state_unref(zustand_);
            if (belegung_) xkb_keymap_unref(belegung_);
            if (kontext_) xkb_context_unref(kontext_);
            zustand_ = nullptr;
            belegung_ = nullptr;
            kontext_ = nullptr;
            return true;
        },
        2.0);
}

void XTastatur::lade() {
    xcb_connection_t* c = x_.xcb();
    if (kontext_ && geraet_ >= 0) {
        if (auto* neu = xkb_x11_keymap_new_from_device(kontext_, c, geraet_, XKB_KEYMAP_COMPILE_NO_FLAGS)) {
            if (auto* z = xkb_x11_state_new_from_device(neu, c, geraet_)) {
                if (zustand_) xkb_state_unref(zustand_);
                if (belegung_) xkb_keymap_unref(belegung_);
                belegung_ = neu;
                zustand_ = z;
            } else {
                xkb_keymap_unref(neu);
            }
        }
    }
    // The modifier map: which of Mod1…Mod5 carry Alt, Super and NumLock.
    auto* r = xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (r && belegung_) {
        std::uint16_t alt = 0, super = 0, num = 0;
        xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(r);
        int proModifikator = r->keycodes_per_modifier;
        for (int mod = 3; mod < 8; ++mod) {
            for (int k = 0; k < proModifikator; ++k) {
                xcb_keycode_t kc = codes[mod * proModifikator + k];
                if (!kc) continue;
                const xkb_keysym_t* syms = nullptr;
                int n = xkb_keymap_key_get_syms_by_level(belegung_, kc, 0, 0, &syms);
                for (int i = 0; i < n; ++i) {
                    std::uint16_t bit = static_cast<std::uint16_t>(1u << mod);
                    if (syms[i] == XKB_KEY_Alt_L || syms[i] == XKB_KEY_Alt_R || syms[i] == XKB_KEY_Meta_L) alt |= bit;
                    if (syms[i] == XKB_KEY_Super_L || syms[i] == XKB_KEY_Super_R) super |= bit;
                    if (syms[i] == XKB_KEY_Num_Lock) num |= bit;
                }
            }
        }
        if (alt) alt_ = alt;
        if (super) super_ = super;
        if (num) numLock_ = num;
    }
    free(r);
}

bool XTastatur::ereignis(const xcb_generic_event_t* e) {
    std::uint8_t art = e->response_type & 0x7F;
    bool geaendert = false;
    if (xkbErstes_ && art == xkbErstes_) {
        std::uint8_t xkbArt = e->pad0;  // the XKB event's own type
        if (xkbArt == XCB_XKB_STATE_NOTIFY) {
            auto* s = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(e);
            if (zustand_)
                xkb_state_update_mask(zustand_, s->baseMods, s->latchedMods, s->lockedMods, s->baseGroup,
                                      s->latchedGroup, s->lockedGroup);
            return true;
        }
        if (xkbArt == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbArt == XCB_XKB_MAP_NOTIFY) {
            lade();
            geaendert = true;
        }
    } else if (art == XCB_MAPPING_NOTIFY) {
        lade();
        geaendert = true;
    }
    if (!geaendert) return false;
    std::lock_guard lock(sperre_);
    auto kopie = beobachter_;
    for (auto& [nr, b] : kopie)
        if (beobachter_.count(nr)) b();
    return true;
}

Marke XTastatur::beiAenderung(std::function<void()> rueckruf) {
    std::lock_guard lock(sperre_);
    auto nr = naechste_++;
    beobachter_[nr] = std::move(rueckruf);
    return Marke([this, nr] {
        std::lock_guard lock(sperre_);
        beobachter_.erase(nr);
    });
}

std::uint32_t XTastatur::gruppe() const {
    if (!zustand_) return 0;
    return xkb_state_serialize_layout(zustand_, XKB_STATE_LAYOUT_EFFECTIVE);
}

std::optional<XTastatur::Taste> XTastatur::tasteFuer(std::uint32_t keysym) {
    if (!belegung_) return std::nullopt;
    std::uint32_t aktuell = gruppe();
    xkb_keycode_t min = xkb_keymap_min_keycode(belegung_), max = xkb_keymap_max_keycode(belegung_);
    auto suche = [&](std::uint32_t g) -> std::optional<Taste> {
        // Unshifted keys first, so that "v" is never Shift+V.
        for (xkb_level_index_t ebene = 0; ebene < 2; ++ebene) {
            for (xkb_keycode_t kc = min; kc <= max && kc < 256; ++kc) {
                if (g >= xkb_keymap_num_layouts_for_key(belegung_, kc)) continue;
                const xkb_keysym_t* syms = nullptr;
                int n = xkb_keymap_key_get_syms_by_level(belegung_, kc, g, ebene, &syms);
                for (int i = 0; i < n; ++i)
                    if (syms[i] == keysym) return Taste{static_cast<std::uint8_t>(kc), ebene == 1};
            }
        }
        return std::nullopt;
    };
    if (auto t = suche(aktuell)) return t;
    for (std::uint32_t g = 0; g < xkb_keymap_num_layouts(belegung_); ++g)
        if (g != aktuell)
            if (auto t = suche(g)) return t;
    return std::nullopt;
}

std::optional<XTastatur::Taste> XTastatur::tasteFuerCode(std::uint16_t code) {
    auto t = linuxdesk::tastenCode(code);
    if (!t) return std::nullopt;
    if (auto taste = tasteFuer(t->keysym)) return taste;
    return Taste{static_cast<std::uint8_t>(t->evdev + 8), false};
}

std::optional<std::uint16_t> XTastatur::codeFuerTaste(std::uint8_t keycode) {
    if (belegung_) {
        const xkb_keysym_t* syms = nullptr;
        int n = xkb_keymap_key_get_syms_by_level(belegung_, keycode, gruppe(), 0, &syms);
        for (int i = 0; i < n; ++i)
            if (auto c = linuxdesk::codeFuerKeysym(syms[i])) return c;
    }
    return linuxdesk::codeFuerPosition(keycode);
}

std::string XTastatur::zeichen(std::uint16_t code) {
    auto t = linuxdesk::tastenCode(code);
    if (!t || !belegung_) return {};
    const xkb_keysym_t* syms = nullptr;
    int n = xkb_keymap_key_get_syms_by_level(belegung_, t->evdev + 8, gruppe(), 0, &syms);
    std::string text;
    for (int i = 0; i < n; ++i) {
        char puffer[16];
        int laenge = xkb_keysym_to_utf8(syms[i], puffer, sizeof puffer);
        if (laenge > 1) text.append(puffer, static_cast<size_t>(laenge - 1));
    }
    return text;
}

std::uint64_t XTastatur::flaggenAus(std::uint16_t zustand) const {
    std::uint64_t f = 0;
    if (zustand & shift_) f |= flagge::umschalt;
    if (zustand & control_) f |= flagge::control;
    if (zustand & alt_) f |= flagge::option;
    if (zustand & super_) f |= flagge::befehl;
    return f;
}

}  // namespace klebwerk::x11
