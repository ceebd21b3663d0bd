// The watcher on real temporary folders with real inotify and statx, on the virtual clock.

#include <gtest/gtest.h>

#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "intake/fangordner.h"
#include "intake/intake_hilfe.h"
#include "intake/waechter.h"
#include "platform/sim/sim_desktop.h"
#include "platform/linux/inotify_ordnerereignisse.h"
#include "platform/linux/linux_dateiinfo.h"

namespace klebwerk {
namespace {

namespace fs = std::filesystem;

class WaechterEcht : public ::testing::Test {
protected:
    test::TempOrdner tmp;
    sim::SimDesktop d;
    linuxdesk::InotifyOrdnerereignisse inotify{false};
    linuxdesk::LinuxDateiinfo dateien;
    std::string ordner = tmp.pfad + "/Bilder";
    std::optional<Plattform> plattform;
    std::unique_ptr<Waechter> w;
    std::vector<std::string> gemeldet;
    std::vector<std::int64_t> groesseBeimMelden;

    void SetUp() override {
        fs::create_directories(tmp.pfad + "/daten");
        setzeDatenOrdner(tmp.pfad + "/daten");
        fs::create_directories(ordner);
        d.ordnerDienst = &inotify;
        d.dateiDienst = &dateien;
        d.praeferenzen.domaenen[bildschirmfotoDomaene]["location"] = ordner;
    }

    void starte() {
        plattform.emplace(d.plattform());
        w = std::make_unique<Waechter>(*plattform);
        w->neu = [this](const std::string& pfad) {
            gemeldet.push_back(pfad);
            std::error_code f;
            groesseBeimMelden.push_back(static_cast<std::int64_t>(fs::file_size(pfad, f)));
        };
        w->start();
    }
    // The kernel has queued the events of every finished system call: read them, then
    // move the clock.
    void weiter(double sekunden) {
        inotify.verarbeite();
        d.uhr.vorwaerts(sekunden);
    }
    static void schreibe(const std::string& pfad, std::size_t groesse) {
        int fd = ::open(pfad.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << pfad;
        std::string inhalt(groesse, 'x');
        ASSERT_EQ(::write(fd, inhalt.data(), inhalt.size()), static_cast<ssize_t>(inhalt.size()));
        ::close(fd);
    }
    std::string pfad(const std::string& name) const { return ordner + "/" + name; }
};

TEST_F(WaechterEcht, MeldetEinGeschriebenesBildschirmfotoEinmalUndKeineTextdatei) {
    schreibe(pfad("Screenshot vorher.png"), 100);
    starte();
    schreibe(pfad("notiz.txt"), 10);
    schreibe(pfad("Screenshot 2024-05-01 um 10.00.00.png"), 200'000);
    weiter(0.11);
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("Screenshot 2024-05-01 um 10.00.00.png")});
    schreibe(pfad("Screenshot 2024-05-01 um 10.00.00.png"), 300'000);  // rewritten after it was settled
    schreibe(pfad("Screenshot vorher.png"), 300);
    weiter(10);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterEcht, InSchrittenGeschriebenesBildKommtErstNachDemSchliessenGanz) {
    starte();
    int fd = ::open(pfad("Screenshot langsam.png").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    std::string teil(4096, 'a');
    ASSERT_EQ(::write(fd, teil.data(), teil.size()), 4096);
    weiter(5);  // every scan sees 4 kB standing still, its writer still at work
    EXPECT_TRUE(gemeldet.empty());
    ASSERT_EQ(::write(fd, teil.data(), teil.size()), 4096);
    ::close(fd);
    weiter(0.11);
    ASSERT_EQ(gemeldet.size(), 1u);
    EXPECT_EQ(groesseBeimMelden[0], 8192);
}

TEST_F(WaechterEcht, HineinbewegtesBildZaehltSofort) {
    starte();
    schreibe(tmp.pfad + "/.entwurf", 5000);
    ASSERT_EQ(::rename((tmp.pfad + "/.entwurf").c_str(), pfad("Screenshot bewegt.png").c_str()), 0);
    // A tool's own hidden temporary file renamed into place inside the folder.
    schreibe(pfad(".goutputstream-ABC"), 5000);
    ASSERT_EQ(::rename(pfad(".goutputstream-ABC").c_str(), pfad("Screenshot umbenannt.png").c_str()), 0);
    weiter(0.11);
    EXPECT_EQ(gemeldet.size(), 2u);
}

TEST_F(WaechterEcht, VerweiseWerdenNichtVerfolgt) {
    fs::create_directories(tmp.pfad + "/anderswo");
    schreibe(tmp.pfad + "/anderswo/Screenshot drinnen.png", 100);
    starte();
    fs::create_directory_symlink(tmp.pfad + "/anderswo", pfad("Screenshot ordner.png"));
    fs::create_symlink(tmp.pfad + "/anderswo/Screenshot drinnen.png", pfad("Screenshot verweis.png"));
    schreibe(tmp.pfad + "/anderswo/Screenshot neu drinnen.png", 100);
    weiter(5);
    EXPECT_TRUE(gemeldet.empty());
}

TEST_F(WaechterEcht, SeltsameNamenWerdenJeEinmalGemeldet) {
    starte();
    std::vector<std::string> namen = {"Screenshot mit\nZeilenumbruch.png", "Screenshot \xff\xfe kein UTF-8.png",
                                      "Screenshot  zwei   Leerzeichen .png", "Screenshot \u00e4\u00f6\u00fc.PNG"};
    for (const auto& n : namen) schreibe(pfad(n), 50);
    weiter(5);
    ASSERT_EQ(gemeldet.size(), namen.size());
    std::set<std::string> erwartet;
    for (const auto& n : namen) erwartet.insert(pfad(n));
    EXPECT_EQ(std::set<std::string>(gemeldet.begin(), gemeldet.end()), erwartet);
}

TEST_F(WaechterEcht, VerschwindendeUndLeereDateienStoerenNicht) {
    starte();
    schreibe(pfad("Screenshot kurz.png"), 100);
    ::unlink(pfad("Screenshot kurz.png").c_str());
    schreibe(pfad("Screenshot leer.png"), 0);
    weiter(5);
    EXPECT_TRUE(gemeldet.empty());
    schreibe(pfad("Screenshot leer.png"), 10);
    weiter(0.11);
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("Screenshot leer.png")});
}

TEST_F(WaechterEcht, EinSchwallVonDreihundertDateienMeldetJedeEinmal) {
    starte();
    for (int i = 0; i < 300; ++i) schreibe(pfad("Screenshot " + std::to_string(i) + ".png"), 10 + i);
    weiter(10);
    EXPECT_EQ(gemeldet.size(), 300u);
    EXPECT_EQ(std::set<std::string>(gemeldet.begin(), gemeldet.end()).size(), 300u);
}

TEST_F(WaechterEcht, FehlenderOrdnerWirdBeobachtetSobaldErErscheint) {
    std::string spaeter = tmp.pfad + "/Videos/tief/Screencasts";
    d.praeferenzen.domaenen[bildschirmfotoDomaene]["location-screenrecording"] = spaeter;
    starte();
    EXPECT_EQ(test::zaehle(test::protokollTexte(), "Ordner nicht lesbar: " + spaeter + " \u2013 No such file or directory"), 1);
    fs::create_directories(spaeter);  // all levels at once
    schreibe(spaeter + "/Bildschirmaufnahme schon da.mov", 100);
    weiter(0);
    ASSERT_TRUE(w->quellen.count(spaeter));
    schreibe(spaeter + "/Bildschirmaufnahme neu.mov", 100);
    weiter(5);
    EXPECT_EQ(gemeldet, std::vector<std::string>{spaeter + "/Bildschirmaufnahme neu.mov"});
}

TEST_F(WaechterEcht, GeloeschterOrdnerKommtZurueck) {
    starte();
    fs::remove_all(ordner);
    weiter(5);
    EXPECT_FALSE(w->quellen.count(ordner));
    fs::create_directories(ordner);
    weiter(0);
    ASSERT_TRUE(w->quellen.count(ordner));
    schreibe(pfad("Screenshot wieder.png"), 10);
    weiter(0.11);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterEcht, KopieMitAlterAenderungszeitZaehltNachDerEntstehungszeit) {
    schreibe(tmp.pfad + "/probe", 1);
    auto probe = dateien.stand(tmp.pfad + "/probe");
    ASSERT_TRUE(probe);
    if (!probe->entstanden) GTEST_SKIP() << "this file system records no birth time";
    starte();
    schreibe(pfad("Screenshot kopiert.png"), 100);
    timespec zeiten[2];
    clock_gettime(CLOCK_REALTIME, &zeiten[0]);
    zeiten[0].tv_sec -= 180;
    zeiten[1] = zeiten[0];
    ASSERT_EQ(::utimensat(AT_FDCWD, pfad("Screenshot kopiert.png").c_str(), zeiten, 0), 0);
    weiter(0.11);
    EXPECT_EQ(gemeldet.size(), 1u);
}

TEST_F(WaechterEcht, BildOhneNamenMitSpaeteremAufnahmemerkmal) {
    schreibe(tmp.pfad + "/probe", 1);
    if (::setxattr((tmp.pfad + "/probe").c_str(), "user.probe", "1", 1, 0) != 0) {
        GTEST_SKIP() << "this file system keeps no user attributes: " << std::strerror(errno);
    }
    starte();
    schreibe(pfad("ohne namen.png"), 100);
    weiter(1.6);
    EXPECT_TRUE(gemeldet.empty());
    std::string attr = "user." + aufnahmeMerkmal;
    ASSERT_EQ(::setxattr(pfad("ohne namen.png").c_str(), attr.c_str(), "", 0, 0), 0);
    weiter(3);
    EXPECT_EQ(gemeldet, std::vector<std::string>{pfad("ohne namen.png")});
}

}  // namespace
}  // namespace klebwerk
