#include "platform/x11/x11_fensterliste.h"

namespace klebwerk::x11 {

std::vector<FensterInfo> X11Fensterliste::fenster() {
    std::vector<FensterInfo> liste;
    for (const XFenster& f : x_.allesAufBildschirm()) {
        FensterInfo info;
        info.nummer = f.id;
        info.pid = f.pid;
        info.schicht = f.schicht;
        info.rahmen = f.rahmen;
        info.titel = f.titel;
        info.besitzer = f.pid > 0 ? arbeitsplatz_.besitzerName(f) : std::string();
        liste.push_back(std::move(info));
    }
    return liste;
}

}  // namespace klebwerk::x11
