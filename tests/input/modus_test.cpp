// The interaction modes with scripted user input through the simulated tap.

#include <gtest/gtest.h>

#include "feedback/rahmen.h"
#include "support/wahl_szenario.h"

namespace klebwerk {
namespace {

using test::WahlSzenario;

class Modi : public ::testing::Test, public WahlSzenario {
protected:
    const Punkt imChat{200, 200};
    const Punkt imEditor{700, 300};
    const Punkt leer{50.0, 700.5};
    std::string gestartetHinweis = "Zielfenster anklicken  ·  esc bricht ab";

    // The learn and recording modes come with later work: set as their start will.
    void betrete(Modus m) {
        ASSERT_TRUE(s().starteTap(m == Modus::lernen, m));
        s().modus = m;
        if (m == Modus::kuerzel) s().kuerzelLernen = KuerzelArt::diktat;
    }
    std::vector<std::string>& aufrufe() { return u.steuerung->aufrufe; }
};

TEST_F(Modi, WahlStartetMitTapHinweisUndProtokollEinZweiterAufrufBeendetSie) {
    s().zielWahlStarten();
    EXPECT_EQ(s().modus, Modus::wahl);
    ASSERT_TRUE(tapDa());
    EXPECT_EQ(u.desktop.abgriff.regel->linkeTaste, AbgriffRegel::Umgang::schlucken);
    EXPECT_EQ(u.desktop.abgriff.regel->geschluckteTasten, std::set<std::uint16_t>{53});
    EXPECT_TRUE(s().hinweis.sichtbar());
    EXPECT_EQ(s().hinweis.text(), gestartetHinweis);
    u.desktop.uhr.vorwaerts(600);
    EXPECT_TRUE(s().hinweis.sichtbar()) << "the hint stays while the mode runs";
    EXPECT_NE(u.status().find("\"modus\": \"wahl\""), std::string::npos);
    EXPECT_TRUE(imLog(" Auswahl gestartet\n"));

    tue(EreignisArt::mausBewegt, imChat);
    EXPECT_TRUE(s().rahmen.sichtbar());
    s().zielWahlStarten();
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_FALSE(tapDa());
    EXPECT_FALSE(s().hinweis.sichtbar());
    EXPECT_FALSE(s().rahmen.sichtbar());
    EXPECT_EQ(imLogMal("Auswahl gestartet"), 1) << "the second call only cancels";
    EXPECT_NE(u.status().find("\"modus\": \"keiner\""), std::string::npos);
}

TEST_F(Modi, DerRahmenFolgtDemZeigerInDerAkzentfarbeUndBleibtUeberLeeremGrund) {
    s().zielWahlStarten();
    tue(EreignisArt::mausBewegt, imEditor);
    ASSERT_TRUE(s().rahmen.sichtbar());
    EXPECT_EQ(s().rahmen.rahmen(), editorRahmen);
    EXPECT_EQ(s().rahmen.farbe(), akzentFarbe());
    tue(EreignisArt::mausBewegt, imChat);
    EXPECT_EQ(s().rahmen.rahmen(), chatRahmen);
    tue(EreignisArt::mausBewegt, leer);
    EXPECT_TRUE(s().rahmen.sichtbar());
    EXPECT_EQ(s().rahmen.rahmen(), chatRahmen) << "no window under the pointer: the frame is left";
    u.desktop.uhr.vorwaerts(60);
    EXPECT_TRUE(s().rahmen.sichtbar()) << "no time limit";

    // A flood of moves before the main queue runs: the frame lands on the last one.
    for (Punkt p : {imChat, imEditor, imChat, imEditor}) u.desktop.abgriff.simuliere({EreignisArt::mausBewegt, 0, 0, p});
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().rahmen.rahmen(), editorRahmen);
    // Motion is let through: moving never hides anything from the applications.
    EXPECT_FALSE(s().tapEreignis(EreignisArt::mausBewegt, {EreignisArt::mausBewegt, 0, 0, imChat}));
}

TEST_F(Modi, KlickWaehltDasFensterDerSchluckteKlickEndetDenTapErstMitDemLoslassen) {
    s().zielWahlStarten();
    tue(EreignisArt::mausBewegt, imChat);
    // The decision comes first, the work afterwards on the main queue.
    EXPECT_TRUE(s().tapEreignis(EreignisArt::mausRunter, {EreignisArt::mausRunter, 0, 0, imChat}));
    EXPECT_TRUE(s().schluckeLoslassen);
    EXPECT_EQ(s().modus, Modus::wahl) << "the choice has not run yet";
    EXPECT_FALSE(s().ziel);
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::keiner);
    ASSERT_TRUE(s().ziel);
    EXPECT_EQ(s().ziel->pid, chatPid);
    EXPECT_TRUE(tapDa()) << "the mouse-up is still to be swallowed";
    EXPECT_EQ(s().rahmen.farbe(), QColor(52, 199, 89));
    EXPECT_EQ(s().hinweis.text(), "✓ Ziel: Gespräch");

    EXPECT_TRUE(s().tapEreignis(EreignisArt::mausHoch, {EreignisArt::mausHoch, 0, 0, imChat}));
    u.desktop.uhr.laufeFaelliges();
    EXPECT_FALSE(tapDa());
    EXPECT_FALSE(s().schluckeLoslassen);
    // The end of the click does not wipe the feedback of the choice.
    EXPECT_TRUE(s().rahmen.sichtbar());
    EXPECT_TRUE(s().hinweis.sichtbar());
    u.desktop.uhr.vorwaerts(3);
    EXPECT_FALSE(s().rahmen.sichtbar());
    EXPECT_FALSE(s().hinweis.sichtbar());

    // Outside a mode clicks pass.
    EXPECT_FALSE(s().tapEreignis(EreignisArt::mausRunter, {EreignisArt::mausRunter, 0, 0, imEditor}));
    EXPECT_FALSE(s().tapEreignis(EreignisArt::mausHoch, {EreignisArt::mausHoch, 0, 0, imEditor}));
}

TEST_F(Modi, KlickAufLeerenGrundMeldetKeinFensterUndBeendetDenModus) {
    s().neuVerbinden(nullptr);
    s().zielWahlStarten();
    s().zielWahlStarten();
    ASSERT_EQ(s().modus, Modus::wahl);
    klicke(leer);
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_FALSE(tapDa());
    EXPECT_FALSE(s().ziel);
    EXPECT_TRUE(imLog(" Auswahl: kein Fenster bei (50.0, 700.5)\n"));
    EXPECT_TRUE(s().hinweis.sichtbar());
    EXPECT_EQ(s().hinweis.text(), "Hier ist kein Fenster");
    u.desktop.uhr.vorwaerts(2.0 + 1e-6);
    EXPECT_FALSE(s().hinweis.sichtbar());
}

TEST_F(Modi, EscapeInJedemModus) {
    struct Fall {
        Modus modus;
        bool endet;
        bool tapNimmtSie;  // the tap's own rule: swallowed or seen only
    };
    for (const Fall f : {Fall{Modus::wahl, true, true}, Fall{Modus::lernen, true, false},
                         Fall{Modus::kuerzel, false, true}}) {
        SCOPED_TRACE(modusName(f.modus));
        if (f.modus == Modus::wahl) s().zielWahlStarten();
        else betrete(f.modus);
        aufrufe().clear();
        const int vorher = imLogMal("Auswahl abgebrochen (esc)");
        ASSERT_TRUE(tapDa());
        const AbgriffRegel r = *u.desktop.abgriff.regel;
        EXPECT_EQ(!r.nurTasten && r.geschluckteTasten.count(53), f.tapNimmtSie);
        EXPECT_TRUE(s().tapEreignis(EreignisArt::tasteRunter, {EreignisArt::tasteRunter, 53, 0, imChat}));
        u.desktop.uhr.laufeFaelliges();
        if (f.endet) {
            EXPECT_EQ(s().modus, Modus::keiner);
            EXPECT_EQ(imLogMal("Auswahl abgebrochen (esc)"), vorher + 1);
            EXPECT_FALSE(s().hinweis.sichtbar());
        } else {
            EXPECT_EQ(s().modus, Modus::kuerzel);
            EXPECT_EQ(aufrufe(), std::vector<std::string>{"kuerzelTaste 53 0"});
        }
        s().beendeModus();
        EXPECT_FALSE(tapDa());
    }
}

TEST_F(Modi, AndereTastenErreichenDieAnwendungNurBeimAufnehmenNicht) {
    s().zielWahlStarten();
    for (std::uint16_t code : {0, 36, 49, 1}) {
        EXPECT_FALSE(s().tapEreignis(EreignisArt::tasteRunter, {EreignisArt::tasteRunter, code, 0, imChat})) << code;
    }
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::wahl);
    s().beendeModus();

    betrete(Modus::kuerzel);
    aufrufe().clear();
    EXPECT_TRUE(s().tapEreignis(EreignisArt::tasteRunter, {EreignisArt::tasteRunter, 2, 0x140000, imChat}));
    EXPECT_TRUE(aufrufe().empty()) << "posted, not run inside the handler";
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(aufrufe(), std::vector<std::string>{"kuerzelTaste 2 1310720"});
}

TEST_F(Modi, KlickBeimAufnehmenBrichtAbUndErreichtSeinZiel) {
    betrete(Modus::kuerzel);
    EXPECT_EQ(u.desktop.abgriff.regel->linkeTaste, AbgriffRegel::Umgang::durchlassen);
    EXPECT_FALSE(s().tapEreignis(EreignisArt::mausRunter, {EreignisArt::mausRunter, 0, 0, imEditor}));
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_FALSE(s().kuerzelLernen);
    EXPECT_FALSE(tapDa());
    EXPECT_FALSE(s().ziel) << "the click chose nothing";
    EXPECT_FALSE(s().tapEreignis(EreignisArt::mausHoch, {EreignisArt::mausHoch, 0, 0, imEditor}));
}

TEST_F(Modi, LernenHoertAufOptionAlleinUndNimmtNichts) {
    betrete(Modus::lernen);
    EXPECT_TRUE(u.desktop.abgriff.regel->nurTasten);
    struct Fall {
        std::uint64_t flaggen;
        bool lernt;
    };
    const Fall faelle[] = {
        {0x80000, true},             // ⌥
        {0x80000 | 0x10000, true},   // ⌥ with caps lock
        {0x80000 | 0x800000, true},  // ⌥ with fn
        {0x180000, false},           // ⌘⌥
        {0xA0000, false},            // ⇧⌥
        {0xC0000, false},            // ⌃⌥
        {0, false},                  // ⌥ let go
    };
    for (const Fall& f : faelle) {
        aufrufe().clear();
        EXPECT_FALSE(s().tapEreignis(EreignisArt::flaggenGeaendert, {EreignisArt::flaggenGeaendert, 0, f.flaggen, {321, 123}}));
        u.desktop.uhr.laufeFaelliges();
        EXPECT_EQ(aufrufe(), f.lernt ? std::vector<std::string>{"lerne 321,123"} : std::vector<std::string>{})
            << std::hex << f.flaggen;
    }
    EXPECT_EQ(s().modus, Modus::lernen);
    // The same flags outside the learn mode do nothing.
    s().beendeModus();
    aufrufe().clear();
    s().tapEreignis(EreignisArt::flaggenGeaendert, {EreignisArt::flaggenGeaendert, 0, 0x80000, {1, 1}});
    u.desktop.uhr.laufeFaelliges();
    EXPECT_TRUE(aufrufe().empty());
}

TEST_F(Modi, WahlWaehrendLernenOderAufnehmenBeendetNurDieses) {
    for (Modus m : {Modus::lernen, Modus::kuerzel}) {
        betrete(m);
        s().zielWahlStarten();
        EXPECT_EQ(s().modus, Modus::keiner) << modusName(m);
        EXPECT_FALSE(tapDa());
    }
    EXPECT_FALSE(imLog("Auswahl gestartet"));
}

TEST_F(Modi, TapNichtMoeglichGibtDenHinweisUndKeinenModus) {
    u.desktop.abgriff.moeglich = false;
    s().zielWahlStarten();
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_FALSE(s().tap.aktiv());
    EXPECT_EQ(s().hinweis.text(), "Auswahl nicht möglich – Freigabe prüfen");
    EXPECT_FALSE(imLog("Auswahl gestartet"));
    u.desktop.uhr.vorwaerts(3.0 + 1e-6);
    EXPECT_FALSE(s().hinweis.sichtbar());
}

TEST_F(Modi, OhneFreigabeOeffnetDieWahlDieEinstellungen) {
    s().vertraut = false;
    s().zielWahlStarten();
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_FALSE(tapDa());
    EXPECT_FALSE(s().hinweis.sichtbar());
    EXPECT_EQ(u.desktop.arbeitsplatz.geoeffnet,
              std::vector<std::string>{"x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"});
}

TEST_F(Modi, KuerzelCtrlOptSIstBeimStartAngemeldetUndStartetUndBeendetDieWahl) {
    ASSERT_EQ(u.desktop.kuerzel.registriert.count(1), 1u);
    EXPECT_EQ(u.desktop.kuerzel.registriert[1].code, 1);
    EXPECT_EQ(u.desktop.kuerzel.registriert[1].mods, 0x1800u);
    EXPECT_EQ(s().kurzbefehl, 1u);
    EXPECT_TRUE(imLog(" Kürzel ⌃⌥S registriert: 0\n"));

    ASSERT_TRUE(u.desktop.kuerzel.druecke(1, 0x1800));
    EXPECT_EQ(s().modus, Modus::keiner) << "dispatched on the main queue, not in the handler";
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::wahl);
    // As the user does it: the keys at the hardware level, then a click.
    s().testBefehl("kuerzel");
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::keiner);
    s().testBefehl("kuerzel");
    u.desktop.uhr.laufeFaelliges();
    ASSERT_EQ(s().modus, Modus::wahl);
    u.desktop.eingabe.zeigerPosition = imEditor;
    s().testBefehl("klick");
    u.desktop.uhr.laufeFaelliges();
    ASSERT_TRUE(s().ziel);
    EXPECT_EQ(s().ziel->pid, editorPid);
    EXPECT_FALSE(tapDa());

    // Other ids: the send shortcut without a target hints, unknown ids do nothing.
    s().zielAufheben();
    s().kuerzelGedrueckt(3);
    EXPECT_EQ(s().hinweis.text(), "Kein Zielfenster gewählt");
    s().kuerzelGedrueckt(99);
    EXPECT_EQ(s().modus, Modus::keiner);
}

TEST(KuerzelAnmeldung, EineAbgewieseneAnmeldungWirdNurProtokolliert) {
    test::SimUmgebung u;
    u.desktop.kuerzel.status = -9878;
    u.starte();
    EXPECT_NE(u.heim.protokoll().find(" Kürzel ⌃⌥S registriert: -9878\n"), std::string::npos);
    EXPECT_FALSE(u.steuerung->kurzbefehl);
    EXPECT_FALSE(u.desktop.kuerzel.druecke(1, 0x1800));
}

TEST(KuerzelAnmeldung, NachDemEndeDerSteuerungErreichtSieKeinDruckMehr) {
    test::SimUmgebung u;
    u.starte();
    ASSERT_TRUE(u.desktop.kuerzel.druecke(1, 0x1800));
    u.steuerung.reset();
    u.desktop.uhr.laufeFaelliges();  // the press already on its way finds no handler
    EXPECT_FALSE(u.desktop.kuerzel.druecke(1, 0x1800));
}

TEST_F(Modi, TasteBefehlGehtAnDenTapHandlerUndUngueltigeCodesWerdenIgnoriert) {
    s().zielWahlStarten();
    for (const char* b : {"taste|70000|", "taste|-1|ctrl", "taste|53.5|", "taste|abc|", "taste|53", "taste||"}) {
        s().testBefehl(b);
        u.desktop.uhr.laufeFaelliges();
        EXPECT_EQ(s().modus, Modus::wahl) << b;
    }
    s().testBefehl("taste|0|cmd,alt");
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::wahl);
    s().testBefehl("taste|53|");
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_TRUE(imLog(" Auswahl abgebrochen (esc)\n"));
    EXPECT_TRUE(u.desktop.eingabe.gepostet.empty()) << "nothing is posted to the system";

    betrete(Modus::kuerzel);
    aufrufe().clear();
    s().testBefehl("taste|2|cmd,shift,ctrl,alt,hyper");
    u.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(aufrufe(), std::vector<std::string>{"kuerzelTaste 2 " + std::to_string(0x1E0000)});
}

TEST_F(Modi, WahlUndAbbruchBefehle) {
    s().testBefehl("wahl");
    EXPECT_EQ(s().modus, Modus::wahl);
    EXPECT_NE(u.status().find("\"modus\": \"wahl\""), std::string::npos);
    s().testBefehl("abbruch");
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_FALSE(tapDa());
}

TEST_F(Modi, KlickwahlWaehrendDerWahlLaesstKeinenTapZurueck) {
    s().zielWahlStarten();
    s().testBefehl("klickwahl|200|200");
    EXPECT_EQ(s().modus, Modus::keiner);
    EXPECT_FALSE(tapDa()) << "no mouse-up will come to remove it";
    ASSERT_TRUE(s().ziel);
    EXPECT_EQ(s().ziel->pid, chatPid);
    s().testBefehl("klickwahl|x|200");
    s().testBefehl("klickwahl|1e999|200");
    EXPECT_EQ(s().ziel->pid, chatPid);
}

}  // namespace
}  // namespace klebwerk
