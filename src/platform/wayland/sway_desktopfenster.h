#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/atspi/desktop_fenster.h"
#include "platform/wayland/sway_fenster.h"

namespace klebwerk::wayland {

// sway's windows as the accessibility layer pairs them: the shown views with their
// process, title and area from the IPC's tree (AT-SPI gives no screen positions on
// Wayland), the focused one, activation, and title changes and closes from sway's
// window events, read on a subscription of its own (started with the first watcher).
class SwayDesktopFenster : public atspi::DesktopFenster {
public:
    SwayDesktopFenster(const SwayFensterdienst& dienst, SwayIpc ipc);
    ~SwayDesktopFenster() override;

    std::vector<atspi::FensterFakten> kandidaten() override;
    std::optional<atspi::FensterFakten> fenster(std::int64_t nummer) override;
    std::int64_t aktives() override;
    bool hebe(std::int64_t nummer) override;
    Marke beobachte(std::int64_t nummer, std::function<void(Aenderung)> rueckruf) override;
    // Whether sway's window events are coming in (after the first watcher).
    bool abonniert();

private:
    struct Beobachter {
        std::mutex sperre;
        std::multimap<std::int64_t, std::pair<std::uint64_t, std::function<void(Aenderung)>>> rueckrufe;
        std::uint64_t naechster = 1;
    };
    void ereignis(std::uint32_t typ, const std::string& daten);
    void abgerissen(const std::string& grund);

    const SwayFensterdienst& dienst_;
    SwayIpc ipc_;
    int eigenePid_;
    std::shared_ptr<Beobachter> beobachter_ = std::make_shared<Beobachter>();
    std::mutex aboSperre_;
    std::unique_ptr<SwayAbo> abo_;
};

}  // namespace klebwerk::wayland
