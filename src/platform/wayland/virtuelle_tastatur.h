#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace klebwerk::wayland {

// A keyboard of this process's own on the compositor's seat (the virtual keyboard
// protocol), with the user's layout as its keymap, so that a keysym is sent as the key
// that produces it there ("⌘V" as v with Control, wherever v lies). It has its own
// modifier state: modifiers the user holds on a real keyboard do not combine with its
// keys. Its own connection to the compositor; callable from any thread, it never waits
// for the compositor after it is set up.
class VirtuelleTastatur {
public:
    // Modifiers of a key press.
    enum Modifikator : std::uint32_t { umschalt = 1, control = 2, alt = 4, logo = 8 };

    // Connects to WAYLAND_DISPLAY (or `anzeige`) and sets the keyboard up with the layout
    // of XKB_DEFAULT_LAYOUT / _VARIANT / _OPTIONS (what the compositor uses by default)
    // or of `layout` when given.
    explicit VirtuelleTastatur(const std::string& anzeige = {}, const std::string& layout = {});
    ~VirtuelleTastatur();

    // Why no keys can be sent; empty when the keyboard is ready.
    std::string stoerung() const;
    // Presses and releases the key of `keysym` with the modifiers; Shift is added when
    // the layout has the keysym on the shifted level. False, with the reason, when the
    // layout has no key for it or the compositor is gone.
    bool druecke(std::uint32_t keysym, std::uint32_t modifikatoren, std::string& fehler);
    // The characters the key with that evdev code gives on the layout, no modifiers.
    std::string zeichen(std::uint32_t evdev) const;

    struct Zustand;

private:
    mutable std::mutex sperre_;
    std::unique_ptr<Zustand> z_;
};

}  // namespace klebwerk::wayland
