#include "delivery/aufnahmeart.h"

#include "app/sprache.h"

namespace klebwerk {

std::string artWort(const Aufnahmearten& arten, const std::string& pfad, bool gross) {
    if (arten.istVideo(pfad)) return L("Aufnahme", gross ? "Recording" : "recording");
    return L("Screenshot", gross ? "Screenshot" : "screenshot");
}

}  // namespace klebwerk
