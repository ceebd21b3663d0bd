#include "platform/atspi/atspi_paarung.h"

#include <cmath>
#include <limits>

namespace klebwerk::atspi {
namespace {

double abstand(const Rechteck& a, const Rechteck& b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y) + std::abs(a.breite - b.breite) + std::abs(a.hoehe - b.hoehe);
}

// The sum of the four differences a geometry may have and still name a window.
constexpr double hoechsterAbstand = 80;

}  // namespace

bool meldetBildschirmlage(const QString& werkzeug, const QString& version) {
    if (werkzeug.compare(QLatin1String("gtk"), Qt::CaseInsensitive) != 0) return true;
    bool ok = false;
    const int haupt = version.section(QLatin1Char('.'), 0, 0).toInt(&ok);
    return !ok || haupt < 4;
}

std::optional<std::int64_t> waehlePaar(const ZugaenglichesFenster& z, const std::vector<FensterFakten>& kandidaten,
                                       const std::set<std::int64_t>& vergeben) {
    std::vector<const FensterFakten*> gleich;
    for (const FensterFakten& f : kandidaten) {
        if (f.pid == z.pid && f.pid > 0 && f.titel == z.titel && !vergeben.count(f.nummer)) gleich.push_back(&f);
    }
    if (gleich.size() == 1) return gleich.front()->nummer;
    if (gleich.empty() || !z.lage) return std::nullopt;
    double bester = std::numeric_limits<double>::infinity(), zweiter = bester;
    const FensterFakten* gewaehlt = nullptr;
    for (const FensterFakten* f : gleich) {
        const double d = std::min(abstand(*z.lage, f->rahmen), abstand(*z.lage, f->aussen));
        if (d < bester) {
            zweiter = bester;
            bester = d;
            gewaehlt = f;
        } else if (d < zweiter) {
            zweiter = d;
        }
    }
    if (bester > hoechsterAbstand || bester == zweiter) return std::nullopt;
    return gewaehlt->nummer;
}

Fensterpaare::Stand Fensterpaare::stand(const Adresse& a, std::int64_t* nummer) {
    std::int64_t nr = 0;
    {
        std::lock_guard lock(sperre_);
        auto it = paare_.find({a.bus, a.pfad});
        if (it == paare_.end()) return Stand::keins;
        nr = it->second;
    }
    if (nummer) *nummer = nr;
    return desktop_.fenster(nr) ? Stand::lebt : Stand::weg;
}

std::optional<std::int64_t> Fensterpaare::paare(const Adresse& a, const ZugaenglichesFenster& z) {
    std::int64_t nr = 0;
    switch (stand(a, &nr)) {
        case Stand::lebt: return nr;
        case Stand::weg: return std::nullopt;  // the pair died with its desktop window
        case Stand::keins: break;
    }
    auto gewaehlt = waehlePaar(z, desktop_.kandidaten(), gepaarte());
    if (!gewaehlt) return std::nullopt;
    std::lock_guard lock(sperre_);
    // Another thread may have paired that window meanwhile.
    for (const auto& [k, n] : paare_) {
        if (n == *gewaehlt) return std::nullopt;
    }
    paare_[{a.bus, a.pfad}] = *gewaehlt;
    return gewaehlt;
}

std::set<std::int64_t> Fensterpaare::gepaarte() {
    std::vector<std::pair<std::pair<QString, QString>, std::int64_t>> alle;
    {
        std::lock_guard lock(sperre_);
        alle.assign(paare_.begin(), paare_.end());
    }
    std::set<std::int64_t> lebende;
    for (const auto& [k, nr] : alle) {
        if (desktop_.fenster(nr)) lebende.insert(nr);
    }
    return lebende;
}

std::optional<Adresse> Fensterpaare::zugaenglichesVon(std::int64_t nummer) {
    std::lock_guard lock(sperre_);
    for (const auto& [k, n] : paare_) {
        if (n == nummer) return Adresse{k.first, k.second};
    }
    return std::nullopt;
}

}  // namespace klebwerk::atspi
