#include "delivery/vorkodierung.h"

#include <filesystem>
#include <system_error>

#include "delivery/png_kodierung.h"

namespace klebwerk {

Vorkodierung::~Vorkodierung() { *lebt_ = false; }

Vorkodierung::Stand Vorkodierung::standVon(const std::string& pfad) {
    std::error_code f;
    Stand s;
    const auto groesse = std::filesystem::file_size(pfad, f);
    if (f) return s;
    const auto zeit = std::filesystem::last_write_time(pfad, f);
    if (f) return s;
    s.groesse = static_cast<std::int64_t>(groesse);
    s.zeit = static_cast<std::int64_t>(zeit.time_since_epoch().count());
    return s;
}

void Vorkodierung::beginne(const std::string& pfad) {
    if (auto it = auftraege_.find(pfad); it != auftraege_.end()) {
        if (!it->second.fertig) return;  // under way; it reads the file as it is then
        auftraege_.erase(it);            // written anew since
    }
    while (auftraege_.size() >= hoechstens) {
        // The oldest that no delivery waits for.
        auto aeltester = auftraege_.end();
        for (auto it = auftraege_.begin(); it != auftraege_.end(); ++it) {
            if (it->second.wartende.empty() && (aeltester == auftraege_.end() || it->second.nummer < aeltester->second.nummer))
                aeltester = it;
        }
        if (aeltester == auftraege_.end()) return;
        auftraege_.erase(aeltester);
    }
    Auftrag& a = auftraege_[pfad];
    a.nummer = ++naechste_;
    const std::uint64_t nummer = a.nummer;
    std::weak_ptr<bool> lebt = lebt_;
    Laufschleife& schleife = schleife_;
    a.marke = schleife_.hintergrund([this, &schleife, lebt, pfad, nummer, begonnen = a.begonnen] {
        if (begonnen->exchange(true)) return Fortsetzung::fertig();  // called off meanwhile
        const Stand stand = standVon(pfad);
        auto png = pngAusDatei(pfad);
        schleife.aufHaupt([this, lebt, pfad, nummer, png = std::move(png), stand]() mutable {
            if (auto l = lebt.lock(); l && *l) fertig(pfad, nummer, std::move(png), stand);
        });
        return Fortsetzung::fertig();
    });
}

void Vorkodierung::fertig(const std::string& pfad, std::uint64_t nummer, std::optional<std::string> png, Stand stand) {
    auto it = auftraege_.find(pfad);
    if (it == auftraege_.end() || it->second.nummer != nummer) return;
    Auftrag& a = it->second;
    if (a.wartende.empty()) {
        a.fertig = true;
        a.png = std::move(png);
        a.stand = stand;
        return;
    }
    std::vector<Weiter> wartende = std::move(a.wartende);
    auftraege_.erase(it);
    if (stand.groesse < 0 || !(stand == standVon(pfad))) png.reset();
    for (auto& w : wartende) w(png);
}

void Vorkodierung::hole(const std::string& pfad, Weiter weiter) {
    auto it = auftraege_.find(pfad);
    if (it == auftraege_.end()) {
        weiter(std::nullopt);
        return;
    }
    Auftrag& a = it->second;
    if (!a.fertig) {
        if (a.begonnen->exchange(true)) {
            a.wartende.push_back(std::move(weiter));  // running: its end hands it over
            return;
        }
        // Still waiting behind other work on the lane: the caller is quicker alone.
        auftraege_.erase(it);
        weiter(std::nullopt);
        return;
    }
    std::optional<std::string> png = std::move(a.png);
    const Stand stand = a.stand;
    auftraege_.erase(it);
    if (stand.groesse < 0 || !(stand == standVon(pfad))) png.reset();
    weiter(std::move(png));
}

}  // namespace klebwerk
