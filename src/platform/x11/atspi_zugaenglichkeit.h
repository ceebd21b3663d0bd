#pragma once

#include "platform/zugaenglichkeit.h"

namespace klebwerk::x11 {

// Accessibility through AT-SPI2 over D-Bus. Trusted means: the accessibility bus
// answers and the session's accessibility switch is on.
class AtspiZugaenglichkeit : public Zugaenglichkeit {
public:
    bool vertraut(bool nachfragen) override;

    Element anwendung(int pid) override;
    Element systemweit() override;
    Wert lies(const Element&, const std::string&, double) override { return {}; }
    std::vector<Wert> liesMehrere(const Element&, const std::vector<std::string>& a, double) override {
        return std::vector<Wert>(a.size());
    }
    std::vector<std::string> attributNamen(const Element&, double) override { return {}; }
    bool schreibe(const Element&, const std::string&, const Wert&, double) override { return false; }
    bool fuehreAus(const Element&, const std::string&, double) override { return false; }
    std::optional<Element> elementBei(const Element&, Punkt, double) override { return std::nullopt; }
    std::int64_t fensterNummer(const Element&) override { return 0; }
    Marke beobachte(int, const Element&, const std::vector<std::string>&, Meldung) override { return {}; }
};

// The session's accessibility switch (org.a11y.Status IsEnabled); absent when the
// accessibility bus does not answer.
std::optional<bool> zugaenglichkeitAn();
// Switches it on; false when that failed.
bool schalteZugaenglichkeitEin();

}  // namespace klebwerk::x11
