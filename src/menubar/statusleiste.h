#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QObject>

#include "menubar/leistenstand.h"
#include "menubar/menue.h"

class QImage;
class QMenu;
class QSystemTrayIcon;

namespace klebwerk {

// The status item in the desktop's tray (StatusNotifierItem or XEmbed, whichever the
// desktop offers) with its menu, which is built afresh from `baue` each time it opens.
class Statusleiste : public QObject {
public:
    explicit Statusleiste(std::function<std::vector<MenueEintrag>()> baue);
    ~Statusleiste() override;

    void zeige(const LeistenStand& stand);
    // Whether the desktop has a status area for the item.
    static bool bereichDa();
    // The menu of `eintraege` as it looks when it opens, drawn from the widget at
    // `massstab` pixels per point (nothing is taken from the screen).
    static QImage bild(const std::vector<MenueEintrag>& eintraege, double massstab);

private:
    void baueMenue();

    std::function<std::vector<MenueEintrag>()> baue_;
    std::unique_ptr<QMenu> menue_;
    std::unique_ptr<QSystemTrayIcon> symbol_;
    LeistenStand stand_;
};

}  // namespace klebwerk
