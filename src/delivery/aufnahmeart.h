#pragma once

#include <string>

#include "intake/aufnahmearten.h"

namespace klebwerk {

// The kind word of the hints: "Aufnahme"/"Screenshot", in English by `gross`
// "Recording"/"Screenshot" (sentence start) or "recording"/"screenshot".
std::string artWort(const Aufnahmearten& arten, const std::string& pfad, bool gross);

}  // namespace klebwerk
