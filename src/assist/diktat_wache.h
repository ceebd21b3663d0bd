#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ax/knopf_merkmal.h"
#include "targets/ziel.h"

namespace klebwerk {

// What one send-after-dictation watch knows: its own target and button, and what the
// ticks have seen so far. Only the main thread touches it.
struct DiktatWache {
    std::uint64_t nummer = 0;  // the dictation it belongs to
    std::shared_ptr<Ziel> ziel;
    KnopfMerkmal merkmal;
    double start = 0;
    bool beschaeftigt = false;  // a background read of this watch is under way
    std::optional<std::string> anfangsText;
    std::string letzterText;
    double letzteAenderung = 0;
    bool laufendGesehen = false;  // the button was gone once: dictation visibly ran
    std::optional<double> zurueckSeit;
};

// What a tick decides once its reads are in.
enum class WachenSchritt { weiter, senden, ohneText };

// One tick: the button's presence and the input's text at `jetzt`.
WachenSchritt werteAus(DiktatWache& w, bool knopfDa, const std::string& text, double jetzt);

}  // namespace klebwerk
