// The clipboard contract against the x11 backend, with the tests' own X client as
// the other application.

#include "desktop/ablage_helfer.h"
#include "desktop/atspi_hilfe.h"
#include "platform/linux/qt_laufschleife.h"
#include "platform/x11/x11_zwischenablage.h"
#include "support/vertrag_ablage.h"

namespace klebwerk::test {
namespace {

class X11AblageDesktop : public AblageDesktop {
public:
    X11AblageDesktop() : ablage_(x, schleife) { ablage_.stillefrist = 0.5; }
    Zwischenablage& ablage() override { return ablage_; }
    bool fremdKopiert(const AblageEintrag& e) override {
        std::vector<std::string> argumente{"besitze"};
        for (const auto& [typ, daten] : e) {
            argumente.push_back(typ);
            argumente.push_back(daten);
        }
        helfer = starteAblageHelfer(argumente);
        return helfer != nullptr;
    }
    bool stummerBesitzer() override {
        helfer = starteAblageHelfer({"stumm"});
        return helfer != nullptr;
    }
    bool leer() override {
        helfer.reset();
        Kindprozess frei({KLEBWERK_ABLAGE_HELFER, "frei"});
        frei.warte();
        return true;
    }
    AblageEintrag fremdGelesen() override { return test::fremdGelesen(); }
    bool warte(const std::function<bool()>& bedingung) override { return warteMitEreignissen(bedingung); }
    void gleicheAb() override { x.gleicheAb(2); }

    x11::XVerbindung x;
    linuxdesk::QtLaufschleife schleife;
    std::unique_ptr<Kindprozess> helfer;

private:
    x11::X11Zwischenablage ablage_;
};

std::unique_ptr<AblageDesktop> x11Ablage() {
    sorgeFuerAnwendung();
    if (!hatAnzeige()) return nullptr;
    return std::make_unique<X11AblageDesktop>();
}

INSTANTIATE_TEST_SUITE_P(X11, AblageVertrag, ::testing::Values(&x11Ablage));

}  // namespace
}  // namespace klebwerk::test
