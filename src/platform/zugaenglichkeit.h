#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/marke.h"
#include "platform/wert.h"

namespace klebwerk {

// The accessibility interface of other applications. Every call is synchronous,
// thread-safe and bounded by the deadline it is given (seconds); a failed, missing
// or timed-out read yields the absent value.
class Zugaenglichkeit {
public:
    virtual ~Zugaenglichkeit() = default;

    // Whether this process may use accessibility. With `nachfragen` the backend asks
    // for it (or switches it on where it can) and answers with the state afterwards.
    virtual bool vertraut(bool nachfragen) = 0;

    // The deadline of calls on elements that were given no messaging time-out of their own.
    virtual double standardFrist() const { return 1.0; }

    virtual Element anwendung(int pid) = 0;
    virtual Element systemweit() = 0;

    virtual Wert lies(const Element& element, const std::string& attribut, double frist) = 0;
    virtual std::vector<Wert> liesMehrere(const Element& element, const std::vector<std::string>& attribute,
                                          double frist) = 0;
    // The same attributes of several elements, requests in flight together where the
    // backend can; one result list per element, each as long as `attribute`.
    virtual std::vector<std::vector<Wert>> liesMehrereVon(const std::vector<Element>& elemente,
                                                          const std::vector<std::string>& attribute, double frist) {
        std::vector<std::vector<Wert>> ergebnis;
        ergebnis.reserve(elemente.size());
        for (const Element& e : elemente) ergebnis.push_back(liesMehrere(e, attribute, frist));
        return ergebnis;
    }
    virtual std::vector<std::string> attributNamen(const Element& element, double frist) = 0;
    virtual bool schreibe(const Element& element, const std::string& attribut, const Wert& wert, double frist) = 0;
    virtual bool fuehreAus(const Element& element, const std::string& aktion, double frist) = 0;
    // The element at a screen point, asked of `wurzel` (an application or the system-wide element).
    virtual std::optional<Element> elementBei(const Element& wurzel, Punkt punkt, double frist) = 0;
    // The window-server number of a window element, 0 when it has none.
    virtual std::int64_t fensterNummer(const Element& fenster) = 0;

    // Descendants of `wurzel` (itself possibly left out) whose role may be one of `rollen` (empty:
    // every element), in reverse document order: the last element first, a descendant
    // before its ancestor; at most `hoechstens` of them (0: all). The list may hold more
    // elements than those roles (the caller checks each), never fewer. No value: the
    // backend has no such query and the caller walks the tree.
    virtual std::optional<std::vector<Element>> kandidatenRueckwaerts(const Element& wurzel,
                                                                      const std::vector<std::string>& rollen,
                                                                      std::size_t hoechstens, double frist) {
        return std::nullopt;
    }
    // Whether every element that kandidatenRueckwaerts gives for `rollen` under `wurzel`
    // has one of those roles for certain (so a single role need not be read again).
    virtual bool kandidatenGenau(const Element& wurzel, const std::vector<std::string>& rollen) { return false; }
    // A number no smaller than that of the elements of `wurzel`'s tree that come after
    // `ziel` in document order, its own descendants included (the elements the reverse
    // list holds before `ziel`); a backend may count some more. Counted up to
    // `hoechstens`: a larger number reads as `hoechstens`. No value: unknown.
    virtual std::optional<std::size_t> elementeNach(const Element& wurzel, const Element& ziel, std::size_t hoechstens,
                                                    double frist) {
        auto alle = kandidatenRueckwaerts(wurzel, {}, hoechstens + 1, frist);
        if (!alle) return std::nullopt;
        for (std::size_t i = 0; i < alle->size(); ++i) {
            if ((*alle)[i] == ziel) return i;
        }
        if (alle->size() > hoechstens) return hoechstens;
        return std::nullopt;  // not in the tree
    }

    // Notifications ("AXUIElementDestroyed", "AXTitleChanged") of `element` in application
    // `pid`; the callback gets the notification name and the element it concerns.
    using Meldung = std::function<void(const std::string& name, const Element& element)>;
    virtual Marke beobachte(int pid, const Element& element, const std::vector<std::string>& namen,
                            Meldung meldung) = 0;
};

}  // namespace klebwerk
