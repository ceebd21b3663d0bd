#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "intake/aufnahmearten.h"
#include "platform/dateiinfo.h"

namespace klebwerk {

// The extended attribute that marks a file as a screen capture.
inline const std::string aufnahmeMerkmal = "com.apple.metadata:kMDItemIsScreenCapture";

// Ages of a file, in seconds: older ones are never new captures; an image without a
// capture name is looked at again while younger than `merkmalFrist` (its attribute may
// come a moment later).
inline constexpr double hoechstesAlter = 120.0;
inline constexpr double merkmalFrist = 6.0;
// A recording is finished once its size has stood this long.
inline constexpr double videoRuhe = 1.0;
inline constexpr double videoNachRuhe = 0.6;   // next look while it stands, not yet long enough
inline constexpr double videoNachWachsen = 1.1;  // next look after it grew
// An image that no event showed whole is whole once its size and time held this long
// between two scans.
inline constexpr double bildRuhe = 0.25;
inline constexpr double bildNachsehen = 0.6;

// One observation of a file's size (and modification time), at monotonic `zeit`.
struct Beobachtung {
    std::int64_t groesse = 0;
    std::chrono::system_clock::time_point geaendert;
    double zeit = 0;
};

// What a scan knows about one file that is not yet settled.
struct DateiBlick {
    std::string name;
    AufnahmeArt art = AufnahmeArt::keine;  // by its extension
    bool aufnahmeName = false;             // its name begins like a capture of its kind
    std::optional<DateiStand> stand;       // absent: vanished or unreadable
    std::function<bool()> hatMerkmal;      // asked only for images without a capture name
    std::function<bool()> videosErlaubt;   // asked only for recordings with a capture name
    bool fertigGemeldet = false;           // its writer closed it, or it was moved in whole
    bool offenGemeldet = false;            // it was created in place and its writer has not closed it
    std::optional<Beobachtung> vorher;     // the last observation of this file
    std::chrono::system_clock::time_point wanduhr;
    double jetzt = 0;  // monotonic seconds
};

struct Urteil {
    enum class Tat {
        setzen,  // settle: never look at it again
        melden,  // settle and report it as a new capture
        warten,  // leave it open for later scans
    };
    Tat tat = Tat::warten;
    // The observation to keep for the next look; absent: forget the kept one.
    std::optional<Beobachtung> merke;
    // > 0: scan again after this many seconds.
    double nachpruefen = 0;
    // The time of the file: the later of modification and birth time.
    std::chrono::system_clock::time_point dateizeit;
};

// The decision for one file, without side effects.
Urteil beurteile(const DateiBlick& blick);

}  // namespace klebwerk
