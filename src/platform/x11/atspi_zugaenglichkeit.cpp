#include "platform/x11/atspi_zugaenglichkeit.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <set>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QCoreApplication>
#include <QDBusVariant>
#include <QThread>
#include <unistd.h>

namespace klebwerk::x11 {
namespace {

using Uhr = std::chrono::steady_clock;

constexpr int fristMs = 1000;
constexpr double stummSekunden = 3.0;
const QString busDienst = QStringLiteral("org.a11y.Bus");
const QString busPfad = QStringLiteral("/org/a11y/bus");
const QString eigenschaften = QStringLiteral("org.freedesktop.DBus.Properties");
const QString status = QStringLiteral("org.a11y.Status");
const QString registerDienst = QStringLiteral("org.a11y.atspi.Registry");
const QString wurzelPfad = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString nullPfad = QStringLiteral("/org/a11y/atspi/null");
const QString iAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString iComponent = QStringLiteral("org.a11y.atspi.Component");
const QString iDocument = QStringLiteral("org.a11y.atspi.Document");
const QString iText = QStringLiteral("org.a11y.atspi.Text");
const QString iAction = QStringLiteral("org.a11y.atspi.Action");
const QString iEditable = QStringLiteral("org.a11y.atspi.EditableText");
const QString iCollection = QStringLiteral("org.a11y.atspi.Collection");
constexpr unsigned koordinatenBildschirm = 0;

QDBusMessage rufeSitzung(const QDBusMessage& anfrage) {
    return QDBusConnection::sessionBus().call(anfrage, QDBus::Block, fristMs);
}

bool busAntwortet() {
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, busDienst, QStringLiteral("GetAddress"));
    QDBusMessage antwort = rufeSitzung(anfrage);
    return antwort.type() == QDBusMessage::ReplyMessage && !antwort.arguments().isEmpty() &&
           !antwort.arguments().front().toString().isEmpty();
}

bool istAntwort(const QDBusMessage& m) { return m.type() == QDBusMessage::ReplyMessage && !m.arguments().isEmpty(); }

bool istZeitUeberschreitung(const QDBusMessage& m) {
    return m.type() == QDBusMessage::ErrorMessage &&
           (m.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            m.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
            m.errorName() == QLatin1String("org.freedesktop.DBus.Error.TimedOut"));
}

QDBusArgument alsArgument(const QVariant& v) { return v.value<QDBusArgument>(); }

std::optional<AtspiZugaenglichkeit::Adresse> leseReferenz(const QDBusArgument& arg) {
    QString bus;
    QDBusObjectPath pfad;
    arg.beginStructure();
    arg >> bus >> pfad;
    arg.endStructure();
    if (bus.isEmpty() || pfad.path() == nullPfad) return std::nullopt;
    return AtspiZugaenglichkeit::Adresse{bus, pfad.path()};
}

std::optional<AtspiZugaenglichkeit::Adresse> referenzAus(const QVariant& v) {
    if (v.canConvert<QDBusArgument>()) return leseReferenz(alsArgument(v));
    return std::nullopt;
}

std::vector<AtspiZugaenglichkeit::Adresse> referenzListe(const QVariant& v) {
    std::vector<AtspiZugaenglichkeit::Adresse> liste;
    if (!v.canConvert<QDBusArgument>()) return liste;
    const QDBusArgument arg = alsArgument(v);
    arg.beginArray();
    while (!arg.atEnd()) {
        QString bus;
        QDBusObjectPath pfad;
        arg.beginStructure();
        arg >> bus >> pfad;
        arg.endStructure();
        if (!bus.isEmpty() && pfad.path() != nullPfad) liste.push_back({bus, pfad.path()});
    }
    arg.endArray();
    return liste;
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

Element objekt(int pid, const AtspiZugaenglichkeit::Adresse& a) {
    return Element{Element::Art::objekt, pid, a.bus.toStdString(), a.pfad.toStdString()};
}

// A D-Bus match rule for Collection.GetMatches: states, attributes, roles, interfaces.
// `nurNichtEditierbare`: the second query of a text search (read-only entries).
QDBusArgument regel(const RollenAbfrage* abfrage, bool nurNichtEditierbare = false) {
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

}  // namespace

std::optional<bool> zugaenglichkeitAn() {
    if (!QDBusConnection::sessionBus().isConnected() || !busAntwortet()) return std::nullopt;
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, eigenschaften, QStringLiteral("Get"));
    anfrage << status << QStringLiteral("IsEnabled");
    QDBusMessage antwort = rufeSitzung(anfrage);
    if (antwort.type() != QDBusMessage::ReplyMessage || antwort.arguments().isEmpty()) return std::nullopt;
    return antwort.arguments().front().value<QDBusVariant>().variant().toBool();
}

bool schalteZugaenglichkeitEin() {
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, eigenschaften, QStringLiteral("Set"));
    anfrage << status << QStringLiteral("IsEnabled") << QVariant::fromValue(QDBusVariant(true));
    return rufeSitzung(anfrage).type() == QDBusMessage::ReplyMessage;
}

AtspiZugaenglichkeit::AtspiZugaenglichkeit(Fensterliste& fensterliste, Arbeitsplatz& arbeitsplatz)
    : fensterliste_(fensterliste), arbeitsplatz_(arbeitsplatz), eigenePid_(static_cast<int>(getpid())) {}

bool AtspiZugaenglichkeit::vertraut(bool nachfragen) {
    auto an = zugaenglichkeitAn();
    if (!an) return false;
    if (*an || !nachfragen) return *an;
    schalteZugaenglichkeitEin();
    return zugaenglichkeitAn().value_or(false);
}

Element AtspiZugaenglichkeit::anwendung(int pid) { return Element{Element::Art::anwendung, pid, "", ""}; }
Element AtspiZugaenglichkeit::systemweit() { return Element{Element::Art::systemweit, 0, "", ""}; }

QDBusConnection AtspiZugaenglichkeit::verbindung() {
    std::lock_guard lock(sperre_);
    if (verbindung_ && verbindung_->isConnected()) return *verbindung_;
    auto anfrage = QDBusMessage::createMethodCall(busDienst, busPfad, busDienst, QStringLiteral("GetAddress"));
    QDBusMessage antwort = rufeSitzung(anfrage);
    if (!istAntwort(antwort)) return QDBusConnection(QString());
    const QString adresse = antwort.arguments().front().toString();
    const QString name = QStringLiteral("klebwerk-atspi");
    QDBusConnection::disconnectFromBus(name);
    verbindung_ = QDBusConnection::connectToBus(adresse, name);
    return *verbindung_;
}

bool AtspiZugaenglichkeit::stumm(const QString& bus) {
    std::lock_guard lock(sperre_);
    auto it = stummBis_.find(bus);
    if (it == stummBis_.end()) return false;
    if (Uhr::now() < it->second) return true;
    stummBis_.erase(it);
    return false;
}

unsigned AtspiZugaenglichkeit::fuerBus(const QString& bus, unsigned roh, double frist) {
    if (!(roh & rohEigenschaften)) return roh;
    std::optional<bool> bekannt;
    {
        std::lock_guard lock(sperre_);
        if (auto it = aufEinmal_.find(bus); it != aufEinmal_.end()) bekannt = it->second;
    }
    if (!bekannt) {
        // Qt's bridge fails on GetAll; ATK's bridge (Chromium, GTK, Firefox) answers it.
        auto m = QDBusMessage::createMethodCall(bus, wurzelPfad, eigenschaften, QStringLiteral("Get"));
        m << QStringLiteral("org.a11y.atspi.Application") << QStringLiteral("ToolkitName");
        auto antwort = sende({m}, frist);
        if (!istAntwort(antwort[0])) return roh;  // unknown: the safe form, asked again next time
        const QString name = antwort[0].arguments().front().value<QDBusVariant>().variant().toString();
        bekannt = !name.isEmpty() && !name.startsWith(QLatin1String("Qt"), Qt::CaseInsensitive);
        std::lock_guard lock(sperre_);
        aufEinmal_[bus] = *bekannt;
    }
    return *bekannt ? (roh & ~unsigned(rohEigenschaften)) | rohEigenschaftenAufEinmal : roh;
}

bool AtspiZugaenglichkeit::istHauptfaden() const {
    QCoreApplication* app = QCoreApplication::instance();
    return app ? QThread::currentThread() == app->thread() : true;
}

std::vector<QDBusMessage> AtspiZugaenglichkeit::sende(const std::vector<QDBusMessage>& anfragen, double frist) {
    std::vector<QDBusMessage> antworten(anfragen.size());
    QDBusConnection c = verbindung();
    if (!c.isConnected()) return antworten;
    const int ms = std::max(1, static_cast<int>(std::lround(frist * 1000)));
    const auto ende = Uhr::now() + std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(frist));
    const bool haupt = istHauptfaden();
    std::vector<std::optional<QDBusPendingCall>> laufend(anfragen.size());
    std::deque<size_t> eigeneImFlug;  // this call's background requests, oldest first

    auto abschliessen = [&](size_t i) {
        // Waits on the reply without running an event loop (QtDBus's own thread reads it).
        laufend[i]->waitForFinished();
        antworten[i] = laufend[i]->reply();
        const QString bus = anfragen[i].service();
        std::lock_guard lock(sperre_);
        Warteschlange& q = schlangen_[bus];
        if (haupt) --q.hauptImFlug;
        else --q.hintergrundImFlug;
        // Not answering: a main-thread deadline passed while none of our own background
        // work for it was queued (else that work may be what keeps it busy).
        if (haupt && istZeitUeberschreitung(antworten[i]) && q.hintergrundImFlug == 0 && q.hintergrundWartend == 0) {
            stummBis_[bus] = Uhr::now() + std::chrono::duration_cast<Uhr::duration>(std::chrono::duration<double>(stummSekunden));
        }
        frei_.notify_all();
    };
    // Main-thread requests go out at once; background requests wait while a main-thread
    // request of the same application is in flight and while a handful of background
    // requests are.
    auto schicke = [&](size_t i) {
        const QString bus = anfragen[i].service();
        if (stumm(bus)) return;
        if (!haupt) {
            while (eigeneImFlug.size() >= hintergrundHoechstens) {
                abschliessen(eigeneImFlug.front());
                eigeneImFlug.pop_front();
            }
            std::unique_lock lock(sperre_);
            Warteschlange& q = schlangen_[bus];
            ++q.hintergrundWartend;
            const bool frei = frei_.wait_until(lock, ende, [&] {
                Warteschlange& w = schlangen_[bus];
                return w.hauptImFlug == 0 && w.hintergrundImFlug < static_cast<int>(hintergrundHoechstens);
            });
            Warteschlange& w = schlangen_[bus];
            --w.hintergrundWartend;
            if (!frei) return;  // its deadline passed in the queue: no answer, and no verdict
            ++w.hintergrundImFlug;
        } else {
            std::lock_guard lock(sperre_);
            ++schlangen_[bus].hauptImFlug;
        }
        const int rest = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(ende - Uhr::now()).count());
        laufend[i] = c.asyncCall(anfragen[i], haupt ? ms : std::max(1, rest));
        if (!haupt) eigeneImFlug.push_back(i);
    };
    for (size_t i = 0; i < anfragen.size(); ++i) {
        schicke(i);
        if (einzeln && laufend[i] && haupt) abschliessen(i);
        if (einzeln && laufend[i] && !haupt) {
            abschliessen(i);
            eigeneImFlug.pop_back();
        }
    }
    for (size_t i = 0; i < anfragen.size(); ++i) {
        if (!laufend[i] || antworten[i].type() != QDBusMessage::InvalidMessage) continue;
        abschliessen(i);
    }
    return antworten;
}

std::optional<QString> AtspiZugaenglichkeit::busFuerPid(int pid, double frist) {
    if (pid == eigenePid_ || pid <= 0) return std::nullopt;
    {
        std::lock_guard lock(sperre_);
        if (auto it = busVonPid_.find(pid); it != busVonPid_.end()) return it->second;
    }
    auto anfrage = QDBusMessage::createMethodCall(registerDienst, wurzelPfad, iAccessible, QStringLiteral("GetChildren"));
    auto antwort = sende({anfrage}, frist);
    if (!istAntwort(antwort[0])) return std::nullopt;
    for (const Adresse& a : referenzListe(antwort[0].arguments().front())) {
        int p = pidFuerBus(a.bus, frist);
        if (p == pid) return a.bus;
    }
    return std::nullopt;
}

int AtspiZugaenglichkeit::pidFuerBus(const QString& bus, double frist) {
    {
        std::lock_guard lock(sperre_);
        if (auto it = pidVonBus_.find(bus); it != pidVonBus_.end()) return it->second;
    }
    auto anfrage = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                  QStringLiteral("org.freedesktop.DBus"),
                                                  QStringLiteral("GetConnectionUnixProcessID"));
    anfrage << bus;
    QDBusMessage antwort = verbindung().call(anfrage, QDBus::Block, std::max(1, int(frist * 1000)));
    if (!istAntwort(antwort)) return 0;
    int pid = static_cast<int>(antwort.arguments().front().toUInt());
    std::lock_guard lock(sperre_);
    pidVonBus_[bus] = pid;
    busVonPid_[pid] = bus;
    return pid;
}

std::optional<AtspiZugaenglichkeit::Adresse> AtspiZugaenglichkeit::adresse(const Element& e, double frist) {
    if (e.art == Element::Art::anwendung) {
        auto bus = busFuerPid(e.pid, frist);
        if (!bus) return std::nullopt;
        return Adresse{*bus, wurzelPfad};
    }
    if (e.art != Element::Art::objekt || e.pid == eigenePid_ || e.bus.empty()) return std::nullopt;
    return Adresse{QString::fromStdString(e.bus), QString::fromStdString(e.pfad)};
}

Element AtspiZugaenglichkeit::elementFuer(const Adresse& a, int pidHinweis, double frist) {
    int pid = pidHinweis;
    {
        std::lock_guard lock(sperre_);
        if (auto it = pidVonBus_.find(a.bus); it != pidVonBus_.end()) pid = it->second;
    }
    if (pid == 0) pid = pidFuerBus(a.bus, frist);
    if (a.pfad == wurzelPfad) return anwendung(pid);
    return objekt(pid, a);
}

unsigned AtspiZugaenglichkeit::brauchtFuer(const std::string& a) const {
    if (a == "AXRole") return rohRolle | rohZustand | rohEigenschaften;
    if (a == "AXSubrole") return rohRolle | rohZustand | rohEigenschaften;
    if (a == "AXTitle" || a == "AXDescription" || a == "AXHelp" || a == "AXParent") return rohEigenschaften;
    if (a == "AXChildren") return rohKinder;
    if (a == "AXFocused" || a == "AXFocusable" || a == "AXEnabled" || a == "AXMain") return rohZustand;
    if (a == "AXPosition" || a == "AXSize") return rohAusmass;
    if (a == "AXDOMClassList") return rohObjektAttribute;
    if (a == "AXURL") return rohDokument | rohRolle;
    if (a == "AXValue") return rohText;
    return 0;
}

std::vector<QDBusMessage> AtspiZugaenglichkeit::anfragenFuer(const Adresse& a, unsigned roh) const {
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

AtspiZugaenglichkeit::Rohdaten AtspiZugaenglichkeit::auswerten(const std::vector<QDBusMessage>& antworten,
                                                               unsigned roh) const {
    Rohdaten r;
    size_t i = 0;
    auto naechste = [&]() -> const QDBusMessage* {
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
            auto inhalt = [](const QDBusMessage* m) { return m->arguments().front().value<QDBusVariant>().variant(); };
            r.name = inhalt(name).toString();
            r.beschreibung = inhalt(beschreibung).toString();
            r.eltern = referenzAus(inhalt(eltern));
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

bool AtspiZugaenglichkeit::istObersteEbene(const Rohdaten& r, const Adresse& a) const {
    return r.eltern && r.eltern->pfad == wurzelPfad && r.eltern->bus == a.bus && a.pfad != wurzelPfad;
}

std::optional<FensterInfo> AtspiZugaenglichkeit::xFenster(std::int64_t nummer) {
    for (const FensterInfo& f : fensterliste_.fenster()) {
        if (f.nummer == nummer) return f;
    }
    return std::nullopt;
}

std::optional<std::int64_t> AtspiZugaenglichkeit::paare(const Element& fenster, const Adresse& a, const Rohdaten& r) {
    const auto schluessel = std::make_pair(a.bus, a.pfad);
    {
        std::lock_guard lock(sperre_);
        if (auto it = paare_.find(schluessel); it != paare_.end()) {
            if (xFenster(it->second)) return it->second;
            paare_.erase(it);
            return std::nullopt;  // the X window is gone: the pair died with it
        }
    }
    if (!r.ausmass) return std::nullopt;
    const std::string titel = r.name.toStdString();
    std::vector<FensterInfo> gleicherProzess;
    for (const FensterInfo& f : fensterliste_.fenster()) {
        if (f.pid == fenster.pid) gleicherProzess.push_back(f);
    }
    // Geometry in root coordinates on both sides; the X frame may include decorations.
    auto passtLage = [&](const FensterInfo& f) {
        const Rechteck& x = f.rahmen;
        const Rechteck& b = *r.ausmass;
        const double rand = 40;
        return b.x >= x.x - 2 && b.y >= x.y - 2 && b.x + b.breite <= x.x + x.breite + 2 &&
               b.y + b.hoehe <= x.y + x.hoehe + 2 && b.breite >= x.breite - rand && b.hoehe >= x.hoehe - rand;
    };
    std::vector<FensterInfo> passend;
    for (const FensterInfo& f : gleicherProzess) {
        if (f.titel == titel && passtLage(f)) passend.push_back(f);
    }
    if (passend.size() != 1) return std::nullopt;
    // The same X window must not be paired with a second accessible window.
    std::lock_guard lock(sperre_);
    for (const auto& [k, nr] : paare_) {
        if (nr == passend[0].nummer) return std::nullopt;
    }
    paare_[schluessel] = passend[0].nummer;
    return passend[0].nummer;
}

std::optional<Element> AtspiZugaenglichkeit::fokussiertes(const Element& app, double frist) {
    auto a = adresse(app, frist);
    if (!a) return std::nullopt;
    RollenAbfrage keine;
    QDBusArgument r;
    r.beginStructure();
    r << QList<int>{1 << zustandFokussiert, 0} << int(1) << QMap<QString, QString>() << int(1)
      << QList<int>{0, 0, 0, 0, 0} << int(1) << QStringList() << int(1) << false;
    r.endStructure();
    auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iCollection, QStringLiteral("GetMatches"));
    m << QVariant::fromValue(r) << uint(1) << int(1) << true;
    auto antwort = sende({m}, frist);
    if (istAntwort(antwort[0])) {
        auto liste = referenzListe(antwort[0].arguments().front());
        if (liste.empty()) return std::nullopt;
        return elementFuer(liste.front(), app.pid, frist);
    }
    // No Collection: a bounded walk for the focused state, from the active window.
    std::vector<Adresse> stapel{*a};
    for (int n = 0; n < 2000 && !stapel.empty(); ++n) {
        Adresse e = stapel.back();
        stapel.pop_back();
        auto ant = sende(anfragenFuer(e, rohZustand | rohKinder), frist);
        Rohdaten d = auswerten(ant, rohZustand | rohKinder);
        if (!d.gueltig) continue;
        if (e.pfad != wurzelPfad && d.zustand.hat(zustandFokussiert)) return elementFuer(e, app.pid, frist);
        if (d.kinder) stapel.insert(stapel.end(), d.kinder->rbegin(), d.kinder->rend());
    }
    return std::nullopt;
}

Wert AtspiZugaenglichkeit::anwendungsWert(const Element& app, const std::string& attribut, double frist) {
    auto a = adresse(app, frist);
    if (!a) return {};
    if (attribut == "AXFrontmost") {
        auto vorn = arbeitsplatz_.vorderste();
        return vorn && vorn->pid == app.pid;
    }
    if (attribut == "AXFocusedUIElement") {
        auto e = fokussiertes(app, frist);
        return e ? Wert(*e) : Wert();
    }
    auto antwort = sende(anfragenFuer(*a, rohKinder | rohEigenschaften), frist);
    Rohdaten r = auswerten(antwort, rohKinder | rohEigenschaften);
    if (attribut == "AXRole") return r.gueltig ? Wert("AXApplication") : Wert();
    if (attribut == "AXTitle") return (r.vorhanden & rohEigenschaften) ? Wert(r.name.toStdString()) : Wert();
    if (!r.kinder) return {};
    if (attribut == "AXChildren" || attribut == "AXWindows") {
        WertListe liste;
        for (const Adresse& k : *r.kinder) liste.push_back(objekt(app.pid, k));
        return liste;
    }
    if (attribut == "AXFocusedWindow") {
        std::vector<QDBusMessage> anfragen;
        for (const Adresse& k : *r.kinder) {
            anfragen.push_back(QDBusMessage::createMethodCall(k.bus, k.pfad, iAccessible, QStringLiteral("GetState")));
        }
        auto zustaende = sende(anfragen, frist);
        for (size_t i = 0; i < r.kinder->size(); ++i) {
            if (istAntwort(zustaende[i]) && zustaendeAus(zustaende[i].arguments().front()).hat(zustandAktiv)) {
                return objekt(app.pid, (*r.kinder)[i]);
            }
        }
        if (!r.kinder->empty()) return objekt(app.pid, r.kinder->front());
    }
    return {};
}

Wert AtspiZugaenglichkeit::ableiten(const Element& e, const Adresse& a, const Rohdaten& r, const std::string& attribut,
                                    double frist) {
    const unsigned braucht = brauchtFuer(attribut);
    if ((r.vorhanden & braucht) != braucht) return {};
    if ((braucht & rohZustand) && r.zustand.hat(zustandDefunkt)) return {};
    const bool oben = istObersteEbene(r, a);
    if (attribut == "AXRole") {
        auto rolle = axRolle(r.rolle, r.zustand, oben);
        if (!rolle) return {};
        // A window whose X window has gone is gone too.
        if (oben) {
            std::lock_guard lock(sperre_);
            auto it = paare_.find({a.bus, a.pfad});
            if (it != paare_.end() && !xFenster(it->second)) return {};
        }
        return *rolle;
    }
    if (attribut == "AXSubrole") {
        if (!oben || r.rolle == 0 || r.zustand.hat(zustandDefunkt)) return {};
        if (atspiRollenName(r.rolle) == "dialog") return "AXDialog";
        return {};  // completed by the pairing in liesMehrere
    }
    if (attribut == "AXTitle") return r.name.toStdString();
    if (attribut == "AXDescription") return r.beschreibung.toStdString();
    if (attribut == "AXHelp") return {};  // AT-SPI's HelpText is not read: Qt does not have it
    if (attribut == "AXParent") return r.eltern ? Wert(elementFuer(*r.eltern, e.pid, frist)) : Wert();
    if (attribut == "AXChildren") {
        WertListe liste;
        for (const Adresse& k : *r.kinder) liste.push_back(k.bus == a.bus ? objekt(e.pid, k) : elementFuer(k, 0, frist));
        return liste;
    }
    if (attribut == "AXFocused") return r.zustand.hat(zustandFokussiert);
    if (attribut == "AXFocusable") return r.zustand.hat(zustandFokussierbar);
    if (attribut == "AXEnabled") return r.zustand.hat(zustandAktiviert) || r.zustand.hat(zustandEmpfindlich);
    if (attribut == "AXMain") return r.zustand.hat(zustandAktiv);
    if (attribut == "AXPosition") return r.ausmass ? Wert(Punkt{r.ausmass->x, r.ausmass->y}) : Wert();
    if (attribut == "AXSize") return r.ausmass ? Wert(Groesse{r.ausmass->breite, r.ausmass->hoehe}) : Wert();
    if (attribut == "AXDOMClassList") {
        auto it = r.objektAttribute.find(QStringLiteral("class"));
        if (it == r.objektAttribute.end()) return {};
        WertListe liste;
        for (const QString& k : it->second.split(QLatin1Char(' '), Qt::SkipEmptyParts)) liste.push_back(k.toStdString());
        return liste;
    }
    if (attribut == "AXURL") {
        const std::string rolle = atspiRollenName(r.rolle);
        if (rolle != "document web" && rolle != "document frame") return {};
        for (const char* k : {"URI", "DocURL"}) {
            auto it = r.dokument.find(QString::fromLatin1(k));
            if (it != r.dokument.end() && !it->second.isEmpty()) return it->second.toStdString();
        }
        return {};
    }
    if (attribut == "AXValue") return r.text ? Wert(r.text->toStdString()) : Wert();
    return {};
}

std::vector<std::vector<Wert>> AtspiZugaenglichkeit::liesMehrereVon(const std::vector<Element>& elemente,
                                                                    const std::vector<std::string>& attribute,
                                                                    double frist) {
    std::vector<std::vector<Wert>> ergebnis(elemente.size(), std::vector<Wert>(attribute.size()));
    unsigned roh = 0;
    bool abgeleitetSpaeter = false;
    for (const std::string& a : attribute) {
        roh |= brauchtFuer(a);
        if (a == "AXWindow" || a == "AXSubrole") abgeleitetSpaeter = true;
    }
    if (abgeleitetSpaeter) roh |= rohEigenschaften | rohAusmass | rohRolle | rohZustand;
    // All requests of all objects in flight together.
    std::vector<QDBusMessage> anfragen;
    std::vector<std::optional<Adresse>> adressen(elemente.size());
    std::vector<size_t> anfang(elemente.size(), 0), ende(elemente.size(), 0);
    std::vector<unsigned> rohVon(elemente.size(), roh);
    for (size_t i = 0; i < elemente.size(); ++i) {
        if (elemente[i].art != Element::Art::objekt) continue;
        adressen[i] = adresse(elemente[i], frist);
        if (!adressen[i]) continue;
        rohVon[i] = fuerBus(adressen[i]->bus, roh, frist);
        anfang[i] = anfragen.size();
        auto m = anfragenFuer(*adressen[i], rohVon[i]);
        anfragen.insert(anfragen.end(), m.begin(), m.end());
        ende[i] = anfragen.size();
    }
    auto antworten = sende(anfragen, frist);
    for (size_t i = 0; i < elemente.size(); ++i) {
        const Element& e = elemente[i];
        if (e.art == Element::Art::anwendung || e.art == Element::Art::systemweit) {
            for (size_t j = 0; j < attribute.size(); ++j) ergebnis[i][j] = lies(e, attribute[j], frist);
            continue;
        }
        if (!adressen[i]) continue;
        std::vector<QDBusMessage> eigene(antworten.begin() + anfang[i], antworten.begin() + ende[i]);
        Rohdaten r = auswerten(eigene, rohVon[i]);
        if (!r.gueltig) continue;
        if ((r.vorhanden & rohZustand) && r.zustand.hat(zustandDefunkt)) continue;
        for (size_t j = 0; j < attribute.size(); ++j) {
            const std::string& name = attribute[j];
            if (name == "AXWindow") {
                // The top-level ancestor: up the parents to the child of the application.
                Adresse jetzt = *adressen[i];
                Rohdaten d = r;
                for (int tiefe = 0; tiefe < 256; ++tiefe) {
                    if (istObersteEbene(d, jetzt)) {
                        ergebnis[i][j] = objekt(e.pid, jetzt);
                        break;
                    }
                    if (!d.eltern || d.eltern->pfad == wurzelPfad) break;
                    jetzt = *d.eltern;
                    d = auswerten(sende(anfragenFuer(jetzt, rohEigenschaften), frist), rohEigenschaften);
                    if (!d.gueltig) break;
                }
                continue;
            }
            ergebnis[i][j] = ableiten(e, *adressen[i], r, name, frist);
            if (name == "AXSubrole" && ergebnis[i][j].fehlt() && istObersteEbene(r, *adressen[i])) {
                if (auto nr = paare(e, *adressen[i], r)) {
                    auto f = xFenster(*nr);
                    if (f && f->schicht == 0) ergebnis[i][j] = "AXStandardWindow";
                }
            }
        }
    }
    return ergebnis;
}

std::vector<Wert> AtspiZugaenglichkeit::liesMehrere(const Element& e, const std::vector<std::string>& attribute,
                                                    double frist) {
    return liesMehrereVon({e}, attribute, frist).front();
}

Wert AtspiZugaenglichkeit::lies(const Element& e, const std::string& attribut, double frist) {
    if (e.art == Element::Art::systemweit) {
        if (attribut == "AXFocusedApplication") {
            auto vorn = arbeitsplatz_.vorderste();
            if (vorn && vorn->pid != eigenePid_) return anwendung(vorn->pid);
        }
        return {};
    }
    if (e.art == Element::Art::anwendung) return anwendungsWert(e, attribut, frist);
    return liesMehrereVon({e}, {attribut}, frist).front().front();
}

std::vector<std::string> AtspiZugaenglichkeit::attributNamen(const Element& e, double frist) {
    if (e.art == Element::Art::anwendung) {
        if (!adresse(e, frist) || lies(e, "AXRole", frist).fehlt()) return {};
        return attributeFuer("AXApplication", true, false);
    }
    auto a = adresse(e, frist);
    if (!a) return {};
    const unsigned roh = rohRolle | rohZustand | rohEigenschaften;
    Rohdaten r = auswerten(sende(anfragenFuer(*a, roh), frist), roh);
    auto rolle = axRolle(r.rolle, r.zustand, istObersteEbene(r, *a));
    if (!r.gueltig || !rolle) return {};
    return attributeFuer(*rolle, false, istObersteEbene(r, *a));
}

bool AtspiZugaenglichkeit::schreibe(const Element& e, const std::string& attribut, const Wert& wert, double frist) {
    const bool* an = wert.als<bool>();
    if (e.art == Element::Art::anwendung) {
        if (attribut == "AXFrontmost" && an && *an && e.pid != eigenePid_) return arbeitsplatz_.aktiviere(e.pid, false);
        return false;
    }
    auto a = adresse(e, frist);
    if (!a) return false;
    if (attribut == "AXFocused" && an && *an) {
        auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iComponent, QStringLiteral("GrabFocus"));
        auto antwort = sende({m}, frist);
        return istAntwort(antwort[0]) && antwort[0].arguments().front().toBool();
    }
    if (attribut == "AXValue") {
        if (const std::string* text = wert.als<std::string>()) {
            auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iEditable, QStringLiteral("SetTextContents"));
            m << QString::fromStdString(*text);
            auto antwort = sende({m}, frist);
            return istAntwort(antwort[0]) && antwort[0].arguments().front().toBool();
        }
        return false;
    }
    if (attribut == "AXMain" && an && *an) return fuehreAus(e, "AXRaise", frist);
    return false;
}

bool AtspiZugaenglichkeit::fuehreAus(const Element& e, const std::string& aktion, double frist) {
    auto a = adresse(e, frist);
    if (!a || e.art != Element::Art::objekt) return false;
    if (aktion == "AXRaise") {
        auto nr = fensterNummer(e);
        return nr != 0 && hebeFenster && hebeFenster(nr);
    }
    auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iAction, QStringLiteral("GetActions"));
    auto antwort = sende({m}, frist);
    if (!istAntwort(antwort[0])) return false;
    std::vector<QString> namen;
    QVariant v = antwort[0].arguments().front();
    if (v.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = alsArgument(v);
        arg.beginArray();
        while (!arg.atEnd()) {
            QString name, beschreibung, taste;
            arg.beginStructure();
            arg >> name >> beschreibung >> taste;
            arg.endStructure();
            namen.push_back(name.toLower());
        }
        arg.endArray();
    }
    std::vector<std::string> gesucht;
    if (aktion == "AXPress") gesucht = drueckAktionen();
    else if (aktion == "AXShowMenu") gesucht = {"showmenu", "show menu", "menu"};
    else if (aktion == "AXConfirm") gesucht = {"confirm", "activate", "press"};
    for (const std::string& g : gesucht) {
        for (size_t i = 0; i < namen.size(); ++i) {
            if (namen[i] != QString::fromStdString(g)) continue;
            auto tu = QDBusMessage::createMethodCall(a->bus, a->pfad, iAction, QStringLiteral("DoAction"));
            tu << int(i);
            auto ergebnis = sende({tu}, frist);
            return istAntwort(ergebnis[0]) && ergebnis[0].arguments().front().toBool();
        }
    }
    return false;
}

std::optional<Element> AtspiZugaenglichkeit::elementBei(const Element& wurzel, Punkt punkt, double frist) {
    std::optional<Element> app;
    std::optional<std::int64_t> xNummer;
    if (wurzel.art == Element::Art::systemweit) {
        for (const FensterInfo& f : fensterliste_.fenster()) {
            if (f.schicht != 0 || f.pid == eigenePid_ || !f.rahmen.enthaelt(punkt)) continue;
            app = anwendung(f.pid);
            xNummer = f.nummer;
            break;
        }
    } else if (wurzel.art == Element::Art::anwendung) {
        app = wurzel;
    }
    if (!app) return std::nullopt;
    auto fenster = anwendungsWert(*app, "AXWindows", frist);
    const WertListe* liste = fenster.als<WertListe>();
    if (!liste) return std::nullopt;
    // The window under the point: the one paired with the X window there, else the first
    // whose extents hold the point.
    std::optional<Element> ziel;
    for (const Wert& w : *liste) {
        const Element* f = w.als<Element>();
        if (!f) continue;
        if (xNummer && fensterNummer(*f) == *xNummer) {
            ziel = *f;
            break;
        }
    }
    if (!ziel) {
        for (const Wert& w : *liste) {
            const Element* f = w.als<Element>();
            auto werte = f ? liesMehrere(*f, {"AXPosition", "AXSize"}, frist) : std::vector<Wert>(2);
            const Punkt* p = werte[0].als<Punkt>();
            const Groesse* g = werte[1].als<Groesse>();
            if (p && g && Rechteck{p->x, p->y, g->breite, g->hoehe}.enthaelt(punkt)) {
                ziel = *f;
                break;
            }
        }
    }
    if (!ziel) return std::nullopt;
    // Down to the deepest element at the point.
    Element jetzt = *ziel;
    for (int tiefe = 0; tiefe < 64; ++tiefe) {
        auto a = adresse(jetzt, frist);
        if (!a) break;
        auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iComponent, QStringLiteral("GetAccessibleAtPoint"));
        m << int(std::lround(punkt.x)) << int(std::lround(punkt.y)) << koordinatenBildschirm;
        auto antwort = sende({m}, frist);
        if (!istAntwort(antwort[0])) break;
        auto kind = referenzAus(antwort[0].arguments().front());
        if (!kind || (kind->bus == a->bus && kind->pfad == a->pfad)) break;
        jetzt = elementFuer(*kind, jetzt.pid, frist);
    }
    return jetzt;
}

std::int64_t AtspiZugaenglichkeit::fensterNummer(const Element& fenster) {
    if (fenster.art != Element::Art::objekt) return 0;
    const double frist = standardFrist();
    auto a = adresse(fenster, frist);
    if (!a) return 0;
    {
        std::lock_guard lock(sperre_);
        auto it = paare_.find({a->bus, a->pfad});
        if (it != paare_.end() && xFenster(it->second)) return it->second;
    }
    const unsigned roh = rohEigenschaften | rohAusmass | rohZustand;
    Rohdaten r = auswerten(sende(anfragenFuer(*a, roh), frist), roh);
    if (!r.gueltig || !istObersteEbene(r, *a) || r.zustand.hat(zustandDefunkt)) return 0;
    return paare(fenster, *a, r).value_or(0);
}

std::optional<std::vector<Element>> AtspiZugaenglichkeit::kandidatenRueckwaerts(const Element& wurzel,
                                                                                 const std::vector<std::string>& rollen,
                                                                                 std::size_t hoechstens,
                                                                                 double frist) {
    std::optional<RollenAbfrage> abfrage;
    if (!rollen.empty()) {
        abfrage = abfrageFuer({rollen.begin(), rollen.end()});
        if (!abfrage) return std::nullopt;
    }
    auto a = adresse(wurzel, frist);
    if (!a) return std::nullopt;
    const uint rueckwaerts = 4;  // reverse canonical order
    // No count: ATK's bridge counts from the start of the document, then reverses.
    auto anfrage = [&](bool zweite) {
        auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iCollection, QStringLiteral("GetMatches"));
        m << QVariant::fromValue(regel(abfrage ? &*abfrage : nullptr, zweite)) << rueckwaerts << int(0) << true;
        return m;
    };
    std::vector<QDBusMessage> anfragen{anfrage(false)};
    if (abfrage && abfrage->nichtEditierbareAuch) anfragen.push_back(anfrage(true));
    auto antwort = sende(anfragen, frist);
    for (const QDBusMessage& m : antwort) {
        if (!istAntwort(m)) return std::nullopt;
    }
    // Read-only entries are text inputs too, and the first query left them out.
    if (antwort.size() > 1 && !referenzListe(antwort[1].arguments().front()).empty()) return std::nullopt;
    std::vector<Element> ergebnis;
    for (const Adresse& k : referenzListe(antwort[0].arguments().front())) {
        if (hoechstens > 0 && ergebnis.size() >= hoechstens) break;
        ergebnis.push_back(k.bus == a->bus ? objekt(wurzel.pid, k) : elementFuer(k, 0, frist));
    }
    return ergebnis;
}

bool AtspiZugaenglichkeit::kandidatenGenau(const Element& wurzel, const std::vector<std::string>& rollen) {
    if (wurzel.art != Element::Art::objekt || rollen.empty()) return false;
    auto abfrage = abfrageFuer({rollen.begin(), rollen.end()});
    return abfrage && abfrage->genau;
}

std::optional<std::size_t> AtspiZugaenglichkeit::elementeNach(const Element& wurzel, const Element& ziel,
                                                              std::size_t hoechstens, double frist) {
    auto w = adresse(wurzel, frist);
    auto z = adresse(ziel, frist);
    if (!w || !z || w->bus != z->bus) return std::nullopt;
    // ATK's bridge walks backwards slowly (each step asks for the index in the parent)
    // and appends to a linked list (a long answer costs it quadratic time): count
    // forwards, from the child of the root that holds `ziel`, at most this many.
    constexpr std::size_t obergrenze = 8192;
    const int anzahl = static_cast<int>(std::min(hoechstens, obergrenze));
    if (anzahl == 0) return 0;
    Adresse oben = *z;
    for (int tiefe = 0; !(oben.pfad == w->pfad); ++tiefe) {
        if (tiefe > 4096) return std::nullopt;
        auto m = QDBusMessage::createMethodCall(oben.bus, oben.pfad, eigenschaften, QStringLiteral("Get"));
        m << iAccessible << QStringLiteral("Parent");
        auto antwort = sende({m}, frist);
        if (!istAntwort(antwort[0])) return std::nullopt;
        auto eltern = referenzAus(antwort[0].arguments().front().value<QDBusVariant>().variant());
        if (!eltern || eltern->bus != w->bus || eltern->pfad == wurzelPfad) return std::nullopt;  // not below it
        if (eltern->pfad == w->pfad) break;
        oben = *eltern;
    }
    QDBusMessage m;
    const uint dokumentOrdnung = 1;
    if (oben.pfad == w->pfad) {
        // The root itself: everything below it.
        m = QDBusMessage::createMethodCall(w->bus, w->pfad, iCollection, QStringLiteral("GetMatches"));
        m << QVariant::fromValue(regel(nullptr)) << dokumentOrdnung << anzahl << true;
    } else {
        // The descendants of that child and the trees of its later siblings: all of the
        // elements after `ziel` and perhaps some before it.
        const uint geschwister = 1;  // TREE_RESTRICT_SIBLING
        m = QDBusMessage::createMethodCall(w->bus, w->pfad, iCollection, QStringLiteral("GetMatchesFrom"));
        m << QVariant::fromValue(QDBusObjectPath(oben.pfad)) << QVariant::fromValue(regel(nullptr)) << dokumentOrdnung
          << geschwister << anzahl << true;
    }
    auto antwort = sende({m}, frist);
    if (!istAntwort(antwort[0])) return std::nullopt;
    const QDBusArgument arg = alsArgument(antwort[0].arguments().front());
    std::size_t gezaehlt = 0;
    arg.beginArray();
    while (!arg.atEnd()) {
        QString bus;
        QDBusObjectPath pfad;
        arg.beginStructure();
        arg >> bus >> pfad;
        arg.endStructure();
        ++gezaehlt;
    }
    arg.endArray();
    if (gezaehlt >= static_cast<std::size_t>(anzahl)) {
        return static_cast<std::size_t>(anzahl) == hoechstens ? std::optional<std::size_t>(hoechstens) : std::nullopt;
    }
    return gezaehlt;
}

Marke AtspiZugaenglichkeit::beobachte(int, const Element&, const std::vector<std::string>&, Meldung) { return {}; }

}  // namespace klebwerk::x11
