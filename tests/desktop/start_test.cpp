#include <gtest/gtest.h>

#include "desktop/klebwerk_lauf.h"

namespace klebwerk {
namespace {

using test::KlebwerkLauf;
using test::liesDatei;
using test::warteBis;

TEST(KlebwerkStart, StartetSchreibtProtokollUndStatusUndEndetBeiSigtermMitNull) {
    KlebwerkLauf lauf;
    ASSERT_TRUE(lauf.starte());
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
    EXPECT_TRUE(lauf.protokollEnthaelt(" Anmeldeobjekt-Status: 0\n"));
    ASSERT_TRUE(warteBis([&] { return liesDatei(lauf.daten("status.json")).find("\"freigabe\": true") != std::string::npos; }));
    EXPECT_EQ(lauf.beende(), 0);
}

TEST(KlebwerkStart, GehorchtDemDbusBefehlNurMitTestBefehlen) {
    for (bool an : {true, false}) {
        KlebwerkLauf lauf;
        lauf.schreibeEinstellungen(an ? R"({"testBefehle": true})" : R"({"testBefehle": false})");
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: "); }));
        ASSERT_EQ(test::sendeBefehl("pause|1"), 0);
        if (an) {
            EXPECT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Testbefehl: [\"pause\", \"1\"]\n"); }))
                << lauf.protokoll();
            EXPECT_TRUE(warteBis(
                [&] { return liesDatei(lauf.daten("status.json")).find("\"pausiert\": true") != std::string::npos; }));
        } else {
            // A later command that would be answered at once proves the first one was not skipped by timing:
            // the process is still running and the log stays without command lines.
            EXPECT_EQ(lauf.beende(), 0);
            EXPECT_FALSE(lauf.protokollEnthaelt("Testbefehl"));
            EXPECT_EQ(liesDatei(lauf.daten("status.json")).find("\"pausiert\": true"), std::string::npos);
            continue;
        }
        EXPECT_EQ(lauf.beende(), 0);
    }
}

}  // namespace
}  // namespace klebwerk
