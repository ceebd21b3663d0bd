#include <gtest/gtest.h>

#include <set>

#include "platform/x11/zugaenglichkeitsseite.h"

namespace klebwerk::x11 {
namespace {

TEST(Zugaenglichkeitsseite, DasErsteBekannteProgrammDesDesktops) {
    struct Fall {
        std::set<std::string> vorhanden;
        std::optional<Einstellungsprogramm> erwartet;
    };
    const Fall faelle[] = {
        {{}, std::nullopt},
        {{"mate-at-properties"}, Einstellungsprogramm{"/usr/bin/mate-at-properties", {}}},
        {{"systemsettings", "mate-at-properties"}, Einstellungsprogramm{"/usr/bin/systemsettings", {"kcm_access"}}},
        {{"systemsettings", "gnome-control-center"},
         Einstellungsprogramm{"/usr/bin/gnome-control-center", {"universal-access"}}},
    };
    for (const Fall& f : faelle) {
        auto finde = [&](const std::string& name) { return f.vorhanden.count(name) ? "/usr/bin/" + name : std::string(); };
        EXPECT_EQ(zugaenglichkeitsProgramm(finde), f.erwartet) << f.vorhanden.size();
    }
}

}  // namespace
}  // namespace klebwerk::x11
