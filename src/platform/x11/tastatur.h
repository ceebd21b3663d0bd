#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/marke.h"
#include "platform/x11/x_verbindung.h"

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace klebwerk::x11 {

// The keyboard as the X server has it now: the keymap and layout (XKB, through
// xkbcommon on the backend's own connection) and the modifier map, renewed when
// either changes. Lookups are for the X thread.
class XTastatur {
public:
    explicit XTastatur(XVerbindung& x);
    ~XTastatur();

    struct Taste {
        std::uint8_t keycode = 0;
        bool umschalt = false;  // the keysym needs Shift on that key
    };
    // The key that produces `keysym` on the current layout; other layouts next (a
    // shortcut still works there), else nothing.
    std::optional<Taste> tasteFuer(std::uint32_t keysym);
    // The key for a virtual key code: its keysym's key on the current layout, else
    // the key at the code's position.
    std::optional<Taste> tasteFuerCode(std::uint16_t code);
    // The virtual key code of an X key code: by the keysym it gives, else by position.
    std::optional<std::uint16_t> codeFuerTaste(std::uint8_t keycode);
    // The characters the key at a code's position gives on the current layout, no modifiers.
    std::string zeichen(std::uint16_t code);

    // Modifier bits (X masks) of Shift, Control, Alt and Super from the modifier map,
    // and the lock bits (Lock, NumLock) that grabs have to cover.
    std::uint16_t shiftMaske() const { return shift_; }
    std::uint16_t controlMaske() const { return control_; }
    std::uint16_t altMaske() const { return alt_; }
    std::uint16_t superMaske() const { return super_; }
    std::uint16_t numLockMaske() const { return numLock_; }
    // The event flags of an X modifier state.
    std::uint64_t flaggenAus(std::uint16_t zustand) const;

    // Called on the X thread after the keymap or the modifier map changed.
    Marke beiAenderung(std::function<void()> rueckruf);

private:
    bool ereignis(const xcb_generic_event_t* e);
    void lade();
    std::uint32_t gruppe() const;

    XVerbindung& x_;
    xkb_context* kontext_ = nullptr;
    xkb_keymap* belegung_ = nullptr;
    xkb_state* zustand_ = nullptr;
    std::int32_t geraet_ = -1;
    std::uint8_t xkbErstes_ = 0;
    std::uint16_t shift_ = XCB_MOD_MASK_SHIFT, control_ = XCB_MOD_MASK_CONTROL, alt_ = XCB_MOD_MASK_1,
                  super_ = XCB_MOD_MASK_4, numLock_ = XCB_MOD_MASK_2;
    std::recursive_mutex sperre_;
    std::map<std::uint64_t, std::function<void()>> beobachter_;
    std::uint64_t naechste_ = 1;
    Marke ereignisMarke_;
};

}  // namespace klebwerk::x11
