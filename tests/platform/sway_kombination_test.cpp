#include <gtest/gtest.h>

#include <algorithm>

#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/tastenkuerzel.h"
#include "platform/wayland/sway_kombination.h"

namespace klebwerk::wayland {
namespace {

TEST(SwayKombinationTest, SystemTasteUndCarbonMaskeWerdenZuSwaysTastentext) {
    struct Fall {
        std::uint16_t code;
        std::uint32_t maske;
        std::string text;
    };
    const Fall faelle[] = {
        {0x01, carbon::control | carbon::option, "Ctrl+Mod1+s"},
        {0x28, carbon::befehl | carbon::umschalt, "Mod4+Shift+k"},
        {0x6F, 0, "F12"},
        {0x24, carbon::befehl | carbon::control | carbon::option | carbon::umschalt, "Mod4+Ctrl+Mod1+Shift+Return"},
        {0x2B, carbon::option, "Mod1+comma"},
    };
    for (const Fall& f : faelle) EXPECT_EQ(swayKombinationstext(f.code, f.maske), f.text) << f.text;
    EXPECT_FALSE(swayKombinationstext(0x34, carbon::befehl));  // a code without a key here
}

TEST(SwayKombinationTest, GleicheBindungTrotzSchreibweiseUndReihenfolge) {
    auto k = leseKombination("Mod4+Shift+k");
    ASSERT_TRUE(k);
    EXPECT_EQ(k->modifikatoren, swaymod::mod4 | swaymod::shift);
    EXPECT_EQ(k->tasten, std::vector<std::uint32_t>{XKB_KEY_k});
    for (const char* gleich : {"shift+mod4+K", "SHIFT+Mod4+k", "Group2+Mod4+Shift+k"})
        EXPECT_EQ(leseKombination(gleich), k) << gleich;
    EXPECT_EQ(leseKombination("Control+Alt+s"), leseKombination("Ctrl+Mod1+s"));
    EXPECT_NE(leseKombination("Mod4+k"), k);
    for (const char* keine : {"button1", "Mod4+", "Mod4+keineTaste", "Mod4"}) EXPECT_FALSE(leseKombination(keine)) << keine;
}

TEST(SwayKombinationTest, KonfigurationBindetMitVariablenUndBloeckenNurWasImStandardmodusSteht) {
    const std::string konfiguration = R"(# the user's config
set $mod Mod4
set $m $mod+Shift
set $modifier Ctrl
bindsym $mod+Return exec foot
bindsym --no-warn --to-code $m+q kill
bindsym $modifier+Mod1+t \
    exec foot
# bindsym $mod+x exit
bindsym {
    $mod+1 workspace number 1
    $mod+2 workspace number 2
}
mode "resize" {
    bindsym $mod+h resize shrink width 10px
    bindsym Escape mode "default"
}
bar {
    position top
}
bindsym $mod+b splith
bindcode $mod+38 exec nothing
)";
    const auto gebunden = gebundeneKombinationen(konfiguration);
    auto gebundenIst = [&](const char* text) {
        return std::find(gebunden.begin(), gebunden.end(), *leseKombination(text)) != gebunden.end();
    };
    // $modifier is not $mod followed by "ifier": the longest name counts.
    for (const char* ja : {"Mod4+Return", "Mod4+Shift+q", "Ctrl+Mod1+t", "Mod4+1", "Mod4+2", "Mod4+b"})
        EXPECT_TRUE(gebundenIst(ja)) << ja;
    // Commented out, only in another mode, or not bound at all.
    for (const char* nein : {"Mod4+x", "Mod4+h", "Escape", "Mod4+q", "Mod4+Shift+Return", "Mod4+t"})
        EXPECT_FALSE(gebundenIst(nein)) << nein;
    EXPECT_EQ(gebunden.size(), 6u);
}

}  // namespace
}  // namespace klebwerk::wayland
