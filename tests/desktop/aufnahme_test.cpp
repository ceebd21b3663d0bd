// Klebwerk itself under the private desktop session: a capture written into the
// watched folder is logged once, a text file not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "desktop/klebwerk_lauf.h"
#include "support/protokoll_hilfe.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;
using test::KlebwerkLauf;
using test::warteBis;

// How many log entries begin with `anfang`.
int zaehle(const std::string& protokoll, const std::string& anfang) {
    return test::zaehleAnfaenge(test::protokollTexte(protokoll), anfang);
}

void schreibe(const std::string& pfad, const std::string& inhalt) { std::ofstream(pfad, std::ios::binary) << inhalt; }

TEST(Aufnahme, BildschirmfotoImBeobachtetenOrdnerWirdEinmalProtokolliertTextdateiNie) {
    KlebwerkLauf lauf;
    const std::string ordner = lauf.heim() + "/Aufnahmen";
    fs::create_directories(ordner);
    fs::create_directories(lauf.heim() + "/.config/de.quenmoral.klebwerk");
    schreibe(lauf.heim() + "/.config/de.quenmoral.klebwerk/praeferenzen.json",
             R"({"com.apple.screencapture": {"location": "~/Aufnahmen"}})");

    ASSERT_TRUE(lauf.starte());
    ASSERT_TRUE(warteBis([&] { return zaehle(lauf.protokoll(), "Beobachte " + ordner) == 1; }, 20.0))
        << "Klebwerk did not start watching " << ordner;

    schreibe(ordner + "/notiz.txt", "kein Bild");
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png += std::string(20000, '\0');
    schreibe(ordner + "/Screenshot 2024-05-01 um 10.00.00.png", png);
    const std::string zeile = "Screenshot: Screenshot 2024-05-01 um 10.00.00.png";
    ASSERT_TRUE(warteBis([&] { return zaehle(lauf.protokoll(), zeile) >= 1; }, 10.0));

    // The watcher scans up to 4 s after the last folder event: watch the log past that.
    warteBis([&] { return zaehle(lauf.protokoll(), "Screenshot: ") > 1; }, 5.0);
    const std::string protokoll = lauf.protokoll();
    EXPECT_EQ(zaehle(protokoll, zeile), 1);
    EXPECT_EQ(zaehle(protokoll, "Screenshot: "), 1);
    EXPECT_EQ(zaehle(protokoll, "Screenshot: notiz.txt"), 0);
    EXPECT_EQ(lauf.beende(), 0) << "still running, and ends cleanly";
}

}  // namespace
}  // namespace klebwerk
