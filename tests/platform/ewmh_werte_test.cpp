#include <gtest/gtest.h>

#include "platform/x11/ewmh_werte.h"

namespace klebwerk::x11 {
using namespace std::string_literals;
namespace {

TEST(EwmhWerte, Titel) {
    struct Fall {
        std::string netz;
        bool netzGesetzt;
        std::string alt;
        bool latin1;
        std::string erwartet;
    };
    const Fall faelle[] = {
        {"Grüße", true, "alt", true, "Grüße"},
        {"", true, "Alt", true, "Alt"},                   // empty _NET_WM_NAME falls back
        {"", false, "Gr\xFC\xDF" "e", true, "Grüße"},     // WM_NAME as Latin-1 STRING
        {"", false, "Grüße", false, "Grüße"},             // WM_NAME as UTF8_STRING
        {"Titel\0"s, true, "", true, "Titel"},            // trailing NUL
        {"a\xFF" "b", true, "", true, "a\xEF\xBF\xBD" "b"},  // broken UTF-8 replaced
        {"\xC0\xAF", true, "", true, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // overlong form
        {"", false, "", true, ""},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(fenstertitel(f.netz, f.netzGesetzt, f.alt, f.latin1), f.erwartet) << f.netz << "|" << f.alt;
    }
}

TEST(EwmhWerte, Fensterklasse) {
    using namespace std::string_literals;
    EXPECT_EQ(fensterklasse("chromium\0Chromium\0"s), (FensterKlasse{"chromium", "Chromium"}));
    EXPECT_EQ(fensterklasse("nur"s), (FensterKlasse{"nur", ""}));
    EXPECT_EQ(fensterklasse(""s), (FensterKlasse{"", ""}));
}

TEST(EwmhWerte, ArtUndSchicht) {
    struct Fall {
        std::vector<std::string> typen;
        bool transient;
        std::string art;
        int schicht;
    };
    const Fall faelle[] = {
        {{"_NET_WM_WINDOW_TYPE_NORMAL"}, false, "normal", 0},
        {{}, false, "normal", 0},
        {{}, true, "dialog", 8},  // no type but transient: a dialog
        {{"_KDE_NET_WM_WINDOW_TYPE_OVERRIDE", "_NET_WM_WINDOW_TYPE_NORMAL"}, false, "normal", 0},
        {{"_NET_WM_WINDOW_TYPE_DOCK"}, false, "dock", 20},
        {{"_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_NORMAL"}, false, "popup_menu", 101},
        {{"_NET_WM_WINDOW_TYPE_TOOLTIP"}, false, "tooltip", 200},
        {{"_NET_WM_WINDOW_TYPE_NOTIFICATION"}, false, "notification", 25},
        {{"_NET_WM_WINDOW_TYPE_UTILITY"}, false, "utility", 3},
        {{"_NET_WM_WINDOW_TYPE_DESKTOP"}, false, "desktop", -2147483623},
    };
    for (const auto& f : faelle) {
        std::string art = fensterart(f.typen, f.transient);
        EXPECT_EQ(art, f.art);
        EXPECT_EQ(schichtFuer(art), f.schicht) << art;
    }
}

TEST(EwmhWerte, StandardfensterIstNormalUndNichtTransient) {
    struct Fall {
        std::vector<std::string> typen;
        std::uint32_t transientFuer;
        bool standard;
    };
    const Fall faelle[] = {
        {{"_NET_WM_WINDOW_TYPE_NORMAL"}, 0, true},
        {{}, 0, true},
        {{"_NET_WM_WINDOW_TYPE_NORMAL"}, 0x400007, false},  // normal by type, yet transient
        {{}, 0x400007, false},
        {{"_NET_WM_WINDOW_TYPE_DIALOG"}, 0, false},
        {{"_NET_WM_WINDOW_TYPE_UTILITY"}, 0, false},
        {{"_NET_WM_WINDOW_TYPE_SPLASH"}, 0, false},
    };
    for (const auto& f : faelle) {
        EXPECT_EQ(istStandardfenster(fensterart(f.typen, f.transientFuer != 0), f.transientFuer), f.standard)
            << (f.typen.empty() ? "none" : f.typen[0]) << " " << f.transientFuer;
    }
}

TEST(EwmhWerte, StapelUndSichtbarkeit) {
    EXPECT_EQ(vonVorn({1, 2, 3}), (std::vector<std::uint32_t>{3, 2, 1}));
    EXPECT_TRUE(aufBildschirm(true, false, 1, 1));
    EXPECT_TRUE(aufBildschirm(true, false, 0xFFFFFFFF, 1));  // on every desktop
    EXPECT_TRUE(aufBildschirm(true, false, -1, -1));         // no desktops at all
    EXPECT_FALSE(aufBildschirm(true, false, 0, 1));          // another desktop
    EXPECT_FALSE(aufBildschirm(true, true, 1, 1));           // minimised
    EXPECT_FALSE(aufBildschirm(false, false, 1, 1));         // unmapped
}

}  // namespace
}  // namespace klebwerk::x11
