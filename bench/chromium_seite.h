#pragma once

// Chromium showing a generated page of 4,000 elements on the accessibility bus of the
// private desktop session, shared by the benchmarks that measure AT-SPI against it:
// a text area "Frage", then 1,000 blocks of a paragraph, a button "Knopf <i>" and a
// span. Without a display nothing is started and `web` stays empty.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "ax/ax.h"
#include "ax/letztes_element.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/linux/qt_laufschleife.h"

namespace klebwerk::bench {

inline Passt knopfMit(const std::string& label) {
    return [label](const Element&, const std::optional<std::string>& r, const std::string& l) {
        return r == "AXButton" && l == label;
    };
}

struct LeereFensterliste : atspi::DesktopFenster {
    std::vector<atspi::FensterFakten> kandidaten() override { return {}; }
    std::optional<atspi::FensterFakten> fenster(std::int64_t) override { return {}; }
    std::int64_t aktives() override { return 0; }
    bool hebe(std::int64_t) override { return false; }
    Marke beobachte(std::int64_t, std::function<void(Aenderung)>) override { return {}; }
};
struct LeererArbeitsplatz : Arbeitsplatz {
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
    LeereFensterliste liste;
    LeererArbeitsplatz arbeitsplatz;
    std::unique_ptr<linuxdesk::QtLaufschleife> schleife;
    std::unique_ptr<atspi::AtspiZugaenglichkeit> zg;
    std::unique_ptr<AX> ax;
    int pid = 0;
    std::optional<Element> fenster;  // Chromium's window, the page inside it
    std::optional<Element> web;      // the page's web area

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
        schleife = std::make_unique<linuxdesk::QtLaufschleife>();
        zg = std::make_unique<atspi::AtspiZugaenglichkeit>(liste, arbeitsplatz, *schleife);
        zg->vertraut(true);
        ax = std::make_unique<AX>(*zg);
        pid = static_cast<int>(chromium.processId());
        auto ende = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < ende) {
            for (const Element& f : ax->elemente(ax->anwendung(pid), "AXWindows").value_or(std::vector<Element>{})) {
                auto w = letztesElement(*ax, f, 100000, [](const Element&, const auto& r, const std::string&) {
                    return r == "AXWebArea";
                });
                // The page is complete once its last button is in the tree.
                if (w && letztesElement(*ax, *w, 20, knopfMit("Knopf 999"))) {
                    web = w;
                    fenster = f;
                }
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

// The one page of the benchmark run, started on first use.
inline ChromiumSeite& chromiumSeite() {
    static ChromiumSeite s;
    return s;
}

}  // namespace klebwerk::bench
