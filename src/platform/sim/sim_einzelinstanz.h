#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/einzelinstanz.h"
#include "platform/laufschleife.h"

namespace klebwerk::sim {

// The session's name as a test states it: instances on the same `SimSitzungsbus` share it.
struct SimSitzungsbus {
    bool erreichbar = true;
    // The holder's callback; empty when nobody holds the name.
    std::shared_ptr<std::function<void()>> halter;
    // The holder hangs: calls to it are not answered.
    bool halterHaengt = false;
    // The holder goes away during the next call (the name is free afterwards).
    bool halterGehtWeg = false;
    int rufe = 0;
};

class SimEinzelinstanz : public Einzelinstanz {
public:
    SimEinzelinstanz(SimSitzungsbus& bus, Laufschleife& schleife) : bus_(bus), schleife_(schleife) {}
    ~SimEinzelinstanz() override { gibAuf(); }

    Anspruch beanspruche(std::function<void()> gerufen) override;
    Ruf rufe() override;
    void gibAuf() override;

private:
    SimSitzungsbus& bus_;
    Laufschleife& schleife_;
    std::shared_ptr<std::function<void()>> eigenes_;
    std::vector<Marke> zustellungen_;
};

}  // namespace klebwerk::sim
