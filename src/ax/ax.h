#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/zugaenglichkeit.h"

namespace klebwerk {

// The program's own layer over the accessibility interface. One rule for every failure:
// a failed, missing or wrongly typed read yields an absent value, an empty list, an
// empty text or false, never an error.
//
// It keeps the messaging time-outs per element and passes them as the deadline of every
// backend call; elements without one get the backend's default. Copies share the
// time-outs. Safe from any thread.
class AX {
public:
    explicit AX(Zugaenglichkeit& backend);

    Zugaenglichkeit& backend() const { return *z_; }

    // A fresh application element: it starts with the default time-out, like a newly
    // created element (a time-out set on an earlier one is dropped).
    Element anwendung(int pid) const;
    Element systemweit() const { return z_->systemweit(); }
    // The messaging time-out of `element` in seconds; 0 or less restores the default.
    void setzeZeitlimit(const Element& element, double sekunden) const;
    // The deadline that calls on `element` get.
    double frist(const Element& element) const;

    Wert wert(const Element& e, const std::string& attribut) const;
    std::optional<std::string> text(const Element& e, const std::string& attribut) const;
    std::optional<Element> element(const Element& e, const std::string& attribut) const;
    // A list of elements ("AXWindows", "AXChildren", …): absent unless every entry is one.
    std::optional<std::vector<Element>> elemente(const Element& e, const std::string& attribut) const;
    std::optional<bool> wahr(const Element& e, const std::string& attribut) const;
    std::vector<std::string> namen(const Element& e) const;
    std::vector<Element> kinder(const Element& e) const;
    // "AXPosition" and "AXSize" together; absent when either is missing.
    std::optional<Rechteck> rahmen(const Element& e) const;
    // Absent when the element has no window number (0).
    std::optional<std::uint32_t> fensterNummer(const Element& e) const;
    bool setze(const Element& e, const std::string& attribut, const Wert& wert) const;
    bool aktion(const Element& e, const std::string& aktion) const;
    std::optional<Element> elementBei(const Element& wurzel, Punkt punkt) const;
    // Several attributes in one request: as many entries as names, failed ones absent.
    std::vector<Wert> mehrere(const Element& e, const std::vector<std::string>& namen) const;
    // The same for several elements, the requests in flight together.
    std::vector<std::vector<Wert>> mehrereVon(const std::vector<Element>& elemente,
                                              const std::vector<std::string>& namen) const;
    // The label: the first non-blank, trimmed "AXDescription", "AXTitle", "AXHelp"; else "".
    std::string beschriftung(const Element& e) const;
    // "AXDOMClassList" joined with single spaces; "" when it is not a list of texts.
    std::string klassen(const Element& e) const;

private:
    struct Zeitlimits {
        std::mutex sperre;
        std::map<std::tuple<int, int, std::string, std::string>, double> werte;
    };
    static std::tuple<int, int, std::string, std::string> schluessel(const Element& e);
    // frist() with the lock already held.
    double fristGesperrt(const Element& element) const;

    Zugaenglichkeit* z_;
    std::shared_ptr<Zeitlimits> limits_;
};

// Whitespace and line breaks trimmed at both ends.
std::string getrimmt(const std::string& text);
// The same as a view into `text`.
std::string_view getrimmteAnsicht(std::string_view text);
// A text value trimmed, or "" when the value is no text.
std::string getrimmterText(const Wert& wert);

}  // namespace klebwerk
