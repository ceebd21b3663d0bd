#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/xdg_anmeldeobjekt.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

TEST(XdgAnmeldeobjekt, ExecWertZitiertUndMaskiertWasDieShellDeutenWuerde) {
    EXPECT_EQ(linuxdesk::XdgAnmeldeobjekt::execWert("/usr/bin/klebwerk"), "\"/usr/bin/klebwerk\"");
    EXPECT_EQ(linuxdesk::XdgAnmeldeobjekt::execWert("/opt/a \"b\"/$x`y`\\z"),
              "\"/opt/a \\\\\"b\\\\\"/\\\\$x\\\\`y\\\\`\\\\\\\\z\"");
}

TEST(XdgAnmeldeobjekt, StatusFolgtDemAutostartEintrag) {
    test::TempHeim heim;
    linuxdesk::XdgAnmeldeobjekt objekt("/usr/bin/klebwerk");
    EXPECT_EQ(objekt.status(), Anmeldeobjekt::nichtAngemeldet);
    ASSERT_TRUE(objekt.anmelden());
    EXPECT_EQ(objekt.status(), Anmeldeobjekt::aktiv);
    EXPECT_NE(test::TempHeim::lies(linuxdesk::XdgAnmeldeobjekt::eintragPfad()).find("Exec=\"/usr/bin/klebwerk\"\n"),
              std::string::npos);
    std::ofstream(linuxdesk::XdgAnmeldeobjekt::eintragPfad(), std::ios::app) << "Hidden=true\n";
    EXPECT_EQ(objekt.status(), Anmeldeobjekt::nichtAngemeldet) << "a hidden entry does not start";
    ASSERT_TRUE(objekt.abmelden());
    EXPECT_EQ(objekt.status(), Anmeldeobjekt::nichtAngemeldet);
}

// The entry written by a build, by an installed program and with nothing installed: a
// build starts the installed Klebwerk (the first one present and executable), anything
// else starts itself.
TEST(XdgAnmeldeobjekt, EintragStartetDasInstallierteProgrammStattEinesBuilds) {
    namespace fs = std::filesystem;
    test::TempHeim heim;
    const std::string wurzel = heim.pfad();
    auto legeAn = [](const std::string& pfad, fs::perms rechte) {
        fs::create_directories(fs::path(pfad).parent_path());
        std::ofstream(pfad) << "#!/bin/sh\n";
        fs::permissions(pfad, rechte);
    };
    const auto ausfuehrbar = fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec;
    const auto nurLesbar = fs::perms::owner_read | fs::perms::owner_write;
    legeAn(wurzel + "/checkout/build/klebwerk", ausfuehrbar);
    legeAn(wurzel + "/checkout/build/CMakeCache.txt", nurLesbar);
    legeAn(wurzel + "/usr/local/bin/klebwerk", ausfuehrbar);
    legeAn(wurzel + "/opt/bin/klebwerk", nurLesbar);
    legeAn(wurzel + "/prefix/bin/klebwerk", ausfuehrbar);

    struct Fall {
        const char* laufendes;
        std::vector<std::string> installierte;
        const char* gestartet;
    };
    const std::vector<Fall> faelle = {
        {"/checkout/build/klebwerk", {"/usr/local/bin/klebwerk", "/usr/bin/klebwerk"}, "/usr/local/bin/klebwerk"},
        {"/checkout/build/klebwerk", {"/nirgends/klebwerk", "/usr/local/bin/klebwerk"}, "/usr/local/bin/klebwerk"},
        {"/checkout/build/klebwerk", {"/nirgends/klebwerk"}, "/checkout/build/klebwerk"},
        {"/checkout/build/klebwerk", {"/opt/bin/klebwerk"}, "/checkout/build/klebwerk"},
        {"/checkout/build/klebwerk", {"/checkout/build"}, "/checkout/build/klebwerk"},
        {"/prefix/bin/klebwerk", {"/usr/local/bin/klebwerk"}, "/prefix/bin/klebwerk"},
    };
    for (const Fall& fall : faelle) {
        std::vector<std::string> installierte;
        for (const std::string& ort : fall.installierte) installierte.push_back(wurzel + ort);
        linuxdesk::XdgAnmeldeobjekt objekt(wurzel + fall.laufendes, installierte);
        ASSERT_TRUE(objekt.anmelden());
        EXPECT_NE(test::TempHeim::lies(linuxdesk::XdgAnmeldeobjekt::eintragPfad())
                      .find("Exec=" + linuxdesk::XdgAnmeldeobjekt::execWert(wurzel + fall.gestartet) + "\n"),
                  std::string::npos)
            << fall.laufendes << " with " << fall.installierte.front();
    }
}

}  // namespace
}  // namespace klebwerk
