#include "app/steuerung.h"

namespace klebwerk {

void Steuerung::spiele(KlangArt art, bool auchWennAus) { klang.spiele(art, auchWennAus); }

}  // namespace klebwerk
