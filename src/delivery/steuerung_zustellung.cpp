#include <filesystem>

#include "app/protokoll.h"
#include "app/steuerung.h"

namespace klebwerk {

// Each finished capture arrives here once; the delivery sequence builds on it.
void Steuerung::neuerScreenshot(const std::string& pfad) {
    protokoll("Screenshot: " + std::filesystem::path(pfad).filename().string());
}

// Staged copies older than a day are removed; built with the delivery.
void Steuerung::raeumeZwischenlagerAuf() {}

}  // namespace klebwerk
