#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/arbeitsplatz.h"

namespace klebwerk {

// Every running application by process id, from one listing, with its key: the bundle
// identifier, else the executable path ("" when it has neither).
std::map<int, std::string> kennungenNachPid(Arbeitsplatz& arbeitsplatz);

// Whether a stored entry [pid, number(, slot)] can name a window at all: two numbers at
// least, a process id a process can have, a window number in the window server's range.
bool eintragImBereich(const std::vector<std::int64_t>& eintrag);

// Whether a stored entry may connect to a window of the process that now has its id:
// with a stored key only when that process has the same key (ids are reused after a
// quit or a restart), without one (written before keys were kept) only when the
// process's key is among the applications whose windows connect automatically.
bool eintragGehoertZu(const std::string& gespeicherteKennung, const std::string& laufendeKennung,
                      const std::set<std::string>& autoApps);

}  // namespace klebwerk
