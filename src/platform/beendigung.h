#pragma once

#include <functional>

#include "platform/marke.h"

namespace klebwerk {

// The termination request of the system (SIGTERM). The handler runs on the main
// thread, never inside a signal handler.
class Beendigung {
public:
    virtual ~Beendigung() = default;
    virtual Marke beiSignal(std::function<void()> handler) = 0;
};

}  // namespace klebwerk
