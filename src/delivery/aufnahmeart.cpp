#include "delivery/aufnahmeart.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "app/sprache.h"

namespace klebwerk {

bool istVideo(const std::string& pfad) {
    static const std::set<std::string> endungen = {".mov", ".mp4", ".m4v", ".webm"};
    std::string endung = std::filesystem::path(pfad).extension().string();
    std::transform(endung.begin(), endung.end(), endung.begin(), [](unsigned char c) { return std::tolower(c); });
    return endungen.count(endung) > 0;
}

std::string artWort(const std::string& pfad, bool gross) {
    if (istVideo(pfad)) return L("Aufnahme", gross ? "Recording" : "recording");
    return L("Screenshot", gross ? "Screenshot" : "screenshot");
}

}  // namespace klebwerk
