#include <filesystem>

#include "app/protokoll.h"
#include "app/steuerung.h"
#include "delivery/zwischenlager.h"

namespace klebwerk {

// Each finished capture arrives here once; the delivery sequence builds on it.
void Steuerung::neuerScreenshot(const std::string& pfad) {
    protokoll("Screenshot: " + std::filesystem::path(pfad).filename().string());
}

void Steuerung::raeumeZwischenlagerAuf() { raeumeAuf(zwischenlager, schleife.wanduhr()); }

}  // namespace klebwerk
