#include "intake/waechter.h"

namespace klebwerk {

Waechter::Waechter(Plattform& plattform) : plattform_(plattform) {}

void Waechter::start() {}

}  // namespace klebwerk
