#pragma once

#include <string>

namespace klebwerk {

// Whether a capture is a screen recording, by its extension (lower-cased).
bool istVideo(const std::string& pfad);

// The kind word of the hints: "Aufnahme"/"Screenshot" or, in English, by `gross`
// "Recording"/"Screenshot" (sentence start) or "recording"/"screenshot".
std::string artWort(const std::string& pfad, bool gross);

}  // namespace klebwerk
