#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace klebwerk::linuxdesk {

// The freedesktop trash: a file moves into the "files" folder of a trash, and an
// entry of the same name plus ".trashinfo" in its "info" folder records where it came
// from and when, so that file managers can put it back.
//
// A file on the home folder's file system goes to $XDG_DATA_HOME/Trash
// (~/.local/share/Trash when unset). A file on another file system goes to that file
// system's own trash: "$top/.Trash/$uid" when the administrator set up "$top/.Trash"
// (a real folder with the sticky bit), else "$top/.Trash-$uid". Nothing is ever copied:
// a file that cannot be renamed into a trash stays where it is and the call fails.

// Moves `pfad` to the trash; on failure false and the system's error text.
bool inDenPapierkorb(const std::string& pfad, std::string& fehler);

// The text of a .trashinfo entry: `pfad` percent-encoded (absolute for the home
// trash, relative to the file system's top folder for the others) and the deletion
// time in local time as YYYY-MM-DDThh:mm:ss.
std::string trashinfoText(std::string_view pfad, std::chrono::system_clock::time_point zeit);

// Percent-encoding of a path as the trash entries need it: letters, digits, "-._~"
// and "/" stay, every other byte becomes %XX.
std::string prozentKodiert(std::string_view pfad);

// A free name in a trash for `name`: "name", then "stem.2.ext", "stem.3.ext", ….
std::string trashName(std::string_view name, int versuch);

}  // namespace klebwerk::linuxdesk
