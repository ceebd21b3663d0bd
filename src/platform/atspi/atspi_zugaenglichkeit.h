#pragma once

#include <atomic>
#include <mutex>
#include <set>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/arbeitsplatz.h"
#include "platform/atspi/atspi_antworten.h"
#include "platform/atspi/atspi_bus.h"
#include "platform/atspi/atspi_paarung.h"
#include "platform/atspi/desktop_fenster.h"
#include "platform/laufschleife.h"
#include "platform/zugaenglichkeit.h"

namespace klebwerk::atspi {

// Accessibility through AT-SPI2 on the accessibility bus, with QtDBus. Trusted means:
// the accessibility bus answers and the session's accessibility switch is on.
//
// Elements: an application by pid (resolved to its bus name at call time, the pairs
// cached), an object (bus name, object path), the system-wide element, or a window-only
// element for a desktop window without an accessible counterpart (atspi_fensterelement.h). The program's own
// process is never called. A top-level window is paired with its desktop window, which
// gives its number; the desktop backend provides those windows.
class AtspiZugaenglichkeit : public Zugaenglichkeit {
    AtspiBus bus_;

public:
    // Notifications are handed to the main thread through `schleife`.
    AtspiZugaenglichkeit(DesktopFenster& desktop, Arbeitsplatz& arbeitsplatz, Laufschleife& schleife);

    bool vertraut(bool nachfragen) override;
    double standardFrist() const override { return 1.0; }

    Element anwendung(int pid) override;
    Element systemweit() override;
    Wert lies(const Element& e, const std::string& attribut, double frist) override;
    std::vector<Wert> liesMehrere(const Element& e, const std::vector<std::string>& attribute, double frist) override;
    std::vector<std::vector<Wert>> liesMehrereVon(const std::vector<Element>& elemente,
                                                  const std::vector<std::string>& attribute, double frist) override;
    std::vector<std::string> attributNamen(const Element& e, double frist) override;
    bool schreibe(const Element& e, const std::string& attribut, const Wert& wert, double frist) override;
    bool fuehreAus(const Element& e, const std::string& aktion, double frist) override;
    std::optional<Element> elementBei(const Element& wurzel, Punkt punkt, double frist) override;
    std::int64_t fensterNummer(const Element& fenster) override;
    std::optional<std::vector<Element>> kandidatenRueckwaerts(const Element& wurzel,
                                                              const std::vector<std::string>& rollen,
                                                              std::size_t hoechstens, double frist) override;
    Marke beobachte(int pid, const Element& element, const std::vector<std::string>& namen, Meldung meldung) override;

    bool kandidatenGenau(const Element& wurzel, const std::vector<std::string>& rollen) override;
    std::optional<std::size_t> elementeNach(const Element& wurzel, const Element& ziel, std::size_t hoechstens,
                                            double frist) override;

    // For measurements: every request waits for its answer before the next is sent.
    std::atomic<bool>& einzeln = bus_.einzeln;

    std::optional<Adresse> adresse(const Element& e, double frist);

private:
    // Whether the process has an application on the bus: its bus name; absent without
    // one; `gewiss` false when the registry did not answer.
    struct AnwendungAufBus {
        bool gewiss = false;
        std::optional<QString> bus;
    };
    AnwendungAufBus anwendungAufBus(int pid, double frist);
    // rohEigenschaften as one GetAll where the application's toolkit answers it.
    unsigned fuerBus(const QString& bus, unsigned roh, double frist);
    unsigned brauchtFuer(const std::string& attribut) const;
    Element elementFuer(const Adresse& a, int pidHinweis, double frist);
    bool istObersteEbene(const Rohdaten& r, const Adresse& a) const;
    // An element read with its states and parent that is hidden (atspi_abbildung.h).
    bool verborgen(const Rohdaten& r, const Adresse& a) const;
    Wert ableiten(const Element& e, const Adresse& a, const Rohdaten& r, const std::string& attribut, double frist);
    Wert anwendungsWert(const Element& app, const std::string& attribut, double frist);
    // The application's windows: its accessible top-level windows, then window-only
    // elements for its normal desktop windows that none of them is paired with. Absent
    // when the application is on the bus and did not answer.
    std::optional<WertListe> fensterVon(const Element& app, double frist);
    std::optional<Element> fokussiertes(const Element& app, double frist);
    // The application's window that the desktop has active: its paired accessible window,
    // else a window-only element for a normal window. Asks the bus only the first time a
    // window is active unpaired (to pair it). Absent when the active window is not the
    // application's.
    std::optional<Element> aktivesFenster(const Element& app, double frist);
    // The desktop window paired with `a`; absent when `a` is no paired window that is
    // still there.
    std::optional<FensterFakten> desktopFakten(const Adresse& a);
    std::optional<std::int64_t> paare(const Element& fenster, const Adresse& a, const Rohdaten& r, double frist);
    std::int64_t nummerVon(const Element& fenster, double frist);

    // Asks an application once for its attributes (see schreibe, "AXManualAccessibility").
    bool schalteSeitenEin(const Element& app, double frist);

    DesktopFenster& desktop_;
    Arbeitsplatz& arbeitsplatz_;
    std::mutex seitenSperre_;
    std::set<QString> seitenAn_;
    Laufschleife& schleife_;
    Fensterpaare paare_{desktop_};
    std::atomic<std::int64_t> paarungVersucht_{0};
};

}  // namespace klebwerk::atspi
