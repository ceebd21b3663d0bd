#pragma once

#include <memory>
#include <string>

#include "platform/systemkuerzel.h"
#include "platform/linux/gnome_kuerzel.h"
#include "platform/linux/kde_kuerzel.h"

namespace klebwerk::linuxdesk {

// The desktop that XDG_CURRENT_DESKTOP names (a colon-separated list, "ubuntu:GNOME").
KuerzelDesktop kuerzelDesktopAus(const std::string& xdgAktuellerDesktop);

// The screenshot shortcuts of the Linux desktops: GNOME's shell key bindings
// "show-screenshot-ui" (the screenshot tool, which opens on an area selection: 30) and
// "show-screen-recording-ui" (the tool in its recording mode: 184), KDE Spectacle's
// "RectangularRegionScreenShot" (30) and its launch with all its options (184). Other
// numbers, and a desktop with neither, are unknown. The desktop of the session
// (XDG_CURRENT_DESKTOP) is asked first, the other one next.
class LinuxSystemkuerzel : public Systemkuerzel {
public:
    struct Orte {
        std::string konfigOrdner;    // the XDG config folder: dconf's database, kglobalshortcutsrc
        std::string desktop;         // XDG_CURRENT_DESKTOP
        std::string schemaOrdner;    // empty: the system's GSettings schemas
        std::string schluesselDatei; // empty: the desktop's GSettings backend; else this key file
    };
    // The places of this session.
    LinuxSystemkuerzel();
    explicit LinuxSystemkuerzel(Orte orte);

    // The modification times of the files the settings live in.
    std::string fassung() override;
    SystemKuerzelLesung lies(int nummer) override;
    KuerzelDesktop desktop() override;

private:
    SystemKuerzelLesung vonGnome(const std::string& schluessel);
    SystemKuerzelLesung vonKde(const std::string& aktion, const std::string& werkseitig);

    Orte orte_;
    std::unique_ptr<GnomeEinstellungen> gnome_;  // made on the first read
};

}  // namespace klebwerk::linuxdesk
