#include "app/steuerung.h"

namespace klebwerk {

std::optional<KnopfMerkmal> Steuerung::merkmal(KnopfArt art) const { return gespeichertesMerkmal(ud, art); }

void Steuerung::setzeMerkmal(KnopfArt art, const std::optional<KnopfMerkmal>& m) { speichereMerkmal(ud, art, m); }

}  // namespace klebwerk
