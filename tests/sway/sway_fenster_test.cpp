#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "desktop/x11_hilfe.h"
#include "platform/wayland/sway_desktopfenster.h"
#include "platform/wayland/sway_fenster.h"

namespace klebwerk::wayland {
namespace {

using test::Probefenster;
using test::warteBis;

class SwayFensterTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto ipc = SwayIpc::ausUmgebung();
        if (!ipc) GTEST_SKIP() << "no sway session (SWAYSOCK is not set)";
        dienst_.emplace(*ipc);
    }

    // The window of that process, once sway lists it with its title.
    std::optional<SwayFenster> fensterVon(int pid, const std::string& titel) {
        std::optional<SwayFenster> gefunden;
        warteBis([&] {
            for (const SwayFenster& f : dienst_->lies().fenster)
                if (f.pid == pid && f.titel == titel && f.rahmen.breite > 0) gefunden = f;
            return gefunden.has_value();
        });
        return gefunden;
    }
    std::optional<std::int64_t> vorderstesId() {
        auto lesung = dienst_->lies();
        if (!lesung.gelesen() || lesung.fenster.empty()) return std::nullopt;
        return lesung.fenster.front().conId;
    }

    std::optional<SwayFensterdienst> dienst_;
};

TEST_F(SwayFensterTest, ListetQtFensterMitProzessTitelAppIdUndFlaecheVonVorn) {
    Probefenster eins("Erstes Fenster", 0, 0, 300, 200);
    auto erstes = fensterVon(eins.pid(), "Erstes Fenster");
    ASSERT_TRUE(erstes);
    Probefenster zwei("Zweites Fenster", 0, 0, 300, 200);
    auto zweites = fensterVon(zwei.pid(), "Zweites Fenster");
    ASSERT_TRUE(zweites);

    EXPECT_EQ(zweites->appId, "klebwerk_probefenster");
    EXPECT_TRUE(zweites->sichtbar);
    // Tiled side by side, once sway has made room: two areas that do not overlap.
    EXPECT_TRUE(warteBis([&] {
        erstes = fensterVon(eins.pid(), "Erstes Fenster");
        zweites = fensterVon(zwei.pid(), "Zweites Fenster");
        if (!erstes || !zweites) return false;
        const Rechteck a = erstes->rahmen, b = zweites->rahmen;
        return a.x + a.breite <= b.x || b.x + b.breite <= a.x;
    }));
    ASSERT_TRUE(erstes && zweites);

    // The newest window has the focus and is in front; the window list says the same.
    ASSERT_TRUE(warteBis([&] { return vorderstesId() == zweites->conId; }));
    std::string fehler;
    auto fokus = dienst_->fokussiertes(fehler);
    ASSERT_TRUE(fokus) << fehler;
    EXPECT_EQ(fokus->conId, zweites->conId);

    SwayFensterliste liste(*dienst_);
    auto info = liste.fenster();
    ASSERT_GE(info.size(), 2u);
    EXPECT_EQ(info[0].nummer, zweites->conId);
    EXPECT_EQ(info[0].pid, zwei.pid());
    EXPECT_EQ(info[0].titel, "Zweites Fenster");
    EXPECT_EQ(info[0].besitzer, "klebwerk_probefenster");
    // Inside the one output, not empty (the exact area moves while sway lays out).
    const Rechteck r = info[0].rahmen;
    EXPECT_TRUE(r.breite > 0 && r.hoehe > 0 && r.x >= 0 && r.y >= 0 && r.x + r.breite <= 1280 && r.y + r.hoehe <= 800);
    EXPECT_EQ(info[1].nummer, erstes->conId);
}

TEST_F(SwayFensterTest, AktivierungGibtDemQtFensterDenFokusUndHoltEsNachVorn) {
    Probefenster eins("Ziel", 0, 0, 300, 200);
    auto ziel = fensterVon(eins.pid(), "Ziel");
    ASSERT_TRUE(ziel);
    Probefenster zwei("Davor", 0, 0, 300, 200);
    auto davor = fensterVon(zwei.pid(), "Davor");
    ASSERT_TRUE(davor);
    ASSERT_TRUE(warteBis([&] { return vorderstesId() == davor->conId; }));
    // Both Qt windows have seen the focus move, so that taking it back is a change.
    ASSERT_TRUE(warteBis([&] { return zwei.hat("fokus") && eins.hat("fokus weg"); }));
    auto fokusZeilen = [&eins] {
        auto z = eins.zeilen();
        return std::count(z.begin(), z.end(), "fokus");
    };
    const auto vorher = fokusZeilen();

    std::string fehler;
    ASSERT_TRUE(dienst_->aktiviere(ziel->conId, fehler)) << fehler;
    EXPECT_TRUE(warteBis([&] { return vorderstesId() == ziel->conId; }));
    // The focus reached the Qt window itself, not only sway's tree.
    EXPECT_TRUE(warteBis([&] { return fokusZeilen() > vorher; })) << "the window was not focused again: " << [&] {
        std::string t;
        for (const auto& z : eins.zeilen()) t += z + "|";
        return t;
    }() << " vorher " << vorher;

    ASSERT_TRUE(dienst_->aktivierePid(zwei.pid(), fehler)) << fehler;
    EXPECT_TRUE(warteBis([&] { return vorderstesId() == davor->conId; }));
}

TEST_F(SwayFensterTest, BeobachtetesFensterMeldetSeinEndeAusSwaysEreignissen) {
    SwayDesktopFenster desktop(*dienst_, *SwayIpc::ausUmgebung());
    Probefenster probe("Beobachtet", 0, 0, 300, 200);
    auto f = fensterVon(probe.pid(), "Beobachtet");
    ASSERT_TRUE(f);
    auto fakten = desktop.fenster(f->conId);
    ASSERT_TRUE(fakten);
    EXPECT_EQ(fakten->pid, probe.pid());
    EXPECT_EQ(fakten->titel, "Beobachtet");

    std::atomic<int> weg = 0;
    Marke m = desktop.beobachte(f->conId, [&](atspi::DesktopFenster::Aenderung a) {
        if (a == atspi::DesktopFenster::Aenderung::weg) ++weg;
    });
    // The subscription is made on its own thread: an event before it would be missed.
    ASSERT_TRUE(warteBis([&] { return desktop.abonniert(); }));
    probe.beende();
    EXPECT_TRUE(warteBis([&] { return weg == 1; }));
    EXPECT_FALSE(desktop.fenster(f->conId));
}

TEST_F(SwayFensterTest, AktivierungOhneFensterScheitertMitGrund) {
    std::string fehler;
    EXPECT_FALSE(dienst_->aktiviere(999999, fehler));
    EXPECT_FALSE(fehler.empty());
    fehler.clear();
    EXPECT_FALSE(dienst_->aktivierePid(999999, fehler));
    EXPECT_EQ(fehler, "no window of process 999999");
}

}  // namespace
}  // namespace klebwerk::wayland
