#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace klebwerk::atspi {

// How AT-SPI meets the accessibility vocabulary of the system ("AXButton", "AXTitle", …).
// The whole mapping stands in atspi_abbildung.cpp.

// AT-SPI state bits (AtspiStateType) the mapping uses.
enum AtspiZustand : int {
    zustandAktiv = 1,
    zustandDefunkt = 6,
    zustandEditierbar = 7,
    zustandAktiviert = 8,
    zustandFokussierbar = 11,
    zustandFokussiert = 12,
    zustandMehrzeilig = 17,
    zustandEmpfindlich = 24,
    zustandSichtbar = 30,
    zustandHatPopup = 42,
};

struct Zustaende {
    std::uint64_t bits = 0;
    bool hat(int zustand) const { return (bits >> zustand) & 1u; }
};

// The name of an AT-SPI role number ("push button"); "" for an unknown number.
std::string atspiRollenName(std::uint32_t rolle);
std::optional<std::uint32_t> atspiRollenNummer(const std::string& name);

// Whether an element with these states is hidden: toolkits keep hidden widgets in the
// tree without the state "visible" (scrolled out of view is "visible" without
// "showing"). A hidden element counts as not there, as a hidden view is not in the
// tree of the system; a top-level window is the desktop's to tell.
bool istVerborgen(Zustaende z, bool obersteEbene);

// The role of an element: `obersteEbene` for a direct child of the application (a
// window, whatever role it has on the bus: Qt shows its windows as "filler").
// Absent for the invalid role and for a defunct element.
std::optional<std::string> axRolle(std::uint32_t atspiRolle, Zustaende z, bool obersteEbene);

// The AT-SPI roles whose elements can have one of `axRollen`, and whether the element
// must be editable; absent when no such query describes the set exactly.
struct RollenAbfrage {
    std::set<std::uint32_t> rollen;  // empty: any role
    bool editierbar = false;
    std::set<int> ohneZustaende;  // states the elements must not have
    // Every element the query gives has one of the asked roles for certain (below a
    // root that is no application, where no element is a top-level window).
    bool genau = false;
    // Elements that have one of the roles but that the query leaves out must be
    // looked for with this second query (it must come back empty).
    std::optional<std::set<std::uint32_t>> nichtEditierbareAuch;
};
std::optional<RollenAbfrage> abfrageFuer(const std::set<std::string>& axRollen);

// Names of the actions that "AXPress" performs, in order of preference.
const std::vector<std::string>& drueckAktionen();

// The attributes the backend answers (attributNamen), per element kind.
std::vector<std::string> attributeFuer(const std::string& axRolle, bool anwendung, bool obersteEbene);

}  // namespace klebwerk::atspi
