// Choosing targets by click and from the menu, replacing, deselecting and reordering.

#include <gtest/gtest.h>

#include "targets/zielobjekt.h"
#include "support/wahl_szenario.h"

namespace klebwerk {
namespace {

using test::WahlSzenario;

class Waehlen : public ::testing::Test, public WahlSzenario {
protected:
    const Punkt imChat{200, 200};
    const Punkt imEditor{700, 300};

    // The user starts the choice and clicks.
    void waehleMitKlick(Punkt p) {
        if (s().modus != Modus::wahl) s().zielWahlStarten();
        ASSERT_EQ(s().modus, Modus::wahl);
        klicke(p);
    }
    std::vector<std::string> namen() {
        std::vector<std::string> n;
        for (const auto& z : s().verbunden) n.push_back(s().name(z));
        return n;
    }
};

TEST_F(Waehlen, EinSchonVerbundenesFensterWirdAktivOhneDoppelUndBehaeltSeinenPlatz) {
    waehleMitKlick(imChat);
    waehleMitKlick(imEditor);
    auto chatZiel = s().verbunden.front();
    ASSERT_EQ(s().ziel->pid, editorPid);
    ASSERT_EQ(chatZiel->platz, 1);
    u.desktop.uhr.vorwaerts(5);

    waehleMitKlick(imChat);
    EXPECT_EQ(s().verbunden.size(), 2u);
    EXPECT_EQ(s().ziel, chatZiel) << "the existing target, not a new one";
    EXPECT_EQ(chatZiel->platz, 1);
    EXPECT_TRUE(s().rahmen.sichtbar());
    EXPECT_EQ(s().rahmen.rahmen(), chatRahmen);
    EXPECT_EQ(s().rahmen.farbe(), QColor(52, 199, 89));
    EXPECT_EQ(s().hinweis.text(), "✓ Ziel: Gespräch");
    EXPECT_EQ(u.ud.ganzzahl("zielPid"), chatPid);
    EXPECT_EQ(u.ud.ganzzahl("zielNummer"), chat->nummer);
    EXPECT_EQ(s().autoApps(), (std::set<std::string>{"com.example.chat", "org.example.editor"}));
}

TEST_F(Waehlen, NeuVerbindenMitEinemAnderenFensterErsetztStillUndGibtDenPlatzWeiter) {
    auto& drittes = u.desktop.oeffneFenster(chatPid, "Drittes", {100, 500, 300, 200});
    waehleMitKlick({150, 550});
    waehleMitKlick(imChat);
    auto a = s().verbunden.back();
    ASSERT_EQ(a->platz, 2);
    s().setzeAbgewaehlt({editor->nummer});
    u.desktop.uhr.vorwaerts(5);

    s().neuVerbinden(a);
    EXPECT_EQ(s().modus, Modus::wahl);
    klicke(imEditor);
    ASSERT_EQ(s().verbunden.size(), 2u);
    EXPECT_EQ(s().verbunden.front()->fenster, drittes.element());
    EXPECT_EQ(s().verbunden.back()->pid, editorPid);
    EXPECT_EQ(s().verbunden.back()->platz, 2) << "the replaced target's slot";
    EXPECT_EQ(s().ziel, s().verbunden.back());
    EXPECT_EQ(s().abgewaehlt(), std::set<std::int64_t>{chat->nummer});
    EXPECT_FALSE(s().wahlErsetzt);
    EXPECT_EQ(s().hinweis.text(), "✓ Ziel: notizen.txt") << "quiet removal: no closed-window hint";
    EXPECT_TRUE(imLog(" Ziel entfernt: Chat – Gespräch\n"));
}

TEST_F(Waehlen, NeuVerbindenMitDemEigenenFensterAendertNichtsAusserDemAktivieren) {
    waehleMitKlick(imChat);
    waehleMitKlick(imEditor);
    auto a = s().verbunden.front();
    auto vorher = s().verbunden;
    s().neuVerbinden(a);
    klicke(imChat);
    EXPECT_EQ(s().verbunden, vorher);
    EXPECT_EQ(a->platz, 1);
    EXPECT_EQ(s().ziel, a);
    EXPECT_FALSE(s().wahlErsetzt);
    EXPECT_TRUE(s().abgewaehlt().empty());
    EXPECT_FALSE(imLog("Ziel entfernt"));
}

TEST_F(Waehlen, EinErsetzenGiltNurFuerDieGleichFolgendeWahl) {
    waehleMitKlick(imChat);
    auto a = s().ziel;
    // Cancelled by Escape, by a second start and by a click on nothing: each time the
    // replacement is forgotten.
    for (int weg = 0; weg < 3; ++weg) {
        s().neuVerbinden(a);
        ASSERT_EQ(s().wahlErsetzt, a);
        if (weg == 0) tue(EreignisArt::tasteRunter, imChat, 53);
        if (weg == 1) s().zielWahlStarten();
        if (weg == 2) klicke({50, 750});
        EXPECT_FALSE(s().wahlErsetzt) << weg;
        EXPECT_EQ(s().modus, Modus::keiner);
    }
    s().fensterHinzufuegen();
    klicke(imEditor);
    EXPECT_EQ(s().verbunden.size(), 2u) << "added, nothing replaced";
}

TEST_F(Waehlen, FensterHinzufuegenVergisstEinErsetzen) {
    waehleMitKlick(imChat);
    s().wahlErsetzt = s().ziel;
    s().fensterHinzufuegen();
    EXPECT_FALSE(s().wahlErsetzt);
    EXPECT_EQ(s().modus, Modus::wahl);
}

TEST_F(Waehlen, MenuepunkteWirkenNurMitEinemZielAlsObjekt) {
    s().fensterGewaehlt(QVariant(42));
    s().fensterGewaehlt(QVariant());
    EXPECT_TRUE(s().verbunden.empty());
    s().fensterGewaehlt(zielObjekt(zielVon(chat, chatPid)));
    ASSERT_EQ(s().verbunden.size(), 1u);
    s().fensterGewaehlt(zielObjekt(zielVon(editor, editorPid)));
    auto chatZiel = s().verbunden.front();

    s().zielAktivieren(zielObjekt(chatZiel));
    EXPECT_EQ(s().ziel, chatZiel);
    EXPECT_EQ(s().hinweis.text(), "✓ Ziel: Gespräch");
    s().zielAktivieren(QVariant(QStringLiteral("Gespräch")));
    EXPECT_EQ(s().ziel, chatZiel);
    // A target that left the list meanwhile (the menu was built before) is ignored.
    auto editorZiel = s().verbunden.back();
    s().entferne(editorZiel, true);
    s().zielAktivieren(zielObjekt(editorZiel));
    EXPECT_EQ(s().ziel, chatZiel);
    EXPECT_EQ(s().verbunden.size(), 1u);
    s().testBefehl("aktiv|notizen.txt");
    EXPECT_EQ(s().ziel, chatZiel);
}

TEST_F(Waehlen, ZielAufhebenEntferntStillUndMerktEs) {
    s().zielAufheben();  // without a target: nothing
    EXPECT_TRUE(s().abgewaehlt().empty());
    waehleMitKlick(imChat);
    waehleMitKlick(imEditor);
    u.desktop.uhr.vorwaerts(5);
    s().zielAufheben();
    EXPECT_EQ(s().abgewaehlt(), std::set<std::int64_t>{editor->nummer});
    ASSERT_EQ(s().verbunden.size(), 1u);
    EXPECT_EQ(s().ziel, s().verbunden.front());
    EXPECT_FALSE(s().hinweis.sichtbar()) << "quiet";
    // Choosing it again takes it out of the deselected set.
    waehleMitKlick(imEditor);
    EXPECT_TRUE(s().abgewaehlt().empty());
}

TEST_F(Waehlen, OrdneNimmtNurEineUmordnungGenauDerVerbundenenZiele) {
    u.desktop.oeffneFenster(chatPid, "Drittes", {100, 500, 300, 200});
    waehleMitKlick(imChat);
    waehleMitKlick(imEditor);
    waehleMitKlick({150, 550});
    ASSERT_EQ(namen(), (std::vector<std::string>{"Gespräch", "notizen.txt", "Drittes"}));
    const auto vorher = s().verbunden;

    struct Fall {
        std::string befehl;
        std::vector<std::string> danach;
    };
    const Fall faelle[] = {
        {"ordne|Gespräch|notizen.txt", {"Gespräch", "notizen.txt", "Drittes"}},           // shorter
        {"ordne|Gespräch|Gespräch|notizen.txt", {"Gespräch", "notizen.txt", "Drittes"}},  // a duplicate drops one
        {"ordne|Gespräch|notizen.txt|Drittes|Gespräch", {"Gespräch", "notizen.txt", "Drittes"}},
        {"ordne|Drittes|Gespräch|notizen.txt|Fremd", {"Drittes", "Gespräch", "notizen.txt"}},  // unknown names skipped
        {"ordne|notizen.txt|Drittes|Gespräch", {"notizen.txt", "Drittes", "Gespräch"}},
    };
    for (const Fall& f : faelle) {
        s().testBefehl(f.befehl);
        EXPECT_EQ(namen(), f.danach) << f.befehl;
    }
    EXPECT_EQ(imLogMal("Reihenfolge: "), 2);
    EXPECT_TRUE(imLog(" Reihenfolge: [\"notizen.txt\", \"Drittes\", \"Gespräch\"]\n"));
    EXPECT_NE(u.status().find("\"notizen.txt\",\n        \"Drittes\""), std::string::npos) << u.status();

    // Called directly: a foreign target of the right number is refused too.
    auto fremd = zielVon(chat, chatPid);
    s().ordne({fremd, s().verbunden[1], s().verbunden[2]});
    EXPECT_EQ(namen(), (std::vector<std::string>{"notizen.txt", "Drittes", "Gespräch"}));
    s().ordne({nullptr, s().verbunden[1], s().verbunden[2]});
    EXPECT_EQ(s().verbunden.size(), 3u);
}

TEST_F(Waehlen, ZielneuErsetztDasGenannteZiel) {
    waehleMitKlick(imChat);
    s().testBefehl("zielneu|Gespräch|Editor|notizen");
    ASSERT_EQ(s().verbunden.size(), 1u);
    EXPECT_EQ(s().ziel->pid, editorPid);
    EXPECT_EQ(s().abgewaehlt(), std::set<std::int64_t>{chat->nummer});
    // An unknown window leaves everything as it was, and no replacement waits.
    s().testBefehl("zielneu|notizen.txt|Editor|gibtsnicht");
    EXPECT_FALSE(s().wahlErsetzt);
    EXPECT_EQ(s().verbunden.size(), 1u);
    // An unknown name only adds.
    s().testBefehl("zielneu|Fremd|Chat|Gespr");
    EXPECT_EQ(s().verbunden.size(), 2u);
}

}  // namespace
}  // namespace klebwerk
