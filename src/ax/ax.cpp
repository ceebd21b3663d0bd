#include "ax/ax.h"

#include <string_view>

namespace klebwerk {

namespace {
bool istLeerzeichen(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
}  // namespace

std::string_view getrimmteAnsicht(std::string_view text) {
    if (text.empty()) return text;
    // Most texts need nothing taken off: no blank at either end, and no first byte of a
    // no-break space or separator at the start (0xC2, 0xE2) nor a last one at the end.
    const unsigned char erstes = text.front(), letztes = text.back();
    if (!istLeerzeichen(erstes) && erstes != 0xC2 && erstes != 0xE2 && !istLeerzeichen(letztes) && letztes != 0xA0 &&
        letztes != 0xA8 && letztes != 0xA9) {
        return text;
    }
    const char* leer = " \t\n\r\v\f";
    auto anfang = text.find_first_not_of(leer);
    if (anfang == std::string_view::npos) return {};
    auto ende = text.find_last_not_of(leer);
    std::string_view t = text.substr(anfang, ende - anfang + 1);
    // Unicode line and paragraph separators and the no-break space count as blank too,
    // each taken off in turn with the blanks it uncovers.
    static constexpr std::string_view weitere[] = {"\u00a0", "\u2028", "\u2029"};
    for (const std::string_view u : weitere) {
        while (t.starts_with(u)) t = getrimmteAnsicht(t.substr(u.size()));
        while (t.ends_with(u)) t = getrimmteAnsicht(t.substr(0, t.size() - u.size()));
    }
    return t;
}

std::string getrimmt(const std::string& text) { return std::string(getrimmteAnsicht(text)); }

std::string getrimmterText(const Wert& wert) {
    const std::string* s = wert.als<std::string>();
    return s ? getrimmt(*s) : std::string();
}

AX::AX(Zugaenglichkeit& backend) : z_(&backend), limits_(std::make_shared<Zeitlimits>()) {}

std::tuple<int, int, std::string, std::string> AX::schluessel(const Element& e) {
    return {static_cast<int>(e.art), e.pid, e.bus, e.pfad};
}

Element AX::anwendung(int pid) const {
    Element e = z_->anwendung(pid);
    setzeZeitlimit(e, 0);
    return e;
}

void AX::setzeZeitlimit(const Element& element, double sekunden) const {
    std::lock_guard lock(limits_->sperre);
    if (sekunden > 0) {
        limits_->werte[schluessel(element)] = sekunden;
    } else {
        limits_->werte.erase(schluessel(element));
    }
}

double AX::frist(const Element& element) const {
    std::lock_guard lock(limits_->sperre);
    return fristGesperrt(element);
}

double AX::fristGesperrt(const Element& element) const {
    if (limits_->werte.empty()) return z_->standardFrist();
    auto it = limits_->werte.find(schluessel(element));
    return it == limits_->werte.end() ? z_->standardFrist() : it->second;
}

Wert AX::wert(const Element& e, const std::string& attribut) const {
    if (!e.gueltig()) return {};
    return z_->lies(e, attribut, frist(e));
}

std::optional<std::string> AX::text(const Element& e, const std::string& attribut) const {
    Wert w = wert(e, attribut);
    if (const std::string* s = w.als<std::string>()) return *s;
    return std::nullopt;
}

std::optional<Element> AX::element(const Element& e, const std::string& attribut) const {
    Wert w = wert(e, attribut);
    const Element* el = w.als<Element>();
    if (el && el->gueltig()) return *el;
    return std::nullopt;
}

static std::optional<std::vector<Element>> alsElemente(const Wert& w) {
    const WertListe* liste = w.als<WertListe>();
    if (!liste) return std::nullopt;
    std::vector<Element> ergebnis;
    ergebnis.reserve(liste->size());
    for (const Wert& eintrag : *liste) {
        const Element* el = eintrag.als<Element>();
        if (!el || !el->gueltig()) return std::nullopt;
        ergebnis.push_back(*el);
    }
    return ergebnis;
}

std::optional<std::vector<Element>> AX::elemente(const Element& e, const std::string& attribut) const {
    return alsElemente(wert(e, attribut));
}

std::optional<bool> AX::wahr(const Element& e, const std::string& attribut) const {
    Wert w = wert(e, attribut);
    if (const bool* b = w.als<bool>()) return *b;
    return std::nullopt;
}

std::vector<std::string> AX::namen(const Element& e) const {
    if (!e.gueltig()) return {};
    return z_->attributNamen(e, frist(e));
}

std::vector<Element> AX::kinder(const Element& e) const { return elemente(e, "AXChildren").value_or(std::vector<Element>{}); }

std::optional<Rechteck> AX::rahmen(const Element& e) const {
    Wert p = wert(e, "AXPosition");
    const Punkt* punkt = p.als<Punkt>();
    if (!punkt) return std::nullopt;
    Wert g = wert(e, "AXSize");
    const Groesse* groesse = g.als<Groesse>();
    if (!groesse) return std::nullopt;
    return Rechteck{punkt->x, punkt->y, groesse->breite, groesse->hoehe};
}

std::optional<std::uint32_t> AX::fensterNummer(const Element& e) const {
    if (!e.gueltig()) return std::nullopt;
    std::int64_t n = z_->fensterNummer(e);
    if (n <= 0 || n > 0xffffffffLL) return std::nullopt;
    return static_cast<std::uint32_t>(n);
}

bool AX::setze(const Element& e, const std::string& attribut, const Wert& w) const {
    return e.gueltig() && z_->schreibe(e, attribut, w, frist(e));
}

bool AX::aktion(const Element& e, const std::string& name) const {
    return e.gueltig() && z_->fuehreAus(e, name, frist(e));
}

std::optional<Element> AX::elementBei(const Element& wurzel, Punkt punkt) const {
    if (!wurzel.gueltig()) return std::nullopt;
    auto e = z_->elementBei(wurzel, punkt, frist(wurzel));
    if (e && !e->gueltig()) return std::nullopt;
    return e;
}

std::vector<Wert> AX::mehrere(const Element& e, const std::vector<std::string>& namen) const {
    if (!e.gueltig()) return std::vector<Wert>(namen.size());
    std::vector<Wert> werte = z_->liesMehrere(e, namen, frist(e));
    if (werte.size() != namen.size()) return std::vector<Wert>(namen.size());
    return werte;
}

std::vector<std::vector<Wert>> AX::mehrereVon(const std::vector<Element>& elemente,
                                              const std::vector<std::string>& namen) const {
    if (elemente.empty()) return {};
    // One deadline for the batch: the shortest of its elements.
    double f;
    {
        std::lock_guard lock(limits_->sperre);
        f = fristGesperrt(elemente.front());
        for (const Element& e : elemente) f = std::min(f, fristGesperrt(e));
    }
    auto werte = z_->liesMehrereVon(elemente, namen, f);
    werte.resize(elemente.size());
    for (size_t i = 0; i < werte.size(); ++i) {
        if (werte[i].size() != namen.size() || !elemente[i].gueltig()) werte[i] = std::vector<Wert>(namen.size());
    }
    return werte;
}

std::string AX::beschriftung(const Element& e) const {
    for (const char* attribut : {"AXDescription", "AXTitle", "AXHelp"}) {
        std::string t = getrimmterText(wert(e, attribut));
        if (!t.empty()) return t;
    }
    return {};
}

std::string AX::klassen(const Element& e) const {
    Wert w = wert(e, "AXDOMClassList");
    const WertListe* liste = w.als<WertListe>();
    if (!liste) return {};
    std::string ergebnis;
    for (size_t i = 0; i < liste->size(); ++i) {
        const std::string* s = (*liste)[i].als<std::string>();
        if (!s) return {};
        if (i > 0) ergebnis += ' ';
        ergebnis += *s;
    }
    return ergebnis;
}

}  // namespace klebwerk
