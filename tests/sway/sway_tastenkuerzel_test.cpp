#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include <QJsonDocument>
#include <QJsonObject>

#include <xkbcommon/xkbcommon-keysyms.h>

#include "desktop/x11_hilfe.h"
#include "platform/wayland/sway_baum.h"
#include "platform/wayland/sway_tastenkuerzel.h"
#include "platform/wayland/virtuelle_tastatur.h"

namespace klebwerk::wayland {
namespace {

using test::TestSchleife;
using test::warteBis;

constexpr std::uint16_t tasteK = 0x28, tasteJ = 0x26, tasteF12 = 0x6F;
constexpr auto logo = VirtuelleTastatur::logo, umschalt = VirtuelleTastatur::umschalt;
// What the session's config binds to ⌘F12 (Mod4+F12, written with a variable).
const std::string konfigurationsBefehl = "nop klebwerk-test-belegt";

// Every binding that sway ran, by its command, as any IPC client hears of them.
class Bindungszeuge {
public:
    explicit Bindungszeuge(const SwayIpc& ipc)
        : abo_(
              ipc, {"binding"},
              [this](std::uint32_t typ, const std::string& daten) {
                  if (typ != bindungsEreignisArt) return;
                  auto o = QJsonDocument::fromJson(QByteArray::fromStdString(daten)).object();
                  std::lock_guard lock(sperre_);
                  befehle_.push_back(o.value("binding").toObject().value("command").toString().toStdString());
              },
              [](const std::string&) {}) {}
    bool bereit() const { return abo_.bestaetigt(); }
    int anzahl(const std::string& befehl) {
        std::lock_guard lock(sperre_);
        return static_cast<int>(std::count(befehle_.begin(), befehle_.end(), befehl));
    }

private:
    std::mutex sperre_;
    std::vector<std::string> befehle_;
    SwayAbo abo_;
};

class SwayTastenkuerzelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ipc_ = SwayIpc::ausUmgebung();
        if (!ipc_ || !std::getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no sway session";
        zeuge_.emplace(*ipc_);
        tastatur_.emplace();
        ASSERT_EQ(tastatur_->stoerung(), "");
        kuerzel_.emplace(*ipc_, schleife_);
        kuerzel_->beiDruck([this](std::uint32_t id) { gedrueckt_.push_back(id); });
        ASSERT_TRUE(warteBis([&] { return zeuge_->bereit() && kuerzel_->abonniert(); }));
    }

    void druecke(std::uint32_t keysym, std::uint32_t mods) {
        std::string fehler;
        ASSERT_TRUE(tastatur_->druecke(keysym, mods, fehler)) << fehler;
    }
    int anzahl(std::uint32_t id) {
        schleife_.abarbeiten();
        return static_cast<int>(std::count(gedrueckt_.begin(), gedrueckt_.end(), id));
    }
    bool kommtAn(std::uint32_t id, int wieOft) {
        return warteBis([&] { return anzahl(id) >= wieOft; });
    }
    // Whether sway still has a binding of the combination (taking it away if so).
    bool swayBindet(const std::string& kombination) {
        auto antwort = ipc_->anfrage(IpcArt::befehl, "unbindsym " + kombination);
        std::string fehler;
        return antwort.gelungen() && befehlGelungen(*antwort.daten, fehler);
    }

    std::optional<SwayIpc> ipc_;
    std::optional<Bindungszeuge> zeuge_;
    std::optional<VirtuelleTastatur> tastatur_;
    TestSchleife schleife_;
    std::optional<SwayTastenkuerzel> kuerzel_;
    std::vector<std::uint32_t> gedrueckt_;
};

TEST_F(SwayTastenkuerzelTest, TasteRuftHandlerMitIdUndNachEntfernenUndEndeBindetSwaySieNichtMehr) {
    ASSERT_EQ(kuerzel_->registriere(11, tasteK, carbon::befehl | carbon::umschalt), 0);
    ASSERT_EQ(kuerzel_->registriere(12, tasteJ, carbon::befehl | carbon::umschalt), 0);

    druecke(XKB_KEY_k, logo | umschalt);
    ASSERT_TRUE(kommtAn(11, 1));
    EXPECT_EQ(anzahl(12), 0);

    // Removed: the key runs nothing, while the other hot key still fires after it.
    kuerzel_->entferne(11);
    druecke(XKB_KEY_k, logo | umschalt);
    druecke(XKB_KEY_j, logo | umschalt);
    ASSERT_TRUE(kommtAn(12, 1));
    EXPECT_EQ(anzahl(11), 1);
    EXPECT_EQ(zeuge_->anzahl(SwayTastenkuerzel::befehl(11)), 1);

    // Ended: sway's bindings are the config's again; its own binding still runs.
    kuerzel_.reset();
    druecke(XKB_KEY_j, logo | umschalt);
    druecke(XKB_KEY_F12, logo);
    ASSERT_TRUE(warteBis([&] { return zeuge_->anzahl(konfigurationsBefehl) == 1; }));
    EXPECT_EQ(zeuge_->anzahl(SwayTastenkuerzel::befehl(12)), 1);
    EXPECT_FALSE(swayBindet("Mod4+Shift+k"));
    EXPECT_FALSE(swayBindet("Mod4+Shift+j"));
}

TEST_F(SwayTastenkuerzelTest, KombinationDerKonfigurationWirdAbgelehntUndIhreBindungBleibt) {
    EXPECT_EQ(kuerzel_->registriere(21, tasteF12, carbon::befehl), SwayTastenkuerzel::vergeben);
    // One combination for two hot keys of this program: the second is refused too.
    ASSERT_EQ(kuerzel_->registriere(22, tasteK, carbon::befehl | carbon::control), 0);
    EXPECT_EQ(kuerzel_->registriere(23, tasteK, carbon::befehl | carbon::control), SwayTastenkuerzel::vergeben);

    druecke(XKB_KEY_F12, logo);
    druecke(XKB_KEY_k, logo | VirtuelleTastatur::control);
    ASSERT_TRUE(kommtAn(22, 1));
    EXPECT_EQ(zeuge_->anzahl(konfigurationsBefehl), 1);
    EXPECT_EQ(anzahl(21), 0);
    EXPECT_EQ(anzahl(23), 0);
}

TEST_F(SwayTastenkuerzelTest, NachNeuladenDerKonfigurationFeuertDasKuerzelWeiter) {
    ASSERT_EQ(kuerzel_->registriere(31, tasteJ, carbon::option | carbon::umschalt), 0);
    auto antwort = ipc_->anfrage(IpcArt::befehl, "reload", 5.0);
    std::string fehler;
    ASSERT_TRUE(antwort.gelungen() && befehlGelungen(*antwort.daten, fehler)) << antwort.fehler << fehler;
    // The binding is added again once this program has heard of the reload.
    EXPECT_TRUE(warteBis([&] {
        druecke(XKB_KEY_j, VirtuelleTastatur::alt | umschalt);
        return warteBis([&] { return anzahl(31) > 0; }, 0.2);
    }));
}

}  // namespace
}  // namespace klebwerk::wayland
