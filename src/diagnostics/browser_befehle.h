#pragma once

#include <memory>
#include <string>

namespace klebwerk {

class Steuerung;
class Ziel;

// "url.txt": what the browser side sees of one window (or "kein Fenster").
void schreibeUrlDiagnose(Steuerung& s, const std::shared_ptr<Ziel>& fenster);
// "ki.txt": per connected target its name, its stored AI chat and the current one.
void schreibeKiListe(Steuerung& s);
// Connects the window as a target by its focused field, named after its page.
void verbindeFeldziel(Steuerung& s, const std::shared_ptr<Ziel>& fenster);

}  // namespace klebwerk
