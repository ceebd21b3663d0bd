#pragma once

#include <optional>
#include <string>

#include "platform/marke.h"
#include "platform/wert.h"

namespace klebwerk {

// One connected target window of another application. Shared by reference: two
// list entries are the same target only when they are the same object.
struct Ziel {
    Element fenster;
    Element app;
    int pid = 0;
    std::string appName;
    std::string titel;
    Marke beobachter;
    long platz = 0;
    std::optional<std::string> ki;
    bool perFeld = false;

    // appName, or appName – titel.
    std::string anzeige() const { return titel.empty() ? appName : appName + " \u2013 " + titel; }
};

}  // namespace klebwerk
