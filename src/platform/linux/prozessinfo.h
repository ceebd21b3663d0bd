#pragma once

#include <string>

// What /proc and the kernel tell about another process.
namespace klebwerk::linuxdesk {

// The executable of the process; empty when it cannot be read. A program replaced by an
// update while it runs is named by its path, without the kernel's " (deleted)".
std::string ausfuehrbareDatei(int pid);

// The process's command name (/proc/PID/comm).
std::string befehlsname(int pid);

// Whether the process exists (also one of another user).
bool laeuft(int pid);

// A descriptor that becomes readable when the process ends; -1 where the kernel has none.
int oeffnePidfd(int pid);

}  // namespace klebwerk::linuxdesk
