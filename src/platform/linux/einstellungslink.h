#pragma once

#include <string>

namespace klebwerk::linuxdesk {

// Opens a link of the workspace: the system's accessibility and keyboard-shortcut
// settings in the desktop's own settings program, anything else with xdg-open.
// False when nothing could be started.
bool oeffneLink(const std::string& link);

}  // namespace klebwerk::linuxdesk
