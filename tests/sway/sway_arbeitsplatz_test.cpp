#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <unistd.h>

#include "desktop/x11_hilfe.h"
#include "platform/wayland/sway_arbeitsplatz.h"

namespace klebwerk::wayland {
namespace {

using test::Probefenster;
using test::TestSchleife;
using test::warteBis;

class SwayArbeitsplatzTest : public ::testing::Test {
protected:
    void SetUp() override {
        ipc_ = SwayIpc::ausUmgebung();
        if (!ipc_) GTEST_SKIP() << "no sway session (SWAYSOCK is not set)";
        dienst_.emplace(*ipc_);
        arbeitsplatz_ = std::make_unique<SwayArbeitsplatz>(*dienst_, *ipc_, schleife_);
        ASSERT_TRUE(warteBis([&] { return arbeitsplatz_->abonniert(); }));
    }
    bool laeuft(int pid) {
        auto liste = arbeitsplatz_->laufende();
        return std::any_of(liste.begin(), liste.end(), [pid](const Anwendung& a) { return a.pid == pid; });
    }
    std::optional<int> vordersterPid() {
        auto a = arbeitsplatz_->vorderste();
        return a ? std::optional<int>(a->pid) : std::nullopt;
    }

    TestSchleife schleife_;
    std::optional<SwayIpc> ipc_;
    std::optional<SwayFensterdienst> dienst_;
    std::unique_ptr<SwayArbeitsplatz> arbeitsplatz_;
};

TEST_F(SwayArbeitsplatzTest, AnwendungenMitFensternLaufenDieFokussierteIstVornUndAktivierungWechseltSie) {
    Probefenster eins("Erstes", 0, 0, 300, 200);
    ASSERT_TRUE(warteBis([&] { return laeuft(eins.pid()); }));
    Probefenster zwei("Zweites", 0, 0, 300, 200);
    ASSERT_TRUE(warteBis([&] { return laeuft(zwei.pid()); }));

    auto a = arbeitsplatz_->anwendung(zwei.pid());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->name, "klebwerk_probefenster");
    EXPECT_EQ(a->kennung, "wmclass:klebwerk_probefenster/klebwerk_probefenster");
    EXPECT_EQ(std::filesystem::path(a->pfad).filename(), "klebwerk_probefenster");
    EXPECT_EQ(a->art, Aktivierungsart::regulaer);
    // This process has no window and still runs, as an accessory.
    auto selbst = arbeitsplatz_->anwendung(getpid());
    ASSERT_TRUE(selbst);
    EXPECT_EQ(selbst->art, Aktivierungsart::zubehoer);
    EXPECT_FALSE(arbeitsplatz_->anwendung(999999)) << "no such process";

    // The newest window has the focus; activation hands it to the other process.
    ASSERT_TRUE(warteBis([&] { return vordersterPid() == zwei.pid(); }));
    ASSERT_TRUE(arbeitsplatz_->aktiviere(eins.pid(), false));
    EXPECT_TRUE(warteBis([&] { return vordersterPid() == eins.pid(); }));
    EXPECT_FALSE(arbeitsplatz_->aktiviere(999999, false)) << "a process without windows";
}

TEST_F(SwayArbeitsplatzTest, EndeEinesProzessesMitFensterWirdAufDerHauptspurGemeldet) {
    std::vector<Anwendung> beendet;
    Marke m = arbeitsplatz_->beiBeendet([&](const Anwendung& a) { beendet.push_back(a); });
    Probefenster fenster("Geht gleich", 0, 0, 300, 200);
    const int pid = fenster.pid();
    ASSERT_TRUE(warteBis([&] { return laeuft(pid); }));
    // Seen by the workspace through sway's window event, before its end.
    ASSERT_TRUE(warteBis([&] { return arbeitsplatz_->anwendung(pid).has_value(); }));
    fenster.beende();
    ASSERT_TRUE(warteBis([&] {
        schleife_.abarbeiten();
        return !beendet.empty();
    }));
    ASSERT_EQ(beendet.size(), 1u);
    EXPECT_EQ(beendet[0].pid, pid);
    EXPECT_EQ(beendet[0].name, "klebwerk_probefenster");
    EXPECT_FALSE(laeuft(pid));
}

}  // namespace
}  // namespace klebwerk::wayland
