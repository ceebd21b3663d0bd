#include "platform/sim/sim_einzelinstanz.h"

namespace klebwerk::sim {

Einzelinstanz::Anspruch SimEinzelinstanz::beanspruche(std::function<void()> gerufen) {
    if (!bus_.erreichbar) return Anspruch::fehler;
    if (eigenes_ && bus_.halter == eigenes_) return Anspruch::eigen;
    if (bus_.halter) return Anspruch::vergeben;
    eigenes_ = std::make_shared<std::function<void()>>(std::move(gerufen));
    bus_.halter = eigenes_;
    return Anspruch::eigen;
}

Einzelinstanz::Ruf SimEinzelinstanz::rufe() {
    ++bus_.rufe;
    if (!bus_.erreichbar) return Ruf::keineAntwort;
    if (bus_.halterGehtWeg) {
        bus_.halterGehtWeg = false;
        bus_.halter.reset();
    }
    if (!bus_.halter) return Ruf::niemand;
    if (bus_.halterHaengt) return Ruf::keineAntwort;
    // The holder hears of it on its own main thread, after this call.
    std::weak_ptr<std::function<void()>> schwach = bus_.halter;
    zustellungen_.push_back(schleife_.nach(0, [schwach] {
        if (auto h = schwach.lock(); h && *h) (*h)();
    }));
    return Ruf::angenommen;
}

void SimEinzelinstanz::gibAuf() {
    if (eigenes_ && bus_.halter == eigenes_) bus_.halter.reset();
    eigenes_.reset();
}

}  // namespace klebwerk::sim
