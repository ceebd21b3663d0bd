#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ax/ax.h"
#include "platform/arbeitsplatz.h"
#include "platform/marke.h"
#include "platform/wert.h"

namespace klebwerk {

// One target window of another application. Shared by reference: two list entries are
// the same target only when they are the same object; two targets show the same window
// when their `fenster` elements are equal. A new one is a candidate until it is connected.
class Ziel {
public:
    // Reads the application's name (else "App") and the window's title (else "").
    Ziel(const AX& ax, Arbeitsplatz& arbeitsplatz, Element fenster, int pid);

    const Element fenster;
    const Element app;
    const int pid;
    const std::string appName;
    std::string titel;
    Marke beobachter;
    long platz = 0;
    std::optional<std::string> ki;
    bool perFeld = false;

    // The window number, 0 when it cannot be read.
    std::uint32_t nummer() const;
    // Whether the window still answers: its role reads as a text.
    bool gueltig() const;
    // appName, or appName – titel.
    std::string anzeige() const { return titel.empty() ? appName : appName + " \u2013 " + titel; }

private:
    AX ax_;
};

}  // namespace klebwerk
