// Stored targets whose windows come later: connected every two seconds at their old
// place, dropped when their application quits.

#include <gtest/gtest.h>

#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;
using Liste = std::vector<std::vector<std::int64_t>>;

class Ausstehende : public ::testing::Test, public ZieleSzenario {};

TEST_F(Ausstehende, EinFensterDasFuenfSekundenSpaeterKommtWirdAnSeinemAltenPlatzVerbunden) {
    chatUndEditor();
    // The chat's second window opens later (the simulated desktop numbers windows in
    // order: 102 comes after the chat's 100 and the editor's 101); the editor is there.
    ud.setze("ziele", eintraege({{chatPid, 102, 3}, {editorPid, editor->nummer, 1}}));
    ud.setze("zielKennungen", texte({"com.example.chat", "org.example.editor"}));
    starte();
    ASSERT_EQ(liste(), (Liste{{editorPid, editor->nummer, 1}}));
    EXPECT_EQ(gespeichert(), (Liste{{chatPid, 102, 3}, {editorPid, editor->nummer, 1}}))
        << "the pending entry is written back at its old position";

    vorwaerts(5.0);
    auto& spaet = fenster(chatPid, "Später");
    ASSERT_EQ(spaet.nummer, 102u);
    vorwaerts(0.9);
    EXPECT_EQ(s().verbunden.size(), 1u) << "the late connection runs every 2 s: next at 6.0 s";
    vorwaerts(0.2);
    EXPECT_EQ(liste(), (Liste{{chatPid, 102, 3}, {editorPid, editor->nummer, 1}}));
    EXPECT_TRUE(s().ausstehend.empty());
    EXPECT_TRUE(imLog("Nachträglich verbunden: Chat \u2013 Später"));
    EXPECT_TRUE(s().verbunden.front()->beobachter.aktiv());
    EXPECT_EQ(gespeichert(), (Liste{{chatPid, 102, 3}, {editorPid, editor->nummer, 1}}));
}

TEST_F(Ausstehende, EineAppDieVorIhremFensterEndetFaelltBeimNaechstenLaufWeg) {
    chatUndEditor();
    ud.setze("ziele", eintraege({{chatPid, 4242, 1}, {editorPid, editor->nummer, 2}}));
    ud.setze("zielKennungen", texte({"com.example.chat", "org.example.editor"}));
    starte();
    ASSERT_EQ(s().ausstehend.size(), 1u);
    desktop.beendeAnwendung(chatPid);
    vorwaerts(2.0);
    EXPECT_TRUE(s().ausstehend.empty());
    s().speichereZiele();
    EXPECT_EQ(gespeichert(), (Liste{{editorPid, editor->nummer, 2}}));
}

TEST_F(Ausstehende, OhneAktivesZielWirdDasErsteNachtraeglichVerbundeneAktiv) {
    app(chatPid, "Chat", "com.example.chat");
    ud.setze("ziele", eintraege({{chatPid, 100, 1}}));
    ud.setze("zielKennungen", texte({"com.example.chat"}));
    starte();
    ASSERT_FALSE(s().ziel);
    fenster(chatPid, "Gespräch");
    vorwaerts(2.0);
    ASSERT_TRUE(s().ziel);
    EXPECT_EQ(s().ziel->nummer(), 100u);
    EXPECT_EQ(ud.ganzzahl("zielNummer"), 100);
}

TEST_F(Ausstehende, EinFensterEinesAnderenProgrammsMitDerGespeichertenPidWirdNichtVerbunden) {
    // The stored chat is gone; another program now runs under its process id and opens a
    // window with the stored number.
    app(chatPid, "Fremd", "org.example.fremd");
    ud.setze("ziele", eintraege({{chatPid, 100, 1}}));
    ud.setze("zielKennungen", texte({"com.example.chat"}));
    starte();
    fenster(chatPid, "Irgendwas");
    vorwaerts(4.0);
    EXPECT_TRUE(s().verbunden.empty());
    EXPECT_FALSE(s().ziel);
}

}  // namespace
}  // namespace klebwerk
