#include "platform/x11/x11_eingabe.h"

#include <algorithm>
#include <chrono>

#include <xcb/xinput.h>
#include <xcb/xtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/x11/zeiger_roh.h"

namespace klebwerk::x11 {

namespace {
std::int64_t stetigJetzt() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
// The pointer buttons in a core state mask (Button1Mask … Button5Mask).
constexpr std::uint16_t knopfMasken = 0x1F00;
}  // namespace

X11Eingabe::X11Eingabe(XVerbindung& x, XTastatur& tastatur)
    : x_(x), tastatur_(tastatur), letzteBewegung_(stetigJetzt()) {
    if (!x_.verbunden()) return;
    ereignisMarke_ = x_.beiEreignis([this](const xcb_generic_event_t* e) { return rohesEreignis(e); });
    x_.aufX([this] {
        xcb_connection_t* c = x_.xcb();
        const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_input_id);
        if (!ext || !ext->present) return;
        auto* v = xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, xiHaupt, xiNeben), nullptr);
        // Raw events reach every client that selected them only from XInput 2.1 on.
        const bool roh = v && (v->major_version > 2 || (v->major_version == 2 && v->minor_version >= 1));
        free(v);
        if (!roh) return;
        xiOpcode_ = ext->major_opcode;
        struct {
            xcb_input_event_mask_t kopf;
            std::uint32_t bits;
        } maske{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, zeigerRohMaske};
        xcb_input_xi_select_events(c, x_.wurzel(), 1, &maske.kopf);
        xcb_flush(c);
    });
}

X11Eingabe::~X11Eingabe() { ereignisMarke_.aufheben(); }

void X11Eingabe::merkeBewegung() { letzteBewegung_ = stetigJetzt(); }

// X thread: the pointer's raw motion; never taken from the other handlers.
bool X11Eingabe::rohesEreignis(const xcb_generic_event_t* e) {
    if ((e->response_type & 0x7F) != XCB_GE_GENERIC || xiOpcode_ == 0) return false;
    auto* g = reinterpret_cast<const xcb_ge_generic_event_t*>(e);
    if (g->extension == xiOpcode_ && g->event_type == XCB_INPUT_RAW_MOTION) merkeBewegung();
    return false;
}

bool ignoriertGesendeteTasten(const FensterKlasse& klasse) {
    // xterm and its relatives refuse sent events unless told otherwise (allowSendEvents).
    static const char* const liste[] = {"XTerm", "UXTerm", "xterm", "uxterm", "Rxvt", "URxvt"};
    return std::any_of(std::begin(liste), std::end(liste),
                       [&](const char* k) { return klasse.klasse == k || klasse.instanz == k; });
}

namespace {

struct Modifikatoren {
    std::vector<std::uint8_t> tasten;  // keycodes to hold, in order
    std::uint16_t maske = 0;           // the X state they give
};

}  // namespace

static Modifikatoren modifikatorenFuer(XTastatur& t, std::uint64_t flaggen, bool umschalt) {
    Modifikatoren m;
    auto dazu = [&](std::uint32_t keysym, std::uint16_t bit) {
        if (auto k = t.tasteFuer(keysym)) {
            m.tasten.push_back(k->keycode);
            m.maske |= bit;
        }
    };
    if ((flaggen & flagge::umschalt) || umschalt) dazu(XKB_KEY_Shift_L, t.shiftMaske());
    // ⌘ is Control on this desktop; asked for both, Control is held once.
    if (flaggen & (flagge::control | flagge::befehl)) dazu(XKB_KEY_Control_L, t.controlMaske());
    if (flaggen & flagge::option) dazu(XKB_KEY_Alt_L, t.altMaske());
    return m;
}

void X11Eingabe::merkeWeg(const char* weg) {
    std::lock_guard lock(wegSperre_);
    letzterWeg_ = weg;
}

std::string X11Eingabe::letzterWeg() const {
    std::lock_guard lock(wegSperre_);
    return letzterWeg_;
}

void X11Eingabe::perXTest(std::uint16_t code, std::uint64_t flaggen) {
    auto t = tastatur_.tasteFuerCode(code);
    if (!t) return;
    xcb_connection_t* c = x_.xcb();
    Modifikatoren m = modifikatorenFuer(tastatur_, flaggen, t->umschalt);
    for (auto k : m.tasten) xcb_test_fake_input(c, XCB_KEY_PRESS, k, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_KEY_PRESS, t->keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_KEY_RELEASE, t->keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    for (auto it = m.tasten.rbegin(); it != m.tasten.rend(); ++it)
        xcb_test_fake_input(c, XCB_KEY_RELEASE, *it, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_flush(c);
}

void X11Eingabe::gesendet(std::uint32_t fenster, std::uint16_t code, std::uint64_t flaggen) {
    auto t = tastatur_.tasteFuerCode(code);
    if (!t) return;
    Modifikatoren m = modifikatorenFuer(tastatur_, flaggen, t->umschalt);
    xcb_connection_t* c = x_.xcb();
    for (std::uint8_t art : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
        xcb_key_press_event_t e{};
        e.response_type = art;
        e.detail = t->keycode;
        e.time = XCB_CURRENT_TIME;
        e.root = x_.wurzel();
        e.event = fenster;
        e.child = XCB_NONE;
        e.same_screen = 1;
        e.state = m.maske;
        xcb_send_event(c, 1, fenster, art == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE,
                       reinterpret_cast<const char*>(&e));
    }
    xcb_flush(c);
}

// Waits on the X thread (in steps, never blocking it) until the window is active,
// then types; after about a second it types all the same.
void X11Eingabe::nachAktivierung(std::uint32_t fenster, std::uint16_t code, std::uint64_t flaggen, int versuche) {
    if (x_.aktivesFenster() == fenster || versuche <= 0) {
        perXTest(code, flaggen);
        return;
    }
    auto marke = std::make_shared<Marke>();
    *marke = x_.nachX(0.02, [this, fenster, code, flaggen, versuche, marke] {
        nachAktivierung(fenster, code, flaggen, versuche - 1);
    });
}

void X11Eingabe::taste(std::uint16_t code, std::uint64_t flaggen, std::optional<int> pid) {
    if (!x_.verbunden()) return;
    x_.aufX([this, code, flaggen, pid] {
        if (!pid) {
            merkeWeg("xtest");
            perXTest(code, flaggen);
            return;
        }
        auto aktiv = x_.fensterMit(x_.aktivesFenster());
        if (aktiv && aktiv->pid == *pid) {
            merkeWeg("xtest");
            perXTest(code, flaggen);
            return;
        }
        std::optional<XFenster> ziel;
        for (const auto& f : x_.fenster())
            if (f.pid == *pid && f.sichtbar && f.schicht == 0) {
                ziel = f;
                break;
            }
        if (!ziel) return;  // no window of that application to take the key
        if (ignoriertGesendeteTasten(ziel->klasse)) {
            merkeWeg("aktiviert");
            x_.aktiviereFenster(ziel->id);
            nachAktivierung(ziel->id, code, flaggen, 50);
            return;
        }
        merkeWeg("gesendet");
        gesendet(ziel->id, code, flaggen);
    });
}

void X11Eingabe::maus(Maustaste taste, bool runter, Punkt wo) {
    if (!x_.verbunden()) return;
    x_.aufX([this, taste, runter, wo] {
        xcb_connection_t* c = x_.xcb();
        xcb_test_fake_input(c, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, x_.wurzel(), static_cast<std::int16_t>(wo.x),
                            static_cast<std::int16_t>(wo.y), 0);
        xcb_test_fake_input(c, runter ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, taste == Maustaste::links ? 1 : 3,
                            XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(c);
    });
}

void X11Eingabe::bewegeZeiger(Punkt wo) {
    if (!x_.verbunden()) return;
    // A warp is no device motion: it is timed here, as the mouse-moved event it stands for.
    merkeBewegung();
    x_.aufX([this, wo] {
        xcb_warp_pointer(x_.xcb(), XCB_NONE, x_.wurzel(), 0, 0, 0, 0, static_cast<std::int16_t>(wo.x),
                         static_cast<std::int16_t>(wo.y));
        xcb_flush(x_.xcb());
    });
}

Punkt X11Eingabe::zeiger() {
    return x_.frage<Punkt>(
                 [this] {
                     Punkt p;
                     xcb_connection_t* c = x_.xcb();
                     if (auto* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, x_.wurzel()), nullptr)) {
                         p = {double(r->root_x), double(r->root_y)};
                         free(r);
                     }
                     return p;
                 },
                 0.5)
        .value_or(Punkt{});
}

double X11Eingabe::zeigerRuhe() { return double(stetigJetzt() - letzteBewegung_.load()) / 1e9; }

bool X11Eingabe::maustasteGehalten() {
    return x_.frage<bool>(
                 [this] {
                     bool gehalten = false;
                     xcb_connection_t* c = x_.xcb();
                     if (auto* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, x_.wurzel()), nullptr)) {
                         gehalten = (r->mask & knopfMasken) != 0;
                         free(r);
                     }
                     return gehalten;
                 },
                 0.5)
        // Unknown counts as held: the pointer is left alone.
        .value_or(true);
}

std::uint64_t X11Eingabe::gehalteneFlaggen() {
    return x_.frage<std::uint64_t>(
                 [this] {
                     std::uint64_t f = 0;
                     xcb_connection_t* c = x_.xcb();
                     if (auto* r = xcb_query_pointer_reply(c, xcb_query_pointer(c, x_.wurzel()), nullptr)) {
                         f = tastatur_.flaggenAus(r->mask);
                         free(r);
                     }
                     return f;
                 },
                 0.5)
        .value_or(0);
}

std::uint64_t X11Eingabe::eigeneFlaggen(std::uint64_t flaggen) {
    // As `modifikatorenFuer` presses them: ⌘ and ⌃ both as Control.
    std::uint64_t f = flaggen & (flagge::umschalt | flagge::option);
    if (flaggen & (flagge::control | flagge::befehl)) f |= flagge::control;
    return f;
}

std::string X11Eingabe::zeichen(std::uint16_t code) {
    return x_.frage<std::string>([this, code] { return tastatur_.zeichen(code); }, 0.5).value_or(std::string());
}

}  // namespace klebwerk::x11
