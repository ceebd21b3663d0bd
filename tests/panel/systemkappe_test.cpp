#include <gtest/gtest.h>

#include "app/sprache.h"
#include "panel/bedienfeld.h"
#include "panel/kappen_knopf.h"
#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

// A cap of the desktop's screenshot shortcuts leads to the shortcut settings of the
// session's desktop and says where to look there, in both languages.
TEST(Systemkappe, OeffnetDieKuerzelEinstellungenUndSagtWoDasKuerzelAufDiesemDesktopSteht) {
    struct Fall {
        KuerzelDesktop desktop;
        bool englisch;
        std::string hinweis;
    };
    const Fall faelle[] = {
        {KuerzelDesktop::gnome, false, "Ändern unter Einstellungen › Tastatur › Tastaturkürzel › Bildschirmfotos"},
        {KuerzelDesktop::gnome, true, "Change under Settings › Keyboard › Keyboard Shortcuts › Screenshots"},
        {KuerzelDesktop::kde, false, "Ändern unter Systemeinstellungen › Kurzbefehle › Spectacle"},
        {KuerzelDesktop::kde, true, "Change under System Settings › Shortcuts › Spectacle"},
        {KuerzelDesktop::anderer, false, "Ändern in den Tastatureinstellungen des Desktops"},
        {KuerzelDesktop::anderer, true, "Change in the desktop's keyboard settings"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.hinweis);
        setzeEnglisch(f.englisch);
        test::SimUmgebung u;
        u.desktop.systemkuerzel.art = f.desktop;
        // Both caps do the same.
        for (int nummer : {30, 184}) {
            KappenKnopf kappe;
            kappe.tag = nummer;
            u.steuerung->feld().systemKappeGedrueckt(&kappe);
        }
        EXPECT_EQ(u.desktop.klang.gespielt.size(), 2u) << "a click per press";
        EXPECT_EQ(u.desktop.arbeitsplatz.geoeffnet, std::vector<std::string>(2, tastaturkuerzelLink));
        EXPECT_TRUE(u.steuerung->hinweis.sichtbar());
        EXPECT_EQ(u.steuerung->hinweis.text(), f.hinweis);
        u.desktop.uhr.vorwaerts(4.9);
        EXPECT_TRUE(u.steuerung->hinweis.sichtbar());
        u.desktop.uhr.vorwaerts(0.2);
        EXPECT_FALSE(u.steuerung->hinweis.sichtbar()) << "gone after 5 s";
    }
    setzeEnglisch(false);
}

}  // namespace
}  // namespace klebwerk
