#include "platform/linux/qt_bildschirme.h"

#include <QGuiApplication>
#include <QScreen>

namespace klebwerk::linuxdesk {

std::vector<Bildschirm> QtBildschirme::alle() {
    std::vector<Bildschirm> liste;
    auto zuRechteck = [](const QRect& r) {
        return Rechteck{double(r.x()), double(r.y()), double(r.width()), double(r.height())};
    };
    QScreen* haupt = QGuiApplication::primaryScreen();
    if (haupt) liste.push_back({zuRechteck(haupt->geometry()), zuRechteck(haupt->availableGeometry())});
    for (QScreen* s : QGuiApplication::screens()) {
        if (s != haupt) liste.push_back({zuRechteck(s->geometry()), zuRechteck(s->availableGeometry())});
    }
    return liste;
}

}  // namespace klebwerk::linuxdesk
