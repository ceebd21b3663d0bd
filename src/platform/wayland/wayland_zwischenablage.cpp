#include "platform/wayland/wayland_zwischenablage.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include "platform/wayland/wayland_faden.h"
#include "wlr-data-control-unstable-v1-client.h"

namespace klebwerk::wayland {

struct WaylandZwischenablage::Faden : WaylandFaden {
    // A read in progress: the offer's types one after another, each through a pipe.
    struct Lesung {
        std::function<void(AblageLesung)> fertig;
        std::shared_ptr<std::atomic<bool>> abgebrochen;
        bool laeuft = false;
        zwlr_data_control_offer_v1* angebot = nullptr;
        std::vector<std::string> typen;
        std::size_t naechster = 0;
        int fd = -1;
        std::string puffer;
        AblageEintrag eintrag;
        double frist = 0;  // when the owner counts as silent
    };
    // Data on its way to a reader.
    struct Sendung {
        int fd = -1;
        std::shared_ptr<const AblageEintrag> inhalt;  // keeps `daten` alive
        const std::string* daten = nullptr;
        std::size_t gesendet = 0;
        double frist = 0;
    };

    WaylandZwischenablage& ablage;

    wl_seat* sitz = nullptr;
    zwlr_data_control_manager_v1* verwalter = nullptr;
    zwlr_data_control_device_v1* geraet = nullptr;

    // The Wayland thread's own.
    std::map<zwlr_data_control_offer_v1*, std::vector<std::string>> angebote;
    zwlr_data_control_offer_v1* auswahl = nullptr;
    zwlr_data_control_offer_v1* primaer = nullptr;
    bool ersteAuswahl = true;
    int ausstehend = 0;  // own selections whose event has not come back yet
    std::map<zwlr_data_control_source_v1*, std::shared_ptr<const AblageEintrag>> quellen;
    // What this process put on the clipboard last, while nobody else replaced it: reads
    // answer from it, also before the compositor has told every client.
    std::optional<std::shared_ptr<const AblageEintrag>> eigenerStand;
    std::vector<Sendung> sendungen;
    std::deque<std::shared_ptr<Lesung>> lesungen;
    // Where this round's descriptors stand in the wait.
    Lesung* wartendeLesung = nullptr;
    std::size_t lesungIndex = 0;
    std::size_t sendungIndex = 0;

    Faden(WaylandZwischenablage& a, std::string name) : WaylandFaden(std::move(name), "clipboard"), ablage(a) {}

    bool verbinde() override;
    void trenne() override;
    void schliesse() override;
    void beiStoerung(const std::string& grund) override;
    double fuegeWartendeHinzu(std::vector<pollfd>& pfds) override;
    void nachWarten(const std::vector<pollfd>& pfds) override;

    void neueAuswahl(zwlr_data_control_offer_v1* angebot);
    void vergiss(zwlr_data_control_offer_v1* angebot);
    void setzeAuswahl(std::shared_ptr<const AblageEintrag> inhalt);
    void sende(zwlr_data_control_source_v1* quelle, const char* typ, int fd);
    void abgebrochen(zwlr_data_control_source_v1* quelle);

    void lies(std::shared_ptr<Lesung> l);
    void naechsteLesung();
    void naechsterTyp(Lesung& l);
    void empfange(Lesung& l);
    void beende(Lesung& l, std::optional<std::string> fehler);
    void sendeWeiter(Sendung& s);
    void schliesse(Sendung& s);
};

namespace {

using Faden = WaylandZwischenablage::Faden;

void angebotTyp(void* daten, zwlr_data_control_offer_v1* angebot, const char* typ) {
    auto& typen = static_cast<Faden*>(daten)->angebote[angebot];
    if (std::find(typen.begin(), typen.end(), typ) == typen.end()) typen.emplace_back(typ);
}
const zwlr_data_control_offer_v1_listener angebotHoerer{angebotTyp};

void geraetAngebot(void* daten, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* angebot) {
    static_cast<Faden*>(daten)->angebote[angebot];
    zwlr_data_control_offer_v1_add_listener(angebot, &angebotHoerer, daten);
}
void geraetAuswahl(void* daten, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* angebot) {
    static_cast<Faden*>(daten)->neueAuswahl(angebot);
}
void geraetFertig(void* daten, zwlr_data_control_device_v1*) {
    static_cast<Faden*>(daten)->scheitere("the compositor ended the clipboard's data control");
}
void geraetPrimaer(void* daten, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* angebot) {
    // The primary selection is not the clipboard: its offers are only let go.
    auto* f = static_cast<Faden*>(daten);
    if (f->primaer && f->primaer != angebot) f->vergiss(f->primaer);
    f->primaer = angebot;
}
const zwlr_data_control_device_v1_listener geraetHoerer{geraetAngebot, geraetAuswahl, geraetFertig, geraetPrimaer};

void quelleSende(void* daten, zwlr_data_control_source_v1* quelle, const char* typ, int fd) {
    static_cast<Faden*>(daten)->sende(quelle, typ, fd);
}
void quelleAbgebrochen(void* daten, zwlr_data_control_source_v1* quelle) {
    static_cast<Faden*>(daten)->abgebrochen(quelle);
}
const zwlr_data_control_source_v1_listener quelleHoerer{quelleSende, quelleAbgebrochen};

void globalNeu(void* daten, wl_registry* reg, std::uint32_t name, const char* schnittstelle, std::uint32_t version) {
    auto* f = static_cast<Faden*>(daten);
    if (!f->sitz && std::strcmp(schnittstelle, wl_seat_interface.name) == 0) {
        f->sitz = static_cast<wl_seat*>(wl_registry_bind(reg, name, &wl_seat_interface, 1));
    } else if (std::strcmp(schnittstelle, zwlr_data_control_manager_v1_interface.name) == 0) {
        f->verwalter = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(reg, name, &zwlr_data_control_manager_v1_interface, std::min(version, 2u)));
    }
}
void globalWeg(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener registerHoerer{globalNeu, globalWeg};

}  // namespace

bool Faden::verbinde() {
    if (!oeffne(registerHoerer, this, 1)) return false;
    if (!verwalter) {
        scheitere("the compositor offers no clipboard control (zwlr_data_control_manager_v1)");
        return false;
    }
    if (!sitz) {
        scheitere("the compositor has no seat");
        return false;
    }
    geraet = zwlr_data_control_manager_v1_get_data_device(verwalter, sitz);
    zwlr_data_control_device_v1_add_listener(geraet, &geraetHoerer, this);
    // The first selection event tells what is on the clipboard now.
    if (wl_display_roundtrip(anzeige) < 0) {
        scheitere("the Wayland connection failed");
        return false;
    }
    return true;
}

void Faden::beiStoerung(const std::string& grund) {
    for (auto& s : sendungen) schliesse(s);
    sendungen.clear();
    auto offen = std::move(lesungen);
    lesungen.clear();
    for (auto& l : offen) beende(*l, grund);
}

void Faden::vergiss(zwlr_data_control_offer_v1* angebot) {
    if (!angebot) return;
    angebote.erase(angebot);
    zwlr_data_control_offer_v1_destroy(angebot);
}

void Faden::neueAuswahl(zwlr_data_control_offer_v1* angebot) {
    zwlr_data_control_offer_v1* alt = auswahl;
    auswahl = angebot;
    if (ersteAuswahl) {
        ersteAuswahl = false;
    } else if (ausstehend > 0) {
        --ausstehend;  // this process's own write, counted when it was made
    } else {
        eigenerStand.reset();
        ++ablage.zaehler_;
    }
    if (alt && alt != angebot) {
        // A read of the replaced offer would mix two clipboards.
        if (!lesungen.empty() && lesungen.front()->angebot == alt)
            beende(*lesungen.front(), "the clipboard changed while it was read");
        vergiss(alt);
    }
}

void Faden::setzeAuswahl(std::shared_ptr<const AblageEintrag> inhalt) {
    if (tot) return;
    zwlr_data_control_source_v1* quelle = nullptr;
    if (!inhalt->empty()) {
        quelle = zwlr_data_control_manager_v1_create_data_source(verwalter);
        zwlr_data_control_source_v1_add_listener(quelle, &quelleHoerer, this);
        for (const auto& [typ, daten] : *inhalt) zwlr_data_control_source_v1_offer(quelle, typ.c_str());
        quellen[quelle] = inhalt;
    }
    zwlr_data_control_device_v1_set_selection(geraet, quelle);
    ++ausstehend;
    eigenerStand = std::move(inhalt);
}

void Faden::abgebrochen(zwlr_data_control_source_v1* quelle) {
    auto it = quellen.find(quelle);
    if (it != quellen.end()) {
        if (eigenerStand && *eigenerStand == it->second) eigenerStand.reset();
        quellen.erase(it);
    }
    zwlr_data_control_source_v1_destroy(quelle);
}

void Faden::sende(zwlr_data_control_source_v1* quelle, const char* typ, int fd) {
    auto it = quellen.find(quelle);
    const std::string* daten = it == quellen.end() ? nullptr : datenVon(*it->second, typ);
    if (!daten) {
        close(fd);
        return;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    Sendung s;
    s.fd = fd;
    s.inhalt = it->second;
    s.daten = daten;
    s.frist = sekundenJetzt() + ablage.stillefrist;
    sendungen.push_back(std::move(s));
    sendeWeiter(sendungen.back());
}

void Faden::sendeWeiter(Sendung& s) {
    while (s.fd >= 0 && s.gesendet < s.daten->size()) {
        ssize_t n = write(s.fd, s.daten->data() + s.gesendet, s.daten->size() - s.gesendet);
        if (n > 0) {
            s.gesendet += static_cast<std::size_t>(n);
            s.frist = sekundenJetzt() + ablage.stillefrist;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        schliesse(s);  // the reader went away
        return;
    }
    schliesse(s);
}

void Faden::schliesse(Sendung& s) {
    if (s.fd >= 0) close(s.fd);
    s.fd = -1;
}

void Faden::lies(std::shared_ptr<Lesung> l) {
    if (tot) {
        beende(*l, stoerung());
        return;
    }
    lesungen.push_back(std::move(l));
    if (lesungen.size() == 1) naechsteLesung();
}

void Faden::naechsteLesung() {
    while (!lesungen.empty() && !lesungen.front()->laeuft) {
        Lesung& l = *lesungen.front();
        if (eigenerStand) {
            AblageLesung ergebnis;
            if (!(*eigenerStand)->empty()) ergebnis.eintraege.push_back(**eigenerStand);
            l.fertig(std::move(ergebnis));  // `fertig` hands over to the main thread
            lesungen.pop_front();
            continue;
        }
        auto it = auswahl ? angebote.find(auswahl) : angebote.end();
        if (it == angebote.end() || it->second.empty()) {
            l.fertig(AblageLesung{});  // an empty clipboard
            lesungen.pop_front();
            continue;
        }
        l.laeuft = true;
        l.angebot = auswahl;
        l.typen = it->second;
        naechsterTyp(l);
    }
}

void Faden::naechsterTyp(Lesung& l) {
    if (l.naechster == l.typen.size()) {
        beende(l, std::nullopt);
        return;
    }
    int rohr[2];
    if (pipe2(rohr, O_CLOEXEC | O_NONBLOCK) != 0) {
        beende(l, std::string("no pipe for the clipboard: ") + std::strerror(errno));
        return;
    }
    // The request carries a duplicate of the write end: ours is closed at once, so that
    // the end of the owner's writing is seen as the end of the data.
    zwlr_data_control_offer_v1_receive(l.angebot, l.typen[l.naechster].c_str(), rohr[1]);
    close(rohr[1]);
    l.fd = rohr[0];
    l.puffer.clear();
    l.frist = sekundenJetzt() + ablage.stillefrist;
}

void Faden::empfange(Lesung& l) {
    char stueck[65536];
    while (l.fd >= 0) {
        ssize_t n = read(l.fd, stueck, sizeof stueck);
        if (n > 0) {
            l.puffer.append(stueck, static_cast<std::size_t>(n));
            l.frist = sekundenJetzt() + ablage.stillefrist;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        if (n < 0) {
            beende(l, std::string("reading the clipboard failed: ") + std::strerror(errno));
            return;
        }
        close(l.fd);
        l.fd = -1;
        l.eintrag.emplace_back(l.typen[l.naechster], std::move(l.puffer));
        ++l.naechster;
        naechsterTyp(l);
        return;
    }
}

// Ends a read with its item or the reason it failed, and starts the next one.
void Faden::beende(Lesung& l, std::optional<std::string> fehler) {
    if (l.fd >= 0) close(l.fd);
    l.fd = -1;
    AblageLesung ergebnis;
    if (fehler)
        ergebnis.fehler = std::move(fehler);
    else
        ergebnis.eintraege.push_back(std::move(l.eintrag));
    l.fertig(std::move(ergebnis));
    if (!lesungen.empty() && lesungen.front().get() == &l) {
        lesungen.pop_front();
        naechsteLesung();
    }
}

double Faden::fuegeWartendeHinzu(std::vector<pollfd>& pfds) {
    double frist = keineFrist;
    wartendeLesung = !lesungen.empty() && lesungen.front()->fd >= 0 ? lesungen.front().get() : nullptr;
    lesungIndex = pfds.size();
    if (wartendeLesung) {
        pfds.push_back({wartendeLesung->fd, POLLIN, 0});
        frist = wartendeLesung->frist;
    }
    sendungIndex = pfds.size();
    for (const Sendung& s : sendungen) {
        pfds.push_back({s.fd, POLLOUT, 0});
        frist = std::min(frist, s.frist);
    }
    return frist;
}

void Faden::nachWarten(const std::vector<pollfd>& pfds) {
    const double jetztS = sekundenJetzt();
    for (std::size_t i = 0; i < sendungen.size() && sendungIndex + i < pfds.size(); ++i) {
        if (pfds[sendungIndex + i].revents) sendeWeiter(sendungen[i]);
        else if (jetztS > sendungen[i].frist) schliesse(sendungen[i]);  // a reader that stopped reading
    }
    std::erase_if(sendungen, [](const Sendung& s) { return s.fd < 0; });
    // The read may have ended during dispatch (a new selection); only a live one goes on.
    Lesung* lesung = wartendeLesung;
    if (lesung && !lesungen.empty() && lesungen.front().get() == lesung && lesung->fd >= 0) {
        if (pfds[lesungIndex].revents) empfange(*lesung);
        else if (jetztS > lesung->frist) beende(*lesung, "the clipboard's owner stopped answering");
    }
}

void Faden::schliesse() {
    scheitere("the clipboard was closed");
    trenne();
}

void Faden::trenne() {
    if (!anzeige) return;
    for (auto& [quelle, inhalt] : quellen) zwlr_data_control_source_v1_destroy(quelle);
    quellen.clear();
    for (auto& [angebot, typen] : angebote) zwlr_data_control_offer_v1_destroy(angebot);
    angebote.clear();
    auswahl = primaer = nullptr;
    if (geraet) zwlr_data_control_device_v1_destroy(geraet);
    if (verwalter) zwlr_data_control_manager_v1_destroy(verwalter);
    if (sitz) wl_seat_destroy(sitz);
    geraet = nullptr;
    verwalter = nullptr;
    sitz = nullptr;
    trenneAnzeige();
}

WaylandZwischenablage::WaylandZwischenablage(Laufschleife& schleife, const std::string& anzeige)
    : schleife_(schleife), faden_(std::make_unique<Faden>(*this, anzeige)) {
    faden_->starte();
}

WaylandZwischenablage::~WaylandZwischenablage() { faden_->halte(); }

void WaylandZwischenablage::aufFaden(std::function<void(Faden&)> arbeit) {
    faden_->aufFaden([f = faden_.get(), arbeit = std::move(arbeit)] { arbeit(*f); });
}

std::string WaylandZwischenablage::stoerung() const { return faden_->stoerung(); }

Marke WaylandZwischenablage::lies(std::function<void(AblageLesung)> fertig) {
    auto abgebrochen = std::make_shared<std::atomic<bool>>(false);
    auto lesung = std::make_shared<Faden::Lesung>();
    lesung->abgebrochen = abgebrochen;
    // Called on the Wayland thread; the result goes to the main thread.
    lesung->fertig = [this, abgebrochen, fertig = std::move(fertig)](AblageLesung ergebnis) mutable {
        schleife_.aufHaupt([abgebrochen, fertig, ergebnis = std::move(ergebnis)]() mutable {
            if (!*abgebrochen) fertig(std::move(ergebnis));
        });
    };
    aufFaden([lesung](Faden& f) { f.lies(lesung); });
    return Marke([abgebrochen] { *abgebrochen = true; });
}

void WaylandZwischenablage::leere() { schreibe({}); }

bool WaylandZwischenablage::schreibe(const std::vector<AblageEintrag>& eintraege) {
    if (!stoerung().empty()) return false;
    auto inhalt = std::make_shared<const AblageEintrag>(eintraege.empty() ? AblageEintrag{} : eintraege.front());
    ++zaehler_;
    aufFaden([inhalt](Faden& f) { f.setzeAuswahl(inhalt); });
    return true;
}

AblageUebergabe WaylandZwischenablage::uebergib(double) { return {}; }

}  // namespace klebwerk::wayland
