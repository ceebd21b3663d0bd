#include "platform/wayland/wayland_abgriff.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "basis/protokoll.h"
#include "platform/eingabe.h"
#include "platform/wayland/wayland_ausgaben.h"
#include "platform/wayland/wayland_faden.h"
#include "platform/linux/tastencodes.h"
#include "wlr-layer-shell-unstable-v1-client.h"

namespace klebwerk::wayland {

namespace {

// How long the constructor waits for the connection's set-up.
constexpr double einrichtFrist = 2.0;

// The flag a modifier key sets, by its virtual key code (0 for other keys).
std::uint64_t flaggeVon(std::uint16_t code) {
    switch (code) {
    case 0x38: case 0x3C: return flagge::umschalt;
    case 0x3B: case 0x3E: return flagge::control;
    case 0x3A: case 0x3D: return flagge::option;
    case 0x37: case 0x36: return flagge::befehl;
    default: return 0;
    }
}

constexpr std::uint16_t feststelltaste = 0x39;

}  // namespace

struct WaylandAbgriff::Faden : WaylandFaden {
    struct Tap;
    // One overlay on one output.
    struct Flaeche {
        Faden* faden = nullptr;
        Tap* tap = nullptr;
        wl_output* ausgabe = nullptr;
        wl_surface* flaeche = nullptr;
        zwlr_layer_surface_v1* ebene = nullptr;
        wl_buffer* puffer = nullptr;
        std::uint32_t breite = 0, hoehe = 0;
        wl_callback* gezeigtRueckruf = nullptr;  // the compositor's answer after the first buffer
        bool gezeigt = false;                     // counted in `gezeigt_`
    };
    struct Tap {
        std::uint64_t nummer = 0;
        bool zeigerDurch = false;  // keys only: the pointer reaches the windows
        std::function<void(const AbgriffEreignis&)> handler;
        std::shared_ptr<std::atomic<bool>> aktiv;
        std::vector<std::unique_ptr<Flaeche>> flaechen;
        bool bereitGemeldet = false;  // the log line of the overlay holding the keyboard
    };

    WaylandAbgriff& abgriff;
    Laufschleife& schleife;

    wl_compositor* kompositor = nullptr;
    wl_shm* speicher = nullptr;
    wl_seat* sitz = nullptr;
    zwlr_layer_shell_v1* schale = nullptr;
    wl_keyboard* tastatur = nullptr;
    wl_pointer* zeiger = nullptr;
    std::unique_ptr<WaylandAusgaben> ausgaben = std::make_unique<WaylandAusgaben>();

    // Shared with the other threads, under the lock.
    std::optional<Punkt> zeigerOrt;

    // The Wayland thread's own.
    std::map<std::uint64_t, std::shared_ptr<Tap>> taps;
    std::map<wl_surface*, Flaeche*> flaechen;
    std::map<wl_callback*, std::function<void()>> rueckrufe;
    xkb_context* kontext = nullptr;
    xkb_keymap* keymap = nullptr;
    std::uint32_t gruppe = 0;
    std::uint64_t flaggen = 0;                // of the modifiers the keyboard reports held
    bool flaggenStill = false;                // the first report after the focus came only sets them
    std::uint16_t letzterModifikator = 0xFFFF;  // the modifier key whose change is reported next
    Flaeche* tastaturBei = nullptr;
    Flaeche* zeigerBei = nullptr;
    Punkt zeigerLokal;

    Faden(WaylandAbgriff& a, Laufschleife& s, std::string name)
        : WaylandFaden(std::move(name), "event tap"), abgriff(a), schleife(s) {}

    bool verbinde() override;
    void trenne() override;
    void beiStoerung(const std::string& grund) override;

    void richteEin(std::shared_ptr<Tap> tap);
    void baueAb(std::uint64_t nummer);
    void legeAn(Tap& tap, wl_output* ausgabe);
    void entferne(Flaeche* f);
    void neueAusgabe();
    void konfiguriere(Flaeche& f, std::uint32_t serial, std::uint32_t breite, std::uint32_t hoehe);
    wl_callback* nachRunde(std::function<void()> dann);

    void keymapNeu(int fd, std::uint32_t groesse);
    void tastaturRein(wl_surface* flaeche, wl_array* tasten);
    void tastaturRaus();
    void taste(std::uint32_t evdev, bool runter);
    void modifikatoren(std::uint32_t gedrueckt, std::uint32_t eingerastet, std::uint32_t gruppe);
    void zeigerRein(wl_surface* flaeche, double x, double y);
    void zeigerRaus();
    void zeigerBewegt(double x, double y);
    void knopf(std::uint32_t knopf, bool runter);

    std::uint16_t codeFuer(std::uint32_t xTaste) const;
    Punkt global(const Flaeche& f, Punkt lokal) const;
    void merkeZeiger(std::optional<Punkt> wo);
    void melde(Tap& t, AbgriffEreignis e);
};

namespace {

using Faden = WaylandAbgriff::Faden;

void rueckrufFertig(void* daten, wl_callback* rueckruf, std::uint32_t) {
    auto* f = static_cast<Faden*>(daten);
    auto it = f->rueckrufe.find(rueckruf);
    wl_callback_destroy(rueckruf);
    if (it == f->rueckrufe.end()) return;
    auto dann = std::move(it->second);
    f->rueckrufe.erase(it);
    dann();
}
const wl_callback_listener rueckrufHoerer{rueckrufFertig};

void ebeneKonfiguriert(void* daten, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t breite,
                       std::uint32_t hoehe) {
    auto* f = static_cast<Faden::Flaeche*>(daten);
    f->faden->konfiguriere(*f, serial, breite, hoehe);
}
void ebeneGeschlossen(void* daten, zwlr_layer_surface_v1*) {
    // The output went away, or the compositor will not show the overlay any more.
    auto* f = static_cast<Faden::Flaeche*>(daten);
    f->faden->entferne(f);
}
const zwlr_layer_surface_v1_listener ebenenHoerer{ebeneKonfiguriert, ebeneGeschlossen};

void tastaturKeymap(void* daten, wl_keyboard*, std::uint32_t format, int fd, std::uint32_t groesse) {
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1)
        static_cast<Faden*>(daten)->keymapNeu(fd, groesse);
    close(fd);
}
void tastaturEnter(void* daten, wl_keyboard*, std::uint32_t, wl_surface* flaeche, wl_array* tasten) {
    static_cast<Faden*>(daten)->tastaturRein(flaeche, tasten);
}
void tastaturLeave(void* daten, wl_keyboard*, std::uint32_t, wl_surface*) {
    static_cast<Faden*>(daten)->tastaturRaus();
}
void tastaturTaste(void* daten, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t taste, std::uint32_t zustand) {
    static_cast<Faden*>(daten)->taste(taste, zustand == WL_KEYBOARD_KEY_STATE_PRESSED);
}
void tastaturModifikatoren(void* daten, wl_keyboard*, std::uint32_t, std::uint32_t gedrueckt, std::uint32_t eingerastet,
                           std::uint32_t, std::uint32_t gruppe) {
    static_cast<Faden*>(daten)->modifikatoren(gedrueckt, eingerastet, gruppe);
}
void tastaturWiederholung(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener tastaturHoerer = [] {
    wl_keyboard_listener h{};
    h.keymap = tastaturKeymap;
    h.enter = tastaturEnter;
    h.leave = tastaturLeave;
    h.key = tastaturTaste;
    h.modifiers = tastaturModifikatoren;
    h.repeat_info = tastaturWiederholung;
    return h;
}();

void zeigerEnter(void* daten, wl_pointer*, std::uint32_t, wl_surface* flaeche, wl_fixed_t x, wl_fixed_t y) {
    static_cast<Faden*>(daten)->zeigerRein(flaeche, wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void zeigerLeave(void* daten, wl_pointer*, std::uint32_t, wl_surface*) { static_cast<Faden*>(daten)->zeigerRaus(); }
void zeigerMotion(void* daten, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    static_cast<Faden*>(daten)->zeigerBewegt(wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void zeigerKnopf(void* daten, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t knopf, std::uint32_t zustand) {
    static_cast<Faden*>(daten)->knopf(knopf, zustand == WL_POINTER_BUTTON_STATE_PRESSED);
}
void zeigerAchse(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
const wl_pointer_listener zeigerHoerer = [] {
    wl_pointer_listener h{};
    h.enter = zeigerEnter;
    h.leave = zeigerLeave;
    h.motion = zeigerMotion;
    h.button = zeigerKnopf;
    h.axis = zeigerAchse;
    return h;
}();

void sitzFaehigkeiten(void* daten, wl_seat* sitz, std::uint32_t faehigkeiten) {
    auto* f = static_cast<Faden*>(daten);
    const bool tastatur = faehigkeiten & WL_SEAT_CAPABILITY_KEYBOARD;
    const bool zeiger = faehigkeiten & WL_SEAT_CAPABILITY_POINTER;
    if (tastatur && !f->tastatur) {
        f->tastatur = wl_seat_get_keyboard(sitz);
        wl_keyboard_add_listener(f->tastatur, &tastaturHoerer, f);
    } else if (!tastatur && f->tastatur) {
        f->tastaturRaus();
        wl_keyboard_destroy(f->tastatur);
        f->tastatur = nullptr;
    }
    if (zeiger && !f->zeiger) {
        f->zeiger = wl_seat_get_pointer(sitz);
        wl_pointer_add_listener(f->zeiger, &zeigerHoerer, f);
    } else if (!zeiger && f->zeiger) {
        f->zeigerRaus();
        wl_pointer_destroy(f->zeiger);
        f->zeiger = nullptr;
    }
}
void sitzName(void*, wl_seat*, const char*) {}
const wl_seat_listener sitzHoerer{sitzFaehigkeiten, sitzName};

void globalNeu(void* daten, wl_registry* reg, std::uint32_t name, const char* schnittstelle, std::uint32_t version) {
    auto* f = static_cast<Faden*>(daten);
    const std::size_t vorher = f->ausgaben->alle().size();
    if (f->ausgaben->globalNeu(reg, name, schnittstelle, version)) {
        if (f->ausgaben->alle().size() > vorher) f->neueAusgabe();
    } else if (std::strcmp(schnittstelle, wl_compositor_interface.name) == 0) {
        f->kompositor = static_cast<wl_compositor*>(wl_registry_bind(reg, name, &wl_compositor_interface, 1));
    } else if (std::strcmp(schnittstelle, wl_shm_interface.name) == 0) {
        f->speicher = static_cast<wl_shm*>(wl_registry_bind(reg, name, &wl_shm_interface, 1));
    } else if (!f->sitz && std::strcmp(schnittstelle, wl_seat_interface.name) == 0) {
        f->sitz = static_cast<wl_seat*>(wl_registry_bind(reg, name, &wl_seat_interface, 1));
        wl_seat_add_listener(f->sitz, &sitzHoerer, f);
    } else if (std::strcmp(schnittstelle, zwlr_layer_shell_v1_interface.name) == 0) {
        f->schale = static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(reg, name, &zwlr_layer_shell_v1_interface, std::min(version, 3u)));
    }
}
void globalWeg(void* daten, wl_registry*, std::uint32_t name) {
    // Its overlays hear `closed` from the compositor; only the output's proxy goes here.
    static_cast<Faden*>(daten)->ausgaben->globalWeg(name);
}
const wl_registry_listener registerHoerer{globalNeu, globalWeg};

// A buffer of transparent pixels: a fresh memory file reads as zeros.
wl_buffer* durchsichtigerPuffer(wl_shm* speicher, std::uint32_t breite, std::uint32_t hoehe) {
    const std::size_t zeile = std::size_t{breite} * 4;
    const std::size_t groesse = zeile * hoehe;
    int fd = memfd_create("klebwerk-ueberdeckung", MFD_CLOEXEC);
    if (fd < 0) return nullptr;
    if (ftruncate(fd, static_cast<off_t>(groesse)) < 0) {
        close(fd);
        return nullptr;
    }
    wl_shm_pool* becken = wl_shm_create_pool(speicher, fd, static_cast<std::int32_t>(groesse));
    wl_buffer* puffer = wl_shm_pool_create_buffer(becken, 0, static_cast<std::int32_t>(breite),
                                                  static_cast<std::int32_t>(hoehe), static_cast<std::int32_t>(zeile),
                                                  WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(becken);
    close(fd);
    return puffer;
}

}  // namespace

bool Faden::verbinde() {
    // The keyboard's keymap may come with the first roundtrips.
    kontext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    // The globals, then the outputs' places and the seat's devices.
    if (!oeffne(registerHoerer, this, 2)) return false;
    if (!schale) {
        scheitere("the compositor offers no layer shell (zwlr_layer_shell_v1)");
        return false;
    }
    if (!kompositor || !speicher || !sitz) {
        scheitere("the compositor offers no surfaces, shared memory or seat");
        return false;
    }
    if (!ausgaben->kenntLagen()) protokoll("event tap: the compositor tells no output's place; positions are the output's own");
    return true;
}

void Faden::beiStoerung(const std::string&) {
    {
        std::lock_guard lock(sperre);
        zeigerOrt.reset();
    }
    abgriff.gezeigt_ = 0;
    abgriff.tastatur_ = false;
}

void Faden::trenne() {
    for (auto& [nummer, tap] : taps) {
        *tap->aktiv = false;
        while (!tap->flaechen.empty()) entferne(tap->flaechen.back().get());
    }
    taps.clear();
    if (anzeige) {
        for (auto& [rueckruf, dann] : rueckrufe) wl_callback_destroy(rueckruf);
        rueckrufe.clear();
        if (tastatur) wl_keyboard_destroy(tastatur);
        if (zeiger) wl_pointer_destroy(zeiger);
        if (sitz) wl_seat_destroy(sitz);
        if (schale) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(schale));
        if (speicher) wl_shm_destroy(speicher);
        if (kompositor) wl_compositor_destroy(kompositor);
        ausgaben.reset();
        trenneAnzeige();
    }
    tastatur = nullptr;
    zeiger = nullptr;
    sitz = nullptr;
    schale = nullptr;
    speicher = nullptr;
    kompositor = nullptr;
    if (keymap) xkb_keymap_unref(keymap);
    if (kontext) xkb_context_unref(kontext);
    keymap = nullptr;
    kontext = nullptr;
    abgriff.gezeigt_ = 0;
    abgriff.tastatur_ = false;
}

wl_callback* Faden::nachRunde(std::function<void()> dann) {
    wl_callback* rueckruf = wl_display_sync(anzeige);
    wl_callback_add_listener(rueckruf, &rueckrufHoerer, this);
    rueckrufe[rueckruf] = std::move(dann);
    return rueckruf;
}

void Faden::richteEin(std::shared_ptr<Tap> tap) {
    if (tot || !*tap->aktiv) return;
    Tap& t = *tap;
    taps[t.nummer] = tap;
    for (const auto& a : ausgaben->alle()) legeAn(t, a->ausgabe);
}

void Faden::neueAusgabe() {
    // While a tap is installed, a new output gets its overlay too.
    wl_output* ausgabe = ausgaben->alle().back()->ausgabe;
    for (auto& [nummer, tap] : taps) legeAn(*tap, ausgabe);
}

void Faden::legeAn(Tap& tap, wl_output* ausgabe) {
    auto f = std::make_unique<Flaeche>();
    f->faden = this;
    f->tap = &tap;
    f->ausgabe = ausgabe;
    f->flaeche = wl_compositor_create_surface(kompositor);
    f->ebene = zwlr_layer_shell_v1_get_layer_surface(schale, f->flaeche, ausgabe, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY,
                                                     "klebwerk");
    zwlr_layer_surface_v1_add_listener(f->ebene, &ebenenHoerer, f.get());
    zwlr_layer_surface_v1_set_anchor(f->ebene, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                   ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_size(f->ebene, 0, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(f->ebene, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(f->ebene,
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    if (tap.zeigerDurch) {
        wl_region* leer = wl_compositor_create_region(kompositor);
        wl_surface_set_input_region(f->flaeche, leer);
        wl_region_destroy(leer);
    }
    wl_surface_commit(f->flaeche);
    flaechen[f->flaeche] = f.get();
    tap.flaechen.push_back(std::move(f));
}

void Faden::konfiguriere(Flaeche& f, std::uint32_t serial, std::uint32_t breite, std::uint32_t hoehe) {
    zwlr_layer_surface_v1_ack_configure(f.ebene, serial);
    if (breite == 0 || hoehe == 0) return;
    if (!f.puffer || breite != f.breite || hoehe != f.hoehe) {
        wl_buffer* neu = durchsichtigerPuffer(speicher, breite, hoehe);
        if (!neu) {
            protokoll("event tap: no memory for the overlay");
            return;
        }
        if (f.puffer) wl_buffer_destroy(f.puffer);
        f.puffer = neu;
        f.breite = breite;
        f.hoehe = hoehe;
        wl_surface_attach(f.flaeche, f.puffer, 0, 0);
        wl_surface_damage(f.flaeche, 0, 0, static_cast<std::int32_t>(breite), static_cast<std::int32_t>(hoehe));
    }
    wl_surface_commit(f.flaeche);
    if (!f.gezeigt && !f.gezeigtRueckruf) {
        Flaeche* zeiger = &f;
        f.gezeigtRueckruf = nachRunde([this, zeiger] {
            zeiger->gezeigtRueckruf = nullptr;
            zeiger->gezeigt = true;
            ++abgriff.gezeigt_;
        });
    }
}

void Faden::entferne(Flaeche* f) {
    Tap& tap = *f->tap;
    if (f->gezeigtRueckruf) {
        rueckrufe.erase(f->gezeigtRueckruf);
        wl_callback_destroy(f->gezeigtRueckruf);
    }
    if (tastaturBei == f) tastaturRaus();
    if (zeigerBei == f) zeigerRaus();
    flaechen.erase(f->flaeche);
    zwlr_layer_surface_v1_destroy(f->ebene);
    wl_surface_destroy(f->flaeche);
    if (f->puffer) wl_buffer_destroy(f->puffer);
    if (f->gezeigt) {
        // Counted as gone once the compositor has handled the removal.
        if (tot || !anzeige)
            --abgriff.gezeigt_;
        else
            nachRunde([this] {
                // From here on clicks reach the windows again.
                if (--abgriff.gezeigt_ == 0) protokoll("event tap: overlay gone");
            });
    }
    std::erase_if(tap.flaechen, [f](const auto& eigene) { return eigene.get() == f; });
}

void Faden::baueAb(std::uint64_t nummer) {
    auto it = taps.find(nummer);
    if (it == taps.end()) return;
    Tap& tap = *it->second;
    while (!tap.flaechen.empty()) entferne(tap.flaechen.back().get());
    taps.erase(it);
}

void Faden::keymapNeu(int fd, std::uint32_t groesse) {
    void* text = mmap(nullptr, groesse, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text == MAP_FAILED) return;
    xkb_keymap* neu = kontext ? xkb_keymap_new_from_buffer(kontext, static_cast<const char*>(text),
                                                           strnlen(static_cast<const char*>(text), groesse),
                                                           XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS)
                              : nullptr;
    munmap(text, groesse);
    if (!neu) return;
    if (keymap) xkb_keymap_unref(keymap);
    keymap = neu;
}

std::uint16_t Faden::codeFuer(std::uint32_t xTaste) const {
    // What the key gives on the current layout names it; a key without a known
    // keysym goes by its position.
    if (keymap) {
        const xkb_keysym_t* syms = nullptr;
        int n = xkb_keymap_key_get_syms_by_level(keymap, xTaste, gruppe, 0, &syms);
        for (int i = 0; i < n; ++i)
            if (auto c = linuxdesk::codeFuerKeysym(syms[i])) return *c;
    }
    return linuxdesk::codeFuerPosition(xTaste).value_or(0xFFFF);
}

Punkt Faden::global(const Flaeche& f, Punkt lokal) const {
    const Rechteck lage = ausgaben ? ausgaben->lage(f.ausgabe) : Rechteck{};
    return {lage.x + lokal.x, lage.y + lokal.y};
}

void Faden::merkeZeiger(std::optional<Punkt> wo) {
    std::lock_guard lock(sperre);
    zeigerOrt = wo;
}

void Faden::tastaturRein(wl_surface* flaeche, wl_array*) {
    auto it = flaechen.find(flaeche);
    if (it == flaechen.end()) return;
    tastaturBei = it->second;
    abgriff.tastatur_ = true;
    // Holding the keyboard, the overlay is mapped above the windows: from here on a
    // click lands on it. Said once per tap, so that the log shows when choosing can begin.
    if (!tastaturBei->tap->bereitGemeldet) {
        tastaturBei->tap->bereitGemeldet = true;
        protokoll("event tap: overlay over the windows, with the keyboard");
    }
    // The modifiers the user already holds come right after, and are no change.
    flaggenStill = true;
}

void Faden::tastaturRaus() {
    tastaturBei = nullptr;
    flaggen = 0;
    abgriff.tastatur_ = false;
}

void Faden::taste(std::uint32_t evdev, bool runter) {
    if (!tastaturBei) return;
    // Evdev codes are X key codes less 8.
    const std::uint16_t code = codeFuer(evdev + 8);
    if (flaggeVon(code) || code == feststelltaste) {
        // A modifier key is reported with the held modifiers that follow it.
        letzterModifikator = code;
        return;
    }
    AbgriffEreignis e;
    e.art = runter ? EreignisArt::tasteRunter : EreignisArt::tasteHoch;
    e.code = code;
    e.flaggen = flaggen;
    e.geschluckt = true;
    if (zeigerBei) e.wo = global(*zeigerBei, zeigerLokal);
    melde(*tastaturBei->tap, e);
}

void Faden::modifikatoren(std::uint32_t gedrueckt, std::uint32_t eingerastet, std::uint32_t neueGruppe) {
    gruppe = neueGruppe;
    std::uint64_t neu = 0;
    if (keymap) {
        const std::uint32_t maske = gedrueckt | eingerastet;
        auto nimm = [&](const char* name, std::uint64_t f) {
            xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
            if (index != XKB_MOD_INVALID && (maske & (1u << index))) neu |= f;
        };
        nimm(XKB_MOD_NAME_SHIFT, flagge::umschalt);
        nimm(XKB_MOD_NAME_CTRL, flagge::control);
        nimm(XKB_MOD_NAME_ALT, flagge::option);
        nimm(XKB_MOD_NAME_LOGO, flagge::befehl);
    }
    const bool still = std::exchange(flaggenStill, false);
    const std::uint16_t code = std::exchange(letzterModifikator, 0xFFFF);
    if (neu == flaggen || !tastaturBei) {
        flaggen = neu;
        return;
    }
    flaggen = neu;
    if (still) return;
    AbgriffEreignis e;
    e.art = EreignisArt::flaggenGeaendert;
    e.code = code;
    e.flaggen = flaggen;
    e.geschluckt = true;
    if (zeigerBei) e.wo = global(*zeigerBei, zeigerLokal);
    melde(*tastaturBei->tap, e);
}

void Faden::zeigerRein(wl_surface* flaeche, double x, double y) {
    auto it = flaechen.find(flaeche);
    if (it == flaechen.end()) return;
    zeigerBei = it->second;
    zeigerLokal = {x, y};
    merkeZeiger(global(*zeigerBei, zeigerLokal));
}

void Faden::zeigerRaus() {
    zeigerBei = nullptr;
    merkeZeiger(std::nullopt);
}

void Faden::zeigerBewegt(double x, double y) {
    if (!zeigerBei) return;
    zeigerLokal = {x, y};
    AbgriffEreignis e;
    e.art = EreignisArt::mausBewegt;
    e.wo = global(*zeigerBei, zeigerLokal);
    e.flaggen = flaggen;
    e.geschluckt = true;
    merkeZeiger(e.wo);
    melde(*zeigerBei->tap, e);
}

void Faden::knopf(std::uint32_t knopf, bool runter) {
    if (!zeigerBei || (knopf != BTN_LEFT && knopf != BTN_RIGHT)) return;
    AbgriffEreignis e;
    if (knopf == BTN_LEFT)
        e.art = runter ? EreignisArt::mausRunter : EreignisArt::mausHoch;
    else
        e.art = runter ? EreignisArt::rechtsRunter : EreignisArt::rechtsHoch;
    e.wo = global(*zeigerBei, zeigerLokal);
    e.flaggen = flaggen;
    e.geschluckt = true;
    melde(*zeigerBei->tap, e);
}

void Faden::melde(Tap& t, AbgriffEreignis e) {
    schleife.aufHaupt([aktiv = t.aktiv, handler = t.handler, e] {
        if (*aktiv) handler(e);
    });
}

WaylandAbgriff::WaylandAbgriff(Laufschleife& schleife, const std::string& anzeige)
    : schleife_(schleife), faden_(std::make_unique<Faden>(*this, schleife, anzeige)) {
    faden_->starte();
    if (!faden_->warteAufEinrichtung(einrichtFrist))
        protokoll("event tap: the compositor did not answer in time; taps wait for it");
}

WaylandAbgriff::~WaylandAbgriff() { faden_->halte(); }

void WaylandAbgriff::aufFaden(std::function<void(Faden&)> arbeit) {
    faden_->aufFaden([f = faden_.get(), arbeit = std::move(arbeit)] { arbeit(*f); });
}

std::string WaylandAbgriff::stoerung() const { return faden_->stoerung(); }

std::optional<Punkt> WaylandAbgriff::zeiger() const {
    std::lock_guard lock(faden_->sperre);
    return faden_->zeigerOrt;
}

Marke WaylandAbgriff::starte(const AbgriffRegel& regel, std::function<void(const AbgriffEreignis&)> handler) {
    const bool nimmtEtwas = !regel.nurTasten && (regel.linkeTaste == AbgriffRegel::Umgang::schlucken ||
                                                 !regel.geschluckteTasten.empty());
    if (!nimmtEtwas) {
        // A client sees input only on its own surfaces, and those take what they see.
        if (!nurTastenGemeldet_.exchange(true))
            protokoll("listening to keys is not possible in this session (Wayland): no tap without taking input");
        return {};
    }
    if (!stoerung().empty()) return {};
    static std::atomic<std::uint64_t> naechste{1};
    auto tap = std::make_shared<Faden::Tap>();
    tap->nummer = naechste++;
    tap->zeigerDurch = regel.linkeTaste != AbgriffRegel::Umgang::schlucken;
    tap->handler = std::move(handler);
    tap->aktiv = std::make_shared<std::atomic<bool>>(true);
    const std::uint64_t nummer = tap->nummer;
    auto aktiv = tap->aktiv;
    aufFaden([tap](Faden& f) { f.richteEin(tap); });
    return Marke([this, aktiv, nummer] {
        *aktiv = false;
        aufFaden([nummer](Faden& f) { f.baueAb(nummer); });
    });
}

}  // namespace klebwerk::wayland
