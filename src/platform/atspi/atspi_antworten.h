#pragma once

// The requests AT-SPI is asked and the decoding of its replies: object references,
// states, extents, attribute tables, and the match rules of the Collection interface.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QString>
#include <QVariant>

#include "platform/atspi/atspi_abbildung.h"
#include "platform/geometrie.h"

namespace klebwerk::atspi {

inline const QString eigenschaften = QStringLiteral("org.freedesktop.DBus.Properties");
inline const QString registerDienst = QStringLiteral("org.a11y.atspi.Registry");
inline const QString wurzelPfad = QStringLiteral("/org/a11y/atspi/accessible/root");
inline const QString nullPfad = QStringLiteral("/org/a11y/atspi/null");
inline const QString iAccessible = QStringLiteral("org.a11y.atspi.Accessible");
inline const QString iApplication = QStringLiteral("org.a11y.atspi.Application");
inline const QString iComponent = QStringLiteral("org.a11y.atspi.Component");
inline const QString iDocument = QStringLiteral("org.a11y.atspi.Document");
inline const QString iText = QStringLiteral("org.a11y.atspi.Text");
inline const QString iAction = QStringLiteral("org.a11y.atspi.Action");
inline const QString iEditable = QStringLiteral("org.a11y.atspi.EditableText");
inline const QString iCollection = QStringLiteral("org.a11y.atspi.Collection");
constexpr unsigned koordinatenBildschirm = 0;

// An object on the accessibility bus.
struct Adresse {
    QString bus;
    QString pfad;
    bool operator==(const Adresse&) const = default;
};

// One request of the raw answers that the attributes of an element are made from.
enum Roh : unsigned {
    rohRolle = 1u << 0,
    rohZustand = 1u << 1,
    rohEigenschaften = 1u << 2,
    rohKinder = 1u << 3,
    rohAusmass = 1u << 4,
    rohObjektAttribute = 1u << 5,
    rohDokument = 1u << 6,
    rohText = 1u << 7,
    // Name, description and parent in one Properties.GetAll (instead of rohEigenschaften).
    rohEigenschaftenAufEinmal = 1u << 8,
};

struct Rohdaten {
    bool gueltig = false;  // the object answered at all
    std::uint32_t rolle = 0;
    Zustaende zustand;
    QString name, beschreibung;
    std::optional<Adresse> eltern;
    std::optional<std::vector<Adresse>> kinder;
    std::optional<Rechteck> ausmass;
    std::map<QString, QString> objektAttribute, dokument;
    std::optional<QString> text;
    unsigned vorhanden = 0;
};

bool istAntwort(const QDBusMessage& m);
bool istZeitUeberschreitung(const QDBusMessage& m);

std::optional<Adresse> referenzAus(const QVariant& v);
std::vector<Adresse> referenzListe(const QVariant& v);
// The number of references in a reply's list, without keeping them.
std::size_t referenzAnzahl(const QVariant& v);
Zustaende zustaendeAus(const QVariant& v);
// The value inside a Properties.Get reply.
QVariant eigenschaftsWert(const QDBusMessage& antwort);

// The messages that fetch the raw answers `roh` of one object, and their decoding (the
// replies in the same order).
std::vector<QDBusMessage> anfragenFuer(const Adresse& a, unsigned roh);
Rohdaten auswerten(const std::vector<QDBusMessage>& antworten, unsigned roh);

// A match rule for Collection.GetMatches: states, attributes, roles, interfaces.
// Without `abfrage` every element; `nurNichtEditierbare`: the second query of a text
// search (read-only entries). A text search asks for visible elements only; other
// queries exclude states already, and hidden elements among their candidates read as
// absent. `fokusRegel`: only the element with the focused state.
QDBusArgument regel(const RollenAbfrage* abfrage, bool nurNichtEditierbare = false);
QDBusArgument fokusRegel();

}  // namespace klebwerk::atspi
