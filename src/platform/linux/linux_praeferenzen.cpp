#include "platform/linux/linux_praeferenzen.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include "basis/atomar.h"
#include "basis/ordner.h"
#include "basis/prozesswerte.h"

namespace klebwerk::linuxdesk {
namespace {

const std::string bildschirmfotoDomaene = "com.apple.screencapture";

std::string dateiInhalt(const std::string& pfad) {
    QFile f(QString::fromStdString(pfad));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

QJsonObject eigeneWerte(const std::string& datei) {
    QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(dateiInhalt(datei)));
    return doc.isObject() ? doc.object() : QJsonObject{};
}

Wert ausJson(const QJsonValue& v) {
    if (v.isBool()) return Wert(v.toBool());
    if (v.isString()) return Wert(v.toString().toStdString());
    if (v.isDouble()) {
        double d = v.toDouble();
        if (d == static_cast<double>(static_cast<std::int64_t>(d))) return Wert(static_cast<std::int64_t>(d));
        return Wert(d);
    }
    if (v.isArray()) {
        WertListe liste;
        for (const QJsonValue& e : v.toArray()) liste.push_back(ausJson(e));
        return Wert(std::move(liste));
    }
    return {};
}

QJsonValue alsJson(const Wert& w) {
    if (auto* b = w.als<bool>()) return *b;
    if (auto* i = w.als<std::int64_t>()) return static_cast<qint64>(*i);
    if (auto* d = w.als<double>()) return *d;
    if (auto* s = w.als<std::string>()) return QString::fromStdString(*s);
    if (auto* l = w.als<WertListe>()) {
        QJsonArray a;
        for (const Wert& e : *l) a.append(alsJson(e));
        return a;
    }
    return QJsonValue(QJsonValue::Undefined);
}

std::string trimme(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return {};
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

enum class Desktop { gnome, kde, anderer };

Desktop welcherDesktop() {
    const char* d = std::getenv("XDG_CURRENT_DESKTOP");
    std::string name = d ? d : "";
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name.find("KDE") != std::string::npos) return Desktop::kde;
    if (name.find("GNOME") != std::string::npos || name.find("UNITY") != std::string::npos) return Desktop::gnome;
    return Desktop::anderer;
}

bool deutsch() {
    for (const char* v : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* w = std::getenv(v);
        if (w && *w) return std::string(w).rfind("de", 0) == 0;
    }
    return false;
}

std::string benutzerordner(const std::string& art, const std::string& ersatz) {
    std::string heim = heimOrdner();
    if (auto o = xdgBenutzerordner(dateiInhalt(xdgConfigOrdner() + "/user-dirs.dirs"), art, heim)) return *o;
    return heim + "/" + ersatz;
}

// A folder inside `eltern`: the one of `namen` that exists, else the one of the language.
std::string unterordner(const std::string& eltern, const std::string& englisch, const std::string& deutsch_) {
    std::error_code f;
    for (const auto& n : {englisch, deutsch_}) {
        if (std::filesystem::is_directory(eltern + "/" + n, f)) return eltern + "/" + n;
    }
    return eltern + "/" + (deutsch() ? deutsch_ : englisch);
}

std::string alsPfad(const std::string& wert) {
    if (wert.rfind("file:", 0) == 0) return QUrl(QString::fromStdString(wert)).toLocalFile().toStdString();
    return wert;
}

}  // namespace

std::optional<std::string> xdgBenutzerordner(const std::string& inhalt, const std::string& art,
                                             const std::string& heim) {
    std::istringstream zeilen(inhalt);
    std::string zeile;
    std::string schluessel = "XDG_" + art + "_DIR";
    std::optional<std::string> gefunden;
    while (std::getline(zeilen, zeile)) {
        zeile = trimme(zeile);
        if (zeile.empty() || zeile[0] == '#') continue;
        size_t gleich = zeile.find('=');
        if (gleich == std::string::npos || trimme(zeile.substr(0, gleich)) != schluessel) continue;
        std::string wert = trimme(zeile.substr(gleich + 1));
        if (wert.size() >= 2 && wert.front() == '"' && wert.back() == '"') wert = wert.substr(1, wert.size() - 2);
        if (wert.rfind("$HOME", 0) == 0) {
            wert = heim + wert.substr(5);
        } else if (wert.empty() || wert[0] != '/') {
            continue;  // only "$HOME/…" and absolute paths are allowed
        }
        while (wert.size() > 1 && wert.back() == '/') wert.pop_back();
        gefunden = wert;
    }
    return gefunden;
}

std::optional<std::string> iniWert(const std::string& inhalt, const std::string& gruppe,
                                   const std::string& schluessel) {
    std::istringstream zeilen(inhalt);
    std::string zeile;
    std::string aktuell;
    while (std::getline(zeilen, zeile)) {
        zeile = trimme(zeile);
        if (zeile.empty() || zeile[0] == '#' || zeile[0] == ';') continue;
        if (zeile.front() == '[' && zeile.back() == ']') {
            aktuell = zeile.substr(1, zeile.size() - 2);
            continue;
        }
        size_t gleich = zeile.find('=');
        if (gleich == std::string::npos || aktuell != gruppe) continue;
        if (trimme(zeile.substr(0, gleich)) == schluessel) return trimme(zeile.substr(gleich + 1));
    }
    return std::nullopt;
}

LinuxPraeferenzen::LinuxPraeferenzen(std::string eigeneDatei) : eigeneDatei_(std::move(eigeneDatei)) {}

std::string LinuxPraeferenzen::datei() const {
    return eigeneDatei_.empty() ? xdgConfigOrdner() + "/" + kennung + "/praeferenzen.json" : eigeneDatei_;
}

std::optional<std::string> LinuxPraeferenzen::vomDesktop(const std::string& schluessel) {
    bool bild = schluessel == "location" || schluessel == "location-screenshot";
    bool video = schluessel == "location-screenrecording";
    if (!bild && !video) return std::nullopt;
    switch (welcherDesktop()) {
        case Desktop::gnome:
            if (bild) return unterordner(benutzerordner("PICTURES", "Pictures"), "Screenshots", "Bildschirmfotos");
            return unterordner(benutzerordner("VIDEOS", "Videos"), "Screencasts", "Bildschirmaufzeichnungen");
        case Desktop::kde: {
            std::string rc = dateiInhalt(xdgConfigOrdner() + "/spectaclerc");
            std::optional<std::string> wert;
            if (bild) {
                wert = iniWert(rc, "ImageSave", "imageSaveLocation");
                if (!wert) wert = iniWert(rc, "General", "default-save-location");
                if (!wert) wert = iniWert(rc, "Save", "defaultSaveLocation");
            } else {
                wert = iniWert(rc, "VideoSave", "videoSaveLocation");
            }
            if (wert && !wert->empty()) return alsPfad(*wert);
            if (bild) return benutzerordner("PICTURES", "Pictures") + "/Screenshots";
            return benutzerordner("VIDEOS", "Videos") + "/Screencasts";
        }
        case Desktop::anderer:
            break;
    }
    return std::nullopt;
}

Wert LinuxPraeferenzen::lies(const std::string& domaene, const std::string& schluessel) {
    QJsonObject alle = eigeneWerte(datei());
    QJsonValue dom = alle.value(QString::fromStdString(domaene));
    if (dom.isObject()) {
        QJsonValue v = dom.toObject().value(QString::fromStdString(schluessel));
        if (!v.isUndefined()) return ausJson(v);
    }
    if (domaene == bildschirmfotoDomaene) {
        if (auto o = vomDesktop(schluessel)) return Wert(*o);
    }
    return {};
}

void LinuxPraeferenzen::schreibe(const std::string& domaene, const std::string& schluessel, const Wert& wert) {
    std::string pfad = datei();
    QJsonObject alle = eigeneWerte(pfad);
    QString d = QString::fromStdString(domaene);
    QJsonObject dom = alle.value(d).toObject();
    QJsonValue v = alsJson(wert);
    if (v.isUndefined()) {
        dom.remove(QString::fromStdString(schluessel));
    } else {
        dom.insert(QString::fromStdString(schluessel), v);
    }
    alle.insert(d, dom);
    legeOrdnerAn(std::filesystem::path(pfad).parent_path().string());
    QByteArray json = QJsonDocument(alle).toJson(QJsonDocument::Indented);
    schreibeAtomar(pfad, std::string_view(json.constData(), static_cast<size_t>(json.size())));
}

AufnahmeNamen LinuxAufnahmewerkzeug::namen() {
    // GNOME: "Screenshot from …" / "Bildschirmfoto vom …" (covered by the shared
    // beginnings), recordings "Screencast from …" / "Bildschirmaufzeichnung vom …" as
    // WebM; KDE Spectacle: "Screenshot_…", recordings "Screencast_…" as WebM, MP4 or
    // Matroska, images also as WebP.
    return AufnahmeNamen{{}, {"Screencast", "Bildschirmaufzeichnung"}, {"webp"}, {"webm", "mkv"}};
}

}  // namespace klebwerk::linuxdesk
