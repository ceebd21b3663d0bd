// Capture-to-paste latency into the real programs that take images, beside the project's
// own Qt chat window, in one run: for each program Klebwerk starts afresh, the user
// chooses the program's window with ⌃⌥S and a click and goes back to their own window,
// and captures of a 1280x800 screen arrive one after another. Each is timed from the
// moment the capture is complete in the watched folder (renamed into place) to:
//   - the Qt chat window: its report of the paste (its own clock);
//   - Chromium and Firefox ESR: the page's paste event (the page's clock, Date.now());
//   - LibreOffice Writer: the first look at its window that shows the pasted image (each
//     capture carries a block of a colour of its own; the window is read every few ms).
// Run inside a desktop session:
//   scripts/desktop-session build/bench/klebwerk_programme_latenz [deliveries per program]

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QScreen>
#include <QTextDocument>
#include <QTextDocumentWriter>

#include "desktop/browser_hilfe.h"
#include "desktop/klebwerk_lauf.h"
#include "desktop/writer_profil.h"
#include "desktop/x11_hilfe.h"
#include "platform/atspi/atspi_status.h"
#include "platform/geometrie.h"

using namespace klebwerk;
using namespace klebwerk::test;
namespace fs = std::filesystem;

namespace {

long long jetztMs() { return QDateTime::currentMSecsSinceEpoch(); }

int zaehle(const std::string& text, const std::string& was) {
    int n = 0;
    for (size_t p = text.find(was); p != std::string::npos; p = text.find(was, p + 1)) ++n;
    return n;
}

std::string aktivesFenster() { return ausgabeVon({"xdotool", "getactivewindow"}); }

// The colour of delivery `n`'s block: no pixel of the pattern has it.
QRgb blockFarbe(int n) { return qRgb(255, 8 * n, 255); }

// A screen's worth of pattern (a PNG of realistic size), with a block of one colour.
QImage aufnahme(int n) {
    static const QImage muster = [] {
        QImage b(1280, 800, QImage::Format_RGB32);
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x) b.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        return b;
    }();
    QImage b = muster.copy();
    for (int y = 250; y < 550; ++y)
        for (int x = 440; x < 840; ++x) b.setPixel(x, y, blockFarbe(n));
    return b;
}

// A program in a window, and when a paste reached it (epoch ms), once it did.
struct Ziel {
    std::string name;
    // Its window, 0 while there is none.
    std::function<std::uint32_t()> fenster;
    // The time delivery `n` (from 0) arrived, or absent.
    std::function<std::optional<long long>(int n)> ankunft;
    std::function<void()> ende = [] {};
};

// The last number on each line that begins with `marke`, in order.
std::vector<long long> zeitenNach(const std::string& text, const std::string& marke) {
    std::vector<long long> zeiten;
    for (size_t p = text.find(marke); p != std::string::npos; p = text.find(marke, p + 1)) {
        const size_t ende = text.find('\n', p);
        if (ende == std::string::npos) break;
        const std::string zeile = text.substr(p, ende - p);
        zeiten.push_back(std::stoll(zeile.substr(zeile.rfind(' ') + 1)));
    }
    return zeiten;
}

std::uint32_t fensterVon(const std::vector<std::string>& suche) {
    std::vector<std::string> befehl{"xdotool", "search", "--onlyvisible"};
    befehl.insert(befehl.end(), suche.begin(), suche.end());
    const std::string ids = ausgabeVon(befehl);
    return ids.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(ids.substr(0, ids.find('\n'))));
}

// The bench's chat page: a text area; a paste writes its count and the page's time into
// the title. Its file name makes it the local test chat.
void schreibeSeite(const std::string& pfad) {
    std::ofstream(pfad) << R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><meta name="google" content="notranslate"><title>Latenz</title>
<style>textarea { display: block; width: 100%; height: 70vh; }</style></head>
<body><textarea id="frage" aria-label="Nachricht"></textarea><script>
let n = 0;
document.addEventListener("paste", (e) => { n += 1; document.title = "Latenz " + n + " " + Date.now(); e.preventDefault(); });
</script></body></html>
)";
}

struct Messung {
    std::string name;
    std::vector<double> ms;
    std::string fehler;
};

// Klebwerk started afresh; the user chooses `ziel`'s window, goes back to their own, and
// `anzahl` captures arrive there.
Messung miss(Ziel& ziel, int anzahl) {
    Messung m{ziel.name, {}, {}};
    const std::uint32_t fenster = ziel.fenster();
    std::optional<Rechteck> rahmen;
    {
        const std::string g = ausgabeVon({"xdotool", "getwindowgeometry", "--shell", std::to_string(fenster)});
        auto wert = [&](const std::string& name) {
            const size_t p = g.find(name + "=");
            return p == std::string::npos ? -1.0 : std::stod(g.substr(p + name.size() + 1));
        };
        if (wert("WIDTH") > 0) rahmen = Rechteck{wert("X"), wert("Y"), wert("WIDTH"), wert("HEIGHT")};
    }
    if (!fenster || !rahmen) return m.fehler = "no window", m;

    KlebwerkLauf lauf;
    fs::create_directories(lauf.heim() + "/Desktop");
    lauf.schreibeEinstellungen(R"({"testBefehle": true, "feldSichtbar": false})");
    Probefenster nutzer("Nutzerfenster", 980, 560, 280, 200);
    if (!warteBis([&] { return nutzer.fensterId() != 0; })) return m.fehler = "the user's window did not open", m;
    const std::string nutzerId = std::to_string(nutzer.fensterId());
    auto status = [&] {
        return QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(lauf.daten("status.json")))).object();
    };
    if (!lauf.starte() || !warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); }))
        return m.fehler = "Klebwerk did not start", m;

    // ⌃⌥S and a click on the program's window.
    fuehreAus({"xdotool", "mousemove", "20", "20", "key", "ctrl+alt+s"});
    if (!warteBis([&] { return status().value("modus").toString() == "wahl"; })) return m.fehler = "no choose mode", m;
    const Punkt mitte = rahmen->mitte();
    fuehreAus({"xdotool", "mousemove", std::to_string(int(mitte.x)), std::to_string(int(mitte.y)), "click", "1"});
    if (!warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); }, 20)) return m.fehler = "not chosen", m;

    const std::string ordner = lauf.heim() + "/Desktop";
    for (int n = 0; n < anzahl; ++n) {
        fuehreAus({"xdotool", "windowactivate", "--sync", nutzerId});
        warteBis([&] { return aktivesFenster() == nutzerId; }, 5);
        const std::string name = "Bildschirmfoto 2026-12-11 um 12.00." + std::to_string(10 + n) + ".png";
        aufnahme(n).save(QString::fromStdString(ordner + "/." + name), "PNG");
        fs::rename(ordner + "/." + name, ordner + "/" + name);
        const long long fertig = jetztMs();
        std::optional<long long> angekommen;
        if (!warteBis([&] { return (angekommen = ziel.ankunft(n)).has_value(); }, 20)) {
            m.fehler = "delivery " + std::to_string(n + 1) + " did not arrive; Klebwerk's log:\n" + lauf.protokoll();
            break;
        }
        m.ms.push_back(static_cast<double>(*angekommen - fertig));
        // The delivery ends, the user is back and has their clipboard, before the next.
        warteBis([&] { return zaehle(lauf.protokoll(), " Eingefügt in ") > n; });
        warteBis([&] { return aktivesFenster() == nutzerId; }, 5);
        warteBis([] { return false; }, 1.0);
    }
    lauf.beende();
    return m;
}

void berichte(const Messung& m) {
    if (!m.fehler.empty()) std::fprintf(stderr, "%s: %s\n", m.name.c_str(), m.fehler.c_str());
    if (m.ms.empty()) return;
    std::vector<double> s = m.ms;
    std::sort(s.begin(), s.end());
    std::printf("%-22s n=%2zu  capture complete -> paste arrived, ms: median %6.0f  min %6.0f  max %6.0f\n",
                m.name.c_str(), s.size(), s[s.size() / 2], s.front(), s.back());
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int anzahl = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (!klebwerk::atspi::zugaenglichkeitAn().has_value() || !klebwerk::atspi::schalteZugaenglichkeitEin()) {
        std::fprintf(stderr, "no accessibility bus: run inside scripts/desktop-session\n");
        return 1;
    }
    QTemporaryDir ordner;
    const std::string o = ordner.path().toStdString();
    std::vector<Messung> messungen;

    {
        // The project's own Qt chat window.
        Kindprozess chat({KLEBWERK_DEMO_CHAT}, {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"});
        Ziel z{"Qt chat (fixture)", [] { return fensterVon({"--name", "^Demo-Chat$"}); },
               [&](int n) -> std::optional<long long> {
                   const auto t = zeitenNach(chat.ausgabe(), "eingefuegt bild");
                   return static_cast<int>(t.size()) > n ? std::optional(t[static_cast<size_t>(n)]) : std::nullopt;
               }};
        warteBis([&] { return z.fenster() != 0; }, 20);
        messungen.push_back(miss(z, anzahl));
    }

    schreibeSeite(o + "/browsertest-latenz.html");
    for (Browserart art : {Browserart::chromium, Browserart::firefox}) {
        if (!programmDa(programmFuer(art))) continue;
        Browser browser(art, {.adresse = "file://" + o + "/browsertest-latenz.html"});
        Ziel z{browserName(art), [&] { return browser.fenster(); },
               [&](int n) -> std::optional<long long> {
                   const auto t = zeitenNach(browser.seitenTitel().value_or("") + "\n", "Latenz " + std::to_string(n + 1) + " ");
                   return t.empty() ? std::nullopt : std::optional(t.front());
               }};
        if (!browser.warteAufFenster() || !browser.warteAufSeitenTitel("Latenz")) {
            messungen.push_back({z.name, {}, "the browser showed no page"});
            continue;
        }
        messungen.push_back(miss(z, anzahl));
    }

    if (programmDa("soffice")) {
        // Writer with its own profile (no tip of the day, no first-start notice) and a document.
        test::legeWriterProfilAn(o + "/writer-profil");
        QTextDocument leer;
        QTextDocumentWriter(QString::fromStdString(o + "/latenz.odt"), "odf").write(&leer);
        Kindprozess writer({"soffice", "-env:UserInstallation=file://" + o + "/writer-profil", "--writer", "--norestore",
                            "--nologo", "--nolockcheck", o + "/latenz.odt"});
        auto fenster = [] { return fensterVon({"--name", "latenz.odt"}); };
        Ziel z{"LibreOffice Writer", fenster, [&](int n) -> std::optional<long long> {
                   const QImage bild = QGuiApplication::primaryScreen()->grabWindow(fenster()).toImage();
                   const long long zeit = jetztMs();
                   int treffer = 0;
                   for (int y = 0; y < bild.height(); y += 2) {
                       const QRgb* zeile = reinterpret_cast<const QRgb*>(bild.constScanLine(y));
                       for (int x = 0; x < bild.width(); x += 2) treffer += (zeile[x] | 0xff000000) == blockFarbe(n);
                   }
                   return treffer >= 100 ? std::optional(zeit) : std::nullopt;
               }};
        if (warteBis([&] { return fenster() != 0; }, 60)) {
            const std::string pid = ausgabeVon({"xdotool", "getwindowpid", std::to_string(fenster())});
            messungen.push_back(miss(z, anzahl));
            if (!pid.empty()) kill(std::stoi(pid), SIGTERM);
        } else {
            messungen.push_back({z.name, {}, "Writer showed no window"});
        }
    }

    std::printf("captures of 1280x800 with a pattern; fixed delays in that path: 100 ms first scan + 150 ms before "
                "the paste key = 250 ms\n");
    bool alle = true;
    for (const Messung& m : messungen) {
        berichte(m);
        alle = alle && m.fehler.empty();
    }
    return alle ? 0 : 1;
}
