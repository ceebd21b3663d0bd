#include <gtest/gtest.h>

#include "intake/aufnahmearten.h"
#include "intake/pruefregel.h"
#include "platform/linux/linux_praeferenzen.h"

namespace klebwerk {
namespace {

using Tat = Urteil::Tat;
using Uhr = std::chrono::system_clock;

struct Fall {
    const char* was;
    AufnahmeArt art;
    bool aufnahmeName;
    std::optional<std::int64_t> groesse;  // absent: the file cannot be read
    double alterGeaendert;                // seconds before now
    std::optional<double> alterEntstanden;
    bool merkmal = false;
    bool videos = true;
    bool fertig = false;
    bool offen = false;
    std::optional<std::int64_t> vorherGroesse = {};  // the last observation, with the same modification time
    double vorherVor = 0;                            // seconds since that observation
    Tat tat = Tat::warten;
    double nachpruefen = 0;
    bool regulaer = true;
};

std::ostream& operator<<(std::ostream& o, const Fall& f) { return o << f.was; }

class Pruefregel : public ::testing::TestWithParam<Fall> {};

TEST_P(Pruefregel, EntscheidetUeberEineDatei) {
    const Fall& f = GetParam();
    const Uhr::time_point wand = Uhr::now();
    const double jetzt = 500.0;
    auto vor = [&](double s) { return wand - std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(s)); };
    DateiBlick b;
    b.name = "datei";
    b.art = f.art;
    b.aufnahmeName = f.aufnahmeName;
    if (f.groesse) {
        DateiStand s;
        s.groesse = *f.groesse;
        s.geaendert = vor(f.alterGeaendert);
        if (f.alterEntstanden) s.entstanden = vor(*f.alterEntstanden);
        s.regulaer = f.regulaer;
        s.verweis = !f.regulaer;
        b.stand = s;
    }
    int merkmalFragen = 0, videoFragen = 0;
    b.hatMerkmal = [&] { return ++merkmalFragen, f.merkmal; };
    b.videosErlaubt = [&] { return ++videoFragen, f.videos; };
    b.fertigGemeldet = f.fertig;
    b.offenGemeldet = f.offen;
    if (f.vorherGroesse) b.vorher = Beobachtung{*f.vorherGroesse, vor(f.alterGeaendert), jetzt - f.vorherVor};
    b.wanduhr = wand;
    b.jetzt = jetzt;

    Urteil u = beurteile(b);
    EXPECT_EQ(static_cast<int>(u.tat), static_cast<int>(f.tat));
    EXPECT_DOUBLE_EQ(u.nachpruefen, f.nachpruefen);
    // The attribute is asked only of images without a capture name, recordings'
    // permission only of named recordings that got that far.
    if (f.art != AufnahmeArt::bild || f.aufnahmeName) EXPECT_EQ(merkmalFragen, 0);
    if (f.art != AufnahmeArt::video || !f.aufnahmeName) EXPECT_EQ(videoFragen, 0);
    if (u.tat != Tat::warten) EXPECT_FALSE(u.merke.has_value()) << "settled files keep no observation";
}

constexpr auto bild = AufnahmeArt::bild;
constexpr auto video = AufnahmeArt::video;

INSTANTIATE_TEST_SUITE_P(
    Faelle, Pruefregel,
    ::testing::Values(
        Fall{.was = "andere Endung", .art = AufnahmeArt::keine, .aufnahmeName = false, .groesse = 100, .alterGeaendert = 1, .alterEntstanden = std::nullopt, .tat = Tat::setzen},
        Fall{.was = "nicht lesbar", .art = bild, .aufnahmeName = true, .groesse = {}, .alterGeaendert = 0, .alterEntstanden = std::nullopt, .fertig = true, .tat = Tat::warten},
        Fall{.was = "leer", .art = bild, .aufnahmeName = true, .groesse = 0, .alterGeaendert = 1, .alterEntstanden = std::nullopt, .fertig = true, .tat = Tat::warten},
        Fall{.was = "Verweis", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 1, .alterEntstanden = std::nullopt, .fertig = true, .tat = Tat::setzen, .regulaer = false},
        Fall{.was = "Bild geschlossen", .art = bild, .aufnahmeName = true, .groesse = 200000, .alterGeaendert = 0.1, .alterEntstanden = 0.1, .fertig = true, .tat = Tat::melden},
        Fall{.was = "Bild 120 s alt", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 119.9, .alterEntstanden = std::nullopt, .fertig = true, .tat = Tat::melden},
        Fall{.was = "Bild zu alt", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 120.5, .alterEntstanden = std::nullopt, .fertig = true, .tat = Tat::setzen},
        Fall{.was = "alt geändert, neu entstanden", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 180, .alterEntstanden = 1, .fertig = true, .tat = Tat::melden},
        Fall{.was = "neu geändert, alt entstanden", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 1, .alterEntstanden = 180, .fertig = true, .tat = Tat::melden},
        Fall{.was = "ohne Namen mit Merkmal", .art = bild, .aufnahmeName = false, .groesse = 100, .alterGeaendert = 3, .alterEntstanden = std::nullopt, .merkmal = true, .fertig = true, .tat = Tat::melden},
        Fall{.was = "ohne Namen, jung", .art = bild, .aufnahmeName = false, .groesse = 100, .alterGeaendert = 5.9, .alterEntstanden = std::nullopt, .fertig = true, .tat = Tat::warten},
        Fall{.was = "ohne Namen, älter als 6 s", .art = bild, .aufnahmeName = false, .groesse = 100, .alterGeaendert = 6.1, .alterEntstanden = std::nullopt, .fertig = true, .tat = Tat::setzen},
        // Completeness of images written in place.
        Fall{.was = "erste Sicht ohne Ereignis", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 0.1, .alterEntstanden = std::nullopt, .tat = Tat::warten, .nachpruefen = bildNachsehen},
        Fall{.was = "Größe gehalten", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 0.5, .alterEntstanden = std::nullopt, .vorherGroesse = 100, .vorherVor = 0.3, .tat = Tat::melden},
        Fall{.was = "Größe zu kurz gehalten", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 0.5, .alterEntstanden = std::nullopt, .vorherGroesse = 100, .vorherVor = 0.1,
             .tat = Tat::warten, .nachpruefen = bildNachsehen},
        Fall{.was = "Größe gewachsen", .art = bild, .aufnahmeName = true, .groesse = 150, .alterGeaendert = 0.5, .alterEntstanden = std::nullopt, .vorherGroesse = 100, .vorherVor = 2,
             .tat = Tat::warten, .nachpruefen = bildNachsehen},
        Fall{.was = "noch offen, Größe gehalten", .art = bild, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 0.5, .alterEntstanden = std::nullopt, .offen = true, .vorherGroesse = 100,
             .vorherVor = 3, .tat = Tat::warten},
        // Recordings.
        Fall{.was = "Aufnahme ohne Namen, jung", .art = video, .aufnahmeName = false, .groesse = 100, .alterGeaendert = 6, .alterEntstanden = std::nullopt, .tat = Tat::warten},
        Fall{.was = "Aufnahme ohne Namen, alt", .art = video, .aufnahmeName = false, .groesse = 100, .alterGeaendert = 6.5, .alterEntstanden = std::nullopt, .tat = Tat::setzen},
        Fall{.was = "Aufnahmen aus", .art = video, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 1, .alterEntstanden = std::nullopt, .videos = false, .tat = Tat::setzen},
        Fall{.was = "Aufnahme erste Sicht", .art = video, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 0.1, .alterEntstanden = std::nullopt, .tat = Tat::warten, .nachpruefen = videoNachWachsen},
        Fall{.was = "Aufnahme gewachsen", .art = video, .aufnahmeName = true, .groesse = 200, .alterGeaendert = 0.1, .alterEntstanden = std::nullopt, .vorherGroesse = 100, .vorherVor = 1.1,
             .tat = Tat::warten, .nachpruefen = videoNachWachsen},
        Fall{.was = "Aufnahme steht zu kurz", .art = video, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 0.5, .alterEntstanden = std::nullopt, .vorherGroesse = 100, .vorherVor = 0.9,
             .tat = Tat::warten, .nachpruefen = videoNachRuhe},
        Fall{.was = "Aufnahme steht 1 s", .art = video, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 1, .alterEntstanden = std::nullopt, .vorherGroesse = 100, .vorherVor = 1.0, .tat = Tat::melden},
        Fall{.was = "Aufnahme steht, Schreiber offen", .art = video, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 3, .alterEntstanden = std::nullopt, .offen = true, .vorherGroesse = 100,
             .vorherVor = 3, .tat = Tat::warten},
        Fall{.was = "Aufnahme zu alt", .art = video, .aufnahmeName = true, .groesse = 100, .alterGeaendert = 121, .alterEntstanden = std::nullopt, .vorherGroesse = 100, .vorherVor = 5, .tat = Tat::setzen}));

TEST(Aufnahmearten, ErkenntEndungenUndAnfaengeMitDenenDesDesktops) {
    Aufnahmearten a = Aufnahmearten::mit(linuxdesk::LinuxAufnahmewerkzeug().namen());
    EXPECT_EQ(a.art("Screenshot 1.PNG"), AufnahmeArt::bild);
    EXPECT_EQ(a.art("/x/y.jpeg"), AufnahmeArt::bild);
    EXPECT_EQ(a.art("a.TIF"), AufnahmeArt::bild);
    EXPECT_EQ(a.art("a.webp"), AufnahmeArt::bild);
    EXPECT_EQ(a.art("film.MOV"), AufnahmeArt::video);
    EXPECT_EQ(a.art("Screencast from 2024-05-01 10-00-00.webm"), AufnahmeArt::video);
    EXPECT_EQ(a.art(".png"), AufnahmeArt::keine);
    EXPECT_EQ(a.art("png"), AufnahmeArt::keine);
    EXPECT_EQ(a.art("x.png.txt"), AufnahmeArt::keine);
    EXPECT_EQ(a.art("ordner.png/datei"), AufnahmeArt::keine);
    EXPECT_TRUE(a.istVideo("/a/Bildschirmaufzeichnung vom 2024-05-01.webm"));

    EXPECT_TRUE(a.istAufnahmeName("Bildschirmfoto 2024-05-01 um 10.00.00.png", AufnahmeArt::bild));
    EXPECT_TRUE(a.istAufnahmeName("Screenshot from 2024-05-01.png", AufnahmeArt::bild));
    EXPECT_TRUE(a.istAufnahmeName("Screenshot_20240501_100000.png", AufnahmeArt::bild));
    EXPECT_FALSE(a.istAufnahmeName("screenshot.png", AufnahmeArt::bild));
    EXPECT_FALSE(a.istAufnahmeName("Screencast from x.webm", AufnahmeArt::bild));
    EXPECT_TRUE(a.istAufnahmeName("Screen Recording 2024.mov", AufnahmeArt::video));
    EXPECT_TRUE(a.istAufnahmeName("Bildschirmaufnahme 2024.mov", AufnahmeArt::video));
    EXPECT_TRUE(a.istAufnahmeName("Screencast from 2024.webm", AufnahmeArt::video));
    EXPECT_TRUE(a.istAufnahmeName("Screencast_20240501.mp4", AufnahmeArt::video));
    EXPECT_TRUE(a.istAufnahmeName("Bildschirmaufzeichnung vom 2024.webm", AufnahmeArt::video));
    EXPECT_FALSE(a.istAufnahmeName("Screenshot.mov", AufnahmeArt::video));

    // Without the desktop's names only the shared ones count.
    Aufnahmearten nurGemeinsam;
    EXPECT_EQ(nurGemeinsam.art("x.webm"), AufnahmeArt::keine);
    EXPECT_FALSE(nurGemeinsam.istAufnahmeName("Screencast from x.mov", AufnahmeArt::video));
}

}  // namespace
}  // namespace klebwerk
