#include "platform/linux/inotify_ordnerereignisse.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <QSocketNotifier>
#include <sys/inotify.h>
#include <unistd.h>

namespace klebwerk::linuxdesk {
namespace {

constexpr std::uint32_t maske = IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_ATTRIB |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

}  // namespace

InotifyOrdnerereignisse::InotifyOrdnerereignisse(bool mitEreignisschleife)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ >= 0 && mitEreignisschleife) {
        melder_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(melder_.get(), &QSocketNotifier::activated, [this] { verarbeite(); });
    }
}

InotifyOrdnerereignisse::~InotifyOrdnerereignisse() {
    *lebt_ = false;
    melder_.reset();
    if (fd_ >= 0) ::close(fd_);
}

Marke InotifyOrdnerereignisse::beobachte(const std::string& ordner,
                                         std::function<void(const OrdnerEreignis&)> handler, std::string& fehler) {
    if (fd_ < 0) {
        fehler = std::strerror(EMFILE);
        return {};
    }
    int wd = inotify_add_watch(fd_, ordner.c_str(), maske);
    if (wd < 0) {
        fehler = std::strerror(errno);
        return {};
    }
    std::uint64_t abo = ++naechstesAbo_;
    uhren_[wd].abos[abo] = std::make_shared<std::function<void(const OrdnerEreignis&)>>(std::move(handler));
    std::weak_ptr<bool> lebt = lebt_;
    return Marke([this, lebt, abo, wd] {
        if (auto l = lebt.lock(); l && *l) beende(abo, wd);
    });
}

void InotifyOrdnerereignisse::beende(std::uint64_t abo, int wd) {
    auto it = uhren_.find(wd);
    if (it == uhren_.end()) return;
    it->second.abos.erase(abo);
    if (it->second.abos.empty()) {
        inotify_rm_watch(fd_, wd);
        uhren_.erase(it);
    }
}

void InotifyOrdnerereignisse::melde(int wd, const OrdnerEreignis& e) {
    auto it = uhren_.find(wd);
    if (it == uhren_.end()) return;
    // A handler may drop its own token or others: call copies, and only those
    // still subscribed at their turn.
    std::vector<std::pair<std::uint64_t, Handler>> abos(it->second.abos.begin(), it->second.abos.end());
    for (const auto& [nr, h] : abos) {
        auto jetzt = uhren_.find(wd);
        if (jetzt == uhren_.end()) return;
        if (!jetzt->second.abos.count(nr)) continue;
        (*h)(e);
    }
}

void InotifyOrdnerereignisse::meldeAllen(const OrdnerEreignis& e) {
    std::vector<int> wds;
    for (const auto& [wd, uhr] : uhren_) wds.push_back(wd);
    for (int wd : wds) melde(wd, e);
}

void InotifyOrdnerereignisse::verarbeite() {
    if (fd_ < 0) return;
    alignas(inotify_event) char puffer[16384];
    std::weak_ptr<bool> lebt = lebt_;
    for (;;) {
        ssize_t n = ::read(fd_, puffer, sizeof puffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return;  // EAGAIN: nothing more queued
        }
        // Decode the whole batch first: handlers may add or drop watches.
        struct Roh {
            int wd;
            std::uint32_t maske;
            std::string name;
        };
        std::vector<Roh> stapel;
        for (char* p = puffer; p < puffer + n;) {
            auto* e = reinterpret_cast<inotify_event*>(p);
            stapel.push_back({e->wd, e->mask, e->len ? std::string(e->name) : std::string()});
            p += sizeof(inotify_event) + e->len;
        }
        for (const Roh& r : stapel) {
            auto l = lebt.lock();
            if (!l || !*l) return;
            if (r.maske & IN_Q_OVERFLOW) {
                meldeAllen({OrdnerEreignis::Art::ueberlauf, {}});
                continue;
            }
            if (r.maske & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED)) {
                // Tell once, then forget the watch: the folder at that path is gone.
                if (!uhren_.count(r.wd)) continue;
                melde(r.wd, {OrdnerEreignis::Art::verschwunden, {}});
                if (uhren_.erase(r.wd) && !(r.maske & IN_IGNORED)) inotify_rm_watch(fd_, r.wd);
                continue;
            }
            OrdnerEreignis e;
            e.name = r.name;
            if (r.maske & IN_CLOSE_WRITE) {
                e.art = OrdnerEreignis::Art::geschlossen;
            } else if (r.maske & IN_MOVED_TO) {
                e.art = OrdnerEreignis::Art::hineinbewegt;
            } else if (r.maske & IN_CREATE) {
                e.art = OrdnerEreignis::Art::angelegt;
            } else if (r.maske & (IN_DELETE | IN_MOVED_FROM)) {
                e.art = OrdnerEreignis::Art::entfernt;
            } else {
                e.art = OrdnerEreignis::Art::geaendert;
            }
            melde(r.wd, e);
        }
    }
}

}  // namespace klebwerk::linuxdesk
