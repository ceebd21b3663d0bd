#include <gtest/gtest.h>

#include <set>

#include "platform/linux/linux_systemkuerzel.h"
#include "platform/linux/tastaturkuerzelseite.h"

namespace klebwerk::linuxdesk {
namespace {

TEST(Tastaturkuerzelseite, DerDesktopDerSitzungKommtAusXdgCurrentDesktop) {
    struct Fall {
        std::string wert;
        KuerzelDesktop desktop;
    };
    for (const Fall& f : {Fall{"GNOME", KuerzelDesktop::gnome}, Fall{"ubuntu:GNOME", KuerzelDesktop::gnome},
                          Fall{"KDE", KuerzelDesktop::kde}, Fall{"XFCE", KuerzelDesktop::anderer},
                          Fall{"", KuerzelDesktop::anderer}}) {
        EXPECT_EQ(kuerzelDesktopAus(f.wert), f.desktop) << f.wert;
    }
}

// Only the session's own desktop's settings change its shortcuts: another desktop's
// program is never opened, even when it is installed.
TEST(Tastaturkuerzelseite, NurDieKuerzelEinstellungenDesEigenenDesktops) {
    struct Fall {
        KuerzelDesktop desktop;
        std::set<std::string> vorhanden;
        std::optional<Einstellungsprogramm> erwartet;
    };
    const std::set<std::string> beide{"gnome-control-center", "systemsettings"};
    const Fall faelle[] = {
        {KuerzelDesktop::gnome, beide, Einstellungsprogramm{"/usr/bin/gnome-control-center", {"keyboard"}}},
        {KuerzelDesktop::kde, beide, Einstellungsprogramm{"/usr/bin/systemsettings", {"kcm_keys"}}},
        {KuerzelDesktop::gnome, {"systemsettings"}, std::nullopt},
        {KuerzelDesktop::kde, {}, std::nullopt},
        {KuerzelDesktop::anderer, beide, std::nullopt},
    };
    for (const Fall& f : faelle) {
        auto finde = [&](const std::string& name) { return f.vorhanden.count(name) ? "/usr/bin/" + name : std::string(); };
        EXPECT_EQ(tastaturkuerzelProgramm(f.desktop, finde), f.erwartet)
            << static_cast<int>(f.desktop) << " " << f.vorhanden.size();
    }
}

}  // namespace
}  // namespace klebwerk::linuxdesk
