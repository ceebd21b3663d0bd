#include <gtest/gtest.h>

#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

// Another start in the session is the way back to a hidden panel: it switches the
// panel on again, for this and every later start.
TEST(FeldNachVorn, EinErneuterStartSchaltetDasVersteckteFeldWiederEin) {
    test::SimUmgebung u;
    u.ud.setzeWahr("feldSichtbar", false);
    u.starte();
    ASSERT_FALSE(u.steuerung->hatFeld());
    u.steuerung->holeFeldNachVorn();
    EXPECT_TRUE(u.steuerung->feldSichtbar());
    EXPECT_TRUE(u.steuerung->hatFeld());
}

}  // namespace
}  // namespace klebwerk
