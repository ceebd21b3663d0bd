#include "platform/linux/signal_beendigung.h"

#include <csignal>

#include <QSocketNotifier>
#include <sys/signalfd.h>
#include <unistd.h>

namespace klebwerk::linuxdesk {

void sperreBeendigungssignal() {
    sigset_t menge;
    sigemptyset(&menge);
    sigaddset(&menge, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &menge, nullptr);
}

Marke SignalBeendigung::beiSignal(std::function<void()> handler) {
    sigset_t menge;
    sigemptyset(&menge);
    sigaddset(&menge, SIGTERM);
    int fd = signalfd(-1, &menge, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd < 0) return {};
    auto* melder = new QSocketNotifier(fd, QSocketNotifier::Read);
    QObject::connect(melder, &QSocketNotifier::activated, melder, [fd, handler = std::move(handler)] {
        signalfd_siginfo info{};
        bool empfangen = false;
        while (read(fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) empfangen = true;
        if (empfangen) handler();
    });
    return Marke([melder, fd] {
        delete melder;
        close(fd);
    });
}

}  // namespace klebwerk::linuxdesk
