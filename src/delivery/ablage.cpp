#include "delivery/ablage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrl>

namespace klebwerk {

namespace {
// The PNG only travels through the pasteboard: a light compression level halves
// the time a full-screen capture takes to encode, for a somewhat larger PNG.
constexpr int schnellePngStufe = 80;
}  // namespace

Marke sichere(Zwischenablage& ablage, std::function<void(AblageLesung)> fertig) {
    return ablage.lies(std::move(fertig));
}

std::string dateiUrl(const std::string& pfad) {
    return QUrl::fromLocalFile(QString::fromStdString(pfad)).toString(QUrl::FullyEncoded).toStdString();
}

bool legeAuf(Zwischenablage& ablage, const std::string& pfad, bool video) {
    const QString datei = QString::fromStdString(pfad);
    const std::string url = dateiUrl(pfad);
    if (video) {
        QFileInfo info(datei);
        if (!info.isFile() || !info.isReadable()) return false;
        return ablage.schreibe({{{ablagetyp::dateiUrl, url + "\r\n"}, {ablagetyp::kopierteDateien, "copy\n" + url}}});
    }
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly)) return false;
    QByteArray daten = f.readAll();
    if (f.error() != QFileDevice::NoError) return false;
    QImage bild;
    if (!bild.loadFromData(daten)) return false;
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    if (!bild.save(&puffer, "PNG", schnellePngStufe) || png.isEmpty()) return false;
    return ablage.schreibe({{{ablagetyp::dateiUrl, url + "\r\n"}, {ablagetyp::png, png.toStdString()}}});
}

void stelleHer(Zwischenablage& ablage, const GesicherteAblage& gesichert) {
    GesicherteAblage eintraege;
    for (const auto& e : gesichert) {
        if (!e.empty()) eintraege.push_back(e);
    }
    if (eintraege.empty()) {
        ablage.leere();
        return;
    }
    // Writing replaces the contents: clearing and writing happen in one step.
    ablage.schreibe(eintraege);
}

}  // namespace klebwerk
