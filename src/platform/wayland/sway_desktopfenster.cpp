#include "platform/wayland/sway_desktopfenster.h"

#include <unistd.h>

#include "basis/protokoll.h"

namespace klebwerk::wayland {

namespace {

atspi::FensterFakten fakten(const SwayFenster& f) {
    atspi::FensterFakten w;
    w.nummer = f.conId;
    w.pid = f.pid;
    w.titel = f.titel;
    w.rahmen = f.rahmen;
    w.aussen = f.aussen;
    // sway's views are toplevels; menus and tooltips are never in its tree.
    w.normal = true;
    return w;
}

}  // namespace

SwayDesktopFenster::SwayDesktopFenster(const SwayFensterdienst& dienst, SwayIpc ipc)
    : dienst_(dienst), ipc_(std::move(ipc)), eigenePid_(static_cast<int>(getpid())) {}

SwayDesktopFenster::~SwayDesktopFenster() {
    std::unique_ptr<SwayAbo> abo;
    {
        std::lock_guard lock(aboSperre_);
        abo.swap(abo_);
    }
}

std::vector<atspi::FensterFakten> SwayDesktopFenster::kandidaten() {
    std::vector<atspi::FensterFakten> liste;
    for (const SwayFenster& f : dienst_.lies().fenster)
        if (f.sichtbar && f.pid != eigenePid_) liste.push_back(fakten(f));
    return liste;
}

std::optional<atspi::FensterFakten> SwayDesktopFenster::fenster(std::int64_t nummer) {
    for (const SwayFenster& f : dienst_.lies().fenster)
        if (f.conId == nummer) return fakten(f);
    return std::nullopt;
}

std::int64_t SwayDesktopFenster::aktives() {
    std::string fehler;
    auto f = dienst_.fokussiertes(fehler);
    return f ? f->conId : 0;
}

bool SwayDesktopFenster::hebe(std::int64_t nummer) {
    std::string fehler;
    if (dienst_.aktiviere(nummer, fehler)) return true;
    protokoll("activating window " + std::to_string(nummer) + ": " + fehler);
    return false;
}

Marke SwayDesktopFenster::beobachte(std::int64_t nummer, std::function<void(Aenderung)> rueckruf) {
    {
        std::lock_guard lock(aboSperre_);
        if (!abo_) {
            abo_ = std::make_unique<SwayAbo>(
                ipc_, std::vector<std::string>{"window"},
                [this](std::uint32_t typ, const std::string& daten) { ereignis(typ, daten); },
                [this](const std::string& grund) { abgerissen(grund); });
        }
    }
    std::uint64_t nr;
    {
        std::lock_guard lock(beobachter_->sperre);
        nr = beobachter_->naechster++;
        beobachter_->rueckrufe.emplace(nummer, std::make_pair(nr, std::move(rueckruf)));
    }
    std::weak_ptr<Beobachter> schwach = beobachter_;
    return Marke([schwach, nummer, nr] {
        auto b = schwach.lock();
        if (!b) return;
        std::lock_guard lock(b->sperre);
        auto [von, bis] = b->rueckrufe.equal_range(nummer);
        for (auto it = von; it != bis; ++it) {
            if (it->second.first == nr) {
                b->rueckrufe.erase(it);
                break;
            }
        }
    });
}

bool SwayDesktopFenster::abonniert() {
    std::lock_guard lock(aboSperre_);
    return abo_ && abo_->bestaetigt();
}

// On the subscription's thread.
void SwayDesktopFenster::ereignis(std::uint32_t typ, const std::string& daten) {
    if (typ != fensterEreignisArt) return;
    auto e = fensterEreignis(daten);
    if (!e || (e->art != "title" && e->art != "close")) return;
    const Aenderung aenderung = e->art == "title" ? Aenderung::titel : Aenderung::weg;
    std::vector<std::function<void(Aenderung)>> rueckrufe;
    {
        std::lock_guard lock(beobachter_->sperre);
        auto [von, bis] = beobachter_->rueckrufe.equal_range(e->conId);
        for (auto it = von; it != bis; ++it) rueckrufe.push_back(it->second.second);
    }
    for (const auto& r : rueckrufe) r(aenderung);
}

// Without sway there are no windows any more: every watched one is gone.
void SwayDesktopFenster::abgerissen(const std::string& grund) {
    protokoll("window events: " + grund);
    std::vector<std::function<void(Aenderung)>> rueckrufe;
    {
        std::lock_guard lock(beobachter_->sperre);
        for (auto& [nummer, eintrag] : beobachter_->rueckrufe) rueckrufe.push_back(eintrag.second);
    }
    for (const auto& r : rueckrufe) r(Aenderung::weg);
}

}  // namespace klebwerk::wayland
