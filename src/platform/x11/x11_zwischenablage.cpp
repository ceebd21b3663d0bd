#include "platform/x11/x11_zwischenablage.h"

#include <algorithm>
#include <cstring>
#include <future>

#include <xcb/xfixes.h>

namespace klebwerk::x11 {

std::vector<std::string> inhaltsZiele(const std::vector<std::string>& ziele) {
    static const std::set<std::string> ohneInhalt{"TARGETS",          "MULTIPLE",        "TIMESTAMP",
                                                  "DELETE",           "INSERT_SELECTION", "INSERT_PROPERTY",
                                                  "SAVE_TARGETS",     ""};
    std::vector<std::string> aus;
    std::set<std::string> gesehen;
    for (const auto& z : ziele)
        if (!ohneInhalt.count(z) && gesehen.insert(z).second) aus.push_back(z);
    return aus;
}

AblageEintrag mitXZielen(const AblageEintrag& eintrag) {
    struct Zuordnung {
        const char* typ;
        std::vector<const char*> ziele;
    };
    static const Zuordnung tabelle[] = {
        {"public.png", {"image/png"}},
        {"public.jpeg", {"image/jpeg"}},
        {"public.tiff", {"image/tiff"}},
        {"public.html", {"text/html"}},
        {"public.rtf", {"text/rtf"}},
        {"public.utf8-plain-text", {"UTF8_STRING", "text/plain;charset=utf-8"}},
        {"public.file-url", {"text/uri-list"}},
        {"public.url", {"text/uri-list"}},
    };
    // Each X target follows the type it comes from, so that the order stays the item's.
    AblageEintrag aus;
    for (const auto& [typ, daten] : eintrag) {
        aus.emplace_back(typ, daten);
        for (const auto& z : tabelle) {
            if (typ != z.typ) continue;
            for (const char* ziel : z.ziele) {
                if (datenVon(eintrag, ziel) || datenVon(aus, ziel)) continue;
                std::string wert = daten;
                if (std::string(ziel) == "text/uri-list" && (wert.size() < 2 || wert.compare(wert.size() - 2, 2, "\r\n") != 0))
                    wert += "\r\n";
                aus.emplace_back(ziel, std::move(wert));
            }
        }
    }
    return aus;
}

// One read of the whole clipboard on the X thread: first TARGETS, then each target
// in turn, each either in one property or in increments.
struct X11Zwischenablage::Lesung {
    std::function<void(AblageLesung)> fertig;  // run on the main thread
    bool erfuellt = false;
    // Set on the main thread when the token is dropped; read on both threads.
    std::shared_ptr<std::atomic<bool>> abgebrochen = std::make_shared<std::atomic<bool>>(false);
    bool zieleGelesen = false;
    std::vector<std::string> ziele;
    size_t naechstes = 0;
    std::string ziel;  // the target being read
    AblageEintrag ergebnis;
    std::map<std::string, Art> arten;
    bool inkrementell = false;
    std::string puffer;
    Art pufferArt;
    xcb_timestamp_t zeit = XCB_CURRENT_TIME;
    Marke wache;
};

// One value sent in increments to one requestor.
struct X11Zwischenablage::Sendung {
    xcb_window_t fenster = 0;
    xcb_atom_t eigenschaft = XCB_NONE;
    std::shared_ptr<const AblageEintrag> inhalt;
    const std::string* daten = nullptr;
    size_t versandt = 0;
    bool fertig = false;  // the closing empty piece is out
    Art art;
    Marke wache;
};

namespace {

std::string holeUndLoesche(xcb_connection_t* c, xcb_window_t fenster, xcb_atom_t eigenschaft, xcb_atom_t& typ,
                           int& format) {
    std::string daten;
    auto* r = xcb_get_property_reply(
        c, xcb_get_property(c, 1, fenster, eigenschaft, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4), nullptr);
    typ = XCB_NONE;
    format = 8;
    if (!r) return daten;
    typ = r->type;
    format = r->format ? r->format : 8;
    daten.assign(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
    free(r);
    return daten;
}

}  // namespace

X11Zwischenablage::X11Zwischenablage(XVerbindung& x, Laufschleife& schleife) : x_(x), schleife_(schleife) {
    if (!x_.verbunden()) return;
    verwalter_ = x_.atom("CLIPBOARD_MANAGER");
    sichereZiele_ = x_.atom("SAVE_TARGETS");
    sichernEigenschaft_ = x_.atom("_KLEBWERK_SICHERN");
    clipboard_ = x_.atom("CLIPBOARD");
    targets_ = x_.atom("TARGETS");
    incr_ = x_.atom("INCR");
    multiple_ = x_.atom("MULTIPLE");
    timestamp_ = x_.atom("TIMESTAMP");
    atomPair_ = x_.atom("ATOM_PAIR");
    eigenschaft_ = x_.atom("_KLEBWERK_AUSWAHL");
    ereignisMarke_ = x_.beiEreignis([this](const xcb_generic_event_t* e) { return ereignis(e); });
    x_.frage<bool>(
        [this] {
            xcb_connection_t* c = x_.xcb();
            // Values beyond one piece go in increments; a piece stays well inside a request.
            std::uint32_t groesste = xcb_get_maximum_request_length(c) * 4;
            stueck_ = std::min<std::uint32_t>(256 * 1024, groesste > 4096 ? groesste - 1024 : 4096);
            const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_xfixes_id);
            if (ext && ext->present) {
                free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr));
                xfixesErstes_ = ext->first_event;
                xfixes_ = true;
                xcb_xfixes_select_selection_input(c, x_.helfer(), clipboard_,
                                                  XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                                      XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                                      XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
                xcb_flush(c);
            }
            return true;
        },
        2.0);
}

X11Zwischenablage::~X11Zwischenablage() {
    ereignisMarke_.aufheben();
    // Ends what is in flight on the X thread; after this no callback of it runs.
    x_.frage<bool>(
        [this] {
            ende_ = true;
            // Nobody hears of reads still under way: their tokens belong to a gone user.
            if (lesung_) lesung_->wache.aufheben();
            lesung_.reset();
            warteschlange_.clear();
            sendungen_.clear();
            if (uebergabe_) uebergabe_->set_value({false, "die Zwischenablage wird geschlossen"});
            uebergabe_.reset();
            return true;
        },
        2.0);
}

// ---- Own contents ----

void X11Zwischenablage::uebernimm(AblageEintrag inhalt) {
    {
        std::lock_guard lock(sperre_);
        eigen_ = true;
        inhalt_ = std::make_shared<const AblageEintrag>(std::move(inhalt));
    }
    ++zaehler_;
    ++ausstehend_;
}

bool X11Zwischenablage::schreibe(const std::vector<AblageEintrag>& eintraege) {
    if (!x_.verbunden()) return false;
    // One item on X11: the first goes on whole, the others are left out.
    uebernimm(eintraege.empty() ? AblageEintrag{} : mitXZielen(eintraege.front()));
    auto versprechen = std::make_shared<std::promise<bool>>();
    auto ergebnis = versprechen->get_future();
    x_.zeitstempel([this, versprechen](xcb_timestamp_t zeit) {
        if (ende_) {
            versprechen->set_value(false);
            return;
        }
        xcb_connection_t* c = x_.xcb();
        eigeneZeiten_.insert(zeit);
        besitzZeit_ = zeit;
        xcb_set_selection_owner(c, x_.helfer(), clipboard_, zeit);
        bool gut = false;
        if (auto* r = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard_), nullptr)) {
            gut = r->owner == x_.helfer();
            free(r);
        }
        --ausstehend_;
        if (!gut) {
            eigeneZeiten_.erase(zeit);
            std::lock_guard lock(sperre_);
            if (ausstehend_ == 0) {
                eigen_ = false;
                inhalt_.reset();
            }
        }
        versprechen->set_value(gut);
    });
    if (ergebnis.wait_for(std::chrono::seconds(1)) != std::future_status::ready) return true;  // still on its way
    return ergebnis.get();
}

void X11Zwischenablage::leere() { schreibe({}); }

// ---- Events on the X thread ----

bool X11Zwischenablage::ereignis(const xcb_generic_event_t* e) {
    std::uint8_t art = e->response_type & 0x7F;
    if (xfixes_ && art == xfixesErstes_ + XCB_XFIXES_SELECTION_NOTIFY) {
        auto* n = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(e);
        if (n->selection != clipboard_) return false;
        // Our own ownership was counted when it was written.
        bool eigene = n->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER && n->owner == x_.helfer() &&
                      eigeneZeiten_.erase(n->selection_timestamp);
        if (!eigene) ++zaehler_;
        return true;
    }
    switch (art) {
    case XCB_SELECTION_REQUEST: {
        auto* a = reinterpret_cast<const xcb_selection_request_event_t*>(e);
        if (a->selection != clipboard_ || a->owner != x_.helfer()) return false;
        beantworte(a);
        return true;
    }
    case XCB_SELECTION_CLEAR: {
        auto* k = reinterpret_cast<const xcb_selection_clear_event_t*>(e);
        if (k->selection != clipboard_ || k->owner != x_.helfer()) return false;
        std::lock_guard lock(sperre_);
        // A write of ours still on its way takes the clipboard back at once.
        if (ausstehend_ == 0) {
            eigen_ = false;
            inhalt_.reset();
        }
        return true;
    }
    case XCB_SELECTION_NOTIFY: {
        auto* n = reinterpret_cast<const xcb_selection_notify_event_t*>(e);
        if (n->requestor == x_.helfer() && n->selection == verwalter_) {
            // The manager's answer: it has the contents, or refused them.
            if (uebergabe_) {
                if (n->property == XCB_NONE) uebergabe_->set_value({false, "die Ablageverwaltung hat abgelehnt"});
                else uebergabe_->set_value({true, {}});
                uebergabe_.reset();
            }
            return true;
        }
        if (n->requestor != x_.helfer() || n->selection != clipboard_) return false;
        if (!lesung_) return true;
        if (n->property == XCB_NONE) {
            // An owner that names no targets cannot be read; a refused target is left out.
            if (!lesung_->zieleGelesen) beendeLesung(lesung_, "der Besitzer der Zwischenablage nennt keine Typen");
            else naechstesZiel(lesung_);
        } else {
            empfange(lesung_, n->property);
        }
        return true;
    }
    case XCB_PROPERTY_NOTIFY: {
        auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
        if (p->window == x_.helfer() && p->atom == eigenschaft_) {
            if (p->state == XCB_PROPERTY_NEW_VALUE && lesung_ && lesung_->inkrementell) empfange(lesung_, eigenschaft_);
            return true;
        }
        auto it = sendungen_.find({p->window, p->atom});
        if (it == sendungen_.end() || p->state != XCB_PROPERTY_DELETE) return false;
        sendeWeiter(*it->second);
        if (it->second->fertig) {
            std::uint32_t keine = 0;
            if (!x_.fensterMit(p->window)) xcb_change_window_attributes(x_.xcb(), p->window, XCB_CW_EVENT_MASK, &keine);
            sendungen_.erase(it);
        }
        return true;
    }
    default:
        return false;
    }
}

// ---- Serving our contents ----

void X11Zwischenablage::beantworte(const xcb_selection_request_event_t* a) {
    xcb_connection_t* c = x_.xcb();
    xcb_selection_notify_event_t antwort{};
    antwort.response_type = XCB_SELECTION_NOTIFY;
    antwort.time = a->time;
    antwort.requestor = a->requestor;
    antwort.selection = a->selection;
    antwort.target = a->target;
    antwort.property = XCB_NONE;
    // Obsolete requestors name no property: the target's name serves.
    xcb_atom_t eigenschaft = a->property == XCB_NONE ? a->target : a->property;

    std::shared_ptr<const AblageEintrag> inhalt;
    {
        std::lock_guard lock(sperre_);
        if (eigen_) inhalt = inhalt_;
    }
    bool gut = false;
    if (inhalt) {
        if (a->target == targets_) {
            std::vector<xcb_atom_t> atome{targets_, timestamp_, multiple_};
            for (const auto& [name, daten] : *inhalt)
                if (xcb_atom_t at = x_.atom(name)) atome.push_back(at);
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, a->requestor, eigenschaft, XCB_ATOM_ATOM, 32,
                                atome.size(), atome.data());
            gut = true;
        } else if (a->target == timestamp_) {
            std::uint32_t zeit = besitzZeit_;
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, a->requestor, eigenschaft, XCB_ATOM_INTEGER, 32, 1, &zeit);
            gut = true;
        } else if (a->target == multiple_ && a->property != XCB_NONE) {
            // Pairs of (target, property); a pair that cannot be served gets None.
            auto paare = x_.lies(a->requestor, a->property, atomPair_);
            std::vector<std::uint32_t> liste(paare.daten.size() / 4);
            if (!liste.empty()) std::memcpy(liste.data(), paare.daten.data(), liste.size() * 4);
            for (size_t i = 0; i + 1 < liste.size(); i += 2) {
                std::string name = x_.atomName(liste[i]);
                const std::string* daten = datenVon(*inhalt, name);
                if (!daten || daten->size() > stueck_ || !liefere(a->requestor, liste[i + 1], name))
                    liste[i + 1] = XCB_NONE;
            }
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, a->requestor, a->property, atomPair_, 32, liste.size(),
                                liste.data());
            gut = true;
        } else {
            gut = liefere(a->requestor, eigenschaft, x_.atomName(a->target));
        }
    }
    if (gut) antwort.property = eigenschaft;
    xcb_send_event(c, 0, a->requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&antwort));
    xcb_flush(c);
}

bool X11Zwischenablage::liefere(xcb_window_t fenster, xcb_atom_t eigenschaft, const std::string& ziel) {
    std::shared_ptr<const AblageEintrag> inhalt;
    {
        std::lock_guard lock(sperre_);
        inhalt = inhalt_;
    }
    if (!inhalt) return false;
    const std::string* gefunden = datenVon(*inhalt, ziel);
    if (!gefunden) return false;
    xcb_connection_t* c = x_.xcb();
    Art art;
    auto gemerkt = arten_.find(ziel);
    if (gemerkt != arten_.end()) art = gemerkt->second;
    else art = {x_.atom(ziel), 8};  // a value of our own: its type is its target
    if (art.typ == XCB_NONE) return false;
    const std::string& daten = *gefunden;
    if (art.format != 8 && daten.size() % (art.format / 8) != 0) art.format = 8;
    if (daten.size() <= stueck_) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, fenster, eigenschaft, art.typ, art.format,
                            daten.size() / (art.format / 8), daten.data());
        return true;
    }
    // In increments: announce the size, then one piece each time the requestor
    // has deleted the last one, then an empty piece.
    auto s = std::make_unique<Sendung>();
    s->fenster = fenster;
    s->eigenschaft = eigenschaft;
    s->inhalt = inhalt;
    s->daten = gefunden;
    s->art = art;
    std::uint32_t maske = XCB_EVENT_MASK_PROPERTY_CHANGE;
    if (x_.fensterMit(fenster)) maske |= XCB_EVENT_MASK_STRUCTURE_NOTIFY;  // a window the list follows
    xcb_change_window_attributes(c, fenster, XCB_CW_EVENT_MASK, &maske);
    std::uint32_t groesse = static_cast<std::uint32_t>(daten.size());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, fenster, eigenschaft, incr_, 32, 1, &groesse);
    auto schluessel = std::make_pair(fenster, eigenschaft);
    s->wache = x_.nachX(5.0, [this, schluessel] { sendungen_.erase(schluessel); });
    sendungen_[schluessel] = std::move(s);
    return true;
}

void X11Zwischenablage::sendeWeiter(Sendung& s) {
    const std::string& daten = *s.daten;
    size_t rest = daten.size() - s.versandt;
    size_t n = std::min<size_t>(rest, stueck_);
    int einheit = s.art.format / 8;
    n -= n % einheit;
    xcb_change_property(x_.xcb(), XCB_PROP_MODE_REPLACE, s.fenster, s.eigenschaft, s.art.typ, s.art.format,
                        n / einheit, daten.data() + s.versandt);
    s.versandt += n;
    if (n == 0) s.fertig = true;
    else ++stueckeGesendet_;
    xcb_flush(x_.xcb());
    auto schluessel = std::make_pair(s.fenster, s.eigenschaft);
    s.wache = x_.nachX(5.0, [this, schluessel] { sendungen_.erase(schluessel); });
}

// ---- Reading another owner's contents ----

Marke X11Zwischenablage::lies(std::function<void(AblageLesung)> fertig) {
    auto l = std::make_shared<Lesung>();
    l->fertig = std::move(fertig);
    Marke marke([ab = l->abgebrochen] { *ab = true; });
    std::shared_ptr<const AblageEintrag> eigenes;
    bool eigen = false;
    {
        std::lock_guard lock(sperre_);
        eigen = eigen_;
        eigenes = inhalt_;
    }
    if (eigen || !x_.verbunden()) {
        AblageLesung ergebnis;
        if (!x_.verbunden()) ergebnis.fehler = "keine Verbindung zum X-Server";
        else if (eigenes && !eigenes->empty()) ergebnis.eintraege.push_back(*eigenes);
        melde(*l, std::move(ergebnis));
        return marke;
    }
    x_.aufX([this, l] { starteLesung(l); });
    return marke;
}

void X11Zwischenablage::melde(Lesung& l, AblageLesung ergebnis) {
    if (l.erfuellt) return;
    l.erfuellt = true;
    schleife_.aufHaupt([fertig = std::move(l.fertig), ab = l.abgebrochen, ergebnis = std::move(ergebnis)]() mutable {
        if (!*ab) fertig(std::move(ergebnis));
    });
}

void X11Zwischenablage::starteLesung(std::shared_ptr<Lesung> l) {
    if (ende_) return;
    if (lesung_) {
        warteschlange_.push_back(std::move(l));
        return;
    }
    lesung_ = l;
    xcb_connection_t* c = x_.xcb();
    xcb_window_t besitzer = XCB_NONE;
    if (auto* r = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard_), nullptr)) {
        besitzer = r->owner;
        free(r);
    }
    if (besitzer == XCB_NONE) {
        beendeLesung(l, std::nullopt);  // nobody owns it: empty
        return;
    }
    if (besitzer == x_.helfer()) {
        // Ours since the read was asked for.
        std::shared_ptr<const AblageEintrag> eigenes;
        {
            std::lock_guard lock(sperre_);
            eigenes = inhalt_;
        }
        if (eigenes && !eigenes->empty()) l->ergebnis = *eigenes;
        beendeLesung(l, std::nullopt);
        return;
    }
    wacheLesung(l);
    x_.zeitstempel([this, l](xcb_timestamp_t zeit) {
        if (lesung_ != l) return;
        l->zeit = zeit;
        xcb_delete_property(x_.xcb(), x_.helfer(), eigenschaft_);
        xcb_convert_selection(x_.xcb(), x_.helfer(), clipboard_, targets_, eigenschaft_, zeit);
        xcb_flush(x_.xcb());
        wacheLesung(l);
    });
}

void X11Zwischenablage::wacheLesung(std::shared_ptr<Lesung> l) {
    // Every answer of the owner starts the silence anew; an owner that stays silent
    // this long fails the read, whatever it gave so far.
    std::weak_ptr<Lesung> schwach = l;
    l->wache = x_.nachX(stillefrist, [this, schwach] {
        auto l = schwach.lock();
        if (l && lesung_ == l) beendeLesung(l, "der Besitzer der Zwischenablage antwortet nicht");
    });
}

void X11Zwischenablage::naechstesZiel(std::shared_ptr<Lesung> l) {
    l->inkrementell = false;
    l->puffer.clear();
    if (*l->abgebrochen) {
        beendeLesung(l, "abgebrochen");
        return;
    }
    if (l->naechstes >= l->ziele.size()) {
        beendeLesung(l, std::nullopt);
        return;
    }
    l->ziel = l->ziele[l->naechstes++];
    xcb_atom_t ziel = x_.atom(l->ziel);
    xcb_delete_property(x_.xcb(), x_.helfer(), eigenschaft_);
    xcb_convert_selection(x_.xcb(), x_.helfer(), clipboard_, ziel, eigenschaft_, l->zeit);
    xcb_flush(x_.xcb());
    wacheLesung(l);
}

void X11Zwischenablage::empfange(std::shared_ptr<Lesung> l, xcb_atom_t eigenschaft) {
    xcb_atom_t typ;
    int format;
    std::string daten = holeUndLoesche(x_.xcb(), x_.helfer(), eigenschaft, typ, format);
    xcb_flush(x_.xcb());
    wacheLesung(l);
    if (!l->inkrementell && typ == incr_) {
        // Deleting the size announcement (done by the read) asks for the first piece.
        l->inkrementell = true;
        l->puffer.clear();
        l->pufferArt = {};
        return;
    }
    if (l->inkrementell) {
        if (typ == XCB_NONE) return;  // our own deletion
        if (!daten.empty()) {
            if (l->puffer.empty()) l->pufferArt = {typ, format};
            l->puffer += daten;
            ++stueckeEmpfangen_;
            return;
        }
        daten = std::move(l->puffer);
        typ = l->pufferArt.typ;
        format = l->pufferArt.format;
        l->inkrementell = false;
    }
    if (!l->zieleGelesen) {
        l->zieleGelesen = true;
        std::vector<std::string> namen;
        for (size_t i = 0; format == 32 && i + 4 <= daten.size(); i += 4) {
            std::uint32_t a;
            std::memcpy(&a, daten.data() + i, 4);
            namen.push_back(x_.atomName(a));
        }
        l->ziele = inhaltsZiele(namen);
        naechstesZiel(l);
        return;
    }
    if (typ != XCB_NONE && typ != incr_) {
        l->ergebnis.emplace_back(l->ziel, std::move(daten));
        l->arten[l->ziel] = {typ, format};
    }
    naechstesZiel(l);
}

void X11Zwischenablage::beendeLesung(std::shared_ptr<Lesung> l, std::optional<std::string> fehler) {
    l->wache.aufheben();
    AblageLesung ergebnis;
    if (fehler) {
        ergebnis.fehler = std::move(fehler);
    } else {
        for (auto& [name, art] : l->arten) arten_[name] = art;
        if (!l->ergebnis.empty()) ergebnis.eintraege.push_back(std::move(l->ergebnis));
    }
    melde(*l, std::move(ergebnis));
    if (lesung_ == l) lesung_.reset();
    while (!lesung_ && !warteschlange_.empty()) {
        auto naechste = warteschlange_.front();
        warteschlange_.pop_front();
        if (!*naechste->abgebrochen) starteLesung(naechste);
    }
}

// ---- Handing over to the clipboard manager ----

AblageUebergabe X11Zwischenablage::uebergib(double frist) {
    {
        std::lock_guard lock(sperre_);
        if (!eigen_ || !inhalt_ || inhalt_->empty()) return {};
    }
    if (!x_.verbunden()) return {false, "keine Verbindung zum X-Server"};
    auto versprechen = std::make_shared<std::promise<AblageUebergabe>>();
    auto ergebnis = versprechen->get_future();
    x_.aufX([this, versprechen] { starteUebergabe(versprechen); });
    // The X thread serves the manager's requests meanwhile.
    if (ergebnis.wait_for(std::chrono::duration<double>(frist)) != std::future_status::ready) {
        x_.frage<bool>(
            [this, versprechen] {
                if (uebergabe_ == versprechen) uebergabe_.reset();
                return true;
            },
            1.0);
        return {false, "die Ablageverwaltung hat nicht rechtzeitig geantwortet"};
    }
    return ergebnis.get();
}

void X11Zwischenablage::starteUebergabe(std::shared_ptr<std::promise<AblageUebergabe>> versprechen) {
    xcb_connection_t* c = x_.xcb();
    xcb_window_t verwalter = XCB_NONE;
    if (auto* r = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, verwalter_), nullptr)) {
        verwalter = r->owner;
        free(r);
    }
    std::shared_ptr<const AblageEintrag> inhalt;
    {
        std::lock_guard lock(sperre_);
        if (eigen_) inhalt = inhalt_;
    }
    if (ende_ || verwalter == XCB_NONE || !inhalt) {
        versprechen->set_value({});  // no manager runs, or nothing of ours to keep
        return;
    }
    if (uebergabe_) uebergabe_->set_value({false, "eine neuere Übergabe"});
    uebergabe_ = versprechen;
    // The targets to keep, in their order.
    std::vector<xcb_atom_t> ziele;
    for (const auto& [name, daten] : *inhalt)
        if (xcb_atom_t a = x_.atom(name)) ziele.push_back(a);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, x_.helfer(), sichernEigenschaft_, XCB_ATOM_ATOM, 32, ziele.size(),
                        ziele.data());
    x_.zeitstempel([this, versprechen](xcb_timestamp_t zeit) {
        if (uebergabe_ != versprechen) return;
        xcb_convert_selection(x_.xcb(), x_.helfer(), verwalter_, sichereZiele_, sichernEigenschaft_, zeit);
        xcb_flush(x_.xcb());
    });
}

}  // namespace klebwerk::x11
