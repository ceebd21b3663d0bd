#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace klebwerk::linuxdesk {

// A desktop's program for its accessibility settings, with its arguments.
struct Einstellungsprogramm {
    std::string programm;  // full path
    std::vector<std::string> argumente;
    bool operator==(const Einstellungsprogramm&) const = default;
};

// The first accessibility settings program that `finde` (name → full path, empty when
// absent) knows, in the order GNOME, KDE, Xfce, MATE.
std::optional<Einstellungsprogramm> zugaenglichkeitsProgramm(const std::function<std::string(const std::string&)>& finde);

// What the accessibility link means here: the session's accessibility switch is put
// on, and the desktop's accessibility settings open when it has such a program. Both
// outcomes are logged; true when either worked.
bool oeffneZugaenglichkeit();

}  // namespace klebwerk::linuxdesk
