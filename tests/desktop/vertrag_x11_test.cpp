// The contract suite against the x11 backend: the scenario as the real Qt chat window.

#include "desktop/atspi_hilfe.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/x11_desktopfenster.h"
#include "support/vertrag.h"

namespace klebwerk::test {
namespace {

class X11VertragsDesktop : public VertragsDesktop {
public:
    X11VertragsDesktop() : desktop(x), zg(desktop, arbeitsplatz, schleife), ax_(zg) {
        chat = starteQtChat();
        arbeitsplatz.anwendungen.push_back({chat->pid(), "", "", "Qt-Chat", Aktivierungsart::regulaer});
    }
    AX& ax() override { return ax_; }
    std::optional<Element> fenster() override {
        std::optional<Element> gefunden;
        warteBis(
            [&] {
                for (const Element& f : ax_.elemente(ax_.anwendung(chat->pid()), "AXWindows").value_or(std::vector<Element>{})) {
                    // Paired with its X window, so that its number and the point lookup work.
                    if (ax_.text(f, "AXTitle") == chatFenster().titel && ax_.fensterNummer(f)) gefunden = f;
                }
                return gefunden.has_value();
            },
            15);
        return gefunden;
    }

private:
    x11::XVerbindung x;
    x11::XDesktopFenster desktop;
    TestArbeitsplatz arbeitsplatz;
    TestSchleife schleife;
    atspi::AtspiZugaenglichkeit zg;
    AX ax_;
    std::unique_ptr<Kind> chat;
};

std::unique_ptr<VertragsDesktop> x11Desktop() {
    sorgeFuerAnwendung();
    if (!hatAnzeige() || !atspi::zugaenglichkeitAn().has_value()) return nullptr;
    auto d = std::make_unique<X11VertragsDesktop>();
    if (!d->ax().backend().vertraut(true)) return nullptr;
    return d;
}

INSTANTIATE_TEST_SUITE_P(X11, Vertrag, ::testing::Values(&x11Desktop));

}  // namespace
}  // namespace klebwerk::test
