// Capture-to-paste latency on the real desktop: from the moment a capture file is
// complete in the watched folder (renamed into place) to the moment the demo chat
// receives the paste. Run inside a desktop session, X11 or sway:
//   scripts/desktop-session build/bench/klebwerk_latenz [deliveries per size]
//   scripts/sway-session build/bench/klebwerk_latenz [deliveries per size]
// Captures of 1280x800, 2560x1600 and 3840x2160 pixels are delivered in turn.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>

#include <QCoreApplication>
#include <QDateTime>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

#include "desktop/klebwerk_lauf.h"
#include "platform/wayland/sway_fenster.h"

using namespace klebwerk::test;

namespace {

int zaehle(const std::string& text, const std::string& was) {
    int n = 0;
    for (size_t p = text.find(was); p != std::string::npos; p = text.find(was, p + 1)) ++n;
    return n;
}

// The paste times the chat reported, in order.
std::vector<long long> einfuegeZeiten(const std::string& ausgabe) {
    std::vector<long long> zeiten;
    size_t p = 0;
    while ((p = ausgabe.find("eingefuegt bild", p)) != std::string::npos) {
        size_t ende = ausgabe.find('\n', p);
        std::string zeile = ausgabe.substr(p, ende - p);
        zeiten.push_back(std::stoll(zeile.substr(zeile.rfind(' ') + 1)));
        p = ende;
    }
    return zeiten;
}

// The window number of the window with that title: sway's container id in a sway
// session, else the X window id.
std::string fensterNummer(const std::string& titel) {
    if (auto ipc = klebwerk::wayland::SwayIpc::ausUmgebung()) {
        for (const auto& f : klebwerk::wayland::SwayFensterdienst(*ipc).lies().fenster)
            if (f.titel == titel) return std::to_string(f.conId);
        return {};
    }
    std::string id = ausgabeVon({"xdotool", "search", "--onlyvisible", "--name", "^" + titel + "$"});
    return id.substr(0, id.find('\n'));
}

}  // namespace

int main(int argc, char** argv) {
    const int anzahl = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    KlebwerkLauf lauf;
    std::filesystem::create_directories(lauf.heim() + "/Desktop");
    std::vector<std::string> umgebung = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1", "HOME=" + lauf.heim()};
    if (std::getenv("SWAYSOCK")) umgebung.push_back("QT_QPA_PLATFORM=wayland");
    Kindprozess chat({KLEBWERK_DEMO_CHAT}, umgebung);
    Kindprozess anderes({KLEBWERK_DEMO_CHAT, "--titel", "Anderes"}, umgebung);
    std::string anderesId;
    if (!warteBis([&] {
            anderesId = fensterNummer("Anderes");
            return !anderesId.empty();
        })) {
        std::fprintf(stderr, "the other window did not open\n");
        return 1;
    }
    // The user's other window is a window of the same program as the chat: removed from the
    // list, so that it is not connected by itself and then followed as the user's focus.
    lauf.schreibeEinstellungen(R"({"testBefehle": true, "abgewaehlt": [)" + anderesId +
                               "]}");
    if (!lauf.starte() || !warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) {
        std::fprintf(stderr, "the desktop, the chat or Klebwerk did not start\n");
        return 1;
    }
    sendeBefehl("ziel|klebwerk-demo-chat|Demo-Chat");
    if (!warteBis([&] { return lauf.protokollEnthaelt(" Aktives Ziel: "); })) return 1;
    const std::string ordner = lauf.heim() + "/Desktop";

    // Captures of full screens of three sizes, as screenshots of them would be.
    const std::vector<std::pair<int, int>> groessen = {{1280, 800}, {2560, 1600}, {3840, 2160}};
    std::vector<std::vector<double>> messungen;
    int nummer = 0;
    for (const auto& [breite, hoehe] : groessen) {
        QImage bild(breite, hoehe, QImage::Format_RGB32);
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x) bild.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));

        std::vector<double> dauer;
        for (int i = 0; i < anzahl; ++i, ++nummer) {
            std::string name = "Bildschirmfoto 2026-12-10 um 12.00." + std::to_string(100 + nummer) + ".png";
            std::string versteckt = ordner + "/." + name;
            bild.save(QString::fromStdString(versteckt), "PNG");
            std::filesystem::rename(versteckt, ordner + "/" + name);
            const long long fertig = QDateTime::currentMSecsSinceEpoch();
            if (!warteBis([&] { return static_cast<int>(einfuegeZeiten(chat.ausgabe()).size()) > nummer; })) {
                std::fprintf(stderr, "delivery %d did not arrive; Klebwerk's log:\n%s\n", nummer + 1,
                             lauf.protokoll().c_str());
                return 1;
            }
            dauer.push_back(static_cast<double>(einfuegeZeiten(chat.ausgabe())[static_cast<size_t>(nummer)] - fertig));
            // The delivery finishes and gives the clipboard back before the next capture.
            warteBis([&] { return zaehle(lauf.protokoll(), " Eingefügt in ") > nummer; });
            warteBis([] { return false; }, 2.0);
        }
        messungen.push_back(dauer);
    }
    lauf.beende();

    std::printf("fixed delays in that path: 100 ms first scan + 150 ms before the paste key = 250 ms\n");
    for (size_t g = 0; g < groessen.size(); ++g) {
        std::vector<double> sortiert = messungen[g];
        std::sort(sortiert.begin(), sortiert.end());
        auto stelle = [&](double q) { return sortiert[static_cast<size_t>(q * (sortiert.size() - 1) + 0.5)]; };
        const double mittel = std::accumulate(sortiert.begin(), sortiert.end(), 0.0) / sortiert.size();
        std::printf("%dx%d PNG, %zu deliveries: capture complete -> paste received, ms: median %.0f  min %.0f  p90 %.0f  "
                    "max %.0f  mean %.0f; beyond the fixed delays: median %.0f\n",
                    groessen[g].first, groessen[g].second, sortiert.size(), stelle(0.5), sortiert.front(), stelle(0.9),
                    sortiert.back(), mittel, stelle(0.5) - 250);
    }
    return 0;
}
