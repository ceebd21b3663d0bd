#pragma once

#include <functional>
#include <string>

#include "platform/marke.h"

namespace klebwerk {

// One change in a watched folder, per file name.
struct OrdnerEreignis {
    enum class Art { angelegt, geschlossen, hineinbewegt, geaendert, ueberlauf };
    Art art = Art::geaendert;
    std::string name;  // empty for `ueberlauf` (rescan everything) and for plain "changed"
};

// Watches folders for changes.
class Ordnerereignisse {
public:
    virtual ~Ordnerereignisse() = default;
    // Watches `ordner` until the token is dropped; events arrive on the main thread.
    // An empty token and `fehler` set: the folder cannot be watched.
    virtual Marke beobachte(const std::string& ordner, std::function<void(const OrdnerEreignis&)> handler,
                            std::string& fehler) = 0;
};

}  // namespace klebwerk
