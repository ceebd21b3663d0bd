#pragma once

#include <memory>

#include "platform/beendigung.h"

class QSocketNotifier;

namespace klebwerk::linuxdesk {

// SIGTERM through a signalfd watched by the event loop. The signal must be blocked
// in every thread (see `sperreBeendigungssignal`) before any thread starts.
class SignalBeendigung : public Beendigung {
public:
    Marke beiSignal(std::function<void()> handler) override;
};

// Blocks SIGTERM for the calling thread and every thread it starts later.
void sperreBeendigungssignal();

}  // namespace klebwerk::linuxdesk
