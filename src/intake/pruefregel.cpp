#include "intake/pruefregel.h"

namespace klebwerk {
namespace {

Urteil mit(Urteil::Tat tat, std::optional<Beobachtung> merke = std::nullopt, double nachpruefen = 0) {
    Urteil u;
    u.tat = tat;
    u.merke = merke;
    u.nachpruefen = nachpruefen;
    return u;
}

}  // namespace

Urteil beurteile(const DateiBlick& b) {
    using Tat = Urteil::Tat;
    if (b.art == AufnahmeArt::keine) return mit(Tat::setzen);
    // Gone or unreadable between listing and reading: the next scan looks again.
    if (!b.stand) return mit(Tat::warten, b.vorher);
    const DateiStand& s = *b.stand;
    // Links (never followed), folders, devices and pipes are no captures, whatever their names.
    if (!s.regulaer) return mit(Tat::setzen);
    if (s.groesse <= 0) return mit(Tat::warten, b.vorher);

    auto zeit = s.geaendert;
    if (s.entstanden && *s.entstanden > zeit) zeit = *s.entstanden;
    double alter = std::chrono::duration<double>(b.wanduhr - zeit).count();
    auto urteil = [&](Urteil u) {
        u.dateizeit = zeit;
        return u;
    };
    if (alter > hoechstesAlter) return urteil(mit(Tat::setzen));

    Beobachtung jetzt{s.groesse, s.geaendert, b.jetzt};
    if (b.art == AufnahmeArt::bild) {
        bool aufnahme = b.aufnahmeName || (b.hatMerkmal && b.hatMerkmal());
        if (!aufnahme) return urteil(mit(alter > merkmalFrist ? Tat::setzen : Tat::warten));
        if (b.fertigGemeldet) return urteil(mit(Tat::melden));
        bool gleich = b.vorher && b.vorher->groesse == s.groesse && b.vorher->geaendert == s.geaendert;
        if (gleich && !b.offenGemeldet && b.jetzt - b.vorher->zeit >= bildRuhe) return urteil(mit(Tat::melden));
        // Still being written: wait for its writer to close it (the kernel reports that
        // even when the writer dies); otherwise for its size to hold.
        if (b.offenGemeldet) return urteil(mit(Tat::warten, gleich ? b.vorher : jetzt));
        return urteil(mit(Tat::warten, gleich ? b.vorher : jetzt, bildNachsehen));
    }

    // A recording.
    if (!b.aufnahmeName) return urteil(mit(alter <= merkmalFrist ? Tat::warten : Tat::setzen));
    if (b.videosErlaubt && !b.videosErlaubt()) return urteil(mit(Tat::setzen));
    if (b.vorher && b.vorher->groesse == s.groesse) {
        if (b.jetzt - b.vorher->zeit >= videoRuhe) {
            // Its writer still holds it open: the close will bring the next scans.
            if (b.offenGemeldet) return urteil(mit(Tat::warten, b.vorher));
            return urteil(mit(Tat::melden));
        }
        return urteil(mit(Tat::warten, b.vorher, videoNachRuhe));
    }
    return urteil(mit(Tat::warten, jetzt, videoNachWachsen));
}

}  // namespace klebwerk
