#include "platform/linux/prozessende.h"

#include <cstdint>
#include <vector>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/linux/prozessinfo.h"

namespace klebwerk::linuxdesk {

Prozessende::Prozessende(std::function<void(int pid)> beendet)
    : beendet_(std::move(beendet)), wecker_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    thread_ = std::thread([this] { laufe(); });
}

Prozessende::~Prozessende() {
    {
        std::lock_guard lock(sperre_);
        ende_ = true;
    }
    std::uint64_t eins = 1;
    if (write(wecker_, &eins, sizeof eins) < 0) {}
    thread_.join();
    for (const auto& [pid, fd] : pidfds_) close(fd);
    close(wecker_);
}

bool Prozessende::beobachte(int pid) {
    std::lock_guard lock(sperre_);
    if (pidfds_.count(pid)) return true;
    int fd = oeffnePidfd(pid);
    if (fd < 0) return false;
    pidfds_.emplace(pid, fd);
    std::uint64_t eins = 1;
    if (write(wecker_, &eins, sizeof eins) < 0) {}
    return true;
}

bool Prozessende::beobachtet(int pid) {
    std::lock_guard lock(sperre_);
    return pidfds_.count(pid) > 0;
}

void Prozessende::laufe() {
    while (true) {
        std::vector<pollfd> fds{{wecker_, POLLIN, 0}};
        std::vector<int> pids{0};
        {
            std::lock_guard lock(sperre_);
            if (ende_) return;
            for (const auto& [pid, fd] : pidfds_) {
                fds.push_back({fd, POLLIN, 0});
                pids.push_back(pid);
            }
        }
        if (poll(fds.data(), fds.size(), -1) < 0) continue;
        if (fds[0].revents) {
            std::uint64_t zahl;
            if (read(wecker_, &zahl, sizeof zahl) < 0) {}
        }
        for (size_t i = 1; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            {
                std::lock_guard lock(sperre_);
                if (ende_) return;
                pidfds_.erase(pids[i]);
            }
            close(fds[i].fd);
            beendet_(pids[i]);
        }
    }
}

}  // namespace klebwerk::linuxdesk
