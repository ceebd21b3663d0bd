#pragma once

#include <map>
#include <string>

#include "platform/eingabe.h"
#include "platform/systemkuerzel.h"

namespace klebwerk {

// The display text of one system screenshot shortcut: ⇧⌘4, "aus" when it is switched
// off, "–" when the desktop keeps none or it cannot be read.
std::string systemKuerzelText(const SystemKuerzelLesung& l, Eingabe& eingabe);

// The texts of the system's screenshot shortcuts, read once and kept until the
// desktop's setting changes (its `fassung`), since the panel asks on every refresh.
// A failed read is logged (once while it stays the same) and not kept, so that the
// next ask tries again.
class SystemKuerzelSpeicher {
public:
    SystemKuerzelSpeicher(Systemkuerzel& quelle, Eingabe& eingabe) : quelle_(quelle), eingabe_(eingabe) {}
    std::string text(int nummer);
    // Forgets what was read: the next ask reads again.
    void vergiss() { texte_.clear(); }

private:
    Systemkuerzel& quelle_;
    Eingabe& eingabe_;
    std::string fassung_;
    std::map<int, std::string> texte_;
    std::string gemeldet_;  // the last failure that was logged
};

}  // namespace klebwerk
