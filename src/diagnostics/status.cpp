#include "diagnostics/status.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace klebwerk {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QJsonObject merkmalObjekt(const KnopfMerkmal& m) {
    return QJsonObject{{"rolle", q(m.rolle)}, {"label", q(m.label)}, {"klassen", q(m.klassen)}};
}

}  // namespace

QJsonObject statusObjekt(const StatusDaten& d) {
    QJsonObject o{
        {"freigabe", d.freigabe},
        {"pausiert", d.pausiert},
        {"absenden", d.absenden},
        {"autoVorlesen", false},
        {"wacheLaeuft", d.wacheLaeuft},
        {"letzteZustellung", q(d.letzteZustellung)},
        {"ordner", q(d.ordner)},
        {"modus", q(d.modus)},
        {"diktat", d.diktat},
        {"diktatSenden", d.diktatSenden},
        {"diktatLaeuft", d.diktatLaeuft},
        {"aufnahmen", d.aufnahmen},
        {"feldSichtbar", d.feldSichtbar},
        {"papierkorb", d.papierkorb},
        {"kuerzel", QJsonObject{{"diktat", q(d.kuerzelDiktat)}, {"senden", q(d.kuerzelSenden)}}},
        {"kuerzelLernen", q(d.kuerzelLernen)},
    };
    QJsonArray verbunden;
    for (const auto& name : d.verbunden) verbunden.append(q(name));
    o.insert("verbunden", verbunden);
    if (d.ziel) {
        o.insert("ziel", QJsonObject{{"app", q(d.ziel->app)},
                                     {"titel", q(d.ziel->titel)},
                                     {"pid", static_cast<qint64>(d.ziel->pid)},
                                     {"name", q(d.ziel->name)}});
    }
    if (d.knopf) o.insert("knopf", merkmalObjekt(*d.knopf));
    if (d.diktatKnopf) o.insert("diktatKnopf", merkmalObjekt(*d.diktatKnopf));
    return o;
}

QByteArray statusJson(const StatusDaten& d) {
    // QJsonObject keeps its keys sorted, so the document comes out sorted.
    return QJsonDocument(statusObjekt(d)).toJson(QJsonDocument::Indented);
}

}  // namespace klebwerk
