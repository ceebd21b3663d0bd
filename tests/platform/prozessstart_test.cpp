#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include <QTemporaryDir>

#include "platform/linux/prozessstart.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

// Waits, with a bound, until a file has content.
std::string warteAufDatei(const std::string& pfad) {
    auto frist = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < frist) {
        std::string inhalt = test::TempHeim::lies(pfad);
        if (!inhalt.empty() && inhalt.back() == '\n') return inhalt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

TEST(Prozessstart, ArgumenteErreichenDasProgrammWoertlich) {
    QTemporaryDir ordner;
    const std::string aus = ordner.filePath("aus").toStdString();
    const std::string boese = "/tmp/Ein \"Pfad\" mit $HOME, `touch " + ordner.path().toStdString() + "/geknackt` und '";
    ASSERT_TRUE(linuxdesk::starteLoesgeloest("/bin/sh", {"-c", "printf '%s\\n' \"$1\" > \"$2\"", "sh", boese, aus}));
    EXPECT_EQ(warteAufDatei(aus), boese + "\n");
    EXPECT_FALSE(std::filesystem::exists(ordner.filePath("geknackt").toStdString()));
}

TEST(Prozessstart, KindBeginntMitLeererSignalmaske) {
    sigset_t term, alt;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &term, &alt);
    QTemporaryDir ordner;
    const std::string aus = ordner.filePath("maske").toStdString();
    bool gestartet = linuxdesk::starteLoesgeloest("/bin/sh", {"-c", "grep SigBlk /proc/self/status > \"$1\"", "sh", aus});
    pthread_sigmask(SIG_SETMASK, &alt, nullptr);
    ASSERT_TRUE(gestartet);
    EXPECT_EQ(warteAufDatei(aus), "SigBlk:\t0000000000000000\n");
}

TEST(Prozessstart, FehlendesProgrammMeldetFehler) {
    EXPECT_FALSE(linuxdesk::starteLoesgeloest("/gibt/es/nicht", {}));
    EXPECT_FALSE(linuxdesk::starteLoesgeloest("klebwerk-gibt-es-nicht", {}));
}

}  // namespace
}  // namespace klebwerk
