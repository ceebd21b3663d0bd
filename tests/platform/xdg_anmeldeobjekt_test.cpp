#include <gtest/gtest.h>

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

}  // namespace
}  // namespace klebwerk
