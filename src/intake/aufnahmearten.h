#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/aufnahmewerkzeug.h"

namespace klebwerk {

enum class AufnahmeArt { keine, bild, video };

// Which files are captures: image and recording extensions and the name beginnings
// of screenshot and recording tools. The one place for these lists: the watcher,
// the delivery (is it a recording?) and the hints (which kind word) all ask here.
struct Aufnahmearten {
    std::set<std::string> bilder{"png", "jpg", "jpeg", "heic", "tiff", "tif"};
    std::set<std::string> videos{"mov", "mp4", "m4v"};
    std::vector<std::string> bildAnfaenge{"Bildschirmfoto", "Screenshot"};
    std::vector<std::string> videoAnfaenge{"Bildschirmaufnahme", "Screen Recording"};

    // The shared lists plus what the desktop's own tools add.
    static Aufnahmearten mit(const AufnahmeNamen& zusatz);

    // The kind by the extension of a file name or path (case-insensitive).
    AufnahmeArt art(std::string_view name) const;
    bool istVideo(std::string_view name) const { return art(name) == AufnahmeArt::video; }
    // Whether the name begins like a capture of that kind.
    bool istAufnahmeName(std::string_view name, AufnahmeArt art) const;
};

// The extension of a file name or path in lower case, without the dot; empty when
// it has none (a name that only begins with a dot has none).
std::string endung(std::string_view name);

}  // namespace klebwerk
