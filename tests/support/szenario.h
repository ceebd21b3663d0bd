#pragma once

#include <string>
#include <vector>

#include "platform/geometrie.h"

namespace klebwerk::test {

// A window of a test application, described once: the simulated desktop builds its
// accessibility tree from it, the Qt fixture builds widgets from it.
struct SzElement {
    std::string rolle;  // "AXButton", "AXTextField", "AXTextArea", "AXStaticText", "AXGroup"
    std::string titel;  // visible text (a button's caption, a label's text)
    std::string beschreibung;  // accessible description
    std::vector<SzElement> kinder;
};

struct SzFenster {
    std::string titel;
    Rechteck rahmen;  // top-left screen points, the window's outer frame
    std::vector<SzElement> inhalt;
};

// The small chat window of the contract tests.
SzFenster chatFenster();

}  // namespace klebwerk::test
