#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/geometrie.h"

namespace klebwerk {

// A handle on an accessibility element of another application: cheap to copy,
// equal exactly when it names the same element. Each backend fills the fields its
// own way (an application by pid, an object by bus name and path).
struct Element {
    enum class Art { keins, systemweit, anwendung, objekt };
    Art art = Art::keins;
    int pid = 0;
    std::string bus;
    std::string pfad;

    bool gueltig() const { return art != Art::keins; }
    bool operator==(const Element&) const = default;
};

// An untyped accessibility attribute value. `std::monostate` is the absent value.
struct Wert;
using WertListe = std::vector<Wert>;
struct Wert {
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Element, Punkt, Groesse, Rechteck, WertListe>
        inhalt;

    Wert() = default;
    template <class T>
        requires(!std::is_same_v<std::decay_t<T>, Wert>)
    Wert(T v) : inhalt(std::move(v)) {}
    Wert(const char* text) : inhalt(std::string(text)) {}
    Wert(int zahl) : inhalt(std::int64_t{zahl}) {}

    bool fehlt() const { return std::holds_alternative<std::monostate>(inhalt); }
    template <class T>
    const T* als() const { return std::get_if<T>(&inhalt); }
    bool operator==(const Wert&) const = default;
};

}  // namespace klebwerk
