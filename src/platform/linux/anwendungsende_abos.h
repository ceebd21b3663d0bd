#pragma once

#include <functional>
#include <memory>

#include "platform/arbeitsplatz.h"
#include "platform/laufschleife.h"
#include "platform/marke.h"

namespace klebwerk::linuxdesk {

// The callbacks for "an application terminated" of a workspace. Each one is run on the
// main thread for every reported end, in the order they were added; one that an earlier
// callback dropped is skipped. The tokens and the reports already on their way outlive
// this object safely: after it is gone they do nothing.
class AnwendungsendeAbos {
public:
    explicit AnwendungsendeAbos(Laufschleife& schleife);

    // Any thread.
    Marke abonniere(std::function<void(const Anwendung&)> rueckruf);
    // Any thread: the callbacks run later on the main thread.
    void melde(const Anwendung& anwendung);

private:
    struct Abos;
    Laufschleife& schleife_;
    std::shared_ptr<Abos> abos_;
};

}  // namespace klebwerk::linuxdesk
