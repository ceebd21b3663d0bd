#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/tonserver.h"
#include "desktop/warten.h"
#include "feedback/klang_synthese.h"
#include "feedback/wav.h"
#include "platform/linux/pulse_klangspieler.h"
#include "support/protokoll_hilfe.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

using test::warteBis;

// PULSE_SERVER for the time of one test, put back afterwards.
class ServerAdresse {
public:
    explicit ServerAdresse(const std::string& adresse) {
        if (const char* alt = std::getenv("PULSE_SERVER")) alt_ = alt;
        setenv("PULSE_SERVER", adresse.c_str(), 1);
    }
    ~ServerAdresse() {
        if (alt_) setenv("PULSE_SERVER", alt_->c_str(), 1);
        else unsetenv("PULSE_SERVER");
    }

private:
    std::optional<std::string> alt_;
};

// A sound of `sekunden` that holds one value throughout.
std::string gleichton(double wert, double sekunden) {
    return wav(std::vector<double>(static_cast<size_t>(sekunden * 44100), wert));
}

// How many samples of the recording are exactly `wert`.
long anzahl(const std::vector<std::int16_t>& proben, std::int16_t wert) {
    return static_cast<long>(std::count(proben.begin(), proben.end(), wert));
}

int lautest(const std::vector<std::int16_t>& proben) {
    int m = 0;
    for (auto p : proben) m = std::max(m, std::abs(static_cast<int>(p)));
    return m;
}

// Samples at the start of a sound that the sink's monitor may not hand on.
constexpr long vorlauf = 500;

int stummZeilen(const test::TempHeim& heim) {
    return test::zaehleAnfaenge(test::protokollTexte(heim.protokoll()), "Töne stumm: ");
}

class KlangDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server.bereit()) GTEST_SKIP() << "pulseaudio did not start here";
        ASSERT_TRUE(mitschnitt.laeuft()) << "parec recorded nothing from the null sink";
    }

    test::TempHeim heim;
    test::Tonserver server;
    test::Mitschnitt mitschnitt{server};
    ServerAdresse adresse{server.adresse()};
};

TEST_F(KlangDesktop, KlickKommtProbeFuerProbeAmAusgangAn) {
    linuxdesk::PulseKlangspieler spieler;
    const std::string klick = wav(synthetisiere(segmenteVon(KlangArt::klick), systemZufall()));
    spieler.spiele(klick);
    // The samples pass unchanged (mono, 44100 Hz, full volume): the sound's body stands
    // in the recording byte for byte. Its first milliseconds are left out: the monitor
    // loses the start of a stream that joins a running sink (seen: 87 samples).
    const std::string koerper = klick.substr(44 + 2 * vorlauf, 2 * 1500);
    ASSERT_TRUE(warteBis([&] { return mitschnitt.bytes().find(koerper) != std::string::npos; }, 10.0))
        << "loudest recorded sample: " << lautest(mitschnitt.proben());
    EXPECT_TRUE(warteBis([&] { return spieler.laufende() == 0; }, 10.0)) << "a finished sound leaves nothing behind";
    EXPECT_EQ(stummZeilen(heim), 0);
}

TEST_F(KlangDesktop, EinZweiterKlangSchneidetDenErstenNichtAb) {
    // One second of 8000; while it plays, 0.2 s of 4000. The sink mixes 12000 where they
    // overlap, and the first sound goes on at 8000 after the second has ended.
    linuxdesk::PulseKlangspieler spieler;
    spieler.spiele(gleichton(8000.0 / 32000, 1.0));
    ASSERT_TRUE(warteBis([&] { return anzahl(mitschnitt.proben(), 8000) > 2000; }, 10.0));
    spieler.spiele(gleichton(4000.0 / 32000, 0.2));
    ASSERT_TRUE(warteBis([&] { return spieler.laufende() == 0; }, 10.0));
    auto fertig = [&] {
        const auto p = mitschnitt.proben();
        auto letzteSumme = std::find(p.rbegin(), p.rend(), std::int16_t{12000});
        return letzteSumme != p.rend() && std::find(p.rbegin(), letzteSumme, std::int16_t{8000}) != letzteSumme;
    };
    EXPECT_TRUE(warteBis(fertig, 10.0)) << "the first sound did not go on after the second";
    const auto p = mitschnitt.proben();
    // Both whole, but for the lost starts.
    EXPECT_GE(anzahl(p, 12000), 8820 - 2 * vorlauf);
    EXPECT_GE(anzahl(p, 8000) + anzahl(p, 12000), 44100 - 2 * vorlauf);
}

TEST_F(KlangDesktop, SpieleWartetNichtAufEinenHaengendenServer) {
    linuxdesk::PulseKlangspieler spieler;
    // Connected first, then the server stops answering.
    spieler.spiele(gleichton(0.1, 0.05));
    ASSERT_TRUE(warteBis([&] { return spieler.laufende() == 0; }, 10.0));
    ASSERT_EQ(kill(server.pid(), SIGSTOP), 0);
    auto aufruf = std::async(std::launch::async, [&] {
        for (int i = 0; i < 5; ++i) spieler.spiele(gleichton(5000.0 / 32000, 0.2));
    });
    const bool zurueck = aufruf.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    kill(server.pid(), SIGCONT);
    ASSERT_TRUE(zurueck) << "spiele blocked while the server hung";
    // Once the server answers again the sounds play (the five may start together and
    // sum up, so any level from one of them on counts).
    EXPECT_TRUE(warteBis([&] { return lautest(mitschnitt.proben()) >= 5000; }, 10.0));
    EXPECT_TRUE(warteBis([&] { return spieler.laufende() == 0; }, 10.0));
}

TEST_F(KlangDesktop, EndeDesSpielersBeendetLaufendeKlaenge) {
    auto spieler = std::make_unique<linuxdesk::PulseKlangspieler>();
    spieler->spiele(gleichton(6000.0 / 32000, 5.0));
    ASSERT_TRUE(warteBis([&] { return anzahl(mitschnitt.proben(), 6000) > 4410; }, 10.0));
    spieler.reset();
    // The sink goes silent long before the five seconds are over.
    const size_t bisher = mitschnitt.proben().size();
    ASSERT_TRUE(warteBis([&] {
        const auto p = mitschnitt.proben();
        return p.size() > bisher + 4410 && std::all_of(p.end() - 4410, p.end(), [](std::int16_t x) { return x == 0; });
    }, 10.0));
    EXPECT_LT(anzahl(mitschnitt.proben(), 6000), 3 * 44100);
}

TEST(KlangOhneServer, BleibtStummMitEinerZeileUndFindetEinenSpaeterenServer) {
    test::TempHeim heim;
    test::Tonserver server;
    if (!server.bereit()) GTEST_SKIP() << "pulseaudio did not start here";
    test::Mitschnitt mitschnitt{server};
    ASSERT_TRUE(mitschnitt.laeuft());

    linuxdesk::PulseKlangspieler spieler;
    {
        ServerAdresse nirgends("unix:" + heim.pfad() + "/kein-server");
        spieler.spiele(gleichton(0.2, 0.1));
        ASSERT_TRUE(warteBis([&] { return stummZeilen(heim) == 1; }, 10.0)) << heim.protokoll();
        spieler.spiele(gleichton(0.2, 0.1));
        ASSERT_TRUE(warteBis([&] { return spieler.laufende() == 0; }, 10.0));
        EXPECT_EQ(stummZeilen(heim), 1) << heim.protokoll();
        EXPECT_NE(heim.protokoll().find("Töne stumm: kein Tonserver erreichbar"), std::string::npos) << heim.protokoll();
    }
    // A later sound tries again and finds the server that is there now.
    ServerAdresse da(server.adresse());
    spieler.spiele(gleichton(7000.0 / 32000, 0.1));
    EXPECT_TRUE(warteBis([&] { return anzahl(mitschnitt.proben(), 7000) >= 4410 - vorlauf; }, 10.0));
    EXPECT_EQ(stummZeilen(heim), 1);
}

TEST(KlangOhneAusgabe, ServerOhneSenkeGibtEineZeileUndKeinenFehler) {
    test::TempHeim heim;
    test::Tonserver server(false);
    if (!server.bereit()) GTEST_SKIP() << "pulseaudio did not start here";
    ServerAdresse adresse(server.adresse());
    linuxdesk::PulseKlangspieler spieler;
    for (int i = 0; i < 3; ++i) spieler.spiele(gleichton(0.2, 0.1));
    ASSERT_TRUE(warteBis([&] { return spieler.laufende() == 0; }, 10.0));
    EXPECT_EQ(stummZeilen(heim), 1) << heim.protokoll();
    EXPECT_NE(heim.protokoll().find("Töne stumm: keine Tonausgabe"), std::string::npos) << heim.protokoll();
}

}  // namespace
}  // namespace klebwerk
