#include "platform/atspi/atspi_zugaenglichkeit.h"

#include <QDBusArgument>

#include "platform/atspi/atspi_fensterelement.h"
#include "platform/atspi/atspi_status.h"

namespace klebwerk::atspi {
namespace {

Element objekt(int pid, const Adresse& a) {
    return Element{Element::Art::objekt, pid, a.bus.toStdString(), a.pfad.toStdString()};
}

}  // namespace

AtspiZugaenglichkeit::AtspiZugaenglichkeit(DesktopFenster& desktop, Arbeitsplatz& arbeitsplatz, Laufschleife& schleife)
    : desktop_(desktop), arbeitsplatz_(arbeitsplatz), schleife_(schleife) {}

bool AtspiZugaenglichkeit::vertraut(bool nachfragen) {
    auto an = zugaenglichkeitAn();
    if (!an) return false;
    if (*an || !nachfragen) return *an;
    schalteZugaenglichkeitEin();
    return zugaenglichkeitAn().value_or(false);
}

Element AtspiZugaenglichkeit::anwendung(int pid) { return Element{Element::Art::anwendung, pid, "", ""}; }
Element AtspiZugaenglichkeit::systemweit() { return Element{Element::Art::systemweit, 0, "", ""}; }

unsigned AtspiZugaenglichkeit::fuerBus(const QString& bus, unsigned roh, double frist) {
    if (!(roh & rohEigenschaften)) return roh;
    auto w = bus_.werkzeug(bus, frist);
    if (!w) return roh;  // unknown: the safe form
    // Qt's bridge fails on GetAll; ATK's bridge (Chromium, GTK, Firefox) answers it.
    const bool aufEinmal = !w->name.isEmpty() && !w->name.startsWith(QLatin1String("Qt"), Qt::CaseInsensitive);
    return aufEinmal ? (roh & ~unsigned(rohEigenschaften)) | rohEigenschaftenAufEinmal : roh;
}

AtspiZugaenglichkeit::AnwendungAufBus AtspiZugaenglichkeit::anwendungAufBus(int pid, double frist) {
    if (pid == bus_.eigenePid() || pid <= 0) return {true, std::nullopt};
    if (auto bus = bus_.busFuerPid(pid, frist)) return {true, bus};
    // Told apart from a registry that did not answer: then nothing is certain.
    auto anfrage = QDBusMessage::createMethodCall(registerDienst, wurzelPfad, iAccessible, QStringLiteral("GetChildren"));
    return {istAntwort(bus_.sende({anfrage}, frist)[0]), std::nullopt};
}

std::optional<Adresse> AtspiZugaenglichkeit::adresse(const Element& e, double frist) {
    if (e.art == Element::Art::anwendung) {
        auto bus = bus_.busFuerPid(e.pid, frist);
        if (!bus) return std::nullopt;
        return Adresse{*bus, wurzelPfad};
    }
    if (e.art != Element::Art::objekt || e.pid == bus_.eigenePid() || e.bus.empty()) return std::nullopt;
    return Adresse{QString::fromStdString(e.bus), QString::fromStdString(e.pfad)};
}

Element AtspiZugaenglichkeit::elementFuer(const Adresse& a, int pidHinweis, double frist) {
    int pid = bus_.bekanntePid(a.bus);
    if (pid == 0) pid = pidHinweis;
    if (pid == 0) pid = bus_.pidFuerBus(a.bus, frist);
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

bool AtspiZugaenglichkeit::istObersteEbene(const Rohdaten& r, const Adresse& a) const {
    return r.eltern && r.eltern->pfad == wurzelPfad && r.eltern->bus == a.bus && a.pfad != wurzelPfad;
}

bool AtspiZugaenglichkeit::verborgen(const Rohdaten& r, const Adresse& a) const {
    // Only where both the states and the parent were read: a top-level window is never
    // hidden by its states.
    const unsigned beide = rohZustand | rohEigenschaften;
    return (r.vorhanden & beide) == beide && istVerborgen(r.zustand, istObersteEbene(r, a));
}

std::optional<std::int64_t> AtspiZugaenglichkeit::paare(const Element& fenster, const Adresse& a, const Rohdaten& r,
                                                        double frist) {
    ZugaenglichesFenster z{fenster.pid, r.name.toStdString(), std::nullopt};
    auto w = bus_.werkzeug(a.bus, frist);
    if (w && meldetBildschirmlage(w->name, w->version)) z.lage = r.ausmass;
    return paare_.paare(a, z);
}

std::optional<Element> AtspiZugaenglichkeit::fokussiertes(const Element& app, double frist) {
    auto a = adresse(app, frist);
    if (!a) return std::nullopt;
    auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iCollection, QStringLiteral("GetMatches"));
    m << QVariant::fromValue(fokusRegel()) << uint(1) << int(1) << true;
    auto antwort = bus_.sende({m}, frist);
    if (istAntwort(antwort[0])) {
        auto liste = referenzListe(antwort[0].arguments().front());
        if (liste.empty()) return std::nullopt;
        return elementFuer(liste.front(), app.pid, frist);
    }
    // No Collection: a bounded walk for the focused state, from the application.
    std::vector<Adresse> stapel{*a};
    for (int n = 0; n < 2000 && !stapel.empty(); ++n) {
        Adresse e = stapel.back();
        stapel.pop_back();
        Rohdaten d = auswerten(bus_.sende(anfragenFuer(e, rohZustand | rohKinder), frist), rohZustand | rohKinder);
        if (!d.gueltig) continue;
        if (e.pfad != wurzelPfad && d.zustand.hat(zustandFokussiert)) return elementFuer(e, app.pid, frist);
        if (d.kinder) stapel.insert(stapel.end(), d.kinder->rbegin(), d.kinder->rend());
    }
    return std::nullopt;
}

std::optional<Element> AtspiZugaenglichkeit::aktivesFenster(const Element& app, double frist) {
    const std::int64_t aktiv = desktop_.aktives();
    auto fakten = aktiv ? desktop_.fenster(aktiv) : std::nullopt;
    if (!fakten || fakten->pid != app.pid) return std::nullopt;
    auto paar = paare_.zugaenglichesVon(aktiv);
    if (!paar && paarungVersucht_.exchange(aktiv) != aktiv) {
        fensterVon(app, frist);
        paar = paare_.zugaenglichesVon(aktiv);
    }
    if (paar) return objekt(app.pid, *paar);
    if (fakten->normal) return nurFenster(app.pid, aktiv);
    return std::nullopt;
}

std::optional<FensterFakten> AtspiZugaenglichkeit::desktopFakten(const Adresse& a) {
    std::int64_t nummer = 0;
    if (paare_.stand(a, &nummer) != Fensterpaare::Stand::lebt) return std::nullopt;
    return desktop_.fenster(nummer);
}

std::optional<WertListe> AtspiZugaenglichkeit::fensterVon(const Element& app, double frist) {
    auto aufBus = anwendungAufBus(app.pid, frist);
    if (!aufBus.gewiss) return std::nullopt;
    WertListe liste;
    if (aufBus.bus) {
        const Adresse wurzel{*aufBus.bus, wurzelPfad};
        Rohdaten r = auswerten(bus_.sende(anfragenFuer(wurzel, rohKinder), frist), rohKinder);
        if (!r.kinder) return std::nullopt;
        // Paired first, so that the desktop windows without a counterpart are known.
        std::vector<Element> oben;
        for (const Adresse& k : *r.kinder) oben.push_back(objekt(app.pid, k));
        for (const Element& f : oben) {
            nummerVon(f, frist);
            liste.push_back(f);
        }
    }
    const std::set<std::int64_t> gepaart = paare_.gepaarte();
    for (const FensterFakten& f : desktop_.kandidaten()) {
        if (f.pid == app.pid && f.normal && !gepaart.count(f.nummer)) liste.push_back(nurFenster(app.pid, f.nummer));
    }
    return liste;
}

Wert AtspiZugaenglichkeit::anwendungsWert(const Element& app, const std::string& attribut, double frist) {
    if (app.pid == bus_.eigenePid() || app.pid <= 0) return {};
    if (attribut == "AXFrontmost") {
        auto vorn = arbeitsplatz_.vorderste();
        return vorn && vorn->pid == app.pid;
    }
    if (attribut == "AXChildren" || attribut == "AXWindows") {
        auto fenster = fensterVon(app, frist);
        return fenster ? Wert(*fenster) : Wert();
    }
    if (attribut == "AXFocusedWindow") {
        if (auto f = aktivesFenster(app, frist)) return *f;
    }
    auto a = adresse(app, frist);
    if (!a) {
        // Without an application on the bus it is the process of desktop windows.
        if (attribut != "AXRole") return {};
        for (const FensterFakten& f : desktop_.kandidaten()) {
            if (f.pid == app.pid) return "AXApplication";
        }
        return {};
    }
    if (attribut == "AXFocusedUIElement") {
        auto e = fokussiertes(app, frist);
        return e ? Wert(*e) : Wert();
    }
    Rohdaten r = auswerten(bus_.sende(anfragenFuer(*a, rohKinder | rohEigenschaften), frist), rohKinder | rohEigenschaften);
    if (attribut == "AXRole") return r.gueltig ? Wert("AXApplication") : Wert();
    if (attribut == "AXTitle") return (r.vorhanden & rohEigenschaften) ? Wert(r.name.toStdString()) : Wert();
    if (attribut == "AXFocusedWindow" && r.kinder) {
        std::vector<QDBusMessage> anfragen;
        for (const Adresse& k : *r.kinder) {
            anfragen.push_back(QDBusMessage::createMethodCall(k.bus, k.pfad, iAccessible, QStringLiteral("GetState")));
        }
        auto zustaende = bus_.sende(anfragen, frist);
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
        // A window whose desktop window has gone is gone too.
        if (oben && paare_.stand(a) == Fensterpaare::Stand::weg) return {};
        return *rolle;
    }
    if (attribut == "AXSubrole") {
        if (!oben || r.rolle == 0 || r.zustand.hat(zustandDefunkt)) return {};
        if (atspiRollenName(r.rolle) == "dialog") return "AXDialog";
        return {};  // completed by the pairing in liesMehrereVon
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
    auto antworten = bus_.sende(anfragen, frist);
    for (size_t i = 0; i < elemente.size(); ++i) {
        const Element& e = elemente[i];
        if (nurFensterNummer(e)) {
            for (size_t j = 0; j < attribute.size(); ++j) ergebnis[i][j] = nurFensterWert(desktop_, e, attribute[j]);
            continue;
        }
        if (e.art == Element::Art::anwendung || e.art == Element::Art::systemweit) {
            for (size_t j = 0; j < attribute.size(); ++j) ergebnis[i][j] = lies(e, attribute[j], frist);
            continue;
        }
        if (!adressen[i]) continue;
        std::vector<QDBusMessage> eigene(antworten.begin() + anfang[i], antworten.begin() + ende[i]);
        Rohdaten r = auswerten(eigene, rohVon[i]);
        if (!r.gueltig) continue;
        if ((r.vorhanden & rohZustand) && r.zustand.hat(zustandDefunkt)) continue;
        if (verborgen(r, *adressen[i])) continue;
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
                    d = auswerten(bus_.sende(anfragenFuer(jetzt, rohEigenschaften), frist), rohEigenschaften);
                    if (!d.gueltig) break;
                }
                continue;
            }
            ergebnis[i][j] = ableiten(e, *adressen[i], r, name, frist);
            if (name == "AXSubrole" && ergebnis[i][j].fehlt() && istObersteEbene(r, *adressen[i])) {
                if (auto nr = paare(e, *adressen[i], r, frist)) {
                    auto f = desktop_.fenster(*nr);
                    if (f && f->normal) ergebnis[i][j] = "AXStandardWindow";
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
            if (vorn && vorn->pid != bus_.eigenePid()) return anwendung(vorn->pid);
        }
        return {};
    }
    if (e.art == Element::Art::anwendung) return anwendungsWert(e, attribut, frist);
    if (nurFensterNummer(e)) return nurFensterWert(desktop_, e, attribut);
    if (attribut == "AXTitle" || attribut == "AXSubrole") {
        // A paired window's title is its desktop window's, current without a request
        // (AT-SPI sends no name change for a Qt window's title); so is being a standard
        // window: the window manager's normal top-level windows are.
        if (auto a = adresse(e, frist)) {
            if (auto f = desktopFakten(*a)) {
                if (attribut == "AXTitle") return f->titel;
                if (f->normal) return "AXStandardWindow";
            }
        }
    }
    return liesMehrereVon({e}, {attribut}, frist).front().front();
}

std::vector<std::string> AtspiZugaenglichkeit::attributNamen(const Element& e, double frist) {
    if (nurFensterNummer(e)) {
        return lies(e, "AXRole", frist).fehlt() ? std::vector<std::string>{} : nurFensterAttribute();
    }
    if (e.art == Element::Art::anwendung) {
        if (lies(e, "AXRole", frist).fehlt()) return {};
        return attributeFuer("AXApplication", true, false);
    }
    auto a = adresse(e, frist);
    if (!a) return {};
    const unsigned roh = rohRolle | rohZustand | rohEigenschaften;
    Rohdaten r = auswerten(bus_.sende(anfragenFuer(*a, roh), frist), roh);
    auto rolle = axRolle(r.rolle, r.zustand, istObersteEbene(r, *a));
    if (!r.gueltig || !rolle || verborgen(r, *a)) return {};
    return attributeFuer(*rolle, false, istObersteEbene(r, *a));
}

bool AtspiZugaenglichkeit::schreibe(const Element& e, const std::string& attribut, const Wert& wert, double frist) {
    const bool* an = wert.als<bool>();
    if (e.art == Element::Art::anwendung) {
        if (attribut == "AXFrontmost" && an && *an && e.pid != bus_.eigenePid()) return arbeitsplatz_.aktiviere(e.pid, false);
        if (attribut == "AXManualAccessibility" && an && *an && e.pid != bus_.eigenePid()) return schalteSeitenEin(e, frist);
        return false;
    }
    if (attribut == "AXMain" && an && *an) return fuehreAus(e, "AXRaise", frist);
    auto a = adresse(e, frist);
    if (!a) return false;
    if (attribut == "AXFocused" && an && *an) {
        auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iComponent, QStringLiteral("GrabFocus"));
        auto antwort = bus_.sende({m}, frist);
        return istAntwort(antwort[0]) && antwort[0].arguments().front().toBool();
    }
    if (attribut == "AXValue") {
        if (const std::string* text = wert.als<std::string>()) {
            auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iEditable, QStringLiteral("SetTextContents"));
            m << QString::fromStdString(*text);
            auto antwort = bus_.sende({m}, frist);
            return istAntwort(antwort[0]) && antwort[0].arguments().front().toBool();
        }
    }
    return false;
}

// Chromium builds the accessible tree of its pages only for a client that asks more than
// names and roles: one request for the application's attributes is enough, and it holds
// for the life of the browser process (a later window shows its page too). Other
// toolkits answer it like any other request. Once per application bus.
bool AtspiZugaenglichkeit::schalteSeitenEin(const Element& app, double frist) {
    auto a = adresse(app, frist);
    if (!a) return false;
    {
        std::lock_guard lock(seitenSperre_);
        if (seitenAn_.count(a->bus)) return true;
    }
    auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iAccessible, QStringLiteral("GetAttributes"));
    auto antwort = bus_.sende({m}, frist);
    if (!istAntwort(antwort[0])) return false;
    std::lock_guard lock(seitenSperre_);
    seitenAn_.insert(a->bus);
    return true;
}

bool AtspiZugaenglichkeit::fuehreAus(const Element& e, const std::string& aktion, double frist) {
    if (aktion == "AXRaise") {
        // Windows are raised by the window manager, accessible or not.
        auto nr = fensterNummer(e);
        return nr != 0 && desktop_.hebe(nr);
    }
    auto a = adresse(e, frist);
    if (!a || e.art != Element::Art::objekt) return false;
    auto m = QDBusMessage::createMethodCall(a->bus, a->pfad, iAction, QStringLiteral("GetActions"));
    auto antwort = bus_.sende({m}, frist);
    if (!istAntwort(antwort[0])) return false;
    std::vector<QString> namen;
    QVariant v = antwort[0].arguments().front();
    if (v.canConvert<QDBusArgument>()) {
        const QDBusArgument arg = v.value<QDBusArgument>();
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
            auto ergebnis = bus_.sende({tu}, frist);
            return istAntwort(ergebnis[0]) && ergebnis[0].arguments().front().toBool();
        }
    }
    return false;
}

std::int64_t AtspiZugaenglichkeit::fensterNummer(const Element& fenster) { return nummerVon(fenster, standardFrist()); }

std::int64_t AtspiZugaenglichkeit::nummerVon(const Element& fenster, double frist) {
    if (auto nr = nurFensterNummer(fenster)) return desktop_.fenster(*nr) ? *nr : 0;
    if (fenster.art != Element::Art::objekt) return 0;
    auto a = adresse(fenster, frist);
    if (!a) return 0;
    std::int64_t nr = 0;
    switch (paare_.stand(*a, &nr)) {
        case Fensterpaare::Stand::lebt: return nr;
        case Fensterpaare::Stand::weg: return 0;
        case Fensterpaare::Stand::keins: break;
    }
    const unsigned roh = rohEigenschaften | rohAusmass | rohZustand;
    Rohdaten r = auswerten(bus_.sende(anfragenFuer(*a, roh), frist), roh);
    if (!r.gueltig || !istObersteEbene(r, *a) || r.zustand.hat(zustandDefunkt)) return 0;
    return paare(fenster, *a, r, frist).value_or(0);
}

}  // namespace klebwerk::atspi
