#include "input/kuerzel_art.h"

#include "app/sprache.h"

namespace klebwerk {

std::string kuerzelTitel(KuerzelArt a) {
    return a == KuerzelArt::diktat ? L("Diktat starten", "Start dictation") : L("Senden", "Send");
}

}  // namespace klebwerk
