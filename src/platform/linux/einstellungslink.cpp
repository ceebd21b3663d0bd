#include "platform/linux/einstellungslink.h"

#include "platform/arbeitsplatz.h"
#include "platform/linux/prozessstart.h"
#include "platform/linux/tastaturkuerzelseite.h"
#include "platform/linux/zugaenglichkeitsseite.h"

namespace klebwerk::linuxdesk {

bool oeffneLink(const std::string& link) {
    if (link == zugaenglichkeitsLink) return oeffneZugaenglichkeit();
    if (link == tastaturkuerzelLink) return oeffneTastaturkuerzel();
    return starteLoesgeloest("xdg-open", {link});
}

}  // namespace klebwerk::linuxdesk
