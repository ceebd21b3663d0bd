// Pairing accessible windows with desktop windows, and the window-only elements of
// desktop windows without an accessible counterpart.

#include <gtest/gtest.h>

#include <map>

#include "platform/atspi/atspi_fensterelement.h"
#include "platform/atspi/atspi_paarung.h"

namespace klebwerk::atspi {
namespace {

// mousepad (GTK 3) as seen under openbox: client area at (1, 315) 640×480, frame 1/1/20/5.
const FensterFakten mousepad{11, 100, "Untitled 1 - Mousepad", {1, 315, 640, 480}, {0, 295, 642, 505}, true};
// gnome-text-editor (GTK 4) without decorations of the window manager.
const FensterFakten editor{12, 200, "New Document (Draft) - Text Editor", {580, 0, 700, 520}, {580, 0, 700, 520}, true};
// Two windows of one process with the same title.
const FensterFakten links{21, 300, "Ohne Titel", {0, 0, 400, 300}, {0, -20, 400, 320}, true};
const FensterFakten rechts{22, 300, "Ohne Titel", {600, 0, 400, 300}, {600, -20, 400, 320}, true};

TEST(Fensterpaarung, ProzessUndTitelEntscheidenGeometrieNurUnterMehreren) {
    const std::vector<FensterFakten> alle{mousepad, editor, links, rechts};
    struct Fall {
        const char* was;
        ZugaenglichesFenster zugaenglich;
        std::set<std::int64_t> vergeben;
        std::optional<std::int64_t> erwartet;
    };
    const Fall faelle[] = {
        // GTK 3 reports the outer frame, which the client area does not contain.
        {"GTK 3 frame", {100, "Untitled 1 - Mousepad", Rechteck{0, 295, 642, 505}}, {}, 11},
        // GTK 4 reports no position at all.
        {"GTK 4 without position", {200, "New Document (Draft) - Text Editor", std::nullopt}, {}, 12},
        {"GTK 4 at (0, 0)", {200, "New Document (Draft) - Text Editor", Rechteck{0, 0, 690, 510}}, {}, 12},
        {"title of another process", {200, "Untitled 1 - Mousepad", Rechteck{0, 295, 642, 505}}, {}, std::nullopt},
        {"another title", {100, "Untitled 2 - Mousepad", Rechteck{0, 295, 642, 505}}, {}, std::nullopt},
        {"already paired", {100, "Untitled 1 - Mousepad", std::nullopt}, {11}, std::nullopt},
        {"several, no position", {300, "Ohne Titel", std::nullopt}, {}, std::nullopt},
        {"several, client area", {300, "Ohne Titel", Rechteck{600, 0, 400, 300}}, {}, 22},
        {"several, outer frame", {300, "Ohne Titel", Rechteck{0, -20, 400, 320}}, {}, 21},
        {"several, nowhere near", {300, "Ohne Titel", Rechteck{300, 500, 100, 100}}, {}, std::nullopt},
        {"several, halfway", {300, "Ohne Titel", Rechteck{300, 0, 400, 300}}, {}, std::nullopt},
        {"several, one taken", {300, "Ohne Titel", std::nullopt}, {22}, 21},
    };
    for (const Fall& f : faelle) EXPECT_EQ(waehlePaar(f.zugaenglich, alle, f.vergeben), f.erwartet) << f.was;
}

TEST(Fensterpaarung, NurGtk4MeldetKeineBildschirmlage) {
    struct Fall {
        const char* name;
        const char* version;
        bool erwartet;
    };
    const Fall faelle[] = {
        {"Qt", "6.4.2", true}, {"gtk", "3.24.38", true}, {"GTK", "4.8.3", false},
        {"GTK", "5.0", false}, {"Gecko", "115.0", true}, {"", "", true},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(meldetBildschirmlage(QString::fromLatin1(f.name), QString::fromLatin1(f.version)), f.erwartet)
            << f.name << " " << f.version;
    }
}

// Desktop windows as a test sets them.
class TestDesktop : public DesktopFenster {
public:
    std::map<std::int64_t, FensterFakten> da;  // managed
    std::set<std::int64_t> gezeigt;            // of those, mapped on the current workspace
    std::int64_t aktiv = 0;
    std::vector<std::int64_t> gehoben;

    void neu(const FensterFakten& f) {
        da[f.nummer] = f;
        gezeigt.insert(f.nummer);
    }
    std::vector<FensterFakten> kandidaten() override {
        std::vector<FensterFakten> liste;
        for (const auto& [nr, f] : da)
            if (gezeigt.count(nr)) liste.push_back(f);
        return liste;
    }
    std::optional<FensterFakten> fenster(std::int64_t nummer) override {
        auto it = da.find(nummer);
        if (it == da.end()) return std::nullopt;
        return it->second;
    }
    std::int64_t aktives() override { return aktiv; }
    bool hebe(std::int64_t nummer) override {
        gehoben.push_back(nummer);
        return true;
    }
    Marke beobachte(std::int64_t, std::function<void(Aenderung)>) override { return {}; }
};

TEST(Fensterpaarung, PaarHaeltUeberMinimierenUndEndetMitDemFenster) {
    TestDesktop desktop;
    desktop.neu(mousepad);
    Fensterpaare paare(desktop);
    const Adresse a{":1.7", "/org/a11y/atspi/accessible/1"};
    const ZugaenglichesFenster z{100, mousepad.titel, std::nullopt};
    EXPECT_EQ(paare.stand(a), Fensterpaare::Stand::keins);
    ASSERT_EQ(paare.paare(a, z), 11);

    // Minimised: no longer mapped, still managed. The pair stays, even under a new title.
    desktop.gezeigt.clear();
    desktop.da[11].titel = "Untitled 1 - Mousepad *";
    EXPECT_EQ(paare.stand(a), Fensterpaare::Stand::lebt);
    EXPECT_EQ(paare.paare(a, z), 11);
    EXPECT_EQ(paare.gepaarte(), std::set<std::int64_t>{11});

    // A second accessible window of the same title does not take the same window.
    desktop.gezeigt.insert(11);
    EXPECT_EQ(paare.paare({":1.7", "/org/a11y/atspi/accessible/2"}, {100, desktop.da[11].titel, std::nullopt}),
              std::nullopt);

    // Destroyed: the pair is gone for good, and a later window is not taken for it.
    desktop.da.erase(11);
    EXPECT_EQ(paare.stand(a), Fensterpaare::Stand::weg);
    FensterFakten spaeter = mousepad;
    spaeter.nummer = 13;
    desktop.neu(spaeter);
    EXPECT_EQ(paare.paare(a, z), std::nullopt);
    EXPECT_TRUE(paare.gepaarte().empty());
}

TEST(Fensterelement, FaktenVomDesktopSolangeDasFensterDaIst) {
    TestDesktop desktop;
    FensterFakten xterm{0x20000c, 400, "Terminal Probe", {398, 249, 484, 316}, {397, 229, 486, 341}, true};
    desktop.neu(xterm);
    const Element e = nurFenster(400, xterm.nummer);
    EXPECT_EQ(nurFensterNummer(e), xterm.nummer);
    EXPECT_EQ(nurFensterNummer(Element{Element::Art::objekt, 400, ":1.2", "/fenster/2097164"}), std::nullopt);
    EXPECT_EQ(nurFensterNummer(Element{Element::Art::objekt, 400, "", "/fenster/0x2"}), std::nullopt);

    EXPECT_EQ(nurFensterWert(desktop, e, "AXRole"), Wert("AXWindow"));
    EXPECT_EQ(nurFensterWert(desktop, e, "AXSubrole"), Wert("AXStandardWindow"));
    EXPECT_EQ(nurFensterWert(desktop, e, "AXTitle"), Wert("Terminal Probe"));
    EXPECT_EQ(nurFensterWert(desktop, e, "AXPosition"), Wert(Punkt{398, 249}));
    EXPECT_EQ(nurFensterWert(desktop, e, "AXSize"), Wert(Groesse{484, 316}));
    EXPECT_EQ(nurFensterWert(desktop, e, "AXChildren"), Wert(WertListe{}));
    EXPECT_EQ(nurFensterWert(desktop, e, "AXParent"), Wert(Element{Element::Art::anwendung, 400, "", ""}));
    EXPECT_EQ(nurFensterWert(desktop, e, "AXMain"), Wert(false));
    desktop.aktiv = xterm.nummer;
    EXPECT_EQ(nurFensterWert(desktop, e, "AXMain"), Wert(true));
    EXPECT_TRUE(nurFensterWert(desktop, e, "AXValue").fehlt());

    // Minimised it is still a window; destroyed it is nothing.
    desktop.gezeigt.clear();
    EXPECT_EQ(nurFensterWert(desktop, e, "AXRole"), Wert("AXWindow"));
    desktop.da.clear();
    for (const std::string& a : nurFensterAttribute()) EXPECT_TRUE(nurFensterWert(desktop, e, a).fehlt()) << a;
}

}  // namespace
}  // namespace klebwerk::atspi
