#pragma once

#include <string>
#include <vector>
#include <sys/types.h>

namespace klebwerk::linuxdesk {

// The relaunch without a shell: this program started again as a small detached helper
//   <self> --neustart-nach <pid> <seconds> <program> <arguments…>
// which waits until process <pid> has ended and has given up the instance name on the
// session bus, then the seconds, and then replaces itself with the program (the
// arguments passed as they are).

inline constexpr const char* neustartSchalter = "--neustart-nach";

// The helper's arguments (without the helper's own path).
std::vector<std::string> neustartAufruf(pid_t warteAuf, double sekunden, const std::string& programm,
                                        const std::vector<std::string>& argumente);

// When `argv` is a helper call: waits, then executes the program; returns only on failure,
// with the exit status to leave with. Otherwise -1: no helper call, carry on normally.
int fuehreNeustartAus(int argc, char** argv);

}  // namespace klebwerk::linuxdesk
