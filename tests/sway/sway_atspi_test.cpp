#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include <QCoreApplication>

#include "ax/ax.h"
#include "desktop/x11_hilfe.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/wayland/sway_desktopfenster.h"

namespace klebwerk::wayland {
namespace {

using test::Probefenster;
using test::TestSchleife;
using test::warteBis;

class OhneAnwendungen : public Arbeitsplatz {
public:
    std::vector<Anwendung> laufende() override { return {}; }
    std::optional<Anwendung> vorderste() override { return std::nullopt; }
    bool aktiviere(int, bool) override { return false; }
    Marke beiBeendet(std::function<void(const Anwendung&)>) override { return {}; }
    bool oeffne(const std::string&) override { return false; }
    bool inPapierkorb(const std::string&, std::string&) override { return false; }
    int eigenePid() override { return static_cast<int>(QCoreApplication::applicationPid()); }
};

class SwayAtspiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "klebwerk_sway_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    void SetUp() override {
        auto ipc = SwayIpc::ausUmgebung();
        if (!ipc) GTEST_SKIP() << "no sway session";
        if (!atspi::zugaenglichkeitAn().has_value()) GTEST_SKIP() << "no accessibility bus";
        dienst_ = std::make_unique<SwayFensterdienst>(*ipc);
        desktop_ = std::make_unique<SwayDesktopFenster>(*dienst_, *ipc);
        zg_ = std::make_unique<atspi::AtspiZugaenglichkeit>(*desktop_, arbeitsplatz_, schleife_);
        ASSERT_TRUE(zg_->vertraut(true));
        ax_ = std::make_unique<AX>(*zg_);
        setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    }

    std::unique_ptr<SwayFensterdienst> dienst_;
    std::unique_ptr<SwayDesktopFenster> desktop_;
    OhneAnwendungen arbeitsplatz_;
    TestSchleife schleife_;
    std::unique_ptr<atspi::AtspiZugaenglichkeit> zg_;
    std::unique_ptr<AX> ax_;
};

TEST_F(SwayAtspiTest, BarrierefreiesFensterTraegtDieNummerSeinesSwayFenstersUndMeldetSeinEnde) {
    // Two windows of the same program: pid and title tell them apart.
    Probefenster anderes("Anderes Fenster", 0, 0, 300, 200);
    Probefenster probe("Gepaartes Fenster", 0, 0, 300, 200);
    std::int64_t conId = 0;
    ASSERT_TRUE(warteBis([&] {
        for (const auto& f : dienst_->lies().fenster)
            if (f.pid == probe.pid()) conId = f.conId;
        return conId != 0;
    }));

    std::optional<Element> fenster;
    ASSERT_TRUE(warteBis([&] {
        for (const Element& f : ax_->elemente(ax_->anwendung(probe.pid()), "AXWindows").value_or(std::vector<Element>{}))
            if (ax_->text(f, "AXTitle").value_or("") == "Gepaartes Fenster" && ax_->fensterNummer(f) == conId) fenster = f;
        return fenster.has_value();
    })) << "no accessible window paired with sway's window " << conId;

    std::atomic<bool> zerstoert = false;
    Marke m = zg_->beobachte(probe.pid(), *fenster, {"AXUIElementDestroyed"},
                             [&](const std::string&, const Element&) { zerstoert = true; });
    // The first watch subscribes to sway's window events; a close before sway confirmed
    // that would reach no one.
    ASSERT_TRUE(warteBis([&] { return desktop_->abonniert(); }));
    probe.beende();
    EXPECT_TRUE(warteBis([&] {
        schleife_.abarbeiten();
        QCoreApplication::processEvents();
        return zerstoert.load();
    }));
}

}  // namespace
}  // namespace klebwerk::wayland
