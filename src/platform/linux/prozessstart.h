#pragma once

#include <string>
#include <vector>

namespace klebwerk::linuxdesk {

// Starts a program detached from this process (its own session, an empty signal
// mask, no zombie left behind). The program and each argument are passed as they
// are: no shell ever sees them. False when it could not be started.
bool starteLoesgeloest(const std::string& programm, const std::vector<std::string>& argumente);

// The full path of a program found on PATH, or empty.
std::string findeProgramm(const std::string& name);

}  // namespace klebwerk::linuxdesk
