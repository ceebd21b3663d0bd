// A window of another application whose accessibility tree and values come from the
// input: any role, any attribute of any type (texts where numbers belong, frames that
// are not finite, lists of the wrong things, elements that point anywhere, reads that
// fail). The controller makes it its target and works on it as a user would have it:
// names, menu and status, the input field, the chat page, the learned buttons, a click
// to choose, learning, a delivery and dictation, the focus ticks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QImage>

#include "sim_aufbau.h"
#include "support/sim_szenario.h"
#include "umgebung.h"

namespace klebwerk::fuzz {
namespace {

constexpr int browserPid = 700;

const char* const rollen[] = {
    "AXButton", "AXMenuButton", "AXPopUpButton", "AXTextArea", "AXTextField", "AXStaticText", "AXGroup",
    "AXWebArea", "AXWindow", "AXLink", "AXComboBox", "AXScrollArea", "AXCheckBox", "AXImage", "",
};

const char* const attribute[] = {
    "AXTitle",   "AXDescription", "AXHelp",     "AXValue",        "AXPosition",  "AXSize",     "AXDOMClassList",
    "AXURL",     "AXFocused",     "AXEnabled",  "AXSubrole",      "AXRole",      "AXMain",     "AXMinimized",
    "AXWindow",  "AXParent",      "AXIdentifier", "AXSelected",   "AXPlaceholderValue", "AXRoleDescription",
    "AXDocument", "AXNumberOfCharacters", "AXSelectedText", "AXEditable", "AXFocusedUIElement",
};

const char* const woerter[] = {
    "Diktat", "Senden", "Vorlesen", "Diktat starten", "https://chatgpt.com/c/1", "https://claude.ai/new",
    "https://gemini.google.com/app", "about:blank", "btn mic", "Nachricht", " ", "",
};

struct Aufbau {
    SimAufbau sim;
    std::string bild;
    std::uint32_t fenster = 0;  // the window of the last input
    int fensterPid = 0;
};

Aufbau& aufbau() {
    static Aufbau* u = [] {
        starteQt();
        auto* neu = new Aufbau;
        test::starteApp(neu->sim.desktop, browserPid, "Chromium", "org.chromium.Chromium");
        neu->sim.setzeEinstellungsdatei(R"({"diktatAn": true, "absenden": true})");
        neu->sim.starte();
        neu->bild = neu->sim.heim.pfad() + "/Bildschirmfoto.png";
        QImage b(4, 3, QImage::Format_RGB32);
        b.fill(Qt::red);
        b.save(QString::fromStdString(neu->bild));
        return neu;
    }();
    return *u;
}

std::string text(FuzzedDataProvider& d) {
    if (d.ConsumeBool()) return woerter[d.ConsumeIntegralInRange<size_t>(0, std::size(woerter) - 1)];
    return d.ConsumeRandomLengthString(40);
}

double zahl(FuzzedDataProvider& d) {
    switch (d.ConsumeIntegralInRange(0, 3)) {
        case 0: return d.ConsumeFloatingPoint<double>();
        case 1: return d.ConsumeIntegralInRange(-100, 2000);
        default: return d.ConsumeIntegralInRange(0, 1500);
    }
}

Wert wert(FuzzedDataProvider& d, const std::vector<sim::SimKnoten*>& knoten, int tiefe = 0) {
    switch (d.ConsumeIntegralInRange(0, 10)) {
        case 0: return {};
        case 1: return d.ConsumeBool();
        case 2: return d.ConsumeIntegral<std::int64_t>();
        case 3: return zahl(d);
        case 4: case 5: return text(d);
        case 6: return Punkt{zahl(d), zahl(d)};
        case 7: return Groesse{zahl(d), zahl(d)};
        case 8: return Rechteck{zahl(d), zahl(d), zahl(d), zahl(d)};
        case 9: {
            WertListe liste;
            const int n = tiefe < 2 ? d.ConsumeIntegralInRange(0, 5) : 0;
            for (int i = 0; i < n; ++i) liste.push_back(wert(d, knoten, tiefe + 1));
            return liste;
        }
        default:
            if (knoten.empty()) return Element{};
            return knoten[d.ConsumeIntegralInRange<size_t>(0, knoten.size() - 1)]->element();
    }
}

// The tree under the window: a small program of the input's bytes.
void baueBaum(FuzzedDataProvider& d, sim::SimKnoten& fenster) {
    std::vector<sim::SimKnoten*> alle{&fenster}, stapel{&fenster};
    for (int schritt = 0; schritt < 120 && d.remaining_bytes() > 0; ++schritt) {
        sim::SimKnoten& hier = *stapel.back();
        switch (d.ConsumeIntegralInRange(0, 6)) {
            case 0: case 1: {
                auto& k = hier.kind(rollen[d.ConsumeIntegralInRange<size_t>(0, std::size(rollen) - 1)]);
                k.rahmen({zahl(d), zahl(d), zahl(d), zahl(d)});
                if (d.ConsumeBool()) k.aktionen = {"AXPress"};
                alle.push_back(&k);
                if (d.ConsumeBool() && stapel.size() < 30) stapel.push_back(&k);
                break;
            }
            case 2:
                if (stapel.size() > 1) stapel.pop_back();
                break;
            case 3: case 4:
                alle[d.ConsumeIntegralInRange<size_t>(0, alle.size() - 1)]->setze(
                    attribute[d.ConsumeIntegralInRange<size_t>(0, std::size(attribute) - 1)], wert(d, alle));
                break;
            case 5:
                alle[d.ConsumeIntegralInRange<size_t>(0, alle.size() - 1)]->fehlerhaft.insert(
                    attribute[d.ConsumeIntegralInRange<size_t>(0, std::size(attribute) - 1)]);
                break;
            default:
                if (d.ConsumeBool()) aufbau().sim.desktop.ax.baum(hier.pid()).fokus = hier.kinder.empty()
                                                                                  ? nullptr
                                                                                  : hier.kinder.back();
                break;
        }
    }
}

void vergissZiele(Steuerung& s) {
    s.beendeModus();
    s.stoppeDiktat();
    s.stoppeWache();
    for (auto z : std::vector(s.verbunden)) s.entferne(z, true);
}

}  // namespace
}  // namespace klebwerk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace klebwerk;
    using namespace klebwerk::fuzz;
    Aufbau& u = aufbau();
    Steuerung& s = *u.sim.steuerung;
    sim::SimDesktop& desktop = u.sim.desktop;
    vergissZiele(s);
    if (u.fenster) desktop.schliesseFenster(u.fenster);
    desktop.uhr.vorwaerts(1.0);
    leereProtokoll();
    u.sim.leereAufzeichnungen();

    FuzzedDataProvider d(daten, groesse);
    u.fensterPid = d.ConsumeBool() ? browserPid : SimAufbau::chatPid;
    const std::string titel = text(d);
    sim::SimKnoten& fenster = desktop.oeffneFenster(u.fensterPid, titel, {zahl(d), zahl(d), zahl(d), zahl(d)});
    u.fenster = fenster.nummer;
    if (d.ConsumeBool()) s.setzeMerkmal(KnopfArt::diktat, KnopfMerkmal{rollen[d.ConsumeIntegralInRange<size_t>(0, 3)], text(d), text(d)});
    else s.setzeMerkmal(KnopfArt::diktat, std::nullopt);
    if (d.ConsumeBool()) s.setzeMerkmal(KnopfArt::vorlesen, KnopfMerkmal{rollen[d.ConsumeIntegralInRange<size_t>(0, 3)], text(d), text(d)});
    const Punkt klick{zahl(d), zahl(d)};
    const int wie = d.ConsumeIntegralInRange(0, 3);
    baueBaum(d, fenster);
    desktop.hebeFenster(fenster.nummer);
    desktop.arbeitsplatz.aktiviere(u.fensterPid, false);

    // Chosen by a click, or made the target directly.
    if (wie == 0) s.waehle(klick);
    else s.setzeZiel(std::make_shared<Ziel>(s.ax, u.sim.plattform.arbeitsplatz, fenster.element(), u.fensterPid));
    desktop.uhr.vorwaerts(0.5);
    if (auto z = s.ziel) {
        (void)s.name(z);
        (void)s.baueMenue();
        s.schreibeStatus();
        (void)s.kiSeite(*z);
        (void)s.seitenName(*z);
        (void)s.feldAktiv(*z);
        (void)s.webBereich(*z);
        (void)s.bewerteBrowser(z);
        (void)s.eingabeText(z);
        for (KnopfArt art : {KnopfArt::diktat, KnopfArt::vorlesen}) {
            if (auto m = s.merkmal(art)) (void)s.sucheKnopf(*z, *m);
        }
        switch (wie) {
            case 1: s.neuerScreenshot(u.bild); break;
            case 2: s.lerne(klick); break;
            default: s.starteDiktat(z); break;
        }
    }
    desktop.uhr.vorwaerts(4.0);
    QApplication::processEvents();
    protokollZeilen(u.sim.heim.protokoll(), {});
    if (!istJsonObjekt(test::TempHeim::lies(u.sim.heim.daten("status.json")))) verletzt("status.json kein JSON-Objekt");
    leereProtokoll();
    desktop.uhr.vorwaerts(10.0);
    const auto leerlauf = protokollZeilen(u.sim.heim.protokoll(), {});
    if (static_cast<int>(leerlauf.size()) > hoechstensLeerlaufZeilen)
        verletzt("das Protokoll wächst im Leerlauf: " + leerlauf.back());
    return 0;
}
