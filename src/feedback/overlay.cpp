#include "feedback/overlay.h"

namespace klebwerk {

void machUeberlagerung(QWidget& fenster) {
    // Bypassing the window manager (override-redirect on X11) keeps the overlay out
    // of taskbar, pager and focus handling and shows it on every workspace; the
    // input-transparent flag gives it an empty input shape.
    fenster.setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput | Qt::NoDropShadowWindowHint);
    fenster.setAttribute(Qt::WA_ShowWithoutActivating);
    fenster.setAttribute(Qt::WA_TransparentForMouseEvents);
    fenster.setFocusPolicy(Qt::NoFocus);
}

}  // namespace klebwerk
