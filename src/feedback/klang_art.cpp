#include "feedback/klang_art.h"

namespace klebwerk {

std::string klangName(KlangArt art) {
    switch (art) {
        case KlangArt::klick: return "klick";
        case KlangArt::an: return "an";
        case KlangArt::aus: return "aus";
        case KlangArt::zu: return "zu";
        case KlangArt::auf: return "auf";
        case KlangArt::aktivAn: return "aktivAn";
        case KlangArt::aktivAus: return "aktivAus";
    }
    return {};
}

}  // namespace klebwerk
