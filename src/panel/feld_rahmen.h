#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/bildschirme.h"
#include "platform/geometrie.h"

namespace klebwerk {

class Einstellungen;

// A window frame stored under a name ("Bedienfeld", "Punkt"), top-left screen
// coordinates; none when nothing usable is stored.
std::optional<Rechteck> gespeicherterRahmen(const Einstellungen& ud, const std::string& name);
void speichereRahmen(Einstellungen& ud, const std::string& name, const Rechteck& r);

// The screen that holds most of `r`, else the main screen; none without screens.
std::optional<Bildschirm> bildschirmVon(const Rechteck& r, const std::vector<Bildschirm>& bildschirme);

// `r` moved (never resized) into the visible area of the screen that holds most of
// it, else of the main screen; unchanged without any screen. A frame larger than the
// area keeps its top-left corner inside it.
Rechteck inSichtbaremBereich(const Rechteck& r, const std::vector<Bildschirm>& bildschirme);

}  // namespace klebwerk
