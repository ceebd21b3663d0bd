#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/zugaenglichkeit.h"

namespace klebwerk::sim {

class SimDesktop;
class SimZugaenglichkeit;

// One element of a simulated accessibility tree: an application, a window or anything
// inside one. Attributes are stored as they are read; "AXChildren", "AXParent",
// "AXWindows" and "AXWindow" are derived from the tree.
class SimKnoten {
public:
    SimKnoten(SimZugaenglichkeit& ax, std::int64_t id, int pid)
        : ax_(ax), id_(id), pid_(pid), pfad_("/" + std::to_string(id)) {}

    std::map<std::string, Wert> attribute;
    std::set<std::string> fehlerhaft;  // attributes whose read reports an error
    std::vector<std::string> aktionen;
    std::vector<std::shared_ptr<SimKnoten>> kinder;
    SimKnoten* eltern = nullptr;
    std::uint32_t nummer = 0;  // window number of a window; 0: none
    bool tot = false;
    int gedrueckt = 0;  // actions performed on it

    // Appends a child with that role and attributes; returns it.
    SimKnoten& kind(const std::string& rolle, std::map<std::string, Wert> attrs = {});
    SimKnoten& setze(const std::string& attribut, Wert wert) {
        attribute[attribut] = std::move(wert);
        return *this;
    }
    // Position and size together.
    SimKnoten& rahmen(Rechteck r);
    std::optional<Rechteck> rahmen() const;

    Element element() const;
    std::int64_t id() const { return id_; }
    int pid() const { return pid_; }
    std::string rolle() const;
    // This element and every descendant: they no longer answer.
    void sterbe();

private:
    SimZugaenglichkeit& ax_;
    std::int64_t id_;
    int pid_;
    std::string pfad_;  // the object path of its handle, made once
};

// The simulated accessibility interface: trees per application, a virtual-time cost per
// request (charged on the virtual clock when it fits in the deadline; otherwise the
// deadline passes and the request fails), hung applications, observers.
class SimZugaenglichkeit : public Zugaenglichkeit {
public:
    explicit SimZugaenglichkeit(SimDesktop& d) : d_(d) {}

    // Whether the permission is granted, and whether asking for it grants it.
    bool freigabe = true;
    bool freigabeBeiNachfrage = false;
    // Whether the backwards candidate query is answered (else the caller walks the tree).
    bool kandidatenAbfrage = false;

    // Requests that reached an application, and the deadline of the last one.
    std::int64_t anfragen = 0;
    double letzteFrist = 0;
    std::int64_t zeitUeberschreitungen = 0;

    struct Anwendungsbaum {
        std::shared_ptr<SimKnoten> wurzel;
        double kosten = 0;     // virtual seconds per request
        bool haengt = false;   // never answers (stopped process)
        std::shared_ptr<SimKnoten> fokus;  // the focused element
    };

    // The tree of an application; made on first use.
    Anwendungsbaum& baum(int pid);
    Anwendungsbaum* findeBaum(int pid);
    void entferneBaum(int pid);
    SimKnoten* knoten(const Element& e);
    std::shared_ptr<SimKnoten> neuerKnoten(int pid);
    void melde(const SimKnoten& k, const std::string& name);

    bool vertraut(bool nachfragen) override;
    Element anwendung(int pid) override;
    Element systemweit() override;
    Wert lies(const Element& e, const std::string& attribut, double frist) override;
    std::vector<Wert> liesMehrere(const Element& e, const std::vector<std::string>& attribute, double frist) override;
    std::vector<std::string> attributNamen(const Element& e, double frist) override;
    bool schreibe(const Element& e, const std::string& attribut, const Wert& wert, double frist) override;
    bool fuehreAus(const Element& e, const std::string& aktion, double frist) override;
    std::optional<Element> elementBei(const Element& wurzel, Punkt punkt, double frist) override;
    std::int64_t fensterNummer(const Element& fenster) override;
    std::optional<std::vector<Element>> kandidatenRueckwaerts(const Element& wurzel,
                                                              const std::vector<std::string>& rollen,
                                                              std::size_t hoechstens, double frist) override;
    // The query is exact by role.
    bool kandidatenGenau(const Element& wurzel, const std::vector<std::string>& rollen) override;
    Marke beobachte(int pid, const Element& element, const std::vector<std::string>& namen, Meldung meldung) override;

private:
    // One request to the application of `e`: true when it answers within `frist`.
    bool anfrage(const Element& e, double frist);
    Wert abgeleitet(const SimKnoten& k, const std::string& attribut);
    SimKnoten* tiefstesBei(SimKnoten& k, Punkt p);

    struct Beobachtung {
        std::int64_t knoten;
        std::vector<std::string> namen;
        std::shared_ptr<Meldung> meldung;
    };

    SimDesktop& d_;
    std::map<int, Anwendungsbaum> baeume_;
    // Every element made, at its id (ids count up from 1); the plain pointer is used
    // only while the weak one lives.
    struct Eintrag {
        SimKnoten* knoten = nullptr;
        std::weak_ptr<SimKnoten> schwach;
    };
    std::vector<Eintrag> index_{1};
    std::int64_t naechsteId_ = 0;
    // Shared with the tokens, so that a token dropped after the desktop is gone does nothing.
    std::shared_ptr<std::map<int, Beobachtung>> beobachtungen_ = std::make_shared<std::map<int, Beobachtung>>();
    int naechsteBeobachtung_ = 0;
};

}  // namespace klebwerk::sim
