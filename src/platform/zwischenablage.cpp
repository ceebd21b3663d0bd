#include "platform/zwischenablage.h"

namespace klebwerk {

const std::string* datenVon(const AblageEintrag& eintrag, const std::string& typ) {
    for (const auto& [name, daten] : eintrag)
        if (name == typ) return &daten;
    return nullptr;
}

}  // namespace klebwerk
