#include "platform/x11/x_verbindung.h"

#include <algorithm>
#include <cstring>
#include <set>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <xcb/shape.h>

#include "basis/protokoll.h"

namespace klebwerk::x11 {

namespace {

constexpr std::uint32_t fensterMaske = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

// The atoms the thread needs from the start; interned in one batch.
const char* const vorabAtome[] = {
    "_NET_CLIENT_LIST_STACKING", "_NET_CLIENT_LIST", "_NET_ACTIVE_WINDOW", "_NET_CURRENT_DESKTOP",
    "_NET_WM_NAME", "WM_NAME", "UTF8_STRING", "STRING", "_NET_WM_PID", "_NET_WM_WINDOW_TYPE",
    "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN", "_NET_WM_DESKTOP", "WM_CLASS", "WM_TRANSIENT_FOR",
    "_NET_FRAME_EXTENTS", "_NET_RESTACK_WINDOW", "_KLEBWERK_ZEIT", "ATOM", "CARDINAL", "WINDOW",
};

std::vector<std::uint32_t> alsZahlen(const XVerbindung::Eigenschaft& e) {
    std::vector<std::uint32_t> zahlen;
    if (!e.gesetzt || e.format != 32) return zahlen;
    zahlen.resize(e.daten.size() / 4);
    // An empty property has no buffer to copy from: memcpy must not see its null pointer.
    if (!zahlen.empty()) std::memcpy(zahlen.data(), e.daten.data(), zahlen.size() * 4);
    return zahlen;
}

}  // namespace

XVerbindung::XVerbindung(const std::string& anzeige) : eigenePid_(static_cast<int>(getpid())) {
    int bildschirm = 0;
    c_ = xcb_connect(anzeige.empty() ? nullptr : anzeige.c_str(), &bildschirm);
    if (!c_ || xcb_connection_has_error(c_)) {
        protokoll("X-Verbindung nicht möglich");
        return;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
    for (int i = 0; i < bildschirm && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) return;
    wurzel_ = it.data->root;

    std::vector<xcb_intern_atom_cookie_t> kekse;
    for (const char* name : vorabAtome) kekse.push_back(xcb_intern_atom(c_, 0, std::strlen(name), name));
    for (size_t i = 0; i < kekse.size(); ++i) {
        if (auto* r = xcb_intern_atom_reply(c_, kekse[i], nullptr)) {
            atome_[vorabAtome[i]] = r->atom;
            atomNamen_[r->atom] = vorabAtome[i];
            free(r);
        }
    }

    helfer_ = xcb_generate_id(c_);
    std::uint32_t werte[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, helfer_, wurzel_, -10, -10, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, werte);
    const char name[] = "Klebwerk X";
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, helfer_, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                        sizeof name - 1, name);
    std::uint32_t pid = static_cast<std::uint32_t>(eigenePid_);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, helfer_, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
    // Substructure events: the root's children and their stacking, so that windows
    // that bypass the window manager are known too.
    std::uint32_t wurzelMaske = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c_, wurzel_, XCB_CW_EVENT_MASK, &wurzelMaske);
    xcb_flush(c_);

    weckFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    verbunden_ = true;
    faden_ = std::thread([this] { lauf(); });
}

XVerbindung::~XVerbindung() {
    ende_ = true;
    wecke();
    if (faden_.joinable()) faden_.join();
    {
        std::lock_guard lock(aufgabenSperre_);
        aufgaben_.clear();
    }
    if (weckFd_ >= 0) close(weckFd_);
    if (c_) xcb_disconnect(c_);
}

bool XVerbindung::verbunden() const { return verbunden_; }

void XVerbindung::wecke() {
    if (weckFd_ < 0) return;
    std::uint64_t eins = 1;
    (void)!write(weckFd_, &eins, sizeof eins);
}

// ---- Atoms and properties ----

// A reply waited for on another thread may have pulled events into xcb's queue,
// where the X thread, asleep in poll, would not see them: wake it to look.
void XVerbindung::nachFremdemWarten() {
    if (!imXFaden()) wecke();
}

xcb_atom_t XVerbindung::atom(const std::string& name) {
    {
        std::lock_guard lock(atomSperre_);
        auto it = atome_.find(name);
        if (it != atome_.end()) return it->second;
    }
    if (!c_ || xcb_connection_has_error(c_)) return XCB_NONE;
    xcb_atom_t a = XCB_NONE;
    if (auto* r = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, name.size(), name.data()), nullptr)) {
        a = r->atom;
        free(r);
    }
    if (a != XCB_NONE) {
        std::lock_guard lock(atomSperre_);
        atome_[name] = a;
        atomNamen_[a] = name;
    }
    nachFremdemWarten();
    return a;
}

std::string XVerbindung::atomName(xcb_atom_t a) {
    if (a == XCB_NONE) return {};
    {
        std::lock_guard lock(atomSperre_);
        auto it = atomNamen_.find(a);
        if (it != atomNamen_.end()) return it->second;
    }
    if (!c_ || xcb_connection_has_error(c_)) return {};
    std::string name;
    if (auto* r = xcb_get_atom_name_reply(c_, xcb_get_atom_name(c_, a), nullptr)) {
        name.assign(xcb_get_atom_name_name(r), xcb_get_atom_name_name_length(r));
        free(r);
    }
    if (!name.empty()) {
        std::lock_guard lock(atomSperre_);
        atome_[name] = a;
        atomNamen_[a] = name;
    }
    nachFremdemWarten();
    return name;
}

XVerbindung::Eigenschaft XVerbindung::lies(xcb_window_t fenster, xcb_atom_t eigenschaft, xcb_atom_t typ,
                                          std::uint32_t hoechstens) {
    Eigenschaft e;
    if (!c_ || eigenschaft == XCB_NONE) return e;
    auto keks = xcb_get_property(c_, 0, fenster, eigenschaft, typ, 0, (hoechstens + 3) / 4);
    xcb_generic_error_t* f = nullptr;
    auto* r = xcb_get_property_reply(c_, keks, &f);
    free(f);  // BadWindow: the window is gone; the property reads as unset
    if (!r) return e;
    if (r->type != XCB_NONE) {
        e.gesetzt = true;
        e.typ = r->type;
        e.format = r->format;
        // The length is in bytes already.
        e.daten.assign(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
        e.rest = r->bytes_after;
    }
    free(r);
    nachFremdemWarten();
    return e;
}

// ---- Snapshot reads ----

std::vector<XFenster> XVerbindung::fenster(bool mitEigenen) const {
    std::lock_guard lock(schnappSperre_);
    if (mitEigenen) return schnappschuss_;
    std::vector<XFenster> liste;
    for (const auto& f : schnappschuss_)
        if (!f.eigenes) liste.push_back(f);
    return liste;
}

std::optional<XFenster> XVerbindung::fensterMit(std::uint32_t id) const {
    std::lock_guard lock(schnappSperre_);
    for (const auto& f : schnappschuss_)
        if (f.id == id) return f;
    return std::nullopt;
}

std::vector<XFenster> XVerbindung::allesAufBildschirm() const {
    std::lock_guard lock(schnappSperre_);
    return schnappAlle_;
}

std::uint32_t XVerbindung::aktivesFenster() const {
    std::lock_guard lock(schnappSperre_);
    return schnappAktiv_;
}

std::uint64_t XVerbindung::stand() const { return schnappStand_; }

bool XVerbindung::gleicheAb(double frist) {
    auto antwort = frage<bool>(
        [this] {
            // One round trip: every event sent before it is in the queue afterwards.
            free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
            leereEreignisse();
            return true;
        },
        frist);
    return antwort.value_or(false);
}

// ---- Registration from any thread ----

void XVerbindung::aufX(std::function<void()> arbeit) {
    if (imXFaden()) {
        arbeit();
        return;
    }
    if (!verbunden()) return;
    {
        std::lock_guard lock(aufgabenSperre_);
        aufgaben_.push_back(std::move(arbeit));
    }
    wecke();
}

Marke XVerbindung::beiEreignis(std::function<bool(const xcb_generic_event_t*)> handler) {
    std::lock_guard lock(rueckrufSperre_);
    auto nr = naechsteNummer_++;
    handler_[nr] = std::move(handler);
    return Marke([this, nr] {
        std::lock_guard lock(rueckrufSperre_);
        handler_.erase(nr);
    });
}

Marke XVerbindung::beobachteFenster(std::function<void(std::uint32_t, FensterAenderung)> rueckruf) {
    std::lock_guard lock(rueckrufSperre_);
    auto nr = naechsteNummer_++;
    beobachter_[nr] = std::move(rueckruf);
    return Marke([this, nr] {
        std::lock_guard lock(rueckrufSperre_);
        beobachter_.erase(nr);
    });
}

Marke XVerbindung::beiLesbar(int fd, std::function<void()> rueckruf) {
    std::uint64_t nr;
    {
        std::lock_guard lock(rueckrufSperre_);
        nr = naechsteNummer_++;
        leser_[nr] = {fd, std::move(rueckruf)};
    }
    wecke();
    return Marke([this, nr] {
        {
            std::lock_guard lock(rueckrufSperre_);
            leser_.erase(nr);
        }
        wecke();
    });
}

Marke XVerbindung::nachX(double sekunden, std::function<void()> arbeit) {
    std::uint64_t nr;
    {
        std::lock_guard lock(rueckrufSperre_);
        nr = naechsteNummer_++;
        auto wann = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(std::max(0.0, sekunden)));
        zeitgeber_.emplace(wann, std::make_pair(nr, std::move(arbeit)));
    }
    wecke();
    return Marke([this, nr] {
        std::lock_guard lock(rueckrufSperre_);
        for (auto it = zeitgeber_.begin(); it != zeitgeber_.end(); ++it) {
            if (it->second.first == nr) {
                zeitgeber_.erase(it);
                break;
            }
        }
    });
}

void XVerbindung::zeitstempel(std::function<void(xcb_timestamp_t)> rueckruf) {
    aufX([this, rueckruf = std::move(rueckruf)]() mutable {
        zeitWartende_.push_back(std::move(rueckruf));
        // Appending nothing still changes the property: the server answers with a
        // PropertyNotify that carries its current time.
        xcb_change_property(c_, XCB_PROP_MODE_APPEND, helfer_, atom("_KLEBWERK_ZEIT"), XCB_ATOM_STRING, 8, 0, "");
        xcb_flush(c_);
    });
}

// ---- Requests to the window manager ----

bool XVerbindung::sendeWmNachricht(std::uint32_t fenster, const char* art, std::uint32_t d0, std::uint32_t d1,
                                   std::uint32_t d2, std::uint32_t d3) {
    if (!verbunden()) return false;
    xcb_atom_t typ = atom(art);
    aufX([=, this] {
        xcb_client_message_event_t n{};
        n.response_type = XCB_CLIENT_MESSAGE;
        n.format = 32;
        n.window = fenster;
        n.type = typ;
        n.data.data32[0] = d0;
        n.data.data32[1] = d1;
        n.data.data32[2] = d2;
        n.data.data32[3] = d3;
        xcb_send_event(c_, 0, wurzel_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&n));
        xcb_flush(c_);
    });
    return true;
}

bool XVerbindung::aktiviereFenster(std::uint32_t id) {
    if (!verbunden() || id == 0) return false;
    zeitstempel([this, id](xcb_timestamp_t zeit) {
        // Source indication 2: a pager-like request on the user's behalf, which the
        // window manager's focus-stealing prevention lets through.
        xcb_client_message_event_t n{};
        n.response_type = XCB_CLIENT_MESSAGE;
        n.format = 32;
        n.window = id;
        n.type = atom("_NET_ACTIVE_WINDOW");
        n.data.data32[0] = 2;
        n.data.data32[1] = zeit;
        n.data.data32[2] = aktiv_;
        xcb_send_event(c_, 0, wurzel_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&n));
        xcb_flush(c_);
    });
    return true;
}

bool XVerbindung::hebeFenster(std::uint32_t id) {
    if (id == 0) return false;
    // Source 2, no sibling, stack mode Above.
    return sendeWmNachricht(id, "_NET_RESTACK_WINDOW", 2, 0, XCB_STACK_MODE_ABOVE, 0);
}

// ---- The thread ----

void XVerbindung::lauf() {
    if (const auto* form = xcb_get_extension_data(c_, &xcb_shape_id); form && form->present)
        formEreignis_ = form->first_event + XCB_SHAPE_NOTIFY;
    liesDesktop();
    liesStapel();
    liesAktiv();
    liesWurzel();
    veroeffentliche();
    xcb_flush(c_);
    int xfd = xcb_get_file_descriptor(c_);
    while (!ende_) {
        fuehreAufgabenAus();
        fuehreZeitgeberAus();
        leereEreignisse();
        if (xcb_connection_has_error(c_)) {
            protokoll("X-Verbindung verloren");
            verbunden_ = false;
            break;
        }
        xcb_flush(c_);

        std::vector<pollfd> fds{{xfd, POLLIN, 0}, {weckFd_, POLLIN, 0}};
        std::vector<std::uint64_t> leserNummern;
        int warte = -1;
        {
            std::lock_guard lock(rueckrufSperre_);
            for (const auto& [nr, leser] : leser_) {
                fds.push_back({leser.first, POLLIN, 0});
                leserNummern.push_back(nr);
            }
            if (!zeitgeber_.empty()) {
                auto bis = zeitgeber_.begin()->first - std::chrono::steady_clock::now();
                warte = static_cast<int>(std::max<long long>(
                    0, std::chrono::duration_cast<std::chrono::milliseconds>(bis).count() + 1));
            }
        }
        {
            std::lock_guard lock(aufgabenSperre_);
            if (!aufgaben_.empty()) warte = 0;
        }
        if (poll(fds.data(), fds.size(), warte) < 0) continue;
        if (fds[1].revents & POLLIN) {
            std::uint64_t zahl;
            (void)!read(weckFd_, &zahl, sizeof zahl);
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            std::lock_guard lock(rueckrufSperre_);
            auto it = leser_.find(leserNummern[i - 2]);
            if (it == leser_.end()) continue;
            auto rueckruf = it->second.second;
            rueckruf();
        }
    }
}

void XVerbindung::fuehreAufgabenAus() {
    std::vector<std::function<void()>> jetzt;
    {
        std::lock_guard lock(aufgabenSperre_);
        jetzt.swap(aufgaben_);
    }
    for (auto& a : jetzt) a();
}

void XVerbindung::fuehreZeitgeberAus() {
    while (true) {
        std::function<void()> arbeit;
        {
            std::lock_guard lock(rueckrufSperre_);
            if (zeitgeber_.empty() || zeitgeber_.begin()->first > std::chrono::steady_clock::now()) return;
            arbeit = std::move(zeitgeber_.begin()->second.second);
            zeitgeber_.erase(zeitgeber_.begin());
        }
        arbeit();
    }
}

void XVerbindung::leereEreignisse() {
    while (true) {
        while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
            verarbeite(e);
            free(e);
        }
        if (!wurzelAlt_) break;
        // Its replies may pull events into xcb's queue, where poll on the socket would
        // not see them: they are handled before the thread sleeps.
        liesWurzel();
    }
    veroeffentliche();
}

void XVerbindung::fehler(const xcb_generic_error_t* f) {
    auto zahl = ++fehlerZahl_;
    // A window that vanished between a list and a request is an everyday race.
    if (f->error_code == XCB_WINDOW || f->error_code == XCB_DRAWABLE) return;
    if (zahl <= 20 || zahl % 1000 == 0) {
        protokoll("X-Fehler " + std::to_string(f->error_code) + " bei Anfrage " + std::to_string(f->major_code) +
                  "." + std::to_string(f->minor_code));
    }
}

void XVerbindung::verarbeite(xcb_generic_event_t* e) {
    std::uint8_t art = e->response_type & 0x7F;
    if (art == 0) {
        fehler(reinterpret_cast<xcb_generic_error_t*>(e));
        return;
    }
    {
        std::lock_guard lock(rueckrufSperre_);
        // A copy: a handler may drop its own token.
        auto handler = handler_;
        for (auto& [nr, h] : handler) {
            if (handler_.count(nr) && h(e)) return;
        }
    }
    if (wurzelEreignis(e)) return;
    switch (art) {
    case XCB_PROPERTY_NOTIFY: {
        auto* p = reinterpret_cast<xcb_property_notify_event_t*>(e);
        if (p->window == helfer_ && p->atom == atom("_KLEBWERK_ZEIT")) {
            if (!zeitWartende_.empty()) {
                auto rueckruf = std::move(zeitWartende_.front());
                zeitWartende_.erase(zeitWartende_.begin());
                rueckruf(p->time);
            }
            return;
        }
        if (p->window == wurzel_) {
            if (p->atom == atom("_NET_CLIENT_LIST_STACKING") || p->atom == atom("_NET_CLIENT_LIST")) liesStapel();
            else if (p->atom == atom("_NET_ACTIVE_WINDOW")) liesAktiv();
            else if (p->atom == atom("_NET_CURRENT_DESKTOP")) liesDesktop();
            return;
        }
        if (!stand_.count(p->window)) return;
        if (p->atom == atom("_NET_WM_NAME") || p->atom == atom("WM_NAME")) {
            liesTitel(p->window);
        } else if (p->atom == atom("_NET_FRAME_EXTENTS")) {
            liesRahmen(p->window);
        } else if (p->atom == atom("_NET_WM_STATE") || p->atom == atom("_NET_WM_DESKTOP") ||
                   p->atom == atom("_NET_WM_WINDOW_TYPE") || p->atom == atom("_NET_WM_PID") ||
                   p->atom == atom("WM_CLASS") || p->atom == atom("WM_TRANSIENT_FOR")) {
            liesZustand(p->window);
        }
        return;
    }
    case XCB_CONFIGURE_NOTIFY: {
        auto* k = reinterpret_cast<xcb_configure_notify_event_t*>(e);
        if (stand_.count(k->window)) liesRahmen(k->window);
        return;
    }
    case XCB_MAP_NOTIFY: {
        auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
        auto it = stand_.find(m->window);
        if (it != stand_.end() && !it->second.abgebildet) {
            it->second.abgebildet = true;
            liesRahmen(m->window);
            liesZustand(m->window);
        }
        return;
    }
    case XCB_UNMAP_NOTIFY: {
        auto* u = reinterpret_cast<xcb_unmap_notify_event_t*>(e);
        auto it = stand_.find(u->window);
        if (it != stand_.end() && it->second.abgebildet) {
            it->second.abgebildet = false;
            liesZustand(u->window);
        }
        return;
    }
    case XCB_DESTROY_NOTIFY: {
        auto* d = reinterpret_cast<xcb_destroy_notify_event_t*>(e);
        if (stand_.count(d->window)) {
            stapel_.erase(std::remove(stapel_.begin(), stapel_.end(), d->window), stapel_.end());
            entferneFenster(d->window);
        }
        return;
    }
    default:
        return;
    }
}

void XVerbindung::liesStapel() {
    auto e = lies(wurzel_, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW);
    if (!e.gesetzt) e = lies(wurzel_, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    std::vector<std::uint32_t> neu = vonVorn(alsZahlen(e));
    std::set<std::uint32_t> drin(neu.begin(), neu.end());
    for (auto it = stand_.begin(); it != stand_.end();) {
        std::uint32_t id = it->first;
        ++it;
        if (!drin.count(id)) entferneFenster(id);
    }
    for (std::uint32_t id : neu)
        if (!stand_.count(id)) neuesFenster(id);
    if (neu != stapel_) {
        stapel_ = std::move(neu);
        geaendert_ = true;
    }
}

void XVerbindung::liesAktiv() {
    auto zahlen = alsZahlen(lies(wurzel_, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW));
    std::uint32_t neu = zahlen.empty() ? 0 : zahlen[0];
    if (neu != aktiv_) {
        aktiv_ = neu;
        geaendert_ = true;
    }
}

void XVerbindung::liesDesktop() {
    auto zahlen = alsZahlen(lies(wurzel_, atom("_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL));
    std::int64_t neu = zahlen.empty() ? -1 : zahlen[0];
    if (neu == aktuellerDesktop_) return;
    aktuellerDesktop_ = neu;
    for (auto& [id, f] : stand_) {
        bool sichtbar = aufBildschirm(f.abgebildet, f.versteckt, f.desktop, aktuellerDesktop_);
        if (sichtbar != f.sichtbar) {
            f.sichtbar = sichtbar;
            melde(id, FensterAenderung::zustand);
        }
    }
    geaendert_ = true;
}

void XVerbindung::neuesFenster(std::uint32_t id) {
    // Events first, then the reads: a change after a read is never missed.
    xcb_change_window_attributes(c_, id, XCB_CW_EVENT_MASK, &fensterMaske);
    XFenster f;
    f.id = id;
    auto keks = xcb_get_window_attributes(c_, id);
    if (auto* r = xcb_get_window_attributes_reply(c_, keks, nullptr)) {
        f.abgebildet = r->map_state != XCB_MAP_STATE_UNMAPPED;
        free(r);
    }
    stand_[id] = f;
    liesHuelle(id);
    liesZustand(id);
    liesTitel(id);
    liesRahmen(id);
    melde(id, FensterAenderung::neu);
}

void XVerbindung::liesTitel(std::uint32_t id) {
    auto it = stand_.find(id);
    if (it == stand_.end()) return;
    auto netz = lies(id, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
    auto alt = lies(id, XCB_ATOM_WM_NAME);
    std::string titel = fenstertitel(netz.daten, netz.gesetzt, alt.daten, alt.typ == XCB_ATOM_STRING);
    if (titel != it->second.titel) {
        it->second.titel = titel;
        geaendert_ = true;
        melde(id, FensterAenderung::titel);
    }
}

void XVerbindung::liesRahmen(std::uint32_t id) {
    auto it = stand_.find(id);
    if (it == stand_.end()) return;
    auto gKeks = xcb_get_geometry(c_, id);
    auto tKeks = xcb_translate_coordinates(c_, id, wurzel_, 0, 0);
    auto* g = xcb_get_geometry_reply(c_, gKeks, nullptr);
    auto* t = xcb_translate_coordinates_reply(c_, tKeks, nullptr);
    auto rand = alsZahlen(lies(id, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL));
    if (g && t) {
        Rechteck r{double(t->dst_x), double(t->dst_y), double(g->width), double(g->height)};
        Rechteck aussen = r;
        if (rand.size() == 4) {  // left, right, top, bottom
            aussen = {r.x - rand[0], r.y - rand[2], r.breite + rand[0] + rand[1], r.hoehe + rand[2] + rand[3]};
        }
        if (r != it->second.rahmen || aussen != it->second.aussen) {
            it->second.rahmen = r;
            it->second.aussen = aussen;
            geaendert_ = true;
            melde(id, FensterAenderung::rahmen);
        }
    }
    free(g);
    free(t);
}

void XVerbindung::liesZustand(std::uint32_t id) {
    auto it = stand_.find(id);
    if (it == stand_.end()) return;
    XFenster& f = it->second;
    XFenster vorher = f;

    auto pid = alsZahlen(lies(id, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL));
    f.pid = pid.empty() ? 0 : static_cast<int>(pid[0]);
    f.eigenes = f.pid == eigenePid_;
    f.klasse = fensterklasse(lies(id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).daten);
    auto transient = alsZahlen(lies(id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW));
    f.transientFuer = transient.empty() ? 0 : transient[0];
    std::vector<std::string> typen;
    for (std::uint32_t a : alsZahlen(lies(id, atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM))) typen.push_back(atomName(a));
    f.art = fensterart(typen, f.transientFuer != 0);
    f.schicht = schichtFuer(f.art);
    auto zustand = alsZahlen(lies(id, atom("_NET_WM_STATE"), XCB_ATOM_ATOM));
    f.versteckt = std::find(zustand.begin(), zustand.end(), atom("_NET_WM_STATE_HIDDEN")) != zustand.end();
    auto desktop = alsZahlen(lies(id, atom("_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL));
    f.desktop = desktop.empty() ? -1 : std::int64_t(desktop[0]);
    f.sichtbar = aufBildschirm(f.abgebildet, f.versteckt, f.desktop, aktuellerDesktop_);

    if (f.pid != vorher.pid || f.klasse != vorher.klasse || f.art != vorher.art || f.versteckt != vorher.versteckt ||
        f.desktop != vorher.desktop || f.sichtbar != vorher.sichtbar || f.abgebildet != vorher.abgebildet ||
        f.transientFuer != vorher.transientFuer) {
        geaendert_ = true;
        melde(id, FensterAenderung::zustand);
    }
}

void XVerbindung::entferneFenster(std::uint32_t id) {
    if (!stand_.erase(id)) return;
    // Stop listening; the window may be gone already (a harmless BadWindow).
    std::uint32_t keine = 0;
    xcb_change_window_attributes(c_, id, XCB_CW_EVENT_MASK, &keine);
    geaendert_ = true;
    melde(id, FensterAenderung::zerstoert);
}

void XVerbindung::liesHuelle(std::uint32_t id) {
    auto it = stand_.find(id);
    if (it == stand_.end()) return;
    std::uint32_t fenster = id;
    // Up to the root's child: the frame is rarely more than two levels above.
    for (int i = 0; i < 8; ++i) {
        auto* r = xcb_query_tree_reply(c_, xcb_query_tree(c_, fenster), nullptr);
        if (!r) return;
        const std::uint32_t eltern = r->parent;
        free(r);
        if (eltern == wurzel_ || eltern == XCB_NONE) break;
        fenster = eltern;
    }
    if (it->second.huelle != fenster) {
        it->second.huelle = fenster;
        geaendert_ = true;
    }
}

namespace {
// Whether a window takes no pointer input at all (an empty input shape).
bool ohneEingabe(xcb_connection_t* c, std::uint32_t fenster) {
    auto* r = xcb_shape_get_rectangles_reply(c, xcb_shape_get_rectangles(c, fenster, XCB_SHAPE_SK_INPUT), nullptr);
    if (!r) return false;
    const bool leer = r->rectangles_len == 0;
    free(r);
    return leer;
}
}  // namespace

void XVerbindung::neueUeberlagerung(std::uint32_t id, bool abgebildet) {
    XFenster f;
    f.id = id;
    f.art = ueberlagerungsArt;
    f.schicht = ueberlagerungsSchicht;
    f.abgebildet = abgebildet;
    auto* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, id), nullptr);
    if (g) {
        f.rahmen = {double(g->x), double(g->y), double(g->width), double(g->height)};
        f.aussen = f.rahmen;
        free(g);
    }
    auto pid = alsZahlen(lies(id, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL));
    f.pid = pid.empty() ? 0 : static_cast<int>(pid[0]);
    f.eigenes = f.pid == eigenePid_;
    auto netz = lies(id, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
    auto alt = lies(id, XCB_ATOM_WM_NAME);
    f.titel = fenstertitel(netz.daten, netz.gesetzt, alt.daten, alt.typ == XCB_ATOM_STRING);
    f.klasse = fensterklasse(lies(id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).daten);
    f.huelle = id;
    // A change of its input shape (a window made transparent for input) comes as an event.
    if (formEreignis_) xcb_shape_select_input(c_, id, 1);
    ueberlagerungen_[id] = f;
}

// The root's children in the server's stacking order, and which of them bypass the
// window manager. One round trip, plus one per child not seen before.
void XVerbindung::liesWurzel() {
    wurzelAlt_ = false;
    auto* r = xcb_query_tree_reply(c_, xcb_query_tree(c_, wurzel_), nullptr);
    if (!r) return;
    const xcb_window_t* kinder = xcb_query_tree_children(r);
    std::vector<std::uint32_t> neu(kinder, kinder + xcb_query_tree_children_length(r));
    free(r);
    std::reverse(neu.begin(), neu.end());  // the server lists bottom to top
    std::set<std::uint32_t> drin(neu.begin(), neu.end());
    for (auto it = ueberlagerungen_.begin(); it != ueberlagerungen_.end();) {
        it = drin.count(it->first) ? std::next(it) : ueberlagerungen_.erase(it);
    }
    std::set<std::uint32_t> bekannt(wurzelKinder_.begin(), wurzelKinder_.end());
    for (std::uint32_t id : neu) {
        if (bekannt.count(id) || ueberlagerungen_.count(id) || id == helfer_) continue;
        auto* a = xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, id), nullptr);
        if (!a) continue;
        const bool umgeht = a->override_redirect;
        const bool abgebildet = a->map_state == XCB_MAP_STATE_VIEWABLE;
        free(a);
        if (umgeht) neueUeberlagerung(id, abgebildet);
    }
    for (auto& [id, f] : ueberlagerungen_) {
        if (f.abgebildet) f.sichtbar = !ohneEingabe(c_, id);
    }
    wurzelKinder_ = std::move(neu);
    geaendert_ = true;
}

// Structure events of the root's children (its substructure); true when handled here.
bool XVerbindung::wurzelEreignis(xcb_generic_event_t* e) {
    if (formEreignis_ && (e->response_type & 0x7F) == formEreignis_) {
        wurzelAlt_ = true;
        return true;
    }
    switch (e->response_type & 0x7F) {
    case XCB_CREATE_NOTIFY: {
        auto* n = reinterpret_cast<xcb_create_notify_event_t*>(e);
        if (n->parent != wurzel_) return false;
        wurzelAlt_ = true;
        return true;
    }
    case XCB_MAP_NOTIFY: {
        auto* n = reinterpret_cast<xcb_map_notify_event_t*>(e);
        if (n->event != wurzel_) return false;
        // Read anew: a window first seen at its creation may have got its process and
        // title only just before it was mapped.
        if (n->override_redirect || ueberlagerungen_.count(n->window)) neueUeberlagerung(n->window, true);
        wurzelAlt_ = true;
        return true;
    }
    case XCB_UNMAP_NOTIFY: {
        auto* n = reinterpret_cast<xcb_unmap_notify_event_t*>(e);
        if (n->event != wurzel_) return false;
        if (auto it = ueberlagerungen_.find(n->window); it != ueberlagerungen_.end()) {
            it->second.abgebildet = false;
            it->second.sichtbar = false;
        }
        wurzelAlt_ = true;
        return true;
    }
    case XCB_CONFIGURE_NOTIFY: {
        auto* n = reinterpret_cast<xcb_configure_notify_event_t*>(e);
        if (n->event != wurzel_) return false;
        if (auto it = ueberlagerungen_.find(n->window); it != ueberlagerungen_.end()) {
            it->second.rahmen = {double(n->x), double(n->y), double(n->width), double(n->height)};
            it->second.aussen = it->second.rahmen;
        }
        wurzelAlt_ = true;
        return true;
    }
    case XCB_DESTROY_NOTIFY: {
        auto* n = reinterpret_cast<xcb_destroy_notify_event_t*>(e);
        if (n->event != wurzel_) return false;
        ueberlagerungen_.erase(n->window);
        wurzelAlt_ = true;
        return true;
    }
    case XCB_REPARENT_NOTIFY: {
        auto* n = reinterpret_cast<xcb_reparent_notify_event_t*>(e);
        if (n->event == wurzel_) {
            if (n->parent != wurzel_) ueberlagerungen_.erase(n->window);
            wurzelAlt_ = true;
            return true;
        }
        // A managed window moved into (or out of) the window manager's frame.
        if (stand_.count(n->window)) {
            liesHuelle(n->window);
            wurzelAlt_ = true;
            return true;
        }
        return false;
    }
    case XCB_CIRCULATE_NOTIFY: {
        auto* n = reinterpret_cast<xcb_circulate_notify_event_t*>(e);
        if (n->event != wurzel_) return false;
        wurzelAlt_ = true;
        return true;
    }
    case XCB_GRAVITY_NOTIFY:
        return reinterpret_cast<xcb_gravity_notify_event_t*>(e)->event == wurzel_;
    default:
        return false;
    }
}

void XVerbindung::melde(std::uint32_t id, FensterAenderung a) { meldungen_.emplace_back(id, a); }

void XVerbindung::veroeffentliche() {
    if (geaendert_) {
        std::vector<XFenster> liste;
        liste.reserve(stapel_.size());
        for (std::uint32_t id : stapel_) {
            auto it = stand_.find(id);
            if (it != stand_.end()) liste.push_back(it->second);
        }
        // Everything on screen in the server's stacking order: the managed windows by
        // the root's child that holds them, the override-redirect ones in between.
        std::vector<XFenster> alle;
        std::set<std::uint32_t> gesetzt;
        for (std::uint32_t kind : wurzelKinder_) {
            bool haelt = false;
            for (const XFenster& f : liste) {
                if (f.huelle != kind) continue;
                haelt = true;
                if (f.sichtbar) alle.push_back(f);
                gesetzt.insert(f.id);
            }
            auto u = ueberlagerungen_.find(kind);
            if (!haelt && u != ueberlagerungen_.end() && u->second.sichtbar) alle.push_back(u->second);
        }
        for (const XFenster& f : liste)
            if (f.sichtbar && !gesetzt.count(f.id)) alle.push_back(f);
        {
            std::lock_guard lock(schnappSperre_);
            schnappschuss_ = std::move(liste);
            schnappAlle_ = std::move(alle);
            schnappAktiv_ = aktiv_;
        }
        ++schnappStand_;
        geaendert_ = false;
    }
    if (meldungen_.empty()) return;
    auto meldungen = std::move(meldungen_);
    meldungen_.clear();
    std::lock_guard lock(rueckrufSperre_);
    auto beobachter = beobachter_;
    for (const auto& [id, a] : meldungen) {
        for (auto& [nr, b] : beobachter)
            if (beobachter_.count(nr)) b(id, a);
    }
}

}  // namespace klebwerk::x11
