#include "app/einstellungen.h"

#include <cmath>
#include <filesystem>

#include <sys/stat.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include "basis/atomar.h"
#include "basis/ordner.h"
#include "basis/protokoll.h"

namespace klebwerk {

Einstellungen::Einstellungen(std::string datei) : datei_(std::move(datei)) {}

void Einstellungen::ladeWennGeaendert() const {
    Dateistand stand = standVon(datei_);
    if (stand.groesse < 0) {
        werte_ = {};
        gelesen_ = {};
        defekt_ = false;
        return;
    }
    if (stand == gelesen_) return;
    gelesen_ = stand;
    QFile datei(QString::fromStdString(datei_));
    if (!datei.open(QIODevice::ReadOnly)) return;
    QJsonParseError fehler{};
    QJsonDocument doc = QJsonDocument::fromJson(datei.readAll(), &fehler);
    if (doc.isObject()) {
        werte_ = doc.object();
        defekt_ = false;
    } else {
        werte_ = {};
        if (!defekt_) protokoll("Einstellungen nicht lesbar: " + datei_ + " – " + fehler.errorString().toStdString());
        defekt_ = true;
    }
}

void Einstellungen::speichere() {
    std::filesystem::path pfad(datei_);
    legeOrdnerAn(pfad.parent_path().string());
    if (defekt_) {
        // Keep what the user had before replacing an unreadable file.
        std::error_code ignoriert;
        std::filesystem::rename(pfad, pfad.string() + ".defekt", ignoriert);
        defekt_ = false;
    }
    QByteArray json = QJsonDocument(werte_).toJson(QJsonDocument::Indented);
    if (!schreibeAtomar(datei_, std::string_view(json.constData(), static_cast<size_t>(json.size())))) {
        protokoll("Einstellungen nicht gespeichert: " + datei_);
    }
    gelesen_ = standVon(datei_);
}

Einstellungen::Dateistand Einstellungen::standVon(const std::string& datei) {
    // Only a regular file counts: opening a named pipe or a device put in its place
    // would wait for a writer or read without end.
    struct stat st {};
    if (::stat(datei.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    return {static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(st.st_ino)};
}

void Einstellungen::registriereStandards(const QJsonObject& standards) {
    std::lock_guard lock(sperre_);
    for (auto it = standards.begin(); it != standards.end(); ++it) standards_.insert(it.key(), it.value());
}

QJsonValue Einstellungen::wert(const std::string& schluessel) const {
    std::lock_guard lock(sperre_);
    ladeWennGeaendert();
    QString k = QString::fromStdString(schluessel);
    if (auto it = werte_.constFind(k); it != werte_.constEnd()) return *it;
    if (auto it = standards_.constFind(k); it != standards_.constEnd()) return *it;
    return QJsonValue(QJsonValue::Undefined);
}

void Einstellungen::setze(const std::string& schluessel, const QJsonValue& wert) {
    std::lock_guard lock(sperre_);
    ladeWennGeaendert();
    QString k = QString::fromStdString(schluessel);
    if (wert.isUndefined()) {
        if (!werte_.contains(k)) return;
        werte_.remove(k);
    } else {
        werte_.insert(k, wert);
    }
    speichere();
}

void Einstellungen::entferne(const std::string& schluessel) { setze(schluessel, QJsonValue(QJsonValue::Undefined)); }

bool Einstellungen::istWahrOder(const std::string& schluessel, bool wennFehlt) const {
    std::lock_guard lock(sperre_);
    ladeWennGeaendert();
    QString k = QString::fromStdString(schluessel);
    if (auto it = werte_.constFind(k); it != werte_.constEnd() && it->isBool()) return it->toBool();
    if (auto it = standards_.constFind(k); it != standards_.constEnd() && it->isBool()) return it->toBool();
    return wennFehlt;
}

bool Einstellungen::istWahr(const std::string& schluessel) const { return istWahrOder(schluessel, false); }

void Einstellungen::setzeWahr(const std::string& schluessel, bool wert) { setze(schluessel, QJsonValue(wert)); }

std::optional<std::string> Einstellungen::text(const std::string& schluessel) const {
    QJsonValue w = wert(schluessel);
    if (!w.isString()) return std::nullopt;
    return w.toString().toStdString();
}

void Einstellungen::setzeText(const std::string& schluessel, const std::string& wert) {
    setze(schluessel, QJsonValue(QString::fromStdString(wert)));
}

std::optional<std::int64_t> Einstellungen::alsGanzzahl(const QJsonValue& wert) {
    if (!wert.isDouble()) return std::nullopt;
    double d = wert.toDouble();
    if (!std::isfinite(d) || std::floor(d) != d || std::fabs(d) > 9007199254740992.0) return std::nullopt;
    return static_cast<std::int64_t>(d);
}

std::int64_t Einstellungen::ganzzahl(const std::string& schluessel) const {
    return alsGanzzahl(wert(schluessel)).value_or(0);
}

void Einstellungen::setzeGanzzahl(const std::string& schluessel, std::int64_t wert) {
    setze(schluessel, QJsonValue(static_cast<qint64>(wert)));
}

namespace {

std::optional<std::vector<std::int64_t>> zahlenAus(const QJsonValue& w) {
    if (!w.isArray()) return std::nullopt;
    std::vector<std::int64_t> zahlen;
    for (const QJsonValue& e : w.toArray()) {
        auto z = Einstellungen::alsGanzzahl(e);
        if (!z) return std::nullopt;
        zahlen.push_back(*z);
    }
    return zahlen;
}

}  // namespace

std::vector<std::int64_t> Einstellungen::zahlen(const std::string& schluessel) const {
    return zahlenAus(wert(schluessel)).value_or(std::vector<std::int64_t>{});
}

std::vector<std::string> Einstellungen::texte(const std::string& schluessel) const {
    QJsonValue w = wert(schluessel);
    if (!w.isArray()) return {};
    std::vector<std::string> texte;
    for (const QJsonValue& e : w.toArray()) {
        if (!e.isString()) return {};
        texte.push_back(e.toString().toStdString());
    }
    return texte;
}

std::vector<std::vector<std::int64_t>> Einstellungen::zahlenListen(const std::string& schluessel) const {
    QJsonValue w = wert(schluessel);
    if (!w.isArray()) return {};
    std::vector<std::vector<std::int64_t>> listen;
    for (const QJsonValue& e : w.toArray()) {
        auto z = zahlenAus(e);
        if (!z) return {};
        listen.push_back(std::move(*z));
    }
    return listen;
}

}  // namespace klebwerk
