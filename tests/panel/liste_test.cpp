// The panel's target list: its rows, click and drag, hover outline, the row buttons.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "basis/prozesswerte.h"
#include "panel/bedienfeld.h"
#include "panel/farben.h"
#include "panel/ziel_zeile.h"
#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;

// Qt hands a widget its mouse events with the global position in whole points, so the
// positions here are whole points too.
void maus(QWidget* w, QEvent::Type art, QPointF global, Qt::MouseButtons gehalten) {
    QMouseEvent e(art, w->mapFromGlobal(global), global, art == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  gehalten, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void drueck(QWidget* w, QPointF global) { maus(w, QEvent::MouseButtonPress, global, Qt::LeftButton); }
void bewege(QWidget* w, QPointF global) { maus(w, QEvent::MouseMove, global, Qt::LeftButton); }
void lass(QWidget* w, QPointF global) { maus(w, QEvent::MouseButtonRelease, global, Qt::NoButton); }

QPointF mitteVon(const QWidget* w) { return w->mapToGlobal(QPointF(w->width() / 2.0, w->height() / 2.0)); }

// --- the row alone: what a press becomes

struct Bewegung {
    const char* fall;
    QPointF um;
    bool ziehen;
};

class ZeilenDruck : public ::testing::TestWithParam<Bewegung> {};

TEST_P(ZeilenDruck, WirdErstUeberVierPunktenZumZiehen) {
    ZielZeile zeile("Gespräch", false);
    std::vector<std::string> ereignisse;
    std::vector<QPointF> zeiger;
    zeile.antippen = [&] { ereignisse.push_back("antippen"); };
    zeile.ziehen = [&](ZielZeile& z, QPointF p) {
        EXPECT_EQ(&z, &zeile);
        EXPECT_TRUE(z.gezogen());
        ereignisse.push_back("ziehen");
        zeiger.push_back(p);
    };
    zeile.losgelassen = [&] { ereignisse.push_back("losgelassen"); };

    const QPointF start(300, 200);
    const QPointF ende = start + GetParam().um;
    drueck(&zeile, start);
    bewege(&zeile, ende);
    lass(&zeile, ende);

    if (GetParam().ziehen) {
        EXPECT_EQ(ereignisse, (std::vector<std::string>{"ziehen", "losgelassen"}));
        EXPECT_EQ(zeiger, std::vector<QPointF>{ende}) << "the global pointer";
    } else {
        EXPECT_EQ(ereignisse, std::vector<std::string>{"antippen"});
    }
    EXPECT_FALSE(zeile.gezogen());
}

INSTANTIATE_TEST_SUITE_P(Schwelle, ZeilenDruck,
                         ::testing::Values(Bewegung{"still", {0, 0}, false},
                                           Bewegung{"vierWaagrecht", {4, 0}, false},
                                           Bewegung{"vierNachOben", {0, -4}, false},
                                           Bewegung{"schraegUeberVier", {3, 3}, true},
                                           Bewegung{"fuenfNachLinks", {-5, 0}, true}),
                         [](const auto& info) { return std::string(info.param.fall); });

TEST(ZeilenZiehen, NachDerSchwelleZaehltJedeBewegungBisZumLoslassen) {
    ZielZeile zeile("Gespräch", false);
    std::vector<QPointF> zuege;
    int tipps = 0, enden = 0;
    zeile.antippen = [&] { ++tipps; };
    zeile.ziehen = [&](ZielZeile&, QPointF p) { zuege.push_back(p); };
    zeile.losgelassen = [&] { ++enden; };
    drueck(&zeile, {50, 50});
    for (QPointF p : {QPointF(53, 52), QPointF(50, 46), QPointF(50, 58), QPointF(50, 51)}) bewege(&zeile, p);
    lass(&zeile, {50, 51});
    EXPECT_EQ(zuege, (std::vector<QPointF>{{50, 58}, {50, 51}})) << "back near the start still drags";
    EXPECT_EQ(enden, 1);
    EXPECT_EQ(tipps, 0);
}

// --- the list of a panel

class Liste : public ::testing::Test, public ZieleSzenario {
protected:
    static constexpr int skizzePid = 730;
    sim::SimKnoten* skizze = nullptr;

    void SetUp() override {
        chatUndEditor();
        app(skizzePid, "Skizze", "org.example.skizze");
        skizze = &fenster(skizzePid, "entwurf.svg");
        starte();
    }
    void TearDown() override { setzeEnglisch(false); }

    std::shared_ptr<Ziel> verbinde(sim::SimKnoten* f, int pid) {
        s().setzeZiel(std::make_shared<Ziel>(s().ax, desktop.arbeitsplatz, f->element(), pid));
        desktop.uhr.laufeFaelliges();
        return s().ziel;
    }
    void verbindeAlle() {
        verbinde(chat, chatPid);
        verbinde(editor, editorPid);
        verbinde(skizze, skizzePid);
    }
    Bedienfeld& feld() {
        Bedienfeld& f = s().feld();
        f.baueListe();
        return f;
    }
    // The rows laid out as the panel shows them.
    Bedienfeld& ausgelegt() {
        Bedienfeld& f = feld();
        f.listenFlaeche->resize(270, f.listenFlaeche->sizeHint().height());
        f.liste->activate();
        return f;
    }
    std::vector<std::string> zeilenNamen() {
        std::vector<std::string> n;
        for (ZielZeile* z : s().feld().zeilenDerListe()) n.push_back(z->name);
        return n;
    }
    std::vector<std::string> reihe() { return s().namen(); }
    ZielZeile* zeile(size_t i) { return s().feld().zeilenDerListe().at(i); }
    QWidget* letzterEintrag() {
        QVBoxLayout* l = s().feld().liste;
        return l->itemAt(l->count() - 1)->widget();
    }
};

TEST_F(Liste, OhneZieleStehtNurDerKnopfZumVerbinden) {
    Bedienfeld& f = feld();
    EXPECT_TRUE(f.zeilenDerListe().empty());
    ASSERT_EQ(f.liste->count(), 1);
    ASSERT_NE(f.hinzufuegenKnopf, nullptr);
    EXPECT_TRUE(letzterEintrag()->isAncestorOf(f.hinzufuegenKnopf));
    EXPECT_EQ(f.hinzufuegenKnopf->text(), QStringLiteral("＋  Fenster verbinden"));
    EXPECT_EQ(f.hinzufuegenKnopf->accessibleName(), QStringLiteral("Fenster verbinden (Liste)"));
}

TEST_F(Liste, ZeigtDieZieleInDerReihenfolgeDerSteuerungMitDemAktivenMarkiert) {
    verbindeAlle();
    auto mitte = s().verbunden[1];
    s().aktiviere(mitte, false);
    Bedienfeld& f = feld();

    EXPECT_EQ(zeilenNamen(), (std::vector<std::string>{"Gespräch", "notizen.txt", "entwurf.svg"}));
    EXPECT_EQ(zeilenNamen(), reihe());
    std::vector<bool> aktiv;
    for (ZielZeile* z : f.zeilenDerListe()) aktiv.push_back(z->aktiv());
    EXPECT_EQ(aktiv, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(f.zeilenDerListe()[1]->zielObj.lock(), mitte);
    EXPECT_EQ(f.liste->count(), 4);
    EXPECT_TRUE(letzterEintrag()->isAncestorOf(f.hinzufuegenKnopf)) << "the add button stays last";
}

TEST_F(Liste, WirdNurNeuGebautWennSichIhrStandAendert) {
    verbindeAlle();
    Bedienfeld& f = feld();
    struct Schritt {
        const char* was;
        std::function<void()> tue;
        int neueAufbauten;
    };
    const std::vector<Schritt> schritte{
        {"nichts geändert", [] {}, 0},
        {"anderes Ziel aktiv", [&] { s().aktiviere(s().verbunden[0], false); }, 1},
        {"dasselbe Ziel nochmals aktiv", [&] { s().aktiviere(s().verbunden[0], false); }, 0},
        {"Titel geändert", [&] { desktop.setzeTitel(chat->nummer, "Neues Gespräch"); }, 1},
        {"umgeordnet", [&] { s().ordne({s().verbunden[2], s().verbunden[0], s().verbunden[1]}); }, 1},
        {"entfernt", [&] { s().entferne(s().verbunden[1], true); }, 1},
    };
    for (const Schritt& schritt : schritte) {
        const int vorher = f.listenAufbauten;
        schritt.tue();
        desktop.uhr.laufeFaelliges();
        f.aktualisiere();
        f.aktualisiere();
        EXPECT_EQ(f.listenAufbauten - vorher, schritt.neueAufbauten) << schritt.was;
        EXPECT_EQ(zeilenNamen(), reihe()) << schritt.was;
    }
}

struct Ablage {
    const char* fall;
    size_t gezogen;
    enum { ueberDerErsten, unterDerLetzten, unterDerMitteVonZwei } wohin;
    std::vector<std::string> reihe;
};

class ListenZiehen : public Liste, public ::testing::WithParamInterface<Ablage> {};

TEST_P(ListenZiehen, LegtDieZeileAufDenPlatzUnterDemZeiger) {
    verbindeAlle();
    Bedienfeld& f = ausgelegt();
    ZielZeile* erste = zeile(0);
    ZielZeile* letzte = zeile(2);
    QPointF zeiger;
    switch (GetParam().wohin) {
    case Ablage::ueberDerErsten: zeiger = erste->mapToGlobal(QPointF(20, -30)); break;
    case Ablage::unterDerLetzten: zeiger = letzte->mapToGlobal(QPointF(20, letzte->height() + 40)); break;
    case Ablage::unterDerMitteVonZwei: zeiger = mitteVon(zeile(1)) + QPointF(0, 2); break;
    }
    ZielZeile* gezogen = zeile(GetParam().gezogen);
    f.verschiebe(*gezogen, zeiger);
    EXPECT_TRUE(f.zieht);
    EXPECT_EQ(zeilenNamen(), GetParam().reihe);
    EXPECT_TRUE(letzterEintrag()->isAncestorOf(f.hinzufuegenKnopf));

    gezogen->losgelassen();
    EXPECT_FALSE(f.zieht);
    EXPECT_EQ(reihe(), GetParam().reihe) << "the controller takes the order shown";
    f.baueListe();
    EXPECT_EQ(zeilenNamen(), GetParam().reihe);
}

INSTANTIATE_TEST_SUITE_P(
    Plaetze, ListenZiehen,
    ::testing::Values(
        Ablage{"letzteNachOben", 2, Ablage::ueberDerErsten, {"entwurf.svg", "Gespräch", "notizen.txt"}},
        Ablage{"ersteNachUnten", 0, Ablage::unterDerLetzten, {"notizen.txt", "entwurf.svg", "Gespräch"}},
        Ablage{"ersteAufDieZweite", 0, Ablage::unterDerMitteVonZwei, {"notizen.txt", "Gespräch", "entwurf.svg"}},
        Ablage{"zweiteAufSichSelbst", 1, Ablage::unterDerMitteVonZwei, {"Gespräch", "notizen.txt", "entwurf.svg"}}),
    [](const auto& info) { return std::string(info.param.fall); });

TEST_F(Liste, MitDerMausGezogenOrdnetDieZeileDieZieleUm) {
    verbindeAlle();
    Bedienfeld& f = ausgelegt();
    ZielZeile* gezogen = zeile(2);
    const QPointF start = mitteVon(gezogen);
    const QPointF oben = zeile(0)->mapToGlobal(QPointF(20, -10));
    drueck(gezogen, start);
    bewege(gezogen, start + QPointF(0, -6));
    bewege(gezogen, oben);
    EXPECT_EQ(zeilenNamen(), (std::vector<std::string>{"entwurf.svg", "Gespräch", "notizen.txt"}));
    EXPECT_EQ(reihe(), (std::vector<std::string>{"Gespräch", "notizen.txt", "entwurf.svg"}))
        << "the controller's order changes only when the drag ends";
    lass(gezogen, oben);
    EXPECT_EQ(reihe(), (std::vector<std::string>{"entwurf.svg", "Gespräch", "notizen.txt"}));
    EXPECT_FALSE(f.zieht);
}

TEST_F(Liste, EinZugZurueckAnDenStartGibtDieUnveraenderteReihe) {
    verbindeAlle();
    ausgelegt();
    const auto vorher = s().verbunden;
    ZielZeile* gezogen = zeile(0);
    const QPointF start = mitteVon(gezogen);
    drueck(gezogen, start);
    bewege(gezogen, start + QPointF(0, 8));
    bewege(gezogen, start);
    lass(gezogen, start);
    EXPECT_EQ(s().verbunden, vorher);
    EXPECT_TRUE(imLog("Reihenfolge: [\"Gespräch\", \"notizen.txt\", \"entwurf.svg\"]")) << heim.protokoll();
}

TEST_F(Liste, EinZugEndetAuchWennDieZeileVerschwindet) {
    verbindeAlle();
    Bedienfeld& f = ausgelegt();
    ZielZeile* gezogen = zeile(2);
    drueck(gezogen, mitteVon(gezogen));
    bewege(gezogen, zeile(0)->mapToGlobal(QPointF(20, -10)));
    ASSERT_TRUE(f.zieht);
    QHideEvent versteckt;
    QApplication::sendEvent(gezogen, &versteckt);
    EXPECT_FALSE(f.zieht) << "the list is not held for ever";
    EXPECT_FALSE(gezogen->gezogen());
    EXPECT_EQ(reihe(), (std::vector<std::string>{"entwurf.svg", "Gespräch", "notizen.txt"}));
}

TEST_F(Liste, AenderungenWaehrendDesZiehensErscheinenErstDanach) {
    verbindeAlle();
    Bedienfeld& f = ausgelegt();
    ZielZeile* gezogen = zeile(2);
    const QPointF start = mitteVon(gezogen);
    drueck(gezogen, start);
    bewege(gezogen, zeile(0)->mapToGlobal(QPointF(20, -10)));
    ASSERT_TRUE(f.zieht);
    const int aufbauten = f.listenAufbauten;

    s().entferne(s().verbunden[1], true);
    desktop.uhr.laufeFaelliges();
    f.aktualisiere();
    EXPECT_EQ(f.listenAufbauten, aufbauten);
    EXPECT_EQ(zeilenNamen(), (std::vector<std::string>{"entwurf.svg", "Gespräch", "notizen.txt"}));

    lass(gezogen, start);
    f.aktualisiere();
    EXPECT_EQ(f.listenAufbauten, aufbauten + 1);
    EXPECT_EQ(zeilenNamen(), reihe());
    EXPECT_EQ(reihe(), (std::vector<std::string>{"entwurf.svg", "Gespräch"}))
        << "the rows of the targets that are left, in the order dragged";
}

TEST_F(Liste, SchwebenUmrahmtDasFensterDerZeile) {
    verbindeAlle();
    Bedienfeld& f = ausgelegt();
    ZielZeile* chatZeile = zeile(0);
    QEnterEvent hinein(QPointF(5, 5), QPointF(5, 5), chatZeile->mapToGlobal(QPointF(5, 5)));
    QEvent hinaus(QEvent::Leave);

    QApplication::sendEvent(chatZeile, &hinein);
    EXPECT_TRUE(chatZeile->schwebt());
    EXPECT_TRUE(s().rahmen.sichtbar());
    EXPECT_EQ(s().rahmen.rahmen(), *chat->rahmen());
    EXPECT_EQ(s().rahmen.farbe(), feldMint());

    QApplication::sendEvent(chatZeile, &hinaus);
    EXPECT_FALSE(chatZeile->schwebt());
    EXPECT_FALSE(s().rahmen.sichtbar());

    // While a row is dragged, hovering outlines nothing.
    f.verschiebe(*zeile(2), mitteVon(zeile(2)));
    QApplication::sendEvent(chatZeile, &hinein);
    EXPECT_FALSE(s().rahmen.sichtbar());
}

TEST_F(Liste, EinFensterOhneLesbarenRahmenWirdNichtUmrahmt) {
    verbindeAlle();
    ausgelegt();
    ZielZeile* editorZeile = zeile(1);
    s().rahmen.zeige({1, 2, 30, 40}, feldMint());
    editor->fehlerhaft.insert("AXPosition");
    QEnterEvent hinein(QPointF(5, 5), QPointF(5, 5), editorZeile->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(editorZeile, &hinein);
    EXPECT_FALSE(s().rahmen.sichtbar()) << "no stale outline";
}

TEST_F(Liste, KlickAufDieZeileMachtIhrZielAktivUndZeigtEs) {
    verbindeAlle();
    ausgelegt();
    ZielZeile* chatZeile = zeile(0);
    const QPointF p = mitteVon(chatZeile);
    QEnterEvent hinein(QPointF(5, 5), QPointF(5, 5), p);
    QApplication::sendEvent(chatZeile, &hinein);
    drueck(chatZeile, p);
    lass(chatZeile, p + QPointF(2, 2));
    EXPECT_EQ(s().name(s().ziel), "Gespräch");
    s().feld().aktualisiere();
    EXPECT_TRUE(zeile(0)->aktiv());
    EXPECT_TRUE(s().rahmen.sichtbar()) << "the frame of the choice outlives the new rows";
    EXPECT_EQ(s().rahmen.farbe(), QColor(52, 199, 89));
}

TEST_F(Liste, NeueZeilenNehmenDenUmrissDesSchwebensWeg) {
    verbindeAlle();
    Bedienfeld& f = ausgelegt();
    QEnterEvent hinein(QPointF(5, 5), QPointF(5, 5), mitteVon(zeile(0)));
    QApplication::sendEvent(zeile(0), &hinein);
    ASSERT_TRUE(s().rahmen.sichtbar());
    s().aktiviere(s().verbunden[1], false);
    f.aktualisiere();
    EXPECT_FALSE(s().rahmen.sichtbar()) << "the row under the mouse is gone";
}

TEST_F(Liste, DasKreuzEntferntDasZielUndMerktEsAlsAbgewaehlt) {
    verbindeAlle();
    feld();
    s().rahmen.zeige({1, 2, 30, 40}, feldMint());
    zeile(1)->entfernenKnopf()->click();
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(reihe(), (std::vector<std::string>{"Gespräch", "entwurf.svg"}));
    EXPECT_EQ(s().abgewaehlt(), std::set<std::int64_t>{editor->nummer});
    EXPECT_FALSE(s().rahmen.sichtbar());
    feld();
    EXPECT_EQ(zeilenNamen(), reihe());
}

TEST_F(Liste, DasKettenzeichenWaehltEinFensterAlsErsatz) {
    verbindeAlle();
    feld();
    zeile(0)->verbindenKnopf()->click();
    EXPECT_EQ(s().wahlErsetzt, s().verbunden[0]);
    EXPECT_EQ(s().modus, Modus::wahl);
}

TEST_F(Liste, DieZeileIstFuerAssistenzEinKnopfMitIhrenZweiKnoepfen) {
    verbindeAlle();
    feld();
    ZielZeile* editorZeile = zeile(1);
    QAccessibleInterface* zugang = QAccessible::queryAccessibleInterface(editorZeile);
    ASSERT_NE(zugang, nullptr);
    EXPECT_EQ(zugang->role(), QAccessible::Button);
    EXPECT_EQ(zugang->text(QAccessible::Name), QStringLiteral("Ziel aktivieren: notizen.txt"));
    ASSERT_EQ(zugang->childCount(), 2);
    EXPECT_EQ(zugang->child(0)->text(QAccessible::Name), QStringLiteral("Neu verbinden: notizen.txt"));
    EXPECT_EQ(zugang->child(1)->text(QAccessible::Name), QStringLiteral("Entfernen: notizen.txt"));
    EXPECT_EQ(zugang->indexOfChild(zugang->child(1)), 1);

    QAccessibleActionInterface* aktionen = zugang->actionInterface();
    ASSERT_NE(aktionen, nullptr);
    EXPECT_TRUE(aktionen->actionNames().contains(QAccessibleActionInterface::pressAction()));
    aktionen->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(s().name(s().ziel), "notizen.txt");
}

TEST_F(Liste, DieZeilenSprechenDieSpracheDerOberflaeche) {
    setzeEnglisch(true);
    ZielZeile zeile("Gespräch", true);
    EXPECT_EQ(zeile.accessibleName(), QStringLiteral("Make target: Gespräch"));
    EXPECT_EQ(zeile.verbindenKnopf()->accessibleName(), QStringLiteral("Reconnect: Gespräch"));
    EXPECT_EQ(zeile.entfernenKnopf()->toolTip(), QStringLiteral("Remove: Gespräch"));
    EXPECT_EQ(zeile.toolTip(), QStringLiteral("Click: target  ·  Drag: reorder"));
}

TEST_F(Liste, DerZiehtestOrdnetDieZeilenUm) {
    verbindeAlle();
    ausgelegt();
    s().testBefehl("ziehtest|Gespräch|notizen.txt");
    EXPECT_EQ(reihe(), (std::vector<std::string>{"notizen.txt", "Gespräch", "entwurf.svg"}));
    EXPECT_FALSE(s().feld().zieht);
}

}  // namespace
}  // namespace klebwerk
