#include "platform/wayland/virtuelle_tastatur.h"

#include <chrono>
#include <cstring>

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/wayland/wayland_verbindung.h"
#include "virtual-keyboard-unstable-v1-client.h"

namespace klebwerk::wayland {

struct VirtuelleTastatur::Zustand {
    wl_display* anzeige = nullptr;
    wl_registry* register_ = nullptr;
    wl_seat* sitz = nullptr;
    zwp_virtual_keyboard_manager_v1* verwalter = nullptr;
    zwp_virtual_keyboard_v1* tastatur = nullptr;
    xkb_context* kontext = nullptr;
    xkb_keymap* keymap = nullptr;
    std::string stoerung;
};

namespace {

void globalNeu(void* daten, wl_registry* reg, std::uint32_t name, const char* schnittstelle, std::uint32_t) {
    auto* z = static_cast<VirtuelleTastatur::Zustand*>(daten);
    if (!z->sitz && std::strcmp(schnittstelle, wl_seat_interface.name) == 0)
        z->sitz = static_cast<wl_seat*>(wl_registry_bind(reg, name, &wl_seat_interface, 1));
    else if (std::strcmp(schnittstelle, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        z->verwalter = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(reg, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}
void globalWeg(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registerHoerer{globalNeu, globalWeg};

// The keymap as the protocol takes it: a file holding its text with the closing NUL.
int keymapDatei(const std::string& text) {
    int fd = memfd_create("klebwerk-keymap", MFD_CLOEXEC);
    if (fd < 0) return -1;
    std::size_t geschrieben = 0;
    while (geschrieben < text.size() + 1) {
        ssize_t n = write(fd, text.c_str() + geschrieben, text.size() + 1 - geschrieben);
        if (n <= 0) {
            close(fd);
            return -1;
        }
        geschrieben += static_cast<std::size_t>(n);
    }
    return fd;
}

std::uint32_t millisekunden() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

}  // namespace

VirtuelleTastatur::VirtuelleTastatur(const std::string& anzeige, const std::string& layout)
    : z_(std::make_unique<Zustand>()) {
    Zustand& z = *z_;
    if (auto fehler = oeffneVerbindung(anzeige, registerHoerer, &z, 1, z.anzeige, z.register_)) {
        z.stoerung = *fehler;
        return;
    }
    if (!z.verwalter || !z.sitz) {
        z.stoerung = "the compositor offers no virtual keyboard (zwp_virtual_keyboard_manager_v1)";
        return;
    }
    z.kontext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_rule_names namen{};
    namen.layout = layout.empty() ? nullptr : layout.c_str();
    z.keymap = z.kontext ? xkb_keymap_new_from_names(z.kontext, &namen, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    if (!z.keymap) {
        z.stoerung = "no keymap for the keyboard layout";
        return;
    }
    char* text = xkb_keymap_get_as_string(z.keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    std::string keymapText = text ? text : "";
    std::free(text);
    int fd = keymapDatei(keymapText);
    if (fd < 0) {
        z.stoerung = "the keymap could not be handed to the compositor";
        return;
    }
    z.tastatur = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(z.verwalter, z.sitz);
    zwp_virtual_keyboard_v1_keymap(z.tastatur, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                   static_cast<std::uint32_t>(keymapText.size() + 1));
    close(fd);
    if (wl_display_roundtrip(z.anzeige) < 0) z.stoerung = "the compositor refused the virtual keyboard";
}

VirtuelleTastatur::~VirtuelleTastatur() {
    Zustand& z = *z_;
    if (z.tastatur) zwp_virtual_keyboard_v1_destroy(z.tastatur);
    if (z.verwalter) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(z.verwalter));
    if (z.sitz) wl_seat_destroy(z.sitz);
    trenneVerbindung(z.anzeige, z.register_);
    if (z.keymap) xkb_keymap_unref(z.keymap);
    if (z.kontext) xkb_context_unref(z.kontext);
}

std::string VirtuelleTastatur::stoerung() const {
    std::lock_guard lock(sperre_);
    return z_->stoerung;
}

std::string VirtuelleTastatur::zeichen(std::uint32_t evdev) const {
    std::lock_guard lock(sperre_);
    if (!z_->keymap) return {};
    const xkb_keysym_t* syms = nullptr;
    // Evdev codes are X key codes less 8.
    int n = xkb_keymap_key_get_syms_by_level(z_->keymap, evdev + 8, 0, 0, &syms);
    std::string text;
    for (int i = 0; i < n; ++i) {
        char puffer[16];
        int laenge = xkb_keysym_to_utf8(syms[i], puffer, sizeof puffer);
        if (laenge > 1) text.append(puffer, static_cast<std::size_t>(laenge - 1));
    }
    return text;
}

bool VirtuelleTastatur::druecke(std::uint32_t keysym, std::uint32_t modifikatoren, std::string& fehler) {
    std::lock_guard lock(sperre_);
    Zustand& z = *z_;
    if (!z.stoerung.empty()) {
        fehler = z.stoerung;
        return false;
    }
    // The key of the keysym in the first layout group: unshifted level first.
    xkb_keycode_t taste = 0;
    bool mitUmschalt = false;
    for (xkb_level_index_t ebene : {0u, 1u}) {
        for (xkb_keycode_t k = xkb_keymap_min_keycode(z.keymap); k <= xkb_keymap_max_keycode(z.keymap) && !taste; ++k) {
            const xkb_keysym_t* syms = nullptr;
            int n = xkb_keymap_key_get_syms_by_level(z.keymap, k, 0, ebene, &syms);
            for (int i = 0; i < n; ++i) {
                if (syms[i] == keysym) {
                    taste = k;
                    mitUmschalt = ebene == 1;
                }
            }
        }
        if (taste) break;
    }
    if (!taste) {
        fehler = "the keyboard layout has no key for keysym " + std::to_string(keysym);
        return false;
    }
    if (mitUmschalt) modifikatoren |= umschalt;
    std::uint32_t maske = 0;
    auto nimm = [&](Modifikator m, const char* name) {
        xkb_mod_index_t index = xkb_keymap_mod_get_index(z.keymap, name);
        if ((modifikatoren & m) && index != XKB_MOD_INVALID) maske |= 1u << index;
    };
    nimm(umschalt, XKB_MOD_NAME_SHIFT);
    nimm(control, XKB_MOD_NAME_CTRL);
    nimm(alt, XKB_MOD_NAME_ALT);
    nimm(logo, XKB_MOD_NAME_LOGO);

    // Evdev codes are X key codes less 8.
    const std::uint32_t evdev = taste - 8;
    zwp_virtual_keyboard_v1_modifiers(z.tastatur, maske, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(z.tastatur, millisekunden(), evdev, WL_KEYBOARD_KEY_STATE_PRESSED);
    zwp_virtual_keyboard_v1_key(z.tastatur, millisekunden(), evdev, WL_KEYBOARD_KEY_STATE_RELEASED);
    zwp_virtual_keyboard_v1_modifiers(z.tastatur, 0, 0, 0, 0);
    return tauscheAus(z.anzeige, z.stoerung, fehler);
}

}  // namespace klebwerk::wayland
