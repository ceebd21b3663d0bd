#pragma once

#include <functional>

#include "platform/einzelinstanz.h"

namespace klebwerk {

// How a start goes on.
enum class Startweg {
    eigene,      // this is the session's instance: it starts
    uebergeben,  // the running instance was called and shows its panel: this start ends
    ohneName,    // the session offers no instance name: it starts all the same
    haengt,      // an instance runs but does not answer: this start ends with an error
};

// Claims the session's instance name; when another instance holds it, calls that one
// instead. A holder that is just going away is outlasted: between two tries `pause`
// runs, for at most `versuche` tries. `gerufen` runs in this instance when a later
// start calls it.
Startweg entscheideStart(Einzelinstanz& instanz, std::function<void()> gerufen, const std::function<void()>& pause,
                         int versuche = 25);

}  // namespace klebwerk
