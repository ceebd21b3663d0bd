#include "ax/letztes_element.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace klebwerk {
namespace {

const std::vector<std::string> vierNamen{"AXRole", "AXDescription", "AXTitle", "AXChildren"};

std::optional<std::string> rolleAus(Wert&& w) {
    if (std::string* s = std::get_if<std::string>(&w.inhalt)) return std::move(*s);
    return std::nullopt;
}

std::string_view getrimmterTextAlsAnsicht(const Wert& w) {
    const std::string* s = w.als<std::string>();
    return s ? getrimmteAnsicht(*s) : std::string_view();
}

std::string labelAus(const Wert& beschreibung, const Wert& titel) {
    std::string_view l = getrimmterTextAlsAnsicht(beschreibung);
    return std::string(l.empty() ? getrimmterTextAlsAnsicht(titel) : l);
}

// Whether a children value is a list of valid elements only (anything else counts as
// no list).
bool sindKinder(const Wert& w) {
    const WertListe* liste = w.als<WertListe>();
    if (!liste) return false;
    for (const Wert& eintrag : *liste) {
        const Element* e = eintrag.als<Element>();
        if (!e || !e->gueltig()) return false;
    }
    return true;
}

// How many of the next elements the walk reads ahead in one batch.
constexpr size_t vorrat = 48;

// An element waiting on the walk's stack, with its four values once read ahead.
struct Offen {
    Element element;
    std::optional<std::vector<Wert>> werte;
};

std::optional<Element> laufe(const AX& ax, const Element& wurzel, long grenze, const Passt& passt, bool vorauslesen) {
    long n = grenze < 0 ? 0 : grenze;
    std::vector<Offen> stapel;
    stapel.push_back({wurzel, std::nullopt});
    std::vector<Element> batch;
    while (!stapel.empty()) {
        if (n == 0) return std::nullopt;
        if (vorauslesen && !stapel.back().werte) {
            // The elements next in line are the top of the stack: read those not yet
            // read together, no more than the budget can still examine.
            const size_t anzahl = std::min(vorrat, static_cast<size_t>(n));
            size_t ab = stapel.size();
            while (ab > 0 && stapel.size() - ab < anzahl && !stapel[ab - 1].werte) --ab;
            if (stapel.size() - ab > 1) {
                batch.clear();
                for (size_t i = stapel.size(); i-- > ab;) batch.push_back(stapel[i].element);
                auto ergebnisse = ax.mehrereVon(batch, vierNamen);
                for (size_t i = 0; i < batch.size(); ++i) stapel[stapel.size() - 1 - i].werte = std::move(ergebnisse[i]);
            }
        }
        // Examined in place on the stack; taken off before its children go on.
        Offen& offen = stapel.back();
        std::vector<Wert> werte = offen.werte ? std::move(*offen.werte) : ax.mehrere(offen.element, vierNamen);
        if (passt(offen.element, rolleAus(std::move(werte[0])), labelAus(werte[1], werte[2]))) {
            return std::move(offen.element);
        }
        stapel.pop_back();
        if (sindKinder(werte[3])) {
            for (Wert& k : std::get<WertListe>(werte[3].inhalt))
                stapel.push_back({std::move(std::get<Element>(k.inhalt)), std::nullopt});
        }
        n -= 1;
    }
    return std::nullopt;
}

const std::vector<std::string> dreiNamen{"AXRole", "AXDescription", "AXTitle"};
const std::vector<std::string> zweiNamen{"AXDescription", "AXTitle"};

bool pruefe(const Element& e, std::vector<Wert>& werte, const Passt& passt) {
    return passt(e, rolleAus(std::move(werte[0])), labelAus(werte[1], werte[2]));
}

// How many candidates are read in one batch of requests in flight.
constexpr size_t kandidatenVorrat = 128;

// Where the walk stops on its way down to a candidate: the topmost matching element of
// the path (an ancestor, else the candidate) and its depth below the root.
struct Pfadtreffer {
    Element element;
    size_t tiefe;
};

// The walk's view of the path from the root down to `kandidat`, read afresh: it
// descends only into elements whose children read as a list, and examines each with
// what it reads then (an element that is gone or hidden reads as absent). Gives where
// it stops, none when it does not reach a match on that path; no value when the path
// up through the parents cannot be told.
std::optional<std::optional<Pfadtreffer>> aufPfad(const AX& ax, const Element& wurzel, const Element& kandidat,
                                                  const Passt& passt) {
    std::vector<Element> pfad{kandidat};
    while (!(pfad.back() == wurzel)) {
        auto eltern = ax.element(pfad.back(), "AXParent");
        if (!eltern || pfad.size() > 4096) return std::nullopt;  // not under this root, as far as we can tell
        pfad.push_back(*eltern);
    }
    const std::vector<Element> kette(pfad.rbegin(), pfad.rend());  // root first, the candidate last
    auto werte = ax.mehrereVon(kette, vierNamen);
    for (size_t i = 0; i < kette.size(); ++i) {
        if (pruefe(kette[i], werte[i], passt)) return std::optional<Pfadtreffer>{Pfadtreffer{kette[i], i}};
        if (!sindKinder(werte[i][3])) break;
    }
    return std::optional<Pfadtreffer>{};
}

// The search through the backend's candidate query; no value when it cannot answer
// with certainty, and the caller walks.
std::optional<std::optional<Element>> ueberKandidaten(const AX& ax, const Element& wurzel, long grenze,
                                                      const Passt& passt, const std::set<std::string>& rollen) {
    const double frist = ax.frist(wurzel);
    // The walk examines the root first; the query may leave it out.
    auto wurzelWerte = ax.mehrere(wurzel, dreiNamen);
    if (pruefe(wurzel, wurzelWerte, passt)) return std::optional<Element>{wurzel};
    const std::vector<std::string> rollenListe(rollen.begin(), rollen.end());
    auto kandidaten = ax.backend().kandidatenRueckwaerts(wurzel, rollenListe, 0, frist);
    if (!kandidaten) return std::nullopt;
    // With one role that the backend vouches for, only the label is left to read.
    std::optional<std::string> gewisseRolle;
    if (rollenListe.size() == 1 && ax.backend().kandidatenGenau(wurzel, rollenListe)) gewisseRolle = rollenListe[0];
    // The last match in document order that the walk reaches; the walk meets the
    // ancestors of a match before it, so the topmost matching one wins.
    std::optional<Pfadtreffer> treffer;
    for (size_t anfang = 0; anfang < kandidaten->size() && !treffer; anfang += kandidatenVorrat) {
        size_t ende = std::min(kandidaten->size(), anfang + kandidatenVorrat);
        std::vector<Element> batch(kandidaten->begin() + anfang, kandidaten->begin() + ende);
        auto werte = ax.mehrereVon(batch, gewisseRolle ? zweiNamen : dreiNamen);
        for (size_t i = 0; i < batch.size(); ++i) {
            const bool ja = gewisseRolle ? passt(batch[i], gewisseRolle, labelAus(werte[i][0], werte[i][1]))
                                         : pruefe(batch[i], werte[i], passt);
            if (!ja) continue;
            auto weg = aufPfad(ax, wurzel, batch[i], passt);
            if (!weg) return std::nullopt;
            // Not reached (below a hidden element, or gone meanwhile): an earlier one.
            if (*weg) {
                treffer = **weg;
                break;
            }
        }
    }
    // No element of the tree that the walk reaches matches: it finds nothing either,
    // whatever its budget.
    if (!treffer) return std::optional<Element>{};
    const size_t tiefe = treffer->tiefe;

    // Before it the walk examines its `tiefe` ancestors and everything after its subtree
    // in document order; the backend counts the elements after it (its descendants too,
    // so the count bounds that number from above).
    const size_t gebraucht = static_cast<size_t>(grenze);
    if (tiefe + 1 > gebraucht) return std::nullopt;
    auto nach = ax.backend().elementeNach(wurzel, treffer->element, gebraucht - tiefe, frist);
    if (nach && tiefe + *nach + 1 <= gebraucht) return std::optional<Element>{treffer->element};
    return std::nullopt;
}

}  // namespace

std::optional<Element> letztesElement(const AX& ax, const Element& wurzel, long grenze, const Passt& passt,
                                      const std::optional<std::set<std::string>>& nurRollen) {
    if (grenze <= 0) return std::nullopt;
    if (nurRollen) {
        if (auto ergebnis = ueberKandidaten(ax, wurzel, grenze, passt, *nurRollen)) return *ergebnis;
    }
    return laufe(ax, wurzel, grenze, passt, true);
}

std::optional<Element> letztesElementSchlicht(const AX& ax, const Element& wurzel, long grenze, const Passt& passt) {
    return laufe(ax, wurzel, grenze, passt, false);
}

}  // namespace klebwerk
