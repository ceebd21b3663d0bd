#include "app/steuerung.h"
#include "panel/bedienfeld.h"

namespace klebwerk {

Bedienfeld& Steuerung::feld() {
    if (!feld_) feld_ = std::make_unique<Bedienfeld>(*this);
    return *feld_;
}

}  // namespace klebwerk
