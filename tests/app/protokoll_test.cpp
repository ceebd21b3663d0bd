#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <thread>

#include <sys/stat.h>

#include "basis/protokoll.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

TEST(Protokoll, ErsterAufrufLegtDieDateiMitGenauEinerZeileAn) {
    test::TempHeim heim;
    protokoll("Start, Freigabe: true");
    std::string inhalt = heim.protokoll();
    ASSERT_EQ(inhalt.size(), 19 + 1 + std::string("Start, Freigabe: true").size() + 1);
    EXPECT_EQ(inhalt.substr(19), " Start, Freigabe: true\n");
    protokoll("zweite");
    EXPECT_EQ(heim.protokoll().rfind(inhalt, 0), 0u) << "appends, never rewrites";
}

TEST(Protokoll, ZeileHatOrtszeitImVierundzwanzigStundenFormat) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 2;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    t.tm_isdst = -1;
    auto zeit = std::chrono::system_clock::from_time_t(std::mktime(&t)) + std::chrono::milliseconds(999);
    EXPECT_EQ(protokollZeile(zeit, "Text"), "2024-03-02 09:05:03 Text\n");
    t.tm_hour = 21;
    EXPECT_EQ(protokollZeile(std::chrono::system_clock::from_time_t(std::mktime(&t)), "x"), "2024-03-02 21:05:03 x\n");
}

TEST(Protokoll, EinEintragIstImmerGenauEineZeile) {
    auto zeit = std::chrono::system_clock::now();
    const std::string vorn = protokollZeile(zeit, "").substr(0, 20);
    struct Fall {
        std::string text;
        std::string zeile;
    };
    const Fall faelle[] = {
        {"Screenshot: a\n2026-01-01 00:00:00 Start, Freigabe: true.png", "Screenshot: a\\n2026-01-01 00:00:00 Start, Freigabe: true.png"},
        {"Titel\r\t\x1b[31m", "Titel\\r\\t\\u{1b}[31m"},
        {"Größe \"zitiert\" \\ – ✓", "Größe \"zitiert\" \\ – ✓"},
    };
    for (const Fall& f : faelle) EXPECT_EQ(protokollZeile(zeit, f.text), vorn + f.zeile + "\n");
}

TEST(Protokoll, EinRiesigerTextWirdAnEinerZeichengrenzeGekuerzt) {
    auto zeit = std::chrono::system_clock::now();
    const std::string vorn = protokollZeile(zeit, "").substr(0, 20);
    // "ä" is two bytes: the cut falls inside one unless it backs up.
    std::string umlaute;
    for (int i = 0; i < 5000; ++i) umlaute += "ä";
    const std::string zeile = protokollZeile(zeit, "Browser-Tab: xy" + umlaute);
    EXPECT_LE(zeile.size(), vorn.size() + hoechsteProtokollZeile + 4);
    EXPECT_EQ(zeile.substr(zeile.size() - 4), "\u2026\n");
    EXPECT_EQ(zeile.substr(zeile.size() - 6, 2), "ä");
    EXPECT_EQ(std::count(zeile.begin(), zeile.end(), '\n'), 1);
}

TEST(Protokoll, ZweiThreadsVermischenIhreZeilenNie) {
    test::TempHeim heim;
    const std::string a(3000, 'a'), b(3000, 'b');
    auto schreiber = [](const std::string& text) {
        for (int i = 0; i < 200; ++i) protokoll(text);
    };
    std::thread t1(schreiber, a), t2(schreiber, b);
    t1.join();
    t2.join();
    std::istringstream zeilen(heim.protokoll());
    int anzahl = 0;
    for (std::string zeile; std::getline(zeilen, zeile); ++anzahl) {
        std::string text = zeile.substr(20);
        EXPECT_TRUE(text == a || text == b) << "line " << anzahl << " is mixed";
    }
    EXPECT_EQ(anzahl, 400);
}

TEST(Protokoll, OhneDatenordnerBleibtEsStill) {
    test::TempHeim heim;
    setzeDatenOrdner(heim.pfad() + "/gibt/es/nicht");
    protokoll("verloren");  // must neither crash nor create the folder
    EXPECT_FALSE(std::filesystem::exists(heim.pfad() + "/gibt"));
}

TEST(Protokoll, EineNamedPipeStattDerDateiHaeltNichtAuf) {
    test::TempHeim heim;
    ASSERT_EQ(mkfifo(heim.daten("log.txt").c_str(), 0600), 0);
    protokoll("niemand liest");  // with no reader, opening the pipe for writing would wait
    EXPECT_TRUE(std::filesystem::is_fifo(heim.daten("log.txt")));
}

}  // namespace
}  // namespace klebwerk
