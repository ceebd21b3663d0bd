// The tree search: its pure cost over a simulated tree of 60,000 elements, and over
// AT-SPI against Chromium showing a generated page of 4,000 elements (run inside the
// private desktop session; skipped without one), beside the walk with its reads ahead and
// the naive walk that sends one request at a time.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <thread>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "ax/ax.h"
#include "ax/letztes_element.h"
#include "platform/sim/sim_desktop.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/qt_laufschleife.h"

using namespace klebwerk;

namespace {

Passt knopfMit(const std::string& label) {
    return [label](const Element&, const std::optional<std::string>& r, const std::string& l) {
        return r == "AXButton" && l == label;
    };
}
Passt textbereich() {
    return [](const Element&, const std::optional<std::string>& r, const std::string&) { return r == "AXTextArea"; };
}

// 20,000 blocks of a group, a button and a text: 60,001 elements with the window.
struct SimBaum {
    sim::SimDesktop d;
    AX ax{d.ax};
    Element fenster;
    SimBaum() {
        d.starteAnwendung(Anwendung{50, "", "/usr/bin/x", "X", Aktivierungsart::regulaer});
        auto& w = d.oeffneFenster(50, "Baum", {0, 0, 100, 100});
        for (int i = 0; i < 20000; ++i) {
            auto& g = w.kind("AXGroup");
            g.kind("AXButton", {{"AXTitle", "Knopf " + std::to_string(i)}});
            g.kind("AXStaticText", {{"AXValue", "Text"}});
        }
        fenster = w.element();
    }
};

void BM_SimDurchsuchtSechzigtausend(benchmark::State& state) {
    static SimBaum baum;
    for (auto _ : state) {
        auto e = letztesElement(baum.ax, baum.fenster, 60000, knopfMit("Knopf 0"));
        benchmark::DoNotOptimize(e);
    }
}
BENCHMARK(BM_SimDurchsuchtSechzigtausend)->Unit(benchmark::kMillisecond);

// --- AT-SPI against Chromium

struct Leer : atspi::DesktopFenster {
    std::vector<atspi::FensterFakten> kandidaten() override { return {}; }
    std::optional<atspi::FensterFakten> fenster(std::int64_t) override { return {}; }
    std::int64_t aktives() override { return 0; }
    bool hebe(std::int64_t) override { return false; }
    Marke beobachte(std::int64_t, std::function<void(Aenderung)>) override { return {}; }
};
struct Nur : Arbeitsplatz {
    std::vector<Anwendung> laufende() override { return {}; }
    std::optional<Anwendung> vorderste() override { return {}; }
    bool aktiviere(int, bool) override { return false; }
    Marke beiBeendet(std::function<void(const Anwendung&)>) override { return {}; }
    bool oeffne(const std::string&) override { return false; }
    bool inPapierkorb(const std::string&, std::string&) override { return false; }
    int eigenePid() override { return 0; }
};

struct ChromiumSeite {
    std::unique_ptr<QCoreApplication> app;
    QTemporaryDir ordner;
    QProcess chromium;
    Leer liste;
    Nur arbeitsplatz;
    std::unique_ptr<x11::QtLaufschleife> schleife;
    std::unique_ptr<atspi::AtspiZugaenglichkeit> zg;
    std::unique_ptr<AX> ax;
    std::optional<Element> web;

    ChromiumSeite() {
        static int argc = 1;
        static char name[] = "bench";
        static char* argv[] = {name, nullptr};
        if (!std::getenv("DISPLAY")) return;
        app = std::make_unique<QCoreApplication>(argc, argv);
        const QString seite = ordner.path() + "/seite.html";
        std::ofstream html(seite.toStdString());
        html << "<!DOCTYPE html><html><head><meta charset=utf-8><title>Messseite</title></head><body>"
                "<textarea aria-label=\"Frage\"></textarea>";
        for (int i = 0; i < 1000; ++i) {
            html << "<div><p>Absatz " << i << "</p><button aria-label=\"Knopf " << i << "\">K</button><span>s" << i
                 << "</span></div>";
        }
        html << "</body></html>";
        html.close();
        auto u = QProcessEnvironment::systemEnvironment();
        u.insert("ACCESSIBILITY_ENABLED", "1");
        chromium.setProcessEnvironment(u);
        chromium.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        chromium.setStandardErrorFile(QProcess::nullDevice());
        chromium.start("chromium", {"--no-sandbox", "--disable-background-networking", "--disable-component-update",
                                    "--disable-sync", "--no-first-run", "--force-renderer-accessibility",
                                    "--disable-gpu", "--user-data-dir=" + ordner.path() + "/profil",
                                    "file://" + seite});
        chromium.waitForStarted(5000);
        schleife = std::make_unique<x11::QtLaufschleife>();
        zg = std::make_unique<atspi::AtspiZugaenglichkeit>(liste, arbeitsplatz, *schleife);
        zg->vertraut(true);
        ax = std::make_unique<AX>(*zg);
        const int pid = static_cast<int>(chromium.processId());
        auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < ende) {
            for (const Element& f : ax->elemente(ax->anwendung(pid), "AXWindows").value_or(std::vector<Element>{})) {
                auto w = letztesElement(*ax, f, 100000, [](const Element&, const auto& r, const std::string&) {
                    return r == "AXWebArea";
                });
                // The page is complete once its last button is in the tree.
                if (w && letztesElement(*ax, *w, 20, knopfMit("Knopf 999"))) web = w;
            }
            if (web) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }
    ~ChromiumSeite() {
        chromium.kill();
        chromium.waitForFinished(3000);
    }
};

ChromiumSeite& seite() {
    static ChromiumSeite s;
    return s;
}

// The search three ways: with the candidate query, as the walk with its reads ahead,
// and as the naive walk that sends one request at a time and waits for each answer.
enum class Weg { abfrage, baumlauf, einzeln };

void sucheMit(benchmark::State& state, Weg weg, long grenze, const Passt& passt, const std::set<std::string>& rollen) {
    auto& s = seite();
    if (!s.web) {
        state.SkipWithError("no Chromium page on the accessibility bus");
        return;
    }
    s.zg->einzeln = weg == Weg::einzeln;
    for (auto _ : state) {
        auto e = weg == Weg::abfrage    ? letztesElement(*s.ax, *s.web, grenze, passt, rollen)
                 : weg == Weg::baumlauf ? letztesElement(*s.ax, *s.web, grenze, passt)
                                        : letztesElementSchlicht(*s.ax, *s.web, grenze, passt);
        if (!e) state.SkipWithError("not found");
    }
    s.zg->einzeln = false;
}

void BM_ChromiumKnopf(benchmark::State& state, Weg weg) { sucheMit(state, weg, 60000, knopfMit("Knopf 0"), {"AXButton"}); }
void BM_ChromiumTextbereich(benchmark::State& state, Weg weg) { sucheMit(state, weg, 8000, textbereich(), {"AXTextArea"}); }

BENCHMARK_CAPTURE(BM_ChromiumKnopf, letztesElement, Weg::abfrage)->Name("Chromium/KnopfKnopf0/letztesElement")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ChromiumKnopf, baumlauf, Weg::baumlauf)->Name("Chromium/KnopfKnopf0/Baumlauf")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_ChromiumKnopf, einzeln, Weg::einzeln)->Name("Chromium/KnopfKnopf0/einzeln")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_ChromiumTextbereich, letztesElement, Weg::abfrage)->Name("Chromium/Textbereich/letztesElement")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_ChromiumTextbereich, baumlauf, Weg::baumlauf)->Name("Chromium/Textbereich/Baumlauf")->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_ChromiumTextbereich, einzeln, Weg::einzeln)->Name("Chromium/Textbereich/einzeln")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
