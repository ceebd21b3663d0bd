#pragma once

#include <functional>

namespace klebwerk {

// This program runs once per session: the running instance holds a name that only one
// process can hold, and a second start calls it instead of starting beside it.
class Einzelinstanz {
public:
    enum class Anspruch {
        eigen,     // this process holds the name now
        vergeben,  // another process holds it
        fehler,    // the session offers no such names (no bus)
    };
    enum class Ruf {
        angenommen,    // the holder answered
        niemand,       // nobody holds the name any more (the holder just went away)
        keineAntwort,  // the holder did not answer in time
    };

    virtual ~Einzelinstanz() = default;
    // Claims the name. Once held, `gerufen` runs on the main thread (never inside a
    // call of this interface) whenever another start calls this instance.
    virtual Anspruch beanspruche(std::function<void()> gerufen) = 0;
    // Calls the instance that holds the name.
    virtual Ruf rufe() = 0;
    // Gives the name up, so that a new start finds it free before this process has ended.
    virtual void gibAuf() = 0;
};

}  // namespace klebwerk
