#include "platform/wayland/sway_baum.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace klebwerk::wayland {

namespace {

// The children of a container, front to back.
std::vector<QJsonObject> kinderVonVorn(const QJsonObject& knoten) {
    std::vector<std::int64_t> fokus;
    for (const QJsonValue& v : knoten.value("focus").toArray()) fokus.push_back(v.toInteger());
    auto rang = [&fokus](const QJsonObject& k) {
        auto it = std::find(fokus.begin(), fokus.end(), k.value("id").toInteger());
        return it == fokus.end() ? fokus.size() : static_cast<std::size_t>(it - fokus.begin());
    };
    std::vector<QJsonObject> kinder;
    for (const char* feld : {"floating_nodes", "nodes"}) {
        std::vector<QJsonObject> gruppe;
        for (const QJsonValue& v : knoten.value(feld).toArray()) gruppe.push_back(v.toObject());
        std::stable_sort(gruppe.begin(), gruppe.end(),
                         [&rang](const QJsonObject& a, const QJsonObject& b) { return rang(a) < rang(b); });
        kinder.insert(kinder.end(), gruppe.begin(), gruppe.end());
    }
    return kinder;
}

Rechteck rechteck(const QJsonObject& r) {
    return {r.value("x").toDouble(), r.value("y").toDouble(), r.value("width").toDouble(), r.value("height").toDouble()};
}

void sammle(const QJsonObject& knoten, std::vector<SwayFenster>& fenster) {
    const QString art = knoten.value("type").toString();
    if (art == "workspace" && knoten.value("name").toString() == "__i3_scratch") return;
    // A view is a container with a process; a container without one only groups others.
    if ((art == "con" || art == "floating_con") && knoten.contains("pid")) {
        SwayFenster f;
        f.conId = knoten.value("id").toInteger();
        f.pid = knoten.value("pid").toInt();
        f.titel = knoten.value("name").toString().toStdString();
        f.appId = knoten.value("app_id").toString().toStdString();
        if (f.appId.empty())
            f.appId = knoten.value("window_properties").toObject().value("class").toString().toStdString();
        Rechteck aussen = rechteck(knoten.value("rect").toObject());
        Rechteck innen = rechteck(knoten.value("window_rect").toObject());
        f.rahmen = {aussen.x + innen.x, aussen.y + innen.y, innen.breite, innen.hoehe};
        f.fokussiert = knoten.value("focused").toBool();
        f.sichtbar = knoten.value("visible").toBool();
        f.schwebend = art == "floating_con";
        f.aussen = aussen;
        fenster.push_back(std::move(f));
        return;
    }
    for (const QJsonObject& kind : kinderVonVorn(knoten)) sammle(kind, fenster);
}

}  // namespace

std::optional<std::vector<SwayFenster>> fensterAusBaum(const std::string& json) {
    QJsonParseError fehler{};
    auto dokument = QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &fehler);
    if (fehler.error != QJsonParseError::NoError || !dokument.isObject()) return std::nullopt;
    const QJsonObject wurzel = dokument.object();
    if (wurzel.value("type").toString() != "root") return std::nullopt;
    std::vector<SwayFenster> fenster;
    sammle(wurzel, fenster);
    return fenster;
}

std::optional<FensterEreignis> fensterEreignis(const std::string& json) {
    auto dokument = QJsonDocument::fromJson(QByteArray::fromStdString(json));
    if (!dokument.isObject()) return std::nullopt;
    const QJsonObject o = dokument.object();
    const QJsonObject behaelter = o.value("container").toObject();
    if (!o.value("change").isString() || !behaelter.contains("id")) return std::nullopt;
    return FensterEreignis{o.value("change").toString().toStdString(), behaelter.value("id").toInteger(),
                           behaelter.value("name").toString().toStdString()};
}

bool befehlGelungen(const std::string& json, std::string& fehler) {
    auto dokument = QJsonDocument::fromJson(QByteArray::fromStdString(json));
    if (!dokument.isArray()) {
        fehler = "sway's reply to a command was unreadable";
        return false;
    }
    const QJsonArray ergebnisse = dokument.array();
    if (ergebnisse.isEmpty()) {
        fehler = "sway ran no command";
        return false;
    }
    for (const QJsonValue& v : ergebnisse) {
        const QJsonObject e = v.toObject();
        if (!e.value("success").toBool()) {
            fehler = e.value("error").toString("sway refused the command").toStdString();
            return false;
        }
    }
    return true;
}

}  // namespace klebwerk::wayland
