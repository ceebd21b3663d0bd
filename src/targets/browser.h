#pragma once

#include <set>
#include <string>

#include "platform/arbeitsplatz.h"

namespace klebwerk {

// The bundle identifiers that count as browsers.
const std::set<std::string>& browserKennungen();

// Whether the running application with that process id is a browser (no such
// application, or none without an identifier: not a browser).
bool istBrowser(Arbeitsplatz& arbeitsplatz, int pid);

}  // namespace klebwerk
