#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <mutex>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "desktop/warten.h"
#include "platform/linux/prozessende.h"

namespace klebwerk::linuxdesk {
namespace {

pid_t starteSchlaefer() {
    pid_t pid = fork();
    if (pid == 0) {
        pause();
        _exit(0);
    }
    return pid;
}

TEST(Prozessende, MeldetNurDenBeendetenProzess) {
    std::mutex sperre;
    std::vector<int> gemeldet;
    Prozessende wache([&](int pid) {
        std::lock_guard lock(sperre);
        gemeldet.push_back(pid);
    });
    const pid_t bleibt = starteSchlaefer(), geht = starteSchlaefer();
    ASSERT_TRUE(wache.beobachte(bleibt));
    ASSERT_TRUE(wache.beobachte(geht));
    ASSERT_TRUE(wache.beobachte(geht)) << "a second watch of the same process is the same watch";

    kill(geht, SIGKILL);
    waitpid(geht, nullptr, 0);
    ASSERT_TRUE(test::warteBis([&] {
        std::lock_guard lock(sperre);
        return !gemeldet.empty();
    }));
    EXPECT_FALSE(wache.beobachtet(geht));
    EXPECT_TRUE(wache.beobachtet(bleibt));
    {
        std::lock_guard lock(sperre);
        EXPECT_EQ(gemeldet, std::vector<int>{geht});
    }
    kill(bleibt, SIGKILL);
    waitpid(bleibt, nullptr, 0);
}

}  // namespace
}  // namespace klebwerk::linuxdesk
