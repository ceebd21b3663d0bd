#include "platform/x11/x11_desktopfenster.h"

namespace klebwerk::x11 {
namespace {

atspi::FensterFakten fakten(const XFenster& f) {
    return atspi::FensterFakten{f.id, f.pid, f.titel, f.rahmen, f.aussen, istStandardfenster(f.art, f.transientFuer)};
}

bool istNummer(std::int64_t nummer) { return nummer > 0 && nummer <= 0xffffffffLL; }

}  // namespace

XDesktopFenster::XDesktopFenster(XVerbindung& x) : x_(x) {
    xMarke_ = x_.beobachteFenster([abos = abos_](std::uint32_t id, FensterAenderung a) {
        if (a != FensterAenderung::titel && a != FensterAenderung::zerstoert) return;
        std::vector<std::function<void(Aenderung)>> rueckrufe;
        {
            std::lock_guard lock(abos->sperre);
            auto [anfang, ende] = abos->nachFenster.equal_range(id);
            for (auto it = anfang; it != ende; ++it) rueckrufe.push_back(it->second.second);
        }
        for (const auto& r : rueckrufe) r(a == FensterAenderung::titel ? Aenderung::titel : Aenderung::weg);
    });
}

std::vector<atspi::FensterFakten> XDesktopFenster::kandidaten() {
    std::vector<atspi::FensterFakten> liste;
    for (const XFenster& f : x_.fenster()) {
        if (f.sichtbar && !f.eigenes) liste.push_back(fakten(f));
    }
    return liste;
}

std::optional<atspi::FensterFakten> XDesktopFenster::fenster(std::int64_t nummer) {
    if (!istNummer(nummer)) return std::nullopt;
    auto f = x_.fensterMit(static_cast<std::uint32_t>(nummer));
    if (!f) return std::nullopt;
    return fakten(*f);
}

std::int64_t XDesktopFenster::aktives() { return x_.aktivesFenster(); }

bool XDesktopFenster::hebe(std::int64_t nummer) {
    return istNummer(nummer) && x_.aktiviereFenster(static_cast<std::uint32_t>(nummer));
}

Marke XDesktopFenster::beobachte(std::int64_t nummer, std::function<void(Aenderung)> rueckruf) {
    if (!istNummer(nummer)) return {};
    const auto id = static_cast<std::uint32_t>(nummer);
    std::lock_guard lock(abos_->sperre);
    const std::uint64_t nr = abos_->naechste++;
    abos_->nachFenster.emplace(id, std::make_pair(nr, std::move(rueckruf)));
    return Marke([schwach = std::weak_ptr<Abos>(abos_), id, nr] {
        auto abos = schwach.lock();
        if (!abos) return;
        std::lock_guard lock(abos->sperre);
        auto [anfang, ende] = abos->nachFenster.equal_range(id);
        for (auto it = anfang; it != ende; ++it) {
            if (it->second.first == nr) {
                abos->nachFenster.erase(it);
                break;
            }
        }
    });
}

}  // namespace klebwerk::x11
