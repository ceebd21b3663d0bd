// GNOME's screenshot shortcuts read through the real dconf database: in a D-Bus session
// and home folder of their own, with a compiled copy of GNOME's shell key-binding
// schema, changed by gsettings through the dconf service while the reader runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "desktop/klebwerk_lauf.h"

namespace klebwerk {
namespace {

TEST(SystemkuerzelDconf, StandardsDannGeaenderteBelegungenImSelbenProzess) {
    QTemporaryDir ordner;
    ASSERT_TRUE(ordner.isValid());
    const std::string wurzel = ordner.path().toStdString();
    std::filesystem::create_directories(wurzel + "/schemas");
    std::filesystem::create_directories(wurzel + "/heim");
    std::ofstream(wurzel + "/schemas/org.gnome.shell.gschema.xml") << R"(<schemalist>
  <schema id="org.gnome.shell.keybindings" path="/org/gnome/shell/keybindings/">
    <key name="show-screenshot-ui" type="as"><default>['Print']</default></key>
    <key name="show-screen-recording-ui" type="as"><default>['&lt;Ctrl&gt;&lt;Shift&gt;&lt;Alt&gt;R']</default></key>
  </schema>
</schemalist>
)";
    ASSERT_EQ(test::fuehreAus({"glib-compile-schemas", wurzel + "/schemas"}), 0);

    test::Kindprozess probe({"timeout", "60", "env", "-u", "XDG_CONFIG_HOME", "HOME=" + wurzel + "/heim",
                             "dbus-run-session", "--", KLEBWERK_SYSTEMKUERZEL_PROBE, wurzel + "/schemas"});
    probe.warte();
    EXPECT_EQ(probe.ausgabe(),
              "30 gesetzt 0x0 Print\n"
              "184 gesetzt 0xe0000 R\n"
              "fassung neu\n"
              "30 gesetzt 0x120000 S\n"
              "184 aus 0x0 \n");
    EXPECT_TRUE(std::filesystem::exists(wurzel + "/heim/.config/dconf/user")) << "written by the dconf service";
}

}  // namespace
}  // namespace klebwerk
