#include "support/szenario.h"

namespace klebwerk::test {

SzFenster chatFenster() {
    return SzFenster{
        "Kleiner Chat",
        {100, 100, 420, 360},
        {
            {"AXStaticText", "Verlauf", "", {}},
            {"AXTextArea", "", "", {}},
            {"AXGroup", "", "", {
                {"AXButton", "Senden", "", {}},
                {"AXButton", "Diktat", "Diktat starten", {}},
            }},
            {"AXTextField", "", "", {}},
            {"AXButton", "Vorlesen", "", {}},
        },
    };
}

}  // namespace klebwerk::test
