#include "app/steuerung.h"

namespace klebwerk {

// Following a dictation comes with the dictation subsystem.
void Steuerung::stoppeDiktat() {}

}  // namespace klebwerk
