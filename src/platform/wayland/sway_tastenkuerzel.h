#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/laufschleife.h"
#include "platform/tastenkuerzel.h"
#include "platform/wayland/sway_ipc.h"

namespace klebwerk::wayland {

// Global hot keys as sway bindings added at run time through the IPC:
// `bindsym --no-repeat <combination> nop klebwerk-kuerzel-<id>`. A press runs the
// binding, and sway tells every IPC client of it in a binding event; a subscription of
// this object's own hears the event and hands the id to the main thread. So no process
// is started per press, and it works when the compositor runs as another user.
//
// sway replaces an existing binding of the same combination without a word; a
// combination that the config binds is refused instead (the status `vergeben`), so
// that the user's own shortcut stays. Removing and destroying take the bindings away
// again with unbindsym: the bindings are as the config made them.
class SwayTastenkuerzel : public Tastenkuerzel {
public:
    // The statuses of a combination in use, of a key code without a key name and of
    // a compositor that did not answer.
    static constexpr int vergeben = -9878;
    static constexpr int unbekannt = -50;
    static constexpr int keineAntwort = -9870;

    SwayTastenkuerzel(SwayIpc ipc, Laufschleife& schleife, double frist = 1.0);
    ~SwayTastenkuerzel() override;

    int registriere(std::uint32_t id, std::uint16_t code, std::uint32_t modifikatoren) override;
    void entferne(std::uint32_t id) override;
    void beiDruck(std::function<void(std::uint32_t id)> handler) override;

    // Whether sway has confirmed the subscription: presses from then on arrive.
    bool abonniert() const;
    // The command of the binding of `id`.
    static std::string befehl(std::uint32_t id);

private:
    struct Geteilt {
        std::mutex sperre;
        std::function<void(std::uint32_t)> handler;
        std::map<std::uint32_t, std::string> bindungen;  // id → combination text
    };
    void ereignis(std::uint32_t typ, const std::string& daten);
    void bindeNeu();
    bool fuehreAus(const std::string& befehl, std::string& fehler) const;

    SwayIpc ipc_;
    Laufschleife& schleife_;
    double frist_;
    std::shared_ptr<Geteilt> geteilt_ = std::make_shared<Geteilt>();
    std::unique_ptr<SwayAbo> abo_;
};

}  // namespace klebwerk::wayland
