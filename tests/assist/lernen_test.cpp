// Learning a button: ⌥ over the pointer in the learn mode, the climb to the nearest
// button, and what a learned dictation button switches.

#include <gtest/gtest.h>

#include "input/abgriff_regel.h"
#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;

// A chat window whose elements stack inside each other at the same spot.
class Lernen : public ::testing::Test, public ZieleSzenario {
protected:
    void SetUp() override {
        chatUndEditor();
        desktop.hebeFenster(chat->nummer);
        desktop.arbeitsplatz.vorne = chatPid;
        starte();
    }

    // A button at (200, 200) with `tiefe` plain groups between it and a text inside.
    // Returns the point over the innermost element.
    Punkt knopfMitInhalt(std::map<std::string, Wert> knopfAttribute, int tiefe) {
        const Rechteck r{150, 180, 120, 40};
        sim::SimKnoten* k = &chat->kind("AXButton", std::move(knopfAttribute));
        k->rahmen(r);
        for (int i = 0; i < tiefe; ++i) {
            k = &k->kind(i + 1 == tiefe ? "AXStaticText" : "AXGroup");
            k->rahmen(r);
        }
        return {200, 200};
    }
    void starteLernen(KnopfArt art) {
        s().lernArt = art;
        s().lernenStarten();
        desktop.uhr.laufeFaelliges();
        ASSERT_EQ(s().modus, Modus::lernen);
    }
    // The user presses ⌥ (with these flags) while the pointer is at `p`.
    void druecke(Punkt p, std::uint64_t flaggen = 0x80000) {
        desktop.abgriff.simuliere({EreignisArt::flaggenGeaendert, 58, flaggen, p});
        desktop.uhr.laufeFaelliges();
    }
};

struct KletterFall {
    const char* name;
    int tiefe;  // levels between the button and the element under the pointer
    bool gelernt;
};

class LernenKlettern : public Lernen, public ::testing::WithParamInterface<KletterFall> {};

TEST_P(LernenKlettern, FindetDenKnopfBisFuenfEbenenUeberDemZeiger) {
    const Punkt p = knopfMitInhalt({{"AXTitle", "Diktat starten"}}, GetParam().tiefe);
    starteLernen(KnopfArt::diktat);
    druecke(p);
    if (GetParam().gelernt) {
        EXPECT_EQ(s().diktatKnopf(), (KnopfMerkmal{"AXButton", "Diktat starten", ""}));
        EXPECT_EQ(s().modus, Modus::keiner);
        EXPECT_EQ(s().hinweis.text(), "✓ Diktat-Knopf gemerkt: Diktat starten");
    } else {
        EXPECT_FALSE(s().diktatKnopf());
        EXPECT_EQ(s().modus, Modus::lernen);
        EXPECT_EQ(s().hinweis.text(), "Das war kein Knopf – noch einmal klicken  ·  esc bricht ab");
    }
}

INSTANTIATE_TEST_SUITE_P(Tabelle, LernenKlettern,
                         ::testing::Values(KletterFall{"DerKnopfSelbst", 0, true}, KletterFall{"SeinSymbol", 1, true},
                                           KletterFall{"FuenfEbenenDarunter", 5, true},
                                           KletterFall{"SechsEbenenDarunter", 6, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Lernen, EinDiktatknopfSchaltetDiktatEinUndAbsendenAusUndWirdProtokolliert) {
    s().ud.setzeWahr("absenden", true);
    const Punkt p = knopfMitInhalt({{"AXTitle", "Diktat starten"}}, 1);
    starteLernen(KnopfArt::diktat);
    druecke(p);
    EXPECT_TRUE(s().diktat());
    EXPECT_FALSE(s().absenden());
    EXPECT_TRUE(imLog("Knopf gelernt (diktat): KnopfMerkmal(rolle: \"AXButton\", label: \"Diktat starten\", klassen: \"\")"));
}

TEST_F(Lernen, EinVorleseknopfAendertKeineEinstellung) {
    s().ud.setzeWahr("absenden", true);
    const Punkt p = knopfMitInhalt({{"AXTitle", "Vorlesen"}}, 0);
    starteLernen(KnopfArt::vorlesen);
    druecke(p);
    EXPECT_EQ(s().knopf(), (KnopfMerkmal{"AXButton", "Vorlesen", ""}));
    EXPECT_FALSE(s().diktat());
    EXPECT_TRUE(s().absenden());
    EXPECT_FALSE(s().diktatKnopf()) << "the other kind is untouched";
    EXPECT_TRUE(imLog("Knopf gelernt (knopf): "));
}

TEST_F(Lernen, EinWebknopfOhneNamenAberMitKlassenWirdOhneNamenGelernt) {
    const Punkt p = knopfMitInhalt({{"AXDOMClassList", WertListe{Wert("btn"), Wert("mic")}}}, 1);
    starteLernen(KnopfArt::diktat);
    druecke(p);
    EXPECT_EQ(s().diktatKnopf(), (KnopfMerkmal{"AXButton", "", "btn mic"}));
    EXPECT_EQ(s().hinweis.text(), "✓ Diktat-Knopf gemerkt: ohne Namen");
}

TEST_F(Lernen, FehlversucheLassenDenModusMitIhremHinweis) {
    starteLernen(KnopfArt::diktat);
    // Nothing on screen there.
    druecke({5000, 5000});
    EXPECT_EQ(s().hinweis.text(), "Nichts erkannt – noch einmal klicken");
    // A button with neither label nor classes could never be found again.
    const Punkt p = knopfMitInhalt({}, 0);
    druecke(p);
    EXPECT_EQ(s().hinweis.text(), "Dieser Knopf ist nicht erkennbar – noch einmal klicken");
    EXPECT_EQ(s().modus, Modus::lernen);
    EXPECT_FALSE(s().diktatKnopf());
}

TEST_F(Lernen, NurDieOptionstasteAlleinIstEinVersuch) {
    const Punkt p = knopfMitInhalt({{"AXTitle", "Diktat starten"}}, 0);
    starteLernen(KnopfArt::diktat);
    for (std::uint64_t mit : {flagge::befehl, flagge::umschalt, flagge::control}) druecke(p, flagge::option | mit);
    EXPECT_FALSE(s().diktatKnopf());
    EXPECT_EQ(s().modus, Modus::lernen);
    druecke(p);
    EXPECT_TRUE(s().diktatKnopf());
}

TEST_F(Lernen, DerStartZeigtDenHinweisUndOhneFreigabeOeffnenSichDieEinstellungen) {
    starteLernen(KnopfArt::vorlesen);
    EXPECT_EQ(s().hinweis.text(), "Maus auf den Diktat-Knopf halten und ⌥ drücken  ·  esc bricht ab");
    s().beendeModus();
    s().vertraut = false;
    s().lernenStarten();
    EXPECT_EQ(s().modus, Modus::keiner);
    ASSERT_FALSE(desktop.arbeitsplatz.geoeffnet.empty());
}

TEST_F(Lernen, DieTestbefehleStartenUndLernen) {
    const Punkt p = knopfMitInhalt({{"AXTitle", "Diktat starten"}}, 2);
    s().testBefehl("lernart|diktat");
    s().testBefehl("lernen");
    desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::lernen);
    s().testBefehl("klicklernen|" + std::to_string(int(p.x)) + "|" + std::to_string(int(p.y)));
    EXPECT_TRUE(s().diktatKnopf());
}

}  // namespace
}  // namespace klebwerk
