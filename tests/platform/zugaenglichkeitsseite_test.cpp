#include <gtest/gtest.h>

#include <set>

#include "platform/linux/zugaenglichkeitsseite.h"

namespace klebwerk::linuxdesk {
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
}  // namespace klebwerk::linuxdesk
