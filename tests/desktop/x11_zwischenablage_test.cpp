// The clipboard of the x11 backend against xclip as the other client.

#include <gtest/gtest.h>

#include <csignal>
#include <random>

#include <unistd.h>

#include "desktop/ablage_helfer.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/x11_hilfe.h"
#include "platform/linux/qt_laufschleife.h"
#include "platform/x11/x11_eingabe.h"
#include "platform/x11/x11_zwischenablage.h"

namespace klebwerk::x11 {
namespace {

using test::liesJetzt;
using test::warteBis;
using test::xclipLies;

// The items of a read that must succeed.
std::vector<AblageEintrag> eintraege(Zwischenablage& ablage) {
    AblageLesung l = liesJetzt(ablage);
    EXPECT_TRUE(l.gelesen()) << l.fehler.value_or("");
    return l.eintraege;
}

// xclip offering one value under one target, until another owner takes the clipboard.
class XclipBesitzer {
public:
    XclipBesitzer(const std::string& ziel, const std::string& daten) {
        char muster[] = "/tmp/klebwerk-xclip-XXXXXX";
        int fd = mkstemp(muster);
        datei_ = muster;
        (void)!write(fd, daten.data(), daten.size());
        close(fd);
        p_.setProgram("xclip");
        p_.setArguments({"-selection", "clipboard", "-quiet", "-i", "-t", QString::fromStdString(ziel),
                         QString::fromStdString(datei_)});
        p_.setProcessChannelMode(QProcess::MergedChannels);
        p_.start();
        p_.waitForStarted(5000);
    }
    ~XclipBesitzer() {
        if (p_.state() == QProcess::NotRunning) return;
        kill(static_cast<pid_t>(p_.processId()), SIGCONT);
        p_.kill();
        p_.waitForFinished(3000);
        unlink(datei_.c_str());
    }
    int pid() const { return static_cast<int>(p_.processId()); }

private:
    QProcess p_;
    std::string datei_;
};

std::string zufallsBytes(size_t n) {
    std::mt19937 zufall(42);
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(zufall());
    return s;
}

class X11ZwischenablageTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        test::sorgeFuerAnwendung();
        x = std::make_unique<XVerbindung>();
        ASSERT_TRUE(x->verbunden());
        ablage = std::make_unique<X11Zwischenablage>(*x, schleife);
    }
    void TearDown() override {
        ablage.reset();
        x.reset();
    }
    linuxdesk::QtLaufschleife schleife;
    std::unique_ptr<XVerbindung> x;
    std::unique_ptr<X11Zwischenablage> ablage;
};

TEST_F(X11ZwischenablageTest, EigeneZieleByteFuerByteBeiXclip) {
    AblageEintrag e{{"UTF8_STRING", "Grüße \x01\x02"},
                    {"STRING", "Gr\xFC\xDF" "e"},
                    {"text/uri-list", "file:///tmp/a%20b.png\r\n"},
                    {"image/png", zufallsBytes(3 * 1024 * 1024)},  // in increments
                    {"application/x-leer", ""}};
    auto vorher = ablage->aenderungen();
    ASSERT_TRUE(ablage->schreibe({e, {{"text/plain", "zweites"}}}));
    // At once, and once only: our own notification is not counted again.
    EXPECT_EQ(ablage->aenderungen(), vorher + 1);
    for (const auto& [ziel, daten] : e) EXPECT_TRUE(xclipLies(ziel) == daten) << ziel;
    EXPECT_GT(ablage->stueckeGesendet(), 1u) << "the image went in increments";
    std::string ziele = xclipLies("TARGETS");
    for (const auto& [ziel, daten] : e) EXPECT_NE(ziele.find(ziel), std::string::npos) << ziele;
    EXPECT_EQ(ziele.find("text/plain"), std::string::npos) << "only the first item goes on the clipboard";
    x->gleicheAb(2);
    EXPECT_EQ(ablage->aenderungen(), vorher + 1);
    // Our own contents read back as written.
    auto gelesen = eintraege(*ablage);
    ASSERT_EQ(gelesen.size(), 1u);
    EXPECT_EQ(gelesen[0], e);
}

TEST_F(X11ZwischenablageTest, LiestFremdeInhalteUndStelltSieWiederHer) {
    struct Fall {
        std::string ziel;
        std::string daten;
    };
    const Fall faelle[] = {
        {"UTF8_STRING", "Hallo Welt ✓"},
        {"image/png", zufallsBytes(6 * 1024 * 1024)},  // xclip sends it in increments
        {"application/octet-stream", std::string("\0\xff\0\x01", 4)},
    };
    for (const auto& f : faelle) {
        auto vorher = ablage->aenderungen();
        auto besitzer = std::make_unique<XclipBesitzer>(f.ziel, f.daten);
        // The change of owner is seen.
        ASSERT_TRUE(warteBis([&] { return ablage->aenderungen() > vorher; })) << f.ziel;
        std::vector<AblageEintrag> gelesen;
        ASSERT_TRUE(warteBis([&] {
            gelesen = liesJetzt(*ablage).eintraege;
            return !gelesen.empty() && datenVon(gelesen[0], f.ziel);
        })) << f.ziel;
        EXPECT_EQ(datenVon(gelesen[0], f.ziel)->size(), f.daten.size()) << f.ziel;
        EXPECT_TRUE(*datenVon(gelesen[0], f.ziel) == f.daten) << f.ziel;
        EXPECT_FALSE(datenVon(gelesen[0], "TARGETS"));
        if (f.daten.size() > 1024 * 1024) EXPECT_GT(ablage->stueckeEmpfangen(), 1u) << "read in increments";

        // Written back after the owner left: the same bytes under the same target.
        ASSERT_TRUE(ablage->schreibe(gelesen));
        besitzer.reset();
        EXPECT_TRUE(xclipLies(f.ziel) == f.daten) << f.ziel;
    }
}

TEST_F(X11ZwischenablageTest, AngehaltenerBesitzerIstEinFehlschlagUndDanachGehtEsWeiter) {
    XclipBesitzer besitzer("UTF8_STRING", "eingefroren");
    ASSERT_TRUE(warteBis([&] { return !liesJetzt(*ablage).eintraege.empty(); }));
    kill(besitzer.pid(), SIGSTOP);
    AblageLesung l = liesJetzt(*ablage);
    EXPECT_FALSE(l.gelesen()) << "a silent owner is not an empty clipboard";
    EXPECT_EQ(l.fehler, "der Besitzer der Zwischenablage antwortet nicht");
    EXPECT_TRUE(l.eintraege.empty());
    kill(besitzer.pid(), SIGCONT);
    // After the stopped owner, reads work again.
    EXPECT_TRUE(warteBis([&] { return !liesJetzt(*ablage).eintraege.empty(); }));
}

TEST_F(X11ZwischenablageTest, DreissigMegabyteInStueckenWerdenGanzGesichert) {
    const std::string bild = zufallsBytes(30 * 1024 * 1024);
    XclipBesitzer besitzer("image/png", bild);
    const auto vorher = ablage->stueckeEmpfangen();
    std::vector<AblageEintrag> gelesen;
    ASSERT_TRUE(warteBis([&] {
        gelesen = liesJetzt(*ablage, 120).eintraege;
        return !gelesen.empty() && datenVon(gelesen[0], "image/png");
    }));
    EXPECT_EQ(datenVon(gelesen[0], "image/png")->size(), bild.size());
    EXPECT_TRUE(*datenVon(gelesen[0], "image/png") == bild);
    EXPECT_GT(ablage->stueckeEmpfangen() - vorher, 10u) << "it came in increments";
}

TEST_F(X11ZwischenablageTest, LangsamerAberStetigerBesitzerWirdGanzGelesen) {
    // Eight pieces, each a good while after the last: longer in all than the owner
    // may stay silent once, never silent that long.
    const size_t groesse = 8 * 64 * 1024;
    auto besitzer = test::starteAblageHelfer({"langsam", "image/png", std::to_string(groesse)});
    ASSERT_TRUE(besitzer);
    ablage->stillefrist = 1.0;
    AblageLesung l = liesJetzt(*ablage);
    ASSERT_TRUE(l.gelesen()) << l.fehler.value_or("");
    ASSERT_EQ(l.eintraege.size(), 1u);
    const std::string* bild = datenVon(l.eintraege[0], "image/png");
    ASSERT_TRUE(bild);
    ASSERT_EQ(bild->size(), groesse);
    for (size_t i = 0; i < groesse; i += 4099) ASSERT_EQ(static_cast<unsigned char>((*bild)[i]), (i * 7) % 251) << i;
}

TEST_F(X11ZwischenablageTest, UebergibtDerAblageverwaltungUndDerInhaltUeberlebtDasEnde) {
    // Without a manager there is nothing to hand over, and that is no failure.
    ASSERT_TRUE(ablage->schreibe({{{"UTF8_STRING", "meins ✓"}, {"text/html", "<i>meins</i>"}}}));
    AblageUebergabe ohne = ablage->uebergib(2.0);
    EXPECT_FALSE(ohne.uebergeben);
    EXPECT_EQ(ohne.fehler, "");

    auto verwalter = test::starteAblageHelfer({"verwalter"});
    ASSERT_TRUE(verwalter);
    AblageUebergabe u = ablage->uebergib(5.0);
    EXPECT_TRUE(u.uebergeben) << u.fehler;
    ablage.reset();
    x.reset();  // this client is gone
    EXPECT_EQ(xclipLies("UTF8_STRING"), "meins ✓");
    EXPECT_EQ(xclipLies("text/html"), "<i>meins</i>");
}

TEST_F(X11ZwischenablageTest, BildMitDateiadresseWirdEingefuegt) {
    XTastatur tastatur(*x);
    X11Eingabe eingabe(*x, tastatur);
    test::Probefenster p("Einfuegen Probe", 100, 100, 400, 300);
    ASSERT_TRUE(warteBis([&] { return p.fensterId() && x->fensterMit(p.fensterId()); }));
    x->aktiviereFenster(p.fensterId());
    ASSERT_TRUE(warteBis([&] { return x->aktivesFenster() == p.fensterId() && p.hat("fokus"); }));
    std::string png = zufallsBytes(2 * 1024 * 1024);
    ASSERT_TRUE(ablage->schreibe({{{"public.png", png}, {"public.file-url", "file:///tmp/Bild%201.png"}}}));
    EXPECT_TRUE(xclipLies("image/png") == png);
    EXPECT_EQ(xclipLies("text/uri-list"), "file:///tmp/Bild%201.png\r\n");
    eingabe.taste(0x09, flagge::befehl, std::nullopt);
    // The window's paste saw the image and the file reference.
    EXPECT_TRUE(warteBis([&] {
        for (const auto& z : p.zeilen())
            if (z.rfind("einfuegen ", 0) == 0 && z.find("image/png") != std::string::npos &&
                z.find("text/uri-list") != std::string::npos)
                return true;
        return false;
    }));
}

TEST_F(X11ZwischenablageTest, LeerenZaehltUndGibtNichts) {
    ASSERT_TRUE(ablage->schreibe({{{"UTF8_STRING", "x"}}}));
    auto vorher = ablage->aenderungen();
    ablage->leere();
    EXPECT_EQ(ablage->aenderungen(), vorher + 1);
    EXPECT_TRUE(eintraege(*ablage).empty());
    EXPECT_EQ(xclipLies("UTF8_STRING"), "");
}

}  // namespace
}  // namespace klebwerk::x11
