#pragma once

#include <functional>
#include <string>

#include "platform/marke.h"

namespace klebwerk {

// The channel through which an outside program sends command texts.
class Befehlskanal {
public:
    virtual ~Befehlskanal() = default;
    // Listens until the token is dropped; the handler runs on the main thread.
    // An empty token: the channel could not be opened.
    virtual Marke hoere(std::function<void(const std::string& befehl)> handler) = 0;
};

}  // namespace klebwerk
