#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "delivery/ablage.h"
#include "platform/arbeitsplatz.h"
#include "targets/ziel.h"

namespace klebwerk {

// What one delivery carries from step to step.
struct Zustellung {
    std::shared_ptr<Ziel> ziel;  // the active target when the delivery began
    std::string aufnahme;
    std::string datei;  // the capture, or its staged copy
    bool papierkorb = false;
    // The user's pasteboard; none when it could not be read (nothing is written back).
    std::optional<GesicherteAblage> gesichert;
    // The capture's PNG when it was made ahead, since its file was complete.
    std::optional<std::string> png;
    std::int64_t zaehler = 0;  // the pasteboard's change count after writing the capture
    std::optional<Anwendung> vorher;
    bool zielWarVorn = false;
    std::optional<Element> vorherFenster;
    bool vorn = false;
    bool diktatGestartet = false;
};

}  // namespace klebwerk
