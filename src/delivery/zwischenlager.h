#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace klebwerk {

// Creates the staging folder readable by the user alone (captures may show private
// things) and copies the capture into it, replacing an earlier copy of that name.
// The copy's path, or none when copying failed.
std::optional<std::string> legeKopieAn(const std::string& zwischenlager, const std::string& aufnahme);

// Removes every entry of the folder whose modification time lies more than a day
// before `jetzt`. Errors are ignored.
void raeumeAuf(const std::string& zwischenlager, std::chrono::system_clock::time_point jetzt);

}  // namespace klebwerk
