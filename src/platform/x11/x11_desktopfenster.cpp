#include "platform/x11/x11_desktopfenster.h"

namespace klebwerk::x11 {
namespace {

atspi::FensterFakten fakten(const XFenster& f) {
    return atspi::FensterFakten{f.id, f.pid, f.titel, f.rahmen, f.aussen, f.schicht == 0 && f.art == "normal"};
}

bool istNummer(std::int64_t nummer) { return nummer > 0 && nummer <= 0xffffffffLL; }

}  // namespace

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
    return x_.beobachteFenster([id, rueckruf = std::move(rueckruf)](std::uint32_t fenster, FensterAenderung a) {
        if (fenster != id) return;
        if (a == FensterAenderung::titel) rueckruf(Aenderung::titel);
        else if (a == FensterAenderung::zerstoert) rueckruf(Aenderung::weg);
    });
}

}  // namespace klebwerk::x11
