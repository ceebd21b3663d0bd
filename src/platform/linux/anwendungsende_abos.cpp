#include "platform/linux/anwendungsende_abos.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace klebwerk::linuxdesk {

struct AnwendungsendeAbos::Abos {
    std::mutex sperre;
    std::map<std::uint64_t, std::function<void(const Anwendung&)>> rueckrufe;
    std::uint64_t naechste = 1;
};

AnwendungsendeAbos::AnwendungsendeAbos(Laufschleife& schleife)
    : schleife_(schleife), abos_(std::make_shared<Abos>()) {}

Marke AnwendungsendeAbos::abonniere(std::function<void(const Anwendung&)> rueckruf) {
    std::lock_guard lock(abos_->sperre);
    auto nr = abos_->naechste++;
    abos_->rueckrufe[nr] = std::move(rueckruf);
    std::weak_ptr<Abos> schwach = abos_;
    return Marke([schwach, nr] {
        if (auto abos = schwach.lock()) {
            std::lock_guard lock(abos->sperre);
            abos->rueckrufe.erase(nr);
        }
    });
}

void AnwendungsendeAbos::melde(const Anwendung& anwendung) {
    std::weak_ptr<Abos> schwach = abos_;
    schleife_.aufHaupt([schwach, anwendung] {
        auto abos = schwach.lock();
        if (!abos) return;
        std::vector<std::uint64_t> nummern;
        {
            std::lock_guard lock(abos->sperre);
            for (const auto& [nr, r] : abos->rueckrufe) nummern.push_back(nr);
        }
        // Each callback is called outside the lock: it may add or drop callbacks.
        for (auto nr : nummern) {
            std::function<void(const Anwendung&)> r;
            {
                std::lock_guard lock(abos->sperre);
                auto it = abos->rueckrufe.find(nr);
                if (it == abos->rueckrufe.end()) continue;  // dropped by an earlier callback
                r = it->second;
            }
            r(anwendung);
        }
    });
}

}  // namespace klebwerk::linuxdesk
