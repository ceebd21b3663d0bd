#include "input/abgriff_regel.h"

namespace klebwerk {

AbgriffRegel regelFuer(bool nurTasten, Modus kommend) {
    AbgriffRegel r;
    if (nurTasten) {
        r.nurTasten = true;
        return r;
    }
    if (kommend == Modus::kuerzel) {
        // Every key the keyboard can send: the backend takes the whole keyboard.
        for (std::uint16_t code = 0; code <= hoechsterTastenCode; ++code) r.geschluckteTasten.insert(code);
        return r;
    }
    r.linkeTaste = AbgriffRegel::Umgang::schlucken;
    r.geschluckteTasten = {tasteEscape};
    return r;
}

}  // namespace klebwerk
