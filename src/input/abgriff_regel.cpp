#include "input/abgriff_regel.h"

namespace klebwerk {

AbgriffRegel regelFuer(bool nurTasten, Modus kommend) {
    AbgriffRegel r;
    if (nurTasten) {
        r.nurTasten = true;
        return r;
    }
    if (kommend == Modus::kuerzel) {
        r.alleTasten = true;
        return r;
    }
    r.maus = AbgriffRegel::Umgang::schlucken;
    r.geschluckteTasten = {tasteEscape};
    return r;
}

}  // namespace klebwerk
