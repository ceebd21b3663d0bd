#include "panel/bedienfeld.h"

#include <string_view>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

#include "app/sprache.h"
#include "app/steuerung.h"
#include "panel/farben.h"
#include "panel/feld_inhalt.h"
#include "panel/feld_panel.h"
#include "panel/feld_platz.h"
#include "panel/feld_rahmen.h"
#include "panel/kappen_knopf.h"
#include "panel/pillen_knopf.h"
#include "panel/punkt_ansicht.h"
#include "panel/schalter.h"
#include "panel/status_punkt.h"
#include "panel/symbol_knopf.h"
#include "panel/symbole.h"
#include "panel/ziel_beschriftung.h"

namespace klebwerk {

namespace {

constexpr int feldBreite = 270;
constexpr int rand = 16;
constexpr int zeilenBreite = feldBreite - 2 * rand;
const std::string rahmenName = "Bedienfeld";

QString q(const std::string& text) { return QString::fromStdString(text); }

QFont schrift(const QFont& basis, int groesse, QFont::Weight gewicht) {
    QFont f = basis;
    f.setPixelSize(groesse);
    f.setWeight(gewicht);
    return f;
}

void setzeFarbe(QWidget* w, const QColor& farbe) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    p.setColor(QPalette::ButtonText, farbe);
    w->setPalette(p);
}

QLabel* beschriftung(const QString& text, int groesse, QFont::Weight gewicht, const QColor& farbe) {
    auto* l = new QLabel(text);
    l->setFont(schrift(l->font(), groesse, gewicht));
    setzeFarbe(l, farbe);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// A row: the left views, a flexible gap, then the right view, centred vertically.
QWidget* baueZeile(std::initializer_list<QWidget*> links, QWidget* rechts, int abstand = 8) {
    auto* zeile = new QWidget;
    zeile->setFixedWidth(zeilenBreite);
    auto* reihe = new QHBoxLayout(zeile);
    reihe->setContentsMargins(0, 0, 0, 0);
    reihe->setSpacing(abstand);
    for (QWidget* w : links) reihe->addWidget(w, 0, Qt::AlignVCenter);
    reihe->addStretch(1);
    if (rechts) reihe->addWidget(rechts, 0, Qt::AlignVCenter);
    return zeile;
}

SymbolKnopf* kopfKnopf(Symbol art, double punkte, bool fett) {
    auto* k = new SymbolKnopf(QSize(26, 24));
    k->setIconSize(QSize(static_cast<int>(punkte) + 2, static_cast<int>(punkte) + 2));
    k->setIcon(symbol(art, punkte, fett, weiss(0.45)));
    return k;
}

void setzeVersteckt(QWidget* w, bool versteckt) {
    if (w->isHidden() != versteckt) w->setHidden(versteckt);
}

void setzeTipp(QWidget* w, const QString& text) {
    if (w->toolTip() != text) w->setToolTip(text);
}

// A switch row's key, label and what a toggle does with the switch's new state.
struct SchalterArt {
    const char* schluessel;
    const char* de;
    const char* en;
    bool (*zeigt)(const Steuerung&);
    void (*umschalten)(Steuerung&, bool an);
};

const SchalterArt schalterArten[] = {
    {"aktiv", "Aktiv", "Active", [](const Steuerung& s) { return !s.pausiert(); },
     [](Steuerung& s, bool an) {
         s.ud.setzeWahr("pausiert", !an);
         s.aktualisiereLeiste();
     }},
    {"aufnahmen", "Bildschirmaufnahmen", "Screen recordings", [](const Steuerung& s) { return s.aufnahmen(); },
     [](Steuerung& s, bool) {
         s.ud.setzeWahr("aufnahmen", !s.aufnahmen());
         s.schreibeStatus();
     }},
    {"papierkorb", "Danach in den Papierkorb", "Move to Trash afterwards",
     [](const Steuerung& s) { return s.papierkorb(); },
     [](Steuerung& s, bool) {
         s.ud.setzeWahr("papierkorb", !s.papierkorb());
         s.schreibeStatus();
     }},
    {"absenden", "Sofort senden", "Send immediately", [](const Steuerung& s) { return s.absenden(); },
     [](Steuerung& s, bool) { s.schalteAbsenden(); }},
    {"diktat", "Diktat starten", "Start dictation", [](const Steuerung& s) { return s.diktat(); },
     [](Steuerung& s, bool) { s.schalteDiktat(); }},
    {"diktatSenden", "Nach Diktat senden", "Send after dictation", [](const Steuerung& s) { return s.diktatSenden(); },
     [](Steuerung& s, bool) {
         s.ud.setzeWahr("diktatSenden", !s.diktatSenden());
         s.schreibeStatus();
     }},
};

}  // namespace

struct Bedienfeld::Teile {
    StatusPunkt* statusPunkt = nullptr;
    ZielBeschriftung* zielText = nullptr;
    SymbolKnopf* ton = nullptr;
    SymbolKnopf* pfeil = nullptr;
    SymbolKnopf* kuerzelPfeil = nullptr;
    // Each row with the space below it: a hidden row takes its space with it.
    struct Abstand {
        QWidget* zeile;
        QSpacerItem* luecke;
        int hoehe;
    };
    std::vector<Abstand> abstaende;
    // What the refresh applied last; none before the first one.
    std::optional<bool> tonAn;
    std::optional<bool> kuerzelOffen;
    std::optional<bool> listeOffen;
    std::optional<std::string> kopfName;
    std::string kopfZusatz;
    struct SchalterZeile {
        const SchalterArt* art;
        QWidget* zeile;
        Schalter* schalter;
    };
    std::vector<SchalterZeile> schalter;
};

Bedienfeld::Bedienfeld(Steuerung& steuerung) : s(steuerung), teile_(std::make_unique<Teile>()) {
    Teile& t = *teile_;

    // The point the panel shrinks to.
    punktFenster = std::make_unique<FeldPanel>(s.plattform, q(L("Klebwerk Punkt", "Klebwerk dot")), false);
    punktFenster->resize(44, 44);
    punktAnsicht = new PunktAnsicht(s.schleife, punktFenster.get());

    // The panel window and its rounded content.
    panel = std::make_unique<FeldPanel>(s.plattform, q(L("Klebwerk Bedienfeld", "Klebwerk panel")), true);
    panel->umriss = [](QSize g) {
        QPainterPath p;
        p.addRoundedRect(QRectF(0, 0, g.width(), g.height()), 16, 16);
        return p;
    };
    inhalt = new FeldInhalt(panel.get());
    auto* fuellt = new QVBoxLayout(panel.get());
    fuellt->setContentsMargins(0, 0, 0, 0);
    fuellt->setSizeConstraint(QLayout::SetNoConstraint);
    fuellt->addWidget(inhalt);
    stapel = new QVBoxLayout(inhalt);
    stapel->setContentsMargins(rand, 14, rand, 16);
    stapel->setSpacing(0);

    auto fuegeAn = [&](QWidget* zeile, int danach) {
        stapel->addWidget(zeile, 0, Qt::AlignLeft);
        if (danach > 0) {
            auto* luecke = new QSpacerItem(0, danach, QSizePolicy::Fixed, QSizePolicy::Fixed);
            stapel->addSpacerItem(luecke);
            t.abstaende.push_back({zeile, luecke, danach});
        }
    };
    auto trenner = [&](int danach) { fuegeAn(new Trennlinie(zeilenBreite), danach); };

    // Header: status dot, title; sound, shrink and close buttons.
    t.statusPunkt = new StatusPunkt;
    punkt = t.statusPunkt;
    auto* titel = beschriftung(QStringLiteral("Klebwerk"), 13, QFont::DemiBold, weiss(0.92));
    t.ton = kopfKnopf(Symbol::lautsprecherAn, 11, true);
    tonKnopf = t.ton;
    auto* kleiner = kopfKnopf(Symbol::minus, 12, true);
    kleiner->setAccessibleName(q(L("Auf Punkt verkleinern", "Shrink to dot")));
    kleiner->setToolTip(q(L("Auf einen Punkt verkleinern", "Shrink to a dot")));
    auto* zu = kopfKnopf(Symbol::kreuz, 10, true);
    zu->setAccessibleName(q(L("Bedienfeld ausblenden", "Hide panel")));
    auto* knoepfe = new QWidget;
    auto* knopfReihe = new QHBoxLayout(knoepfe);
    knopfReihe->setContentsMargins(0, 0, 0, 0);
    knopfReihe->setSpacing(2);
    for (QWidget* k : {static_cast<QWidget*>(tonKnopf), static_cast<QWidget*>(kleiner), static_cast<QWidget*>(zu)})
        knopfReihe->addWidget(k);
    fuegeAn(baueZeile({punkt, titel}, knoepfe), 14);

    // The target: list arrow, target text, choose button.
    t.pfeil = new SymbolKnopf(QSize(14, 16));
    t.pfeil->setIconSize(QSize(12, 12));
    pfeil = t.pfeil;
    t.zielText = new ZielBeschriftung;
    t.zielText->setFont(schrift(t.zielText->font(), 12, QFont::Medium));
    setzeFarbe(t.zielText, weiss(0.75));
    zielText = t.zielText;
    auto* waehlenKnopf = new PillenKnopf(q(L("Wählen", "Choose")));
    waehlenKnopf->setAccessibleName(q(L("Fenster verbinden", "Connect window")));
    fuegeAn(baueZeile({pfeil, zielText}, waehlenKnopf, 4), 6);

    // The target list (its rows come with the list).
    listenFlaeche = new QWidget;
    listenFlaeche->setFixedWidth(zeilenBreite);
    liste = new QVBoxLayout(listenFlaeche);
    liste->setContentsMargins(0, 0, 0, 0);
    liste->setSpacing(2);
    liste->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    listenFlaeche->setHidden(!listeOffen());
    fuegeAn(listenFlaeche, 14);

    // Separator.
    trenner(12);

    // The switches.
    for (const SchalterArt& art : schalterArten) {
        auto* sch = new Schalter;
        sch->titel = q(L(art.de, art.en));
        sch->spiele = [this](KlangArt k) { s.spiele(k, false); };
        std::weak_ptr<int> lebt = leben_;
        const SchalterArt* a = &art;
        sch->umgeschaltet = [this, lebt, a, sch] {
            if (lebt.expired()) return;
            a->umschalten(s, sch->an());
            if (!lebt.expired()) aktualisiere();
        };
        auto* zeile = baueZeile({beschriftung(sch->titel, 13, QFont::Normal, weiss(0.85))}, sch);
        const bool letzte = &art == &schalterArten[std::size(schalterArten) - 1];
        fuegeAn(zeile, letzte ? 14 : 10);
        zeilen[art.schluessel] = {zeile, sch};
        t.schalter.push_back({a, zeile, sch});
    }

    // Separator; the shortcut section's title.
    trenner(10);
    t.kuerzelPfeil = new SymbolKnopf(QSize());
    t.kuerzelPfeil->setIconSize(QSize(9, 9));
    t.kuerzelPfeil->setFont(schrift(t.kuerzelPfeil->font(), 10, QFont::DemiBold));
    t.kuerzelPfeil->setText(q(L(" KÜRZEL", " SHORTCUTS")));
    t.kuerzelPfeil->setzeSchriftfarbe(weiss(0.35));
    kuerzelPfeil = t.kuerzelPfeil;
    fuegeAn(kuerzelPfeil, 8);

    // The shortcut caps: two of the system's, then the program's own.
    struct KappenZeile {
        int tag;
        std::string titel;
    };
    const KappenZeile kappenZeilen[] = {{30, "Screenshot"},
                                        {184, L("Bildschirmaufnahme", "Screen recording")},
                                        {2, kuerzelTitel(KuerzelArt::diktat)},
                                        {3, kuerzelTitel(KuerzelArt::senden)}};
    for (const KappenZeile& kz : kappenZeilen) {
        auto* kappe = new KappenKnopf;
        kappe->tag = kz.tag;
        const bool system = kz.tag >= 30;
        kappe->setAccessibleName(q((system ? L("macOS-Kürzel ändern: ", "Change macOS shortcut: ")
                                           : L("Kürzel festlegen: ", "Set shortcut: ")) +
                                   kz.titel));
        if (system) {
            systemKappen.emplace_back(kz.tag, kappe);
            QObject::connect(kappe, &QPushButton::clicked, panel.get(), [this, kappe] { systemKappeGedrueckt(kappe); });
        } else {
            kappen[kz.tag == 2 ? KuerzelArt::diktat : KuerzelArt::senden] = kappe;
            QObject::connect(kappe, &QPushButton::clicked, panel.get(), [this, kappe] { kappeGedrueckt(kappe); });
        }
        auto* zeile = baueZeile({beschriftung(q(kz.titel), 13, QFont::Normal, weiss(0.85))}, kappe);
        fuegeAn(zeile, kz.tag == 3 ? 14 : 10);
        kuerzelZeilen.push_back(zeile);
    }

    // Separator; the language.
    trenner(10);
    sprachKappe = new KappenKnopf;
    sprachKappe->setze(q(L("Deutsch", "English")), false, false);
    sprachKappe->setAccessibleName(
        q(L("Sprache: Deutsch – auf Englisch umstellen", "Language: English – switch to German")));
    sprachKappe->setToolTip(
        q(L("Auf Englisch umstellen (App startet kurz neu)", "Switch to German (app restarts briefly)")));
    fuegeAn(baueZeile({beschriftung(q(L("Sprache", "Language")), 13, QFont::Normal, weiss(0.85))}, sprachKappe), 0);

    // The buttons' actions.
    QObject* ctx = panel.get();
    QObject::connect(t.ton, &QPushButton::clicked, ctx, [this] { schalteTon(); });
    QObject::connect(kleiner, &QPushButton::clicked, ctx, [this] { minimieren(); });
    QObject::connect(zu, &QPushButton::clicked, ctx, [this] { schliessen(); });
    QObject::connect(t.pfeil, &QPushButton::clicked, ctx, [this] { klappen(); });
    QObject::connect(waehlenKnopf, &QPushButton::clicked, ctx, [this] { waehlen(); });
    QObject::connect(t.kuerzelPfeil, &QPushButton::clicked, ctx, [this] { kuerzelKlappen(); });
    QObject::connect(sprachKappe, &QPushButton::clicked, ctx, [this] { spracheWechseln(); });

    // Where it stands: the stored frame, else the default place; stored again when the
    // user's drag ends.
    const Rechteck platz = feldPlatz(gespeicherterRahmen(s.ud, rahmenName), s.plattform.bildschirme.alle(),
                                     feldBreite, 300);
    panel->setzeRahmen(platz);
    inhalt->resize(panel->size());
    panel->verschoben = [this] { speichereRahmen(s.ud, rahmenName, panel->rahmen()); };

    aktualisiere();
}

Bedienfeld::~Bedienfeld() = default;

void Bedienfeld::aktualisiere() {
    Teile& t = *teile_;

    // The status colour: header dot and point.
    const std::optional<QColor> farbe = statusFarbe();
    t.statusPunkt->setze(farbe);
    punktAnsicht->setze(farbe);
    if (!punktAnsicht->antippen) {
        std::weak_ptr<int> lebt = leben_;
        punktAnsicht->antippen = [this, lebt] {
            if (!lebt.expired()) wiederherstellen();
        };
        punktAnsicht->doppelt = [this, lebt] {
            if (!lebt.expired()) punktDoppelklick();
        };
    }

    // The sound button.
    const bool tonAn = s.klang.an();
    if (t.tonAn != tonAn) {
        t.tonAn = tonAn;
        t.ton->setIcon(symbol(tonAn ? Symbol::lautsprecherAn : Symbol::lautsprecherAus, 11, true, weiss(0.45)));
        t.ton->setAccessibleName(q(tonAn ? L("Töne ausschalten", "Turn sounds off") : L("Töne einschalten", "Turn sounds on")));
        t.ton->setToolTip(q(tonAn ? L("Töne aus", "Sounds off") : L("Töne an", "Sounds on")));
    }

    // The shortcut section, open or closed.
    const bool kOffen = kuerzelOffen();
    if (t.kuerzelOffen != kOffen) {
        t.kuerzelOffen = kOffen;
        t.kuerzelPfeil->setIcon(symbol(kOffen ? Symbol::pfeilRunter : Symbol::pfeilRechts, 8, true, weiss(0.35)));
        t.kuerzelPfeil->setAccessibleName(
            q(kOffen ? L("Kürzel einklappen", "Collapse shortcuts") : L("Kürzel aufklappen", "Expand shortcuts")));
    }
    for (QWidget* z : kuerzelZeilen) setzeVersteckt(z, !kOffen);

    // The header's target text.
    if (s.ziel) {
        std::string name = s.name(s.ziel);
        std::string zusatz;
        if (s.verbunden.size() > 1)
            zusatz = "  · " + std::to_string(s.verbunden.size()) + L(" Fenster", " windows");
        if (t.kopfName != name || t.kopfZusatz != zusatz) {
            t.zielText->setzeZiel(q(name), q(zusatz));
            t.kopfName = std::move(name);
            t.kopfZusatz = std::move(zusatz);
        }
        setzeTipp(zielText, q(s.ziel->anzeige()));
    } else if (t.kopfName || t.zielText->text().isEmpty()) {
        t.kopfName.reset();
        t.kopfZusatz.clear();
        t.zielText->setzeSchlicht(q(L("Kein Zielfenster", "No target window")));
        setzeTipp(zielText, {});
    }

    // The list's arrow; the list itself.
    const bool lOffen = listeOffen();
    if (t.listeOffen != lOffen) {
        t.listeOffen = lOffen;
        t.pfeil->setIcon(symbol(lOffen ? Symbol::pfeilRunter : Symbol::pfeilRechts, 10, true, weiss(0.5)));
        t.pfeil->setAccessibleName(q(lOffen ? L("Fensterliste einklappen", "Collapse window list")
                                            : L("Fensterliste aufklappen", "Expand window list")));
    }
    setzeVersteckt(listenFlaeche, !lOffen);

    // The list's rows, also while it is hidden.
    baueListe();

    // The switches; the dictation's follow-up only with dictation on.
    bool diktatAn = false;
    for (const auto& [art, zeile, sch] : t.schalter) {
        const bool an = art->zeigt(s);
        sch->setzeAn(an);
        if (std::string_view(art->schluessel) == "diktat") diktatAn = an;
        else if (std::string_view(art->schluessel) == "diktatSenden") setzeVersteckt(zeile, !diktatAn);
    }

    // The system's screenshot shortcuts.
    for (auto& [nummer, kappe] : systemKappen) kappe->setze(q(s.systemKuerzel(nummer)), false, false);

    // The program's own shortcuts, the one being recorded active.
    for (auto& [art, kappe] : kappen) {
        const bool nimmtAuf = s.modus == Modus::kuerzel && s.kuerzelLernen == art;
        const std::optional<Kuerzel> k = s.kuerzel(art);
        std::string text = nimmtAuf ? L("Taste drücken …", "Press keys …") : k ? k->text : L("Festlegen", "Set");
        kappe->setze(q(text), !k, nimmtAuf);
        setzeTipp(kappe, q(k ? k->text + L(" – klicken zum Ändern (⌫ löscht)", " – click to change (⌫ clears)")
                            : L("Klicken und Tastenkombination drücken", "Click and press a key combination")));
    }

    // The height follows what is shown.
    passeGroesseAn();
}

void Bedienfeld::zeige() {
    aktualisiere();
    if (mini()) {
        zeigePunkt();
        return;
    }
    punktFenster->weg();
    panel->vorne();
}

void Bedienfeld::verstecke() {
    panel->weg();
    punktFenster->weg();
}

void Bedienfeld::passeGroesseAn() {
    // A hidden row's space goes with it.
    bool geaendert = false;
    for (auto& a : teile_->abstaende) {
        const int soll = a.zeile->isHidden() ? 0 : a.hoehe;
        if (a.luecke->sizeHint().height() != soll) {
            a.luecke->changeSize(0, soll, QSizePolicy::Fixed, QSizePolicy::Fixed);
            geaendert = true;
        }
    }
    if (geaendert) stapel->invalidate();
    const double hoehe = stapel->sizeHint().height();
    if (auto neu = gepassteHoehe(panel->rahmen(), hoehe)) {
        panel->setzeRahmen(*neu);
        speichereRahmen(s.ud, rahmenName, panel->rahmen());
        panel->update();
    }
    if (inhalt->size() != panel->size()) inhalt->resize(panel->size());
}

void Bedienfeld::schalteTon() {
    s.klang.setzeAn(!s.klang.an());
    s.spiele(KlangArt::an, false);
    aktualisiere();
}

void Bedienfeld::schliessen() {
    s.spiele(KlangArt::klick, false);
    s.schalteFeld();
}

void Bedienfeld::klappen() {
    s.spiele(KlangArt::klick, false);
    setzeListeOffen(!listeOffen());
    aktualisiere();
}

void Bedienfeld::kuerzelKlappen() {
    s.spiele(KlangArt::klick, false);
    setzeKuerzelOffen(!kuerzelOffen());
    aktualisiere();
}

void Bedienfeld::waehlen() {
    s.spiele(KlangArt::klick, false);
    // The new choice adds a target instead of replacing one.
    s.wahlErsetzt.reset();
    s.zielWahlStarten();
}

void Bedienfeld::spracheWechseln() {
    s.spiele(KlangArt::klick, false);
    s.wechsleSprache();
}

void Bedienfeld::kappeGedrueckt(KappenKnopf* kappe) {
    s.spiele(KlangArt::klick, false);
    if (!kappe || (kappe->tag != 2 && kappe->tag != 3)) return;
    const KuerzelArt art = kappe->tag == 2 ? KuerzelArt::diktat : KuerzelArt::senden;
    // A press on the cap being recorded cancels the recording.
    if (s.modus == Modus::kuerzel && s.kuerzelLernen == art) {
        s.beendeModus();
        s.kuerzelLernen.reset();
        aktualisiere();
        return;
    }
    s.kuerzelAufnehmen(art);
}

bool Bedienfeld::listeOffen() const { return s.ud.istWahr("listeOffen"); }
void Bedienfeld::setzeListeOffen(bool wert) { s.ud.setzeWahr("listeOffen", wert); }
bool Bedienfeld::kuerzelOffen() const { return s.ud.istWahrOder("kuerzelOffen", true); }
void Bedienfeld::setzeKuerzelOffen(bool wert) { s.ud.setzeWahr("kuerzelOffen", wert); }
bool Bedienfeld::mini() const { return s.ud.istWahr("feldMini"); }
void Bedienfeld::setzeMini(bool wert) { s.ud.setzeWahr("feldMini", wert); }

QImage Bedienfeld::feldBild() {
    constexpr int massstab = 2;
    constexpr int rahmen = 20;
    // The picture shows the state the views are heading for: switches at their end
    // positions, rows laid out for their current texts.
    for (QWidget* w : inhalt->findChildren<QWidget*>()) {
        if (auto* sch = dynamic_cast<Schalter*>(w)) sch->zeichne(false);
    }
    for (QLayout* l : inhalt->findChildren<QLayout*>()) l->activate();
    const QSize g = inhalt->size();
    QImage bild(massstab * g.width() + 2 * massstab * rahmen, massstab * g.height() + 2 * massstab * rahmen,
                QImage::Format_RGB32);
    bild.fill(grau(0.55));
    bild.setDevicePixelRatio(massstab);
    {
        QPainter p(&bild);
        inhalt->render(&p, QPoint(rahmen, rahmen), QRegion(), QWidget::DrawChildren);
    }
    bild.setDevicePixelRatio(1);
    return bild;
}

std::optional<QColor> Bedienfeld::statusFarbe() const {
    if (!s.vertraut || !s.ziel) return std::nullopt;
    return s.pausiert() ? feldRot() : feldMint();
}

}  // namespace klebwerk
