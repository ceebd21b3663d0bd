#pragma once

#include <functional>
#include <string>

#include "platform/marke.h"

namespace klebwerk {

// One change in a watched folder, per file name.
struct OrdnerEreignis {
    enum class Art {
        angelegt,      // a name was created in the folder (a file is being written in place)
        geschlossen,   // a file opened for writing was closed: its writer is done
        hineinbewegt,  // a whole file was moved into the folder
        entfernt,      // a name was deleted or moved out of the folder
        geaendert,     // something else changed (attributes, or a platform without names)
        ueberlauf,     // events were lost: rescan everything
        verschwunden,  // the watched folder itself is gone (deleted, moved away, unmounted)
    };
    Art art = Art::geaendert;
    std::string name;  // empty for `ueberlauf`, `verschwunden` and for a plain "changed"
};

// Watches folders for changes.
class Ordnerereignisse {
public:
    virtual ~Ordnerereignisse() = default;
    // Watches `ordner` until the token is dropped; events arrive on the main thread,
    // never inside this call. An empty token and `fehler` set (the system's error
    // text): the folder cannot be watched. After `verschwunden` no further events come.
    virtual Marke beobachte(const std::string& ordner, std::function<void(const OrdnerEreignis&)> handler,
                            std::string& fehler) = 0;
};

}  // namespace klebwerk
