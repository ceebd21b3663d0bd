#pragma once

#include <cstdint>
#include <optional>

namespace klebwerk {

// What one read-aloud watch has seen of the target's answers. Only the main thread
// touches it.
struct VorleseWache {
    std::uint64_t nummer = 0;   // the watch it belongs to
    bool beschaeftigt = false;  // a background step of this watch is under way
    bool antwortLaeuft = false; // a stop button was seen since the last reset
    std::optional<double> fertigSeit;  // when the stop button was first missing after it
    int versuche = 0;           // failed presses for the current answer
};

// What a tick decides once it knows whether the stop button is there.
enum class VorleseSchritt { nichts, antwortLaeuft, antwortFertig, springen };

// One tick at `jetzt`, the pointer resting for `zeigerRuhe` seconds.
VorleseSchritt werteAus(VorleseWache& w, bool stoppKnopfDa, double jetzt, double zeigerRuhe);

// A press that found nothing to click; the attempt's number. The third gives the
// answer up: the watch waits for the next one.
int zaehleFehlversuch(VorleseWache& w);

}  // namespace klebwerk
