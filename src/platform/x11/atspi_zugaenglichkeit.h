#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include "platform/arbeitsplatz.h"
#include "platform/fensterliste.h"
#include "platform/x11/atspi_abbildung.h"
#include "platform/zugaenglichkeit.h"

namespace klebwerk::x11 {

// Accessibility through AT-SPI2 on the accessibility bus, with QtDBus. Trusted means:
// the accessibility bus answers and the session's accessibility switch is on.
//
// Elements: an application by pid (resolved to its bus name at call time, the pairs
// cached), an object (bus name, object path), or the system-wide element. Every call
// blocks (never running an event loop) at most for its deadline; an application whose
// call timed out counts as not answering for a few seconds, and calls to it fail at once.
// The program's own process is never called. A top-level window is paired with its X
// window (same process, title, geometry) through the window list; that pairing gives
// its number.
class AtspiZugaenglichkeit : public Zugaenglichkeit {
public:
    AtspiZugaenglichkeit(Fensterliste& fensterliste, Arbeitsplatz& arbeitsplatz);

    // Raises and activates an X window through the window manager (AXRaise, AXMain).
    std::function<bool(std::int64_t nummer)> hebeFenster;

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
    std::atomic<bool> einzeln{false};

    struct Adresse {
        QString bus;
        QString pfad;
    };
    std::optional<Adresse> adresse(const Element& e, double frist);

private:
    // One request of the raw answers that the attributes of an element are made from.
    enum Roh : unsigned {
        rohRolle = 1u << 0,
        rohZustand = 1u << 1,
        rohEigenschaften = 1u << 2,
        rohKinder = 1u << 3,
        rohAusmass = 1u << 4,
        rohObjektAttribute = 1u << 5,
        rohDokument = 1u << 6,
        rohText = 1u << 7,
        // Name, description and parent in one Properties.GetAll (instead of rohEigenschaften).
        rohEigenschaftenAufEinmal = 1u << 8,
    };
    struct Rohdaten {
        bool gueltig = false;  // the object answered at all
        std::uint32_t rolle = 0;
        Zustaende zustand;
        QString name, beschreibung, hilfe;
        std::optional<Adresse> eltern;
        std::optional<std::vector<Adresse>> kinder;
        std::optional<Rechteck> ausmass;
        std::map<QString, QString> objektAttribute, dokument;
        std::optional<QString> text;
        unsigned vorhanden = 0;
    };

    QDBusConnection verbindung();
    std::optional<QString> busFuerPid(int pid, double frist);
    int pidFuerBus(const QString& bus, double frist);
    bool stumm(const QString& bus);
    // rohEigenschaften as one GetAll where the application's toolkit answers it.
    unsigned fuerBus(const QString& bus, unsigned roh, double frist);
    // Sends the messages together and waits for all, each within the deadline; through
    // the application's queue (main-thread requests first, a handful of background
    // requests in flight).
    bool istHauptfaden() const;
    std::vector<QDBusMessage> sende(const std::vector<QDBusMessage>& anfragen, double frist);
    unsigned brauchtFuer(const std::string& attribut) const;
    std::vector<QDBusMessage> anfragenFuer(const Adresse& a, unsigned roh) const;
    Rohdaten auswerten(const std::vector<QDBusMessage>& antworten, unsigned roh) const;
    Element elementFuer(const Adresse& a, int pidHinweis, double frist);
    bool istObersteEbene(const Rohdaten& r, const Adresse& a) const;
    Wert ableiten(const Element& e, const Adresse& a, const Rohdaten& r, const std::string& attribut, double frist);
    Wert anwendungsWert(const Element& app, const std::string& attribut, double frist);
    std::optional<Element> fokussiertes(const Element& app, double frist);
    std::optional<std::int64_t> paare(const Element& fenster, const Adresse& a, const Rohdaten& r);
    std::optional<FensterInfo> xFenster(std::int64_t nummer);

    Fensterliste& fensterliste_;
    Arbeitsplatz& arbeitsplatz_;
    const int eigenePid_;

    std::mutex sperre_;
    std::optional<QDBusConnection> verbindung_;
    std::map<int, QString> busVonPid_;
    std::map<QString, int> pidVonBus_;
    std::map<QString, std::chrono::steady_clock::time_point> stummBis_;
    std::map<std::pair<QString, QString>, std::int64_t> paare_;
    std::map<QString, bool> aufEinmal_;
    // Per bus name: the requests in flight and waiting.
    struct Warteschlange {
        int hauptImFlug = 0;
        int hintergrundImFlug = 0;
        int hintergrundWartend = 0;
    };
    static constexpr std::size_t hintergrundHoechstens = 6;
    std::map<QString, Warteschlange> schlangen_;
    std::condition_variable frei_;  // per bus name: Properties.GetAll is safe
};

// The session's accessibility switch (org.a11y.Status IsEnabled); absent when the
// accessibility bus does not answer.
std::optional<bool> zugaenglichkeitAn();
// Switches it on; false when that failed.
bool schalteZugaenglichkeitEin();

}  // namespace klebwerk::x11
