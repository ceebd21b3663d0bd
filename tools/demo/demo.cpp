// The demo: inside a private desktop (scripts/desktop-session), opens the demo chat,
// starts Klebwerk with a fresh home folder, chooses the chat as the target the way a
// user does (⌃⌥S, the pointer onto the window, a click), saves a real screenshot of
// the screen into the watched folder as screenshot tools do, and reports each step
// with its measured time. Exit status 0 when every step happened.
//   klebwerk-demo [--out PICTURE.png]

#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <thread>

#include <QBuffer>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

namespace {

bool fehlgeschlagen = false;

void sage(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}
void gut(const QString& text) { sage(QStringLiteral(" ✓ ") + text); }
void schlecht(const QString& schritt, const QString& erwartet) {
    sage(QStringLiteral(" ✗ ") + schritt + QStringLiteral(": expected ") + erwartet);
    fehlgeschlagen = true;
}

qint64 jetztMs() { return QDateTime::currentMSecsSinceEpoch(); }

// Waits until `bedingung` holds or `frist` milliseconds have passed, keeping the
// event loop running (the processes' output keeps arriving).
bool warte(const std::function<bool()>& bedingung, int frist) {
    QElapsedTimer uhr;
    uhr.start();
    while (true) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (bedingung()) return true;
        if (uhr.elapsed() > frist) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

QString fuehreAus(const QString& programm, const QStringList& argumente, int* status = nullptr) {
    QProcess p;
    p.start(programm, argumente);
    p.waitForFinished(5000);
    if (status) *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

QString lies(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QJsonObject status(const QString& daten) {
    return QJsonDocument::fromJson(lies(daten + QStringLiteral("/status.json")).toUtf8()).object();
}

QString verzeichnis(const QString& pfad) { return QFileInfo(pfad).absoluteFilePath(); }

// A picture of the whole screen as PNG bytes.
QByteArray bildschirmfoto() {
    QScreen* schirm = QGuiApplication::primaryScreen();
    if (!schirm) return {};
    QPixmap bild = schirm->grabWindow(0);
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "PNG");
    return png;
}

}  // namespace



int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QCommandLineParser optionen;
    optionen.addOption({QStringLiteral("out"), QStringLiteral("Where to save the picture."), QStringLiteral("datei"),
                        QStringLiteral("demo.png")});
    optionen.addOption({QStringLiteral("programme"), QStringLiteral("Folder of klebwerk and klebwerk-demo-chat."),
                        QStringLiteral("ordner"), QCoreApplication::applicationDirPath()});
    optionen.process(app);
    const QString bild = verzeichnis(optionen.value(QStringLiteral("out")));
    const QString programme = optionen.value(QStringLiteral("programme"));

    QScreen* schirm = QGuiApplication::primaryScreen();
    sage(QStringLiteral("Klebwerk demo on a private desktop (%1×%2, openbox, D-Bus, AT-SPI)")
             .arg(schirm ? schirm->size().width() : 0)
             .arg(schirm ? schirm->size().height() : 0));

    QTemporaryDir heim;
    // The capture folder exists, as on a desktop that has been used before.
    QDir(heim.path()).mkpath(QStringLiteral("Desktop"));
    const QString daten = heim.path() + QStringLiteral("/.local/share/Klebwerk");
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CURRENT_DESKTOP"})
        umgebung.remove(QString::fromLatin1(name));
    umgebung.insert(QStringLiteral("HOME"), heim.path());
    umgebung.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    umgebung.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
    umgebung.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));

    // The user's clipboard before anything happens.
    const QString meineAblage = QStringLiteral("Was ich vorher kopiert hatte – what I had copied before");
    QProcess ablage;
    ablage.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
    ablage.write(meineAblage.toUtf8());
    ablage.closeWriteChannel();
    warte([&] { return fuehreAus(QStringLiteral("xclip"), {"-selection", "clipboard", "-o"}) == meineAblage; }, 3000);

    // 1. The demo chat.
    qint64 t = jetztMs();
    QProcess chat;
    chat.setProcessEnvironment(umgebung);
    QByteArray chatAusgabe;
    QObject::connect(&chat, &QProcess::readyReadStandardOutput, [&] { chatAusgabe += chat.readAllStandardOutput(); });
    chat.start(programme + QStringLiteral("/klebwerk-demo-chat"));
    QString fensterId;
    if (!warte([&] {
            fensterId = fuehreAus(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Demo-Chat$"})
                            .section('\n', 0, 0);
            return !fensterId.isEmpty();
        }, 15000)) {
        schlecht(QStringLiteral("demo chat"), QStringLiteral("its window on the screen within 15 s"));
        return 1;
    }
    gut(QStringLiteral("Demo chat open (%1 ms)").arg(jetztMs() - t));

    // 2. Klebwerk.
    t = jetztMs();
    QProcess klebwerk;
    klebwerk.setProcessEnvironment(umgebung);
    klebwerk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    klebwerk.start(programme + QStringLiteral("/klebwerk"));
    auto protokoll = [&] { return lies(daten + QStringLiteral("/log.txt")); };
    auto beende = [&](int code) {
        klebwerk.terminate();
        klebwerk.waitForFinished(5000);
        chat.terminate();
        chat.waitForFinished(5000);
        ablage.terminate();
        return code;
    };
    if (!warte([&] { return protokoll().contains(QStringLiteral("Start, Freigabe: ")) &&
                            !status(daten).value(QStringLiteral("ordner")).toString().isEmpty(); },
               15000)) {
        schlecht(QStringLiteral("Klebwerk start"), QStringLiteral("\"Start, Freigabe: …\" in its log within 15 s"));
        return beende(1);
    }
    const QString ordner = status(daten).value(QStringLiteral("ordner")).toString();
    const bool freigabe = protokoll().contains(QStringLiteral("Start, Freigabe: true"));
    if (!freigabe) {
        schlecht(QStringLiteral("accessibility"), QStringLiteral("switched on (\"freigabe\": true)"));
        return beende(1);
    }
    gut(QStringLiteral("Klebwerk started, accessibility on, watching %1 (%2 ms)").arg(ordner).arg(jetztMs() - t));

    // 3. The user chooses the target: ⌃⌥S, the pointer onto the chat, a click.
    t = jetztMs();
    fuehreAus(QStringLiteral("xdotool"), {"key", "ctrl+alt+s"});
    if (!warte([&] { return status(daten).value(QStringLiteral("modus")).toString() == QStringLiteral("wahl"); }, 5000)) {
        schlecht(QStringLiteral("⌃⌥S"), QStringLiteral("choose mode (\"modus\": \"wahl\") within 5 s"));
        return beende(1);
    }
    const QString geometrie = fuehreAus(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", fensterId});
    auto wert = [&](const QString& name) {
        for (const QString& zeile : geometrie.split('\n'))
            if (zeile.startsWith(name + '=')) return zeile.mid(name.size() + 1).toInt();
        return 0;
    };
    const int x = wert(QStringLiteral("X")) + wert(QStringLiteral("WIDTH")) / 2;
    const int y = wert(QStringLiteral("Y")) + wert(QStringLiteral("HEIGHT")) / 3;
    fuehreAus(QStringLiteral("xdotool"), {"mousemove", QString::number(x), QString::number(y)});
    fuehreAus(QStringLiteral("xdotool"), {"click", "1"});
    QString zielName;
    if (!warte([&] {
            zielName = status(daten).value(QStringLiteral("ziel")).toObject().value(QStringLiteral("name")).toString();
            return !zielName.isEmpty();
        }, 5000)) {
        schlecht(QStringLiteral("choosing the target"),
                 QStringLiteral("the demo chat as the target after the click (\"ziel\" in status.json)"));
        return beende(1);
    }
    gut(QStringLiteral("Target chosen with ⌃⌥S and a click: %1 (%2 ms)").arg(zielName).arg(jetztMs() - t));
    // The frame and the hint of the choice fade before the screenshot is taken.
    warte([] { return false; }, 2600);

    // 4. A screenshot, saved the way screenshot tools do: under a hidden name, then renamed.
    const QString name = QDateTime::currentDateTime().toString(QStringLiteral("'Bildschirmfoto' yyyy-MM-dd 'um' HH.mm.ss'.png'"));
    const QByteArray png = bildschirmfoto();
    QDir().mkpath(ordner);
    const QString versteckt = ordner + QStringLiteral("/.") + name;
    {
        QFile f(versteckt);
        if (!f.open(QIODevice::WriteOnly) || f.write(png) != png.size()) {
            schlecht(QStringLiteral("saving the screenshot"), QStringLiteral("a writable capture folder ") + ordner);
            return beende(1);
        }
    }
    chatAusgabe.clear();
    if (!QFile::rename(versteckt, ordner + '/' + name)) {
        schlecht(QStringLiteral("saving the screenshot"), QStringLiteral("the file renamed into place"));
        return beende(1);
    }
    const qint64 geschrieben = jetztMs();
    gut(QStringLiteral("Screenshot of the screen saved as \"%1\"").arg(name));

    if (!warte([&] { return protokoll().contains(QStringLiteral("Screenshot: ") + name); }, 10000)) {
        schlecht(QStringLiteral("seeing the capture"), QStringLiteral("\"Screenshot: ") + name + QStringLiteral("\" in the log"));
        return beende(1);
    }
    gut(QStringLiteral("Capture seen by Klebwerk %1 ms after it was written").arg(jetztMs() - geschrieben));

    QString einfuegung;
    if (!warte([&] {
            for (const QByteArray& zeile : chatAusgabe.split('\n'))
                if (zeile.startsWith("eingefuegt bild")) einfuegung = QString::fromUtf8(zeile);
            return !einfuegung.isEmpty();
        }, 10000)) {
        schlecht(QStringLiteral("pasting"), QStringLiteral("the screenshot pasted into the demo chat's input field within 10 s"));
        return beende(1);
    }
    const QStringList teile = einfuegung.split(' ');
    const qint64 angekommen = teile.value(4).toLongLong();
    gut(QStringLiteral("Pasted into the demo chat %1 ms after the file was written (a %2 image)")
            .arg(angekommen - geschrieben)
            .arg(teile.value(2)));

    if (!warte([&] { return fuehreAus(QStringLiteral("xclip"), {"-selection", "clipboard", "-o"}) == meineAblage; },
               5000)) {
        schlecht(QStringLiteral("clipboard"), QStringLiteral("the clipboard as it was before (\"") + meineAblage + "\")");
        return beende(1);
    }
    gut(QStringLiteral("Your clipboard is back as it was, %1 ms after the paste (it waits 1.5 s after the delivery "
                       "has finished, in case you copy something yourself)")
            .arg(jetztMs() - angekommen));

    // 5. The picture of the screen after the paste.
    warte([] { return false; }, 600);
    QFile aus(bild);
    if (!aus.open(QIODevice::WriteOnly) || aus.write(bildschirmfoto()) <= 0) {
        schlecht(QStringLiteral("saving the picture"), QStringLiteral("a writable ") + bild);
        return beende(1);
    }
    aus.close();
    gut(QStringLiteral("Picture of the screen after the paste: %1").arg(bild));

    // 6. Ending.
    klebwerk.terminate();
    if (!klebwerk.waitForFinished(5000) || klebwerk.exitStatus() != QProcess::NormalExit || klebwerk.exitCode() != 0) {
        schlecht(QStringLiteral("ending Klebwerk"), QStringLiteral("exit status 0 on SIGTERM"));
        return beende(1);
    }
    gut(QStringLiteral("Klebwerk ended cleanly (exit status 0)"));
    beende(0);
    sage(fehlgeschlagen ? QStringLiteral("Demo failed.") : QStringLiteral("Demo done."));
    return fehlgeschlagen ? 1 : 0;
}
