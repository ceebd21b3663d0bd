#pragma once

#include <string>

#include "platform/systemkuerzel.h"

namespace klebwerk::linuxdesk {

// KDE keeps global shortcuts in kglobalshortcutsrc, one group per component: Plasma 5
// as "[org.kde.spectacle.desktop]" with "Action=current,default,description", Plasma
// 6 as "[services][org.kde.spectacle.desktop]" with "Action=current" for the
// shortcuts the user changed only. Alternatives are separated by a tab; "none"
// switches a shortcut off.

// One shortcut in Qt's notation ("Meta+Shift+Print"); `fehler` when not understood.
SystemKuerzelLesung kdeKombination(const std::string& text);

// The shortcut of a Spectacle action from the file's text; the factory combination
// `werkseitig` when the file names none.
SystemKuerzelLesung spectacleKuerzel(const std::string& inhalt, const std::string& aktion,
                                     const std::string& werkseitig);

}  // namespace klebwerk::linuxdesk
