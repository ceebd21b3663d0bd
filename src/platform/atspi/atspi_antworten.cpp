#include "platform/atspi/atspi_antworten.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace klebwerk::atspi {
namespace {

QDBusArgument alsArgument(const QVariant& v) { return v.value<QDBusArgument>(); }

std::optional<Adresse> leseReferenz(const QDBusArgument& arg) {
    QString bus;
    QDBusObjectPath pfad;
    arg.beginStructure();
    arg >> bus >> pfad;
    arg.endStructure();
    if (bus.isEmpty() || pfad.path() == nullPfad) return std::nullopt;
    return Adresse{bus, pfad.path()};
}

std::map<QString, QString> textTabelle(const QVariant& v) {
    std::map<QString, QString> t;
    if (v.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = alsArgument(v);
        arg.beginMap();
        while (!arg.atEnd()) {
            QString k, w;
            arg.beginMapEntry();
            arg >> k >> w;
            arg.endMapEntry();
            t[k] = w;
        }
        arg.endMap();
    } else {
        const QVariantMap m = v.toMap();
        for (auto it = m.begin(); it != m.end(); ++it) t[it.key()] = it.value().toString();
    }
    return t;
}

std::optional<Rechteck> ausmassAus(const QVariant& v) {
    if (!v.canConvert<QDBusArgument>()) return std::nullopt;
    const QDBusArgument arg = alsArgument(v);
    int x = 0, y = 0, b = 0, h = 0;
    arg.beginStructure();
    arg >> x >> y >> b >> h;
    arg.endStructure();
    if (b < 0 || h < 0) return std::nullopt;
    return Rechteck{double(x), double(y), double(b), double(h)};
}

}  // namespace

bool istAntwort(const QDBusMessage& m) { return m.type() == QDBusMessage::ReplyMessage && !m.arguments().isEmpty(); }

bool istZeitUeberschreitung(const QDBusMessage& m) {
    return m.type() == QDBusMessage::ErrorMessage &&
           (m.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            m.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
            m.errorName() == QLatin1String("org.freedesktop.DBus.Error.TimedOut"));
}

std::optional<Adresse> referenzAus(const QVariant& v) {
    if (v.canConvert<QDBusArgument>()) return leseReferenz(alsArgument(v));
    return std::nullopt;
}

namespace {

// Calls `f` with bus name and path of every reference of an array of them.
template <typename F>
void fuerJedeReferenz(const QVariant& v, F f) {
    if (!v.canConvert<QDBusArgument>()) return;
    const QDBusArgument arg = alsArgument(v);
    arg.beginArray();
    while (!arg.atEnd()) {
        QString bus;
        QDBusObjectPath pfad;
        arg.beginStructure();
        arg >> bus >> pfad;
        arg.endStructure();
        f(bus, pfad);
    }
    arg.endArray();
}

}  // namespace

std::vector<Adresse> referenzListe(const QVariant& v) {
    std::vector<Adresse> liste;
    fuerJedeReferenz(v, [&](const QString& bus, const QDBusObjectPath& pfad) {
        if (!bus.isEmpty() && pfad.path() != nullPfad) liste.push_back({bus, pfad.path()});
    });
    return liste;
}

std::size_t referenzAnzahl(const QVariant& v) {
    std::size_t n = 0;
    fuerJedeReferenz(v, [&](const QString&, const QDBusObjectPath&) { ++n; });
    return n;
}

Zustaende zustaendeAus(const QVariant& v) {
    QList<uint> teile;
    if (v.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = alsArgument(v);
        arg.beginArray();
        while (!arg.atEnd()) {
            uint u = 0;
            arg >> u;
            teile.push_back(u);
        }
        arg.endArray();
    } else {
        for (const QVariant& x : v.toList()) teile.push_back(x.toUInt());
    }
    Zustaende z;
    if (teile.size() > 0) z.bits |= teile[0];
    if (teile.size() > 1) z.bits |= std::uint64_t(teile[1]) << 32;
    return z;
}

QVariant eigenschaftsWert(const QDBusMessage& antwort) {
    return antwort.arguments().front().value<QDBusVariant>().variant();
}

std::vector<QDBusMessage> anfragenFuer(const Adresse& a, unsigned roh) {
    std::vector<QDBusMessage> m;
    auto ruf = [&](const QString& iface, const char* methode) {
        m.push_back(QDBusMessage::createMethodCall(a.bus, a.pfad, iface, QString::fromLatin1(methode)));
        return &m.back();
    };
    if (roh & rohRolle) ruf(iAccessible, "GetRole");
    if (roh & rohZustand) ruf(iAccessible, "GetState");
    if (roh & rohEigenschaftenAufEinmal) {
        *ruf(eigenschaften, "GetAll") << iAccessible;
    } else if (roh & rohEigenschaften) {
        // Three single property reads: Qt 6 crashes on Properties.GetAll of its objects.
        for (const char* name : {"Name", "Description", "Parent"}) *ruf(eigenschaften, "Get") << iAccessible << QString::fromLatin1(name);
    }
    if (roh & rohKinder) ruf(iAccessible, "GetChildren");
    if (roh & rohAusmass) *ruf(iComponent, "GetExtents") << koordinatenBildschirm;
    if (roh & rohObjektAttribute) ruf(iAccessible, "GetAttributes");
    if (roh & rohDokument) ruf(iDocument, "GetAttributes");
    if (roh & rohText) *ruf(iText, "GetText") << int(0) << int(-1);
    return m;
}

Rohdaten auswerten(const std::vector<QDBusMessage>& antworten, unsigned roh) {
    Rohdaten r;
    size_t i = 0;
    auto naechste = [&]() -> const QDBusMessage* {
        if (i >= antworten.size()) return nullptr;
        const QDBusMessage* m = &antworten[i++];
        if (istAntwort(*m)) {
            r.gueltig = true;
            return m;
        }
        return nullptr;
    };
    // One reply for one bit: taken when it is an answer, then marked as read.
    auto einzeln = [&](unsigned bit, auto&& setze) {
        if (!(roh & bit)) return;
        if (auto* m = naechste()) {
            setze(m->arguments().front());
            r.vorhanden |= bit;
        }
    };
    einzeln(rohRolle, [&](const QVariant& v) { r.rolle = v.toUInt(); });
    einzeln(rohZustand, [&](const QVariant& v) { r.zustand = zustaendeAus(v); });
    if (roh & rohEigenschaftenAufEinmal) {
        if (auto* m = naechste()) {
            QVariantMap werte;
            const QDBusArgument arg = alsArgument(m->arguments().front());
            arg >> werte;
            auto inhalt = [&](const char* k) {
                QVariant v = werte.value(QString::fromLatin1(k));
                return v.canConvert<QDBusVariant>() && v.userType() == qMetaTypeId<QDBusVariant>()
                           ? v.value<QDBusVariant>().variant()
                           : v;
            };
            r.name = inhalt("Name").toString();
            r.beschreibung = inhalt("Description").toString();
            r.eltern = referenzAus(inhalt("Parent"));
            r.vorhanden |= rohEigenschaften;
        }
    } else if (roh & rohEigenschaften) {
        auto* name = naechste();
        auto* beschreibung = naechste();
        auto* eltern = naechste();
        if (name && beschreibung && eltern) {
            r.name = eigenschaftsWert(*name).toString();
            r.beschreibung = eigenschaftsWert(*beschreibung).toString();
            r.eltern = referenzAus(eigenschaftsWert(*eltern));
            r.vorhanden |= rohEigenschaften;
        }
    }
    einzeln(rohKinder, [&](const QVariant& v) { r.kinder = referenzListe(v); });
    einzeln(rohAusmass, [&](const QVariant& v) { r.ausmass = ausmassAus(v); });
    einzeln(rohObjektAttribute, [&](const QVariant& v) { r.objektAttribute = textTabelle(v); });
    einzeln(rohDokument, [&](const QVariant& v) { r.dokument = textTabelle(v); });
    einzeln(rohText, [&](const QVariant& v) { r.text = v.toString(); });
    return r;
}

QDBusArgument regel(const RollenAbfrage* abfrage, bool nurNichtEditierbare) {
    QDBusArgument arg;
    arg.beginStructure();
    QList<int> zustaende{0, 0};
    int zustandsArt = 1;  // ALL of the states
    auto setze = [&](int z) { zustaende[z / 32] |= int(1u << (z % 32)); };
    if (abfrage && nurNichtEditierbare) {
        setze(zustandEditierbar);
        zustandsArt = 3;  // NONE
    } else if (abfrage && abfrage->editierbar) {
        setze(zustandEditierbar);
        setze(zustandSichtbar);
    } else if (abfrage && !abfrage->ohneZustaende.empty()) {
        for (int z : abfrage->ohneZustaende) setze(z);
        zustandsArt = 3;
    }
    arg << zustaende << zustandsArt;
    arg << QMap<QString, QString>() << int(1);
    QList<int> rollen{0, 0, 0, 0, 0};
    int rollenArt = 1;  // ALL of none: every element
    const std::set<std::uint32_t>* gefragt = nullptr;
    if (abfrage) gefragt = nurNichtEditierbare ? &*abfrage->nichtEditierbareAuch : &abfrage->rollen;
    if (gefragt && !gefragt->empty()) {
        for (std::uint32_t r : *gefragt) rollen[int(r / 32)] |= int(1u << (r % 32));
        rollenArt = 2;  // ANY
    }
    arg << rollen << rollenArt;
    arg << QStringList() << int(1);
    arg << false;
    arg.endStructure();
    return arg;
}

QDBusArgument fokusRegel() {
    QDBusArgument r;
    r.beginStructure();
    r << QList<int>{1 << zustandFokussiert, 0} << int(1) << QMap<QString, QString>() << int(1)
      << QList<int>{0, 0, 0, 0, 0} << int(1) << QStringList() << int(1) << false;
    r.endStructure();
    return r;
}

}  // namespace klebwerk::atspi
