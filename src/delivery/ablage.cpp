#include "delivery/ablage.h"

#include <QFileInfo>
#include <QUrl>

#include "delivery/png_kodierung.h"

namespace klebwerk {

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
    auto png = pngAusDatei(pfad);
    return png && legeAufPng(ablage, pfad, *png);
}

bool legeAufPng(Zwischenablage& ablage, const std::string& pfad, const std::string& png) {
    return ablage.schreibe({{{ablagetyp::dateiUrl, dateiUrl(pfad) + "\r\n"}, {ablagetyp::png, png}}});
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
