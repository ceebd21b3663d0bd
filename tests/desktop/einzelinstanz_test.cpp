// Klebwerk runs once per session: a second start hands over to the running instance.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/wait.h>

#include "desktop/klebwerk_lauf.h"
#include "desktop/warten.h"
#include "desktop/x11_hilfe.h"

namespace klebwerk {
namespace {

using test::KlebwerkLauf;
using test::warteBis;

bool nameBelegt() {
    return test::ausgabeVon({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                             "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                             "string:de.quenmoral.klebwerk"})
               .find("boolean true") != std::string::npos;
}

TEST(Einzelinstanz, EinZweiterStartZeigtDasFeldDerLaufendenInstanzUndEndetOhneSpuren) {
    if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
    KlebwerkLauf erste;
    erste.schreibeEinstellungen(R"({"feldSichtbar": false})");
    ASSERT_TRUE(erste.starte());
    ASSERT_TRUE(warteBis([&] { return erste.protokollEnthaelt(" Start, Freigabe: "); }, 30));
    ASSERT_TRUE(nameBelegt());

    KlebwerkLauf zweite;
    ASSERT_TRUE(zweite.starte());
    const auto ende = zweite.warteAufEnde(10);
    ASSERT_TRUE(ende.has_value()) << "the second start ends by itself";
    EXPECT_EQ(*ende, 0);
    EXPECT_FALSE(std::filesystem::exists(zweite.einstellungsDatei())) << "it touched no settings";
    EXPECT_FALSE(std::filesystem::exists(zweite.datenOrdner())) << "nor a data folder";

    EXPECT_TRUE(warteBis([&] {
        return test::liesDatei(erste.einstellungsDatei()).find("\"feldSichtbar\": true") != std::string::npos;
    })) << test::liesDatei(erste.einstellungsDatei());
    EXPECT_TRUE(erste.protokollEnthaelt(" Erneut gestartet, Bedienfeld nach vorn\n"));
    EXPECT_EQ(waitpid(erste.pid(), nullptr, WNOHANG), 0) << "the first keeps running";
}

// The name goes with the instance: after its end the next start is the instance.
TEST(Einzelinstanz, NachDemEndeDerErstenIstDerNaechsteStartDieInstanz) {
    if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
    {
        KlebwerkLauf erste;
        ASSERT_TRUE(erste.starte());
        ASSERT_TRUE(warteBis([&] { return erste.protokollEnthaelt(" Start, Freigabe: "); }, 30));
        ASSERT_EQ(erste.beende(), std::optional<int>(0));
    }
    KlebwerkLauf naechste;
    ASSERT_TRUE(naechste.starte());
    EXPECT_TRUE(warteBis([&] { return naechste.protokollEnthaelt(" Start, Freigabe: "); }, 30));
    EXPECT_EQ(waitpid(naechste.pid(), nullptr, WNOHANG), 0);
}

}  // namespace
}  // namespace klebwerk
