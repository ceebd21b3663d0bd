// Window observers of the accessibility backend against real X windows: destroyed and
// title notifications come from the X side, on the main lane, never inside the call
// that registered them and never after their token was dropped; minimising is no end.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ax/ax.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/fenstergruppe.h"
#include "desktop/klebwerk_lauf.h"
#include "platform/atspi/atspi_fensterelement.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/x11_desktopfenster.h"

namespace klebwerk {
namespace {

using test::warteBis;

struct Meldungen {
    std::vector<std::pair<std::string, Element>> liste;
    int zahl(const std::string& name, const Element& e) const {
        int n = 0;
        for (const auto& [m, el] : liste) n += m == name && el == e;
        return n;
    }
};

class AtspiBeobachter : public ::testing::Test, public test::AtspiSicht {
protected:
    static void SetUpTestSuite() { test::sorgeFuerAnwendung(); }
    void SetUp() override {
        if (const std::string grund = fehlt(); !grund.empty()) GTEST_SKIP() << grund;
        ASSERT_TRUE(verbinde());
    }
    // The paired accessible window of that title.
    std::optional<Element> fenster(int pid, const std::string& titel) {
        std::optional<Element> gefunden;
        warteBis([&] {
            for (const Element& f : ax->elemente(ax->anwendung(pid), "AXWindows").value_or(std::vector<Element>{})) {
                if (ax->text(f, "AXTitle") == titel && ax->fensterNummer(f) && !f.bus.empty()) gefunden = f;
            }
            return gefunden.has_value();
        });
        return gefunden;
    }
    Marke beobachte(int pid, const Element& e) {
        return zg->beobachte(pid, e, {"AXUIElementDestroyed", "AXTitleChanged"},
                             [this](const std::string& name, const Element& el) { meldungen.liste.emplace_back(name, el); });
    }
    // Runs the main lane's work while waiting.
    bool bis(const std::function<bool()>& bedingung, double frist = 10) {
        return warteBis(
            [&] {
                schleife.abarbeiten();
                return bedingung();
            },
            frist);
    }

    QTemporaryDir ordner;
    Meldungen meldungen;
};

TEST_F(AtspiBeobachter, TitelUndSchliessenKommenVomFensterMinimierenNicht) {
    test::Gruppe gruppe(ordner.path().toStdString(), "beobachtet", {"Erstes", "Zweites"});
    ASSERT_TRUE(warteBis([&] { return gruppe.fenster("Erstes") && gruppe.fenster("Zweites"); }));
    const int pid = gruppe.pid();
    auto erstes = fenster(pid, "Erstes");
    auto zweites = fenster(pid, "Zweites");
    ASSERT_TRUE(erstes && zweites);
    Marke m1 = beobachte(pid, *erstes);
    Marke m2 = beobachte(pid, *zweites);

    // A new title: a notification, and the title reads new (AT-SPI itself says nothing).
    gruppe.befehl("titel Erstes Erstes neu");
    ASSERT_TRUE(bis([&] { return meldungen.zahl("AXTitleChanged", *erstes) == 1; })) << meldungen.liste.size();
    EXPECT_EQ(ax->text(*erstes, "AXTitle"), "Erstes neu");

    // Minimised (openbox unmaps it): still there. The title change after it shows that
    // everything before it was delivered.
    ASSERT_EQ(test::fuehreAus({"xdotool", "windowminimize", "--sync", std::to_string(gruppe.fenster("Erstes"))}), 0);
    ASSERT_TRUE(warteBis([&] {
        auto f = x->fensterMit(gruppe.fenster("Erstes"));
        return f && f->versteckt;
    }));
    gruppe.befehl("titel Erstes Erstes klein");
    ASSERT_TRUE(bis([&] { return meldungen.zahl("AXTitleChanged", *erstes) == 2; }));
    EXPECT_EQ(meldungen.zahl("AXUIElementDestroyed", *erstes), 0);

    // Dropped token: nothing more for that window, even when it closes first.
    m2.aufheben();
    gruppe.befehl("zu Zweites");
    gruppe.befehl("zu Erstes");
    ASSERT_TRUE(bis([&] { return meldungen.zahl("AXUIElementDestroyed", *erstes) == 1; }));
    EXPECT_EQ(meldungen.zahl("AXUIElementDestroyed", *zweites), 0);
    EXPECT_EQ(meldungen.zahl("AXTitleChanged", *zweites), 0);
    EXPECT_EQ(meldungen.liste.size(), 3u);
}

TEST_F(AtspiBeobachter, SchonGeschlossenesFensterMeldetSichErstNachDemAufruf) {
    test::Gruppe gruppe(ordner.path().toStdString(), "beobachtet", {"Kurz"});
    std::uint32_t id = 0;
    ASSERT_TRUE(warteBis([&] { return (id = gruppe.fenster("Kurz")) != 0; }));
    ASSERT_TRUE(warteBis([&] { return desktop->fenster(id).has_value(); }));
    gruppe.befehl("zu Kurz");
    ASSERT_TRUE(warteBis([&] { return !desktop->fenster(id).has_value(); }));

    const Element nur = atspi::nurFenster(gruppe.pid(), id);
    Marke m = beobachte(gruppe.pid(), nur);
    EXPECT_TRUE(meldungen.liste.empty()) << "delivered inside the call";
    ASSERT_TRUE(bis([&] { return meldungen.zahl("AXUIElementDestroyed", nur) == 1; }));
}

// A target kept alive by work still queued at exit drops its token after the backend is gone.
TEST_F(AtspiBeobachter, MarkeDieDenDesktopUeberlebtTutNichts) {
    test::Gruppe gruppe(ordner.path().toStdString(), "beobachtet", {"Bleibt"});
    std::uint32_t id = 0;
    ASSERT_TRUE(warteBis([&] { return (id = gruppe.fenster("Bleibt")) != 0; }));
    Marke spaet;
    {
        x11::XVerbindung eigene;
        x11::XDesktopFenster eigenerDesktop(eigene);
        ASSERT_TRUE(warteBis([&] { return eigenerDesktop.fenster(id).has_value(); }));
        spaet = eigenerDesktop.beobachte(id, [](atspi::DesktopFenster::Aenderung) {});
        ASSERT_TRUE(spaet.aktiv());
    }
    spaet.aufheben();
    EXPECT_FALSE(spaet.aktiv());
}

}  // namespace
}  // namespace klebwerk
