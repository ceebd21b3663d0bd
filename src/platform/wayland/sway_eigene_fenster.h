#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QRect>

#include "platform/eigene_fenster.h"
#include "platform/laufschleife.h"
#include "platform/wayland/sway_ipc.h"

namespace klebwerk::wayland {

// This program's own floating windows on sway. A Wayland client cannot place its
// window or ask to be kept above others; sway's IPC can: a rule for this process makes
// every window of it floating, sticky (it stays on the shown workspace when the user
// switches) and without sway's border and title bar as sway maps it (again after a
// reload of sway's config), and each window shown here is moved to the place the
// program gave it.
//
// The toolkit's native id means nothing to sway, so the window is found by this
// process's pid and its title: at its showing sway has not mapped it yet, and sway's
// window events tell when it has (a new window, then its title). What sway cannot be asked for: a window that
// refuses the keyboard focus (sway focuses every new window), a place above floating
// windows that took the focus later, and staying out of a task bar.
class SwayEigeneFenster : public EigeneFenster {
public:
    SwayEigeneFenster(SwayIpc ipc, Laufschleife& schleife, double frist = 1.0);
    ~SwayEigeneFenster() override;

    // `fenster` is the id of one of this process's Qt windows (QWindow::winId).
    void schwebend(std::uint64_t fenster) override;
    // Whether sway has confirmed the subscription to its window events.
    bool abonniert() const;

private:
    struct Wunsch {
        std::string titel;
        QRect rahmen;
    };
    struct Geteilt {
        std::mutex sperre;
        std::vector<Wunsch> wartend;  // shown, not yet seen mapped by sway
    };
    void ereignis(std::uint32_t typ, const std::string& daten);
    void suchImBaum();

    SwayIpc ipc_;
    Laufschleife& schleife_;
    double frist_;
    int eigenePid_;
    bool gemeldet_ = false;
    std::shared_ptr<Geteilt> geteilt_ = std::make_shared<Geteilt>();
    Marke regel_;
    Marke suche_;
    std::unique_ptr<SwayAbo> abo_;
};

}  // namespace klebwerk::wayland
