// The input contract against the x11 backend: the project's probe window, keys and
// clicks through XTest, the user's modifiers held by a second client.

#include <chrono>
#include <map>

#include <xcb/xtest.h>

#include "desktop/x11_hilfe.h"
#include "platform/x11/x11_abgriff.h"
#include "platform/x11/x11_eingabe.h"
#include "support/vertrag_eingabe.h"

namespace klebwerk::test {
namespace {

using Uhr = std::chrono::steady_clock;

// What the probe window prints, in the backend's vocabulary.
std::optional<std::pair<std::uint16_t, std::uint64_t>> alsTaste(const std::string& zeile) {
    static const std::map<int, std::uint16_t> codes{{0x56, tasteV}, {0x01000004, tasteReturn}, {0x41, codeA},
                                                    {0x01000000, tasteEscape}};
    int qtTaste = 0;
    unsigned qtMods = 0;
    if (std::sscanf(zeile.c_str(), "taste %d %u", &qtTaste, &qtMods) != 2) return std::nullopt;
    auto it = codes.find(qtTaste);
    if (it == codes.end()) return std::nullopt;  // the modifier keys themselves
    std::uint64_t f = 0;
    if (qtMods & 0x02000000) f |= flagge::umschalt;
    if (qtMods & 0x04000000) f |= flagge::control;
    if (qtMods & 0x08000000) f |= flagge::option;
    if (qtMods & 0x10000000) f |= flagge::befehl;  // Qt's Meta is the Super key
    return std::make_pair(it->second, f);
}

class X11EingabeDesktop : public EingabeDesktop {
public:
    X11EingabeDesktop()
        : tastatur(x), eingabe_(x, tastatur), abgriff_(x, tastatur, schleife), probe("Eingabe Vertrag", 180, 160, 420, 300) {
        nutzer = xcb_connect(nullptr, nullptr);
    }
    ~X11EingabeDesktop() override {
        lasseLos();
        xcb_disconnect(nutzer);
    }
    bool bereit() override {
        if (!warteBis([&] { return probe.fensterId() && x.fensterMit(probe.fensterId()); })) return false;
        x.aktiviereFenster(probe.fensterId());
        return warteBis([&] { return x.aktivesFenster() == probe.fensterId() && probe.hat("fokus"); });
    }
    Eingabe& eingabe() override { return eingabe_; }
    Ereignisabgriff& abgriff() override { return abgriff_; }
    Planer planer() override {
        return [this](double s, std::function<void()> f) {
            faellig.emplace(Uhr::now() + std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(s)),
                            std::move(f));
        };
    }
    void halte(std::uint64_t flaggen) override {
        // evdev key codes of the left modifier keys
        const std::pair<std::uint64_t, std::uint8_t> tasten[] = {
            {flagge::umschalt, 50}, {flagge::control, 37}, {flagge::option, 64}, {flagge::befehl, 133}};
        for (auto [f, k] : tasten)
            if (flaggen & f) {
                xcb_test_fake_input(nutzer, XCB_KEY_PRESS, k, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
                gehalten.push_back(k);
            }
        xcb_flush(nutzer);
    }
    void lasseLos() override {
        for (auto k : gehalten) xcb_test_fake_input(nutzer, XCB_KEY_RELEASE, k, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        gehalten.clear();
        xcb_flush(nutzer);
    }
    void bewege(Punkt wo) override {
        xcb_test_fake_input(nutzer, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, x.wurzel(), std::int16_t(wo.x),
                            std::int16_t(wo.y), 0);
        xcb_flush(nutzer);
    }
    std::vector<std::pair<std::uint16_t, std::uint64_t>> tasten() override {
        std::vector<std::pair<std::uint16_t, std::uint64_t>> t;
        for (const auto& z : probe.zeilen(0))
            if (auto k = alsTaste(z)) t.push_back(*k);
        return t;
    }
    std::vector<int> klicks() override {
        std::vector<int> k;
        int knopf = 0;
        for (const auto& z : probe.zeilen(0))
            if (std::sscanf(z.c_str(), "maus %d", &knopf) == 1) k.push_back(knopf);
        return k;
    }
    Punkt mitte() override {
        auto f = x.fensterMit(probe.fensterId());
        return f ? f->rahmen.mitte() : Punkt{};
    }
    bool warte(const std::function<bool()>& bedingung) override {
        return warteBis([&] {
            schleife.abarbeiten();
            while (!faellig.empty() && faellig.begin()->first <= Uhr::now()) {
                auto arbeit = std::move(faellig.begin()->second);
                faellig.erase(faellig.begin());
                arbeit();
            }
            return bedingung();
        });
    }

private:
    TestSchleife schleife;
    x11::XVerbindung x;
    x11::XTastatur tastatur;
    x11::X11Eingabe eingabe_;
    x11::X11Abgriff abgriff_;
    Probefenster probe;
    xcb_connection_t* nutzer = nullptr;  // the user's own keyboard and mouse
    std::vector<std::uint8_t> gehalten;
    std::multimap<Uhr::time_point, std::function<void()>> faellig;
};

std::unique_ptr<EingabeDesktop> x11Desktop() {
    if (!hatAnzeige()) return nullptr;
    return std::make_unique<X11EingabeDesktop>();
}

INSTANTIATE_TEST_SUITE_P(X11, VertragEingabe, ::testing::Values(&x11Desktop), [](const auto&) { return "x11"; });

}  // namespace
}  // namespace klebwerk::test
