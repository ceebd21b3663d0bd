#include "app/steuerung.h"

namespace klebwerk {

// Target operations that later parts of the target subsystem build.
void Steuerung::entferne(const std::shared_ptr<Ziel>&, bool) {}
void Steuerung::stelleZielWiederHer() {}
void Steuerung::pruefeFokus() {}
void Steuerung::pruefeNeueFenster() {}
void Steuerung::pruefeAusstehende() {}

std::string Steuerung::name(const std::shared_ptr<Ziel>& z) const { return z ? z->anzeige() : std::string(); }

}  // namespace klebwerk
