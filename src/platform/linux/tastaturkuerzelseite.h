#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/systemkuerzel.h"
#include "platform/linux/zugaenglichkeitsseite.h"

namespace klebwerk::linuxdesk {

// The program in which `desktop` changes its keyboard shortcuts, opened at them, when
// `finde` (name → full path, empty when absent) knows it: GNOME Settings at
// "keyboard", KDE System Settings at "kcm_keys". Other desktops have none here: the
// settings of another desktop would not change this one's shortcuts.
std::optional<Einstellungsprogramm> tastaturkuerzelProgramm(KuerzelDesktop desktop,
                                                            const std::function<std::string(const std::string&)>& finde);

// What the keyboard settings link means here: the session's desktop opens its
// shortcut settings when it has such a program; logged either way. False when nothing
// was opened.
bool oeffneTastaturkuerzel();

}  // namespace klebwerk::linuxdesk
