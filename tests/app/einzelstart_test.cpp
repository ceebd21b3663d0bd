#include <gtest/gtest.h>

#include "app/einzelstart.h"
#include "platform/sim/sim_einzelinstanz.h"
#include "platform/sim/virtuelle_uhr.h"

namespace klebwerk {
namespace {

using sim::SimEinzelinstanz;
using sim::SimSitzungsbus;

struct Einzelstart : ::testing::Test {
    sim::VirtuelleUhr uhr;
    SimSitzungsbus bus;
    int pausen = 0;
    Startweg starte(SimEinzelinstanz& instanz, int& gerufen) {
        return entscheideStart(instanz, [&gerufen] { ++gerufen; }, [this] { ++pausen; });
    }
};

// The first start holds the session's name; a second one calls it and ends, and the
// first hears of it on its own main thread, not inside the second's call.
TEST_F(Einzelstart, DerZweiteStartRuftDenErstenUndEndet) {
    SimEinzelinstanz erste(bus, uhr), zweite(bus, uhr);
    int ersteGerufen = 0, zweiteGerufen = 0;
    ASSERT_EQ(starte(erste, ersteGerufen), Startweg::eigene);
    EXPECT_EQ(starte(zweite, zweiteGerufen), Startweg::uebergeben);
    EXPECT_EQ(ersteGerufen, 0);
    uhr.laufeFaelliges();
    EXPECT_EQ(ersteGerufen, 1);
    EXPECT_EQ(zweiteGerufen, 0);

    // Once the first has given the name up, a new start is the instance again.
    erste.gibAuf();
    SimEinzelinstanz dritte(bus, uhr);
    int dritteGerufen = 0;
    EXPECT_EQ(starte(dritte, dritteGerufen), Startweg::eigene);
    EXPECT_EQ(pausen, 0);
}

// How a start ends when the name's holder is not a plain running instance.
TEST_F(Einzelstart, OhneBusStartetEsTrotzdemUndEinHaengenderHalterBeendetDenStart) {
    struct Fall {
        const char* name;
        bool erreichbar;
        bool haengt;
        bool gehtWeg;
        Startweg erwartet;
        int pausen;
    };
    const Fall faelle[] = {
        {"no session bus", false, false, false, Startweg::ohneName, 0},
        {"the holder hangs", true, true, false, Startweg::haengt, 0},
        // The instance of a relaunch or of a test before: it leaves during the call.
        {"the holder goes away", true, false, true, Startweg::eigene, 1},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        SimSitzungsbus b;
        pausen = 0;
        SimEinzelinstanz halter(b, uhr), neu(b, uhr);
        int gerufen = 0;
        ASSERT_EQ(entscheideStart(halter, [&gerufen] { ++gerufen; }, [] {}), Startweg::eigene);
        b.erreichbar = f.erreichbar;
        b.halterHaengt = f.haengt;
        b.halterGehtWeg = f.gehtWeg;
        EXPECT_EQ(entscheideStart(neu, [] {}, [this] { ++pausen; }), f.erwartet);
        EXPECT_EQ(pausen, f.pausen);
        uhr.laufeFaelliges();
        EXPECT_EQ(gerufen, 0) << "nobody brought the old panel forward";
    }
}

TEST_F(Einzelstart, EinNameDerNieFreiWirdBeendetDenStartNachDenVersuchen) {
    // A holder that goes away at every call but whose name is taken again at once.
    struct ImmerWeg : SimEinzelinstanz {
        using SimEinzelinstanz::SimEinzelinstanz;
        Anspruch beanspruche(std::function<void()>) override { return Anspruch::vergeben; }
        Ruf rufe() override { return Ruf::niemand; }
    } instanz(bus, uhr);
    EXPECT_EQ(entscheideStart(instanz, [] {}, [this] { ++pausen; }, 5), Startweg::haengt);
    EXPECT_EQ(pausen, 4);
}

}  // namespace
}  // namespace klebwerk
