#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/ordnerereignisse.h"

class QSocketNotifier;

namespace klebwerk::linuxdesk {

// Folder events from one raw inotify instance: created, closed after writing, moved
// in, deleted or moved out, attributes changed, per file name; a queue overflow
// reaches every watcher as `ueberlauf`. Events are read by `verarbeite`, which the Qt
// event loop calls when the descriptor is readable (`mitEreignisschleife`), or which
// a caller drives itself: the kernel queues an event inside the system call that
// caused it, so one `verarbeite` after a file operation sees it.
class InotifyOrdnerereignisse : public Ordnerereignisse {
public:
    explicit InotifyOrdnerereignisse(bool mitEreignisschleife = true);
    ~InotifyOrdnerereignisse() override;
    InotifyOrdnerereignisse(const InotifyOrdnerereignisse&) = delete;
    InotifyOrdnerereignisse& operator=(const InotifyOrdnerereignisse&) = delete;

    Marke beobachte(const std::string& ordner, std::function<void(const OrdnerEreignis&)> handler,
                    std::string& fehler) override;

    // Reads every queued event and hands each to the handlers of its folder.
    // Never blocks.
    void verarbeite();
    int deskriptor() const { return fd_; }

private:
    using Handler = std::shared_ptr<std::function<void(const OrdnerEreignis&)>>;
    struct Uhr {
        std::map<std::uint64_t, Handler> abos;
    };

    void melde(int wd, const OrdnerEreignis& e);
    void meldeAllen(const OrdnerEreignis& e);
    void beende(std::uint64_t abo, int wd);

    int fd_ = -1;
    std::uint64_t naechstesAbo_ = 0;
    std::map<int, Uhr> uhren_;  // by watch descriptor; two paths of one folder share one
    std::unique_ptr<QSocketNotifier> melder_;
    std::shared_ptr<bool> lebt_ = std::make_shared<bool>(true);
};

}  // namespace klebwerk::linuxdesk
