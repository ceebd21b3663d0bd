// The Collection queries: candidates in reverse document order, and counting the
// elements after one.

#include <QDBusObjectPath>

#include "platform/atspi/atspi_zugaenglichkeit.h"

namespace klebwerk::atspi {

std::optional<std::vector<Element>> AtspiZugaenglichkeit::kandidatenRueckwaerts(const Element& wurzel,
                                                                                 const std::vector<std::string>& rollen,
                                                                                 std::size_t hoechstens,
                                                                                 double frist) {
    std::optional<RollenAbfrage> abfrage;
    if (!rollen.empty()) {
        abfrage = abfrageFuer({rollen.begin(), rollen.end()});
        if (!abfrage) return std::nullopt;
    }
    auto a = adresse(wurzel, frist);
    if (!a) return std::nullopt;
    const uint rueckwaerts = 4;  // reverse canonical order
    // No count: ATK's bridge counts from the start of the document, then reverses.
    auto anfrage = [&](bool zweite) {
        auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iCollection, QStringLiteral("GetMatches"));
        m << QVariant::fromValue(regel(abfrage ? &*abfrage : nullptr, zweite)) << rueckwaerts << int(0) << true;
        return m;
    };
    std::vector<QDBusMessage> anfragen{anfrage(false)};
    if (abfrage && abfrage->nichtEditierbareAuch) anfragen.push_back(anfrage(true));
    auto antwort = bus_.sende(anfragen, frist);
    for (const QDBusMessage& m : antwort) {
        if (!istAntwort(m)) return std::nullopt;
    }
    // Read-only entries are text inputs too, and the first query left them out.
    if (antwort.size() > 1 && !referenzListe(antwort[1].arguments().front()).empty()) return std::nullopt;
    std::vector<Element> ergebnis;
    for (const Adresse& k : referenzListe(antwort[0].arguments().front())) {
        if (hoechstens > 0 && ergebnis.size() >= hoechstens) break;
        ergebnis.push_back(k.bus == a->bus ? Element{Element::Art::objekt, wurzel.pid, k.bus.toStdString(), k.pfad.toStdString()} : elementFuer(k, 0, frist));
    }
    return ergebnis;
}

bool AtspiZugaenglichkeit::kandidatenGenau(const Element& wurzel, const std::vector<std::string>& rollen) {
    if (wurzel.art != Element::Art::objekt || rollen.empty()) return false;
    auto abfrage = abfrageFuer({rollen.begin(), rollen.end()});
    return abfrage && abfrage->genau;
}

std::optional<std::size_t> AtspiZugaenglichkeit::elementeNach(const Element& wurzel, const Element& ziel,
                                                              std::size_t hoechstens, double frist) {
    auto w = adresse(wurzel, frist);
    auto z = adresse(ziel, frist);
    if (!w || !z || w->bus != z->bus) return std::nullopt;
    // ATK's bridge walks backwards slowly (each step asks for the index in the parent)
    // and appends to a linked list (a long answer costs it quadratic time): count
    // forwards from `ziel`, at most this many.
    constexpr std::size_t obergrenze = 8192;
    const int anzahl = static_cast<int>(std::min(hoechstens, obergrenze));
    if (anzahl == 0) return 0;
    Adresse oben = *z;
    for (int tiefe = 0; !(oben.pfad == w->pfad); ++tiefe) {
        if (tiefe > 4096) return std::nullopt;
        auto m = QDBusMessage::createMethodCall(oben.bus, oben.pfad, eigenschaften, QStringLiteral("Get"));
        m << iAccessible << QStringLiteral("Parent");
        auto antwort = bus_.sende({m}, frist);
        if (!istAntwort(antwort[0])) return std::nullopt;
        auto eltern = referenzAus(eigenschaftsWert(antwort[0]));
        if (!eltern || eltern->bus != w->bus || eltern->pfad == wurzelPfad) return std::nullopt;  // not below it
        if (eltern->pfad == w->pfad) break;
        oben = *eltern;
    }
    QDBusMessage m;
    const uint dokumentOrdnung = 1;
    if (oben.pfad == w->pfad) {
        // The root itself: everything below it.
        m = QDBusMessage::createMethodCall(w->bus, w->pfad, iCollection, QStringLiteral("GetMatches"));
        m << QVariant::fromValue(regel(nullptr)) << dokumentOrdnung << anzahl << true;
    } else {
        // In order from `ziel` up to the root: its descendants, then the trees after it
        // on every level. ATK's bridge goes over the root's later children twice, so the
        // count may be larger, never smaller. Only for an element known to lie below the
        // root (above): the bridge climbs until it meets the root.
        const uint inOrdnung = 2;  // TREE_INORDER
        m = QDBusMessage::createMethodCall(w->bus, w->pfad, iCollection, QStringLiteral("GetMatchesFrom"));
        m << QVariant::fromValue(QDBusObjectPath(z->pfad)) << QVariant::fromValue(regel(nullptr)) << dokumentOrdnung
          << inOrdnung << anzahl << true;
    }
    auto antwort = bus_.sende({m}, frist);
    if (!istAntwort(antwort[0])) return std::nullopt;
    const std::size_t gezaehlt = referenzAnzahl(antwort[0].arguments().front());
    if (gezaehlt >= static_cast<std::size_t>(anzahl)) {
        return static_cast<std::size_t>(anzahl) == hoechstens ? std::optional<std::size_t>(hoechstens) : std::nullopt;
    }
    return gezaehlt;
}

}  // namespace klebwerk::atspi
