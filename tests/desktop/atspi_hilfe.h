#pragma once

// What the accessibility desktop tests share: the window list and the running
// processes as the X side reports them, the Qt chat window and Chromium as clients.

#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "ax/ax.h"
#include "desktop/warten.h"
#include "desktop/x11_hilfe.h"
#include "platform/arbeitsplatz.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/fensterliste.h"
#include "platform/x11/x11_desktopfenster.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::test {

inline void sorgeFuerAnwendung() {
    static int argc = 1;
    static char name[] = "klebwerk_desktop_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

// The visible windows of the X side as the window list.
class XFensterliste : public Fensterliste {
public:
    explicit XFensterliste(x11::XVerbindung& x) : x_(x) {}
    std::vector<FensterInfo> fenster() override {
        std::vector<FensterInfo> liste;
        for (const x11::XFenster& f : x_.fenster()) {
            if (f.sichtbar) liste.push_back({f.id, f.pid, f.schicht, f.rahmen, f.titel, ""});
        }
        return liste;
    }

private:
    x11::XVerbindung& x_;
};

// The processes the test started, as running regular applications.
class TestArbeitsplatz : public Arbeitsplatz {
public:
    std::vector<Anwendung> anwendungen;
    std::vector<Anwendung> laufende() override { return anwendungen; }
    std::optional<Anwendung> vorderste() override { return std::nullopt; }
    bool aktiviere(int, bool) override { return false; }
    Marke beiBeendet(std::function<void(const Anwendung&)>) override { return {}; }
    bool oeffne(const std::string&) override { return false; }
    bool inPapierkorb(const std::string&, std::string&) override { return false; }
    int eigenePid() override { return static_cast<int>(QCoreApplication::applicationPid()); }
};

// The desktop backend's accessibility over the session's real bus, as the tests use it.
struct AtspiSicht {
    std::unique_ptr<x11::XVerbindung> x;
    TestArbeitsplatz arbeitsplatz;
    TestSchleife schleife;
    std::unique_ptr<x11::XDesktopFenster> desktop;
    std::unique_ptr<atspi::AtspiZugaenglichkeit> zg;
    std::unique_ptr<AX> ax;

    // Why it cannot run in this session; "" when it can.
    static std::string fehlt() {
        if (!hatAnzeige()) return "no display";
        if (!atspi::zugaenglichkeitAn().has_value()) return "no accessibility bus";
        return {};
    }
    // Connects to the display and the bus; false when the bus does not trust the program.
    bool verbinde() {
        x = std::make_unique<x11::XVerbindung>();
        desktop = std::make_unique<x11::XDesktopFenster>(*x);
        zg = std::make_unique<atspi::AtspiZugaenglichkeit>(*desktop, arbeitsplatz, schleife);
        const bool vertraut = zg->vertraut(true);
        ax = std::make_unique<AX>(*zg);
        return vertraut;
    }
};

// A child process that ends with the test.
class Kind {
public:
    Kind(const QString& programm, const QStringList& argumente, const QProcessEnvironment& umgebung) {
        p_.setProgram(programm);
        p_.setArguments(argumente);
        p_.setProcessEnvironment(umgebung);
        p_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p_.start();
        p_.waitForStarted(5000);
    }
    ~Kind() {
        if (p_.state() == QProcess::NotRunning) return;
        p_.terminate();
        if (!p_.waitForFinished(3000)) {
            p_.kill();
            p_.waitForFinished(3000);
        }
    }
    int pid() const { return static_cast<int>(p_.processId()); }
    QProcess& prozess() { return p_; }

private:
    QProcess p_;
};

// The application's accessible window whose title contains `titelTeil`, once it is on the
// bus with its contents (waiting at most `frist` seconds). Until then the backend may offer
// the desktop's bare window of the same title, which has no children.
inline std::optional<Element> fensterMitTitel(const AX& ax, int pid, const std::string& titelTeil, double frist) {
    std::optional<Element> gefunden;
    warteBis(
        [&] {
            for (const Element& f : ax.elemente(ax.anwendung(pid), "AXWindows").value_or(std::vector<Element>{})) {
                if (ax.text(f, "AXTitle").value_or("").find(titelTeil) != std::string::npos && !ax.kinder(f).empty()) {
                    gefunden = f;
                    return true;
                }
            }
            return false;
        },
        frist);
    return gefunden;
}

inline std::unique_ptr<Kind> starteQtChat() {
    auto u = QProcessEnvironment::systemEnvironment();
    u.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    u.insert("QT_ACCESSIBILITY", "1");
    u.insert("QT_QPA_PLATFORM", "xcb");
    return std::make_unique<Kind>(QStringLiteral(KLEBWERK_QT_CHAT), QStringList{}, u);
}

// Chromium, kept off the network, showing a local file; its profile in `profil`.
inline std::unique_ptr<Kind> starteChromium(const QString& datei, const QString& profil) {
    auto u = QProcessEnvironment::systemEnvironment();
    u.insert("ACCESSIBILITY_ENABLED", "1");
    return std::make_unique<Kind>(
        QStringLiteral("chromium"),
        QStringList{"--no-sandbox", "--disable-background-networking", "--disable-component-update",
                    "--disable-sync", "--no-first-run", "--force-renderer-accessibility", "--disable-gpu",
                    "--user-data-dir=" + profil, "--window-position=50,50", "--window-size=900,700",
                    "file://" + datei},
        u);
}

}  // namespace klebwerk::test
