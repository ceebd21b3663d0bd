#include <gtest/gtest.h>

#include <cstdlib>

#include <xkbcommon/xkbcommon-keysyms.h>

#include "desktop/x11_hilfe.h"
#include "platform/wayland/sway_fenster.h"
#include "platform/wayland/virtuelle_tastatur.h"
#include "platform/wayland/wayland_eingabe.h"
#include "platform/wayland/wayland_zwischenablage.h"

namespace klebwerk::wayland {
namespace {

using test::Probefenster;
using test::TestSchleife;
using test::warteBis;

constexpr int qtControl = 0x04000000;

class VirtuelleTastaturTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto ipc = SwayIpc::ausUmgebung();
        if (!ipc || !std::getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no sway session";
        dienst_.emplace(*ipc);
    }

    // The probe window, focused through the IPC.
    void oeffneFenster() {
        fenster_ = std::make_unique<Probefenster>("Tastenziel", 0, 0, 400, 300);
        std::optional<std::int64_t> conId;
        ASSERT_TRUE(warteBis([&] {
            for (const auto& f : dienst_->lies().fenster)
                if (f.pid == fenster_->pid()) conId = f.conId;
            return conId.has_value();
        }));
        std::string fehler;
        ASSERT_TRUE(dienst_->aktiviere(*conId, fehler)) << fehler;
        ASSERT_TRUE(warteBis([&] { return fenster_->hat("fokus"); }));
    }

    // Presses the key until the window reports a line beginning with `anfang`: a client
    // takes the seat's new keyboard only after the compositor announced it.
    bool kommtAn(VirtuelleTastatur& t, std::uint32_t keysym, std::uint32_t mods, const std::string& anfang) {
        auto gesehen = [&] {
            for (const auto& z : fenster_->zeilen())
                if (z.rfind(anfang, 0) == 0) return true;
            return false;
        };
        return warteBis([&] {
            std::string fehler;
            if (!t.druecke(keysym, mods, fehler)) return false;
            return warteBis(gesehen, 0.2);
        });
    }

    std::optional<SwayFensterdienst> dienst_;
    std::unique_ptr<Probefenster> fenster_;
};

TEST_F(VirtuelleTastaturTest, TastenKommenNachDemLayoutImQtFensterAn) {
    oeffneFenster();
    struct Fall {
        std::string layout;
        std::uint32_t keysym;
        std::uint32_t mods;
        std::string zeile;
    };
    // Each keysym is sent as the key that gives it on that layout.
    const Fall faelle[] = {
        {"us", XKB_KEY_a, 0, "taste 65 0"},
        {"de", XKB_KEY_z, 0, "taste 90 0"},
        {"fr", XKB_KEY_q, 0, "taste 81 0"},
        {"us", XKB_KEY_Return, 0, "taste 16777220 0"},
        {"us", XKB_KEY_b, VirtuelleTastatur::control, "taste 66 " + std::to_string(qtControl)},
    };
    for (const Fall& f : faelle) {
        VirtuelleTastatur tastatur({}, f.layout);
        ASSERT_EQ(tastatur.stoerung(), "") << f.layout;
        EXPECT_TRUE(kommtAn(tastatur, f.keysym, f.mods, f.zeile)) << f.layout << " " << f.zeile;
    }
}

TEST_F(VirtuelleTastaturTest, ControlVFuegtDieEigeneZwischenablageEin) {
    oeffneFenster();
    TestSchleife schleife;
    WaylandZwischenablage ablage(schleife);
    ASSERT_TRUE(ablage.schreibe({{{"image/png", std::string("\x89PNG\r\n\x1a\n", 8)}}}));
    VirtuelleTastatur tastatur;
    ASSERT_EQ(tastatur.stoerung(), "");
    EXPECT_TRUE(kommtAn(tastatur, XKB_KEY_v, VirtuelleTastatur::control, "einfuegen image/png"));
}

TEST_F(VirtuelleTastaturTest, TasteMitPidHoltDasFensterNachVornUndSendetBefehlVAlsControlV) {
    oeffneFenster();
    Probefenster davor("Davor", 0, 0, 300, 200);
    ASSERT_TRUE(warteBis([&] { return davor.hat("fokus") && fenster_->hat("fokus weg"); }));

    VirtuelleTastatur tastatur;
    WaylandEingabe eingabe(tastatur, *dienst_);
    // The system's key codes: V with ⌘, then Return, both to the window behind.
    auto gesehen = [&](const std::string& zeile) { return warteBis([&] { return fenster_->hat(zeile); }, 0.2); };
    EXPECT_TRUE(warteBis([&] {
        eingabe.taste(0x09, flagge::befehl, fenster_->pid());
        return gesehen("taste 86 " + std::to_string(qtControl));
    }));
    EXPECT_TRUE(warteBis([&] {
        eingabe.taste(0x24, 0, fenster_->pid());
        return gesehen("taste 16777220 0");
    }));
    EXPECT_FALSE(davor.hat("taste 86 " + std::to_string(qtControl)));
    // Nothing the user holds combines with these keys.
    EXPECT_EQ(eingabe.eigeneFlaggen(flagge::befehl), flagge::modifikatoren);
}

TEST_F(VirtuelleTastaturTest, ZeichenEinerTasteNachDemLayout) {
    VirtuelleTastatur us({}, "us"), de({}, "de");
    WaylandEingabe aufUs(us, *dienst_), aufDe(de, *dienst_);
    // The key at the position of Y gives z on a German layout.
    EXPECT_EQ(aufUs.zeichen(0x10), "y");
    EXPECT_EQ(aufDe.zeichen(0x10), "z");
    EXPECT_EQ(aufDe.zeichen(0x29), "ö");  // the key right of L
}

TEST_F(VirtuelleTastaturTest, OhneTasteFuerDasZeichenEinGrund) {
    VirtuelleTastatur tastatur({}, "us");
    std::string fehler;
    EXPECT_FALSE(tastatur.druecke(XKB_KEY_Cyrillic_a, 0, fehler));
    EXPECT_EQ(fehler, "the keyboard layout has no key for keysym " + std::to_string(XKB_KEY_Cyrillic_a));
}

}  // namespace
}  // namespace klebwerk::wayland
