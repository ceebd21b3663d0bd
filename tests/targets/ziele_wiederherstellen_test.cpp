// The target list across a restart: what is stored, what comes back, and what a stored
// entry may never connect to.

#include <gtest/gtest.h>

#include "support/ziele_szenario.h"

namespace klebwerk {
namespace {

using test::ZieleSzenario;
using Liste = std::vector<std::vector<std::int64_t>>;

class Wiederherstellen : public ::testing::Test, public ZieleSzenario {
protected:
    void SetUp() override { chatUndEditor(); }
    qint64 c() const { return chat->nummer; }
    qint64 e() const { return editor->nummer; }
    void speichere(const std::vector<std::vector<qint64>>& ziele, const std::vector<std::string>& kennungen) {
        ud.setze("ziele", eintraege(ziele));
        ud.setze("zielKennungen", texte(kennungen));
    }
};

TEST_F(Wiederherstellen, BeideFensterKommenInIhrerReihenfolgeMitPlaetzenUndDemAktivenZurueck) {
    speichere({{chatPid, c(), 2}, {editorPid, e(), 1}}, {"com.example.chat", "org.example.editor"});
    ud.setzeGanzzahl("zielPid", editorPid);
    ud.setzeGanzzahl("zielNummer", e());
    starte();

    EXPECT_EQ(liste(), (Liste{{chatPid, c(), 2}, {editorPid, e(), 1}}));
    ASSERT_TRUE(s().ziel);
    EXPECT_EQ(s().ziel->pid, editorPid);
    EXPECT_EQ(gespeichert(), (Liste{{chatPid, c(), 2}, {editorPid, e(), 1}}));
    EXPECT_EQ(ud.texte("zielKennungen"), (std::vector<std::string>{"com.example.chat", "org.example.editor"}));
    EXPECT_EQ(s().autoApps(), (std::set<std::string>{"com.example.chat", "org.example.editor"}));
    EXPECT_TRUE(s().verbunden[0]->beobachter.aktiv()) << "a restored target is observed";
}

TEST_F(Wiederherstellen, OhneGespeicherteListeKommtDasEinzelneAktiveZielAufPlatzEins) {
    autoAppsSpeichern({"com.example.chat"});
    ud.setzeGanzzahl("zielPid", chatPid);
    ud.setzeGanzzahl("zielNummer", c());
    starte();
    EXPECT_EQ(liste(), (Liste{{chatPid, c(), 1}}));
}

TEST_F(Wiederherstellen, EineLeereGespeicherteListeBleibtLeerAuchMitAltemAktivenZiel) {
    autoAppsSpeichern({"com.example.chat"});
    ud.setze("ziele", QJsonArray());
    ud.setzeGanzzahl("zielPid", chatPid);
    ud.setzeGanzzahl("zielNummer", c());
    starte();
    EXPECT_TRUE(s().verbunden.empty()) << "the user's last list was empty: nothing comes back";
}

TEST_F(Wiederherstellen, KurzeEintraegeFallenWegUndPlatzNullBekommtDenErstenFreien) {
    speichere({{chatPid}, {chatPid, c(), 0}, {editorPid, e(), 1}}, {"", "com.example.chat", "org.example.editor"});
    starte();
    // Slot 0 takes the first free one when its window connects; the editor's stored 1 is
    // then taken and it gets the next.
    EXPECT_EQ(liste(), (Liste{{chatPid, c(), 1}, {editorPid, e(), 2}}));
    EXPECT_EQ(gespeichert(), (Liste{{chatPid, c(), 1}, {editorPid, e(), 2}})) << "[501] is not written back";
}

TEST_F(Wiederherstellen, ZweiGleicheEintraegeVerbindenEinmalDerZweiteBleibtBisSeineAppEndet) {
    speichere({{chatPid, c(), 1}, {chatPid, c(), 1}}, {"com.example.chat", "com.example.chat"});
    starte();
    EXPECT_EQ(liste(), (Liste{{chatPid, c(), 1}}));
    EXPECT_EQ(gespeichert(), (Liste{{chatPid, c(), 1}, {chatPid, c(), 1}}));

    desktop.beendeAnwendung(chatPid);
    vorwaerts(2.0);
    EXPECT_TRUE(s().verbunden.empty());
    EXPECT_TRUE(s().ausstehend.empty());
    EXPECT_EQ(gespeichert(), Liste{});
}

// Process ids and window numbers repeat after a quit or a reboot: the process that holds
// a stored id now may be another program.
TEST_F(Wiederherstellen, EineFremdeAppMitDerGespeichertenPidWirdNieVerbundenNochAutomatischGemerkt) {
    // The chat of the stored list is gone; the editor now has the chat's old number's
    // owner id: stored [editorPid, e()] under the chat's key.
    speichere({{editorPid, e(), 1}}, {"com.example.chat"});
    starte();
    EXPECT_TRUE(s().verbunden.empty());
    EXPECT_EQ(s().ausstehend.size(), 1u);
    EXPECT_TRUE(s().autoApps().empty()) << "a pending entry's process adds nothing to the automatic connection";
}

TEST_F(Wiederherstellen, EinEintragOhneGespeichertenSchluesselVerbindetNurMitEinerBekanntenApp) {
    struct Fall {
        std::set<std::string> autoApps;
        bool verbunden;
    };
    for (const Fall& f : {Fall{{}, false}, Fall{{"org.example.other"}, false}, Fall{{"com.example.chat"}, true}}) {
        ZieleSzenario sz;
        sz.chatUndEditor();
        sz.ud.setze("ziele", eintraege({{chatPid, sz.chat->nummer, 1}}));
        QJsonArray a;
        for (const auto& k : f.autoApps) a.append(QString::fromStdString(k));
        sz.ud.setze("autoApps", a);
        sz.starte();
        EXPECT_EQ(sz.s().verbunden.size(), f.verbunden ? 1u : 0u) << a.size();
    }
}

TEST_F(Wiederherstellen, DieLateFreigabeStelltDieZieleDochNochHer) {
    desktop.ax.freigabe = false;
    speichere({{chatPid, c(), 1}}, {"com.example.chat"});
    starte();
    EXPECT_TRUE(s().verbunden.empty());
    EXPECT_EQ(gespeichert(), (Liste{{chatPid, c(), 1}})) << "nothing was written over the stored list";

    desktop.ax.freigabe = true;
    vorwaerts(2.0);
    EXPECT_EQ(liste(), (Liste{{chatPid, c(), 1}}));
    EXPECT_EQ(gespeichert(), (Liste{{chatPid, c(), 1}}));
}

TEST_F(Wiederherstellen, UnsinnigeGespeicherteWerteLesenSichLeerOderFallenWegUndWerdenNieZurueckgeschrieben) {
    const std::vector<std::pair<const char*, QJsonValue>> faelle = {
        {"ein Text", QJsonValue("501,7342")},
        {"eine Zahl", QJsonValue(501)},
        {"Texte in der Liste", QJsonValue(QJsonArray{QJsonArray{"501", "7342"}})},
        {"verschachtelt", QJsonValue(QJsonArray{QJsonArray{QJsonArray{501}, 7342}})},
        {"riesige Zahlen", QJsonValue(QJsonArray{QJsonArray{1e300, 7342}})},
        {"Brüche", QJsonValue(QJsonArray{QJsonArray{501.5, 7342}})},
    };
    for (const auto& [name, wert] : faelle) {
        ZieleSzenario sz;
        sz.chatUndEditor();
        sz.ud.setze("ziele", wert);
        sz.ud.setze("zielKennungen", QJsonValue(QJsonArray{QJsonArray{1}}));
        sz.ud.setze("abgewaehlt", QJsonValue("kaputt"));
        sz.ud.setze("autoApps", QJsonValue(QJsonArray{7, QJsonArray{}}));
        sz.starte();
        EXPECT_TRUE(sz.s().verbunden.empty()) << name;
        EXPECT_TRUE(sz.s().ausstehend.empty()) << name;
        EXPECT_TRUE(sz.s().abgewaehlt().empty()) << name;
        EXPECT_TRUE(sz.s().autoApps().empty()) << name;
    }
}

TEST_F(Wiederherstellen, EintraegeAusserhalbDerBereicheFallenWegDieGueltigenBleiben) {
    // A negative or zero process id, a process id beyond 32 bits, a negative window
    // number, a window number beyond 32 bits; then one good entry.
    speichere({{-5, c(), 1}, {0, c(), 1}, {4294967297LL, c(), 1}, {chatPid, -3, 1}, {chatPid, 4294967296LL, 1},
               {editorPid, e(), 1}},
              {"", "", "", "", "", "org.example.editor"});
    starte();
    EXPECT_EQ(liste(), (Liste{{editorPid, e(), 1}}));
    EXPECT_TRUE(s().ausstehend.empty());
    EXPECT_EQ(gespeichert(), (Liste{{editorPid, e(), 1}}));
    vorwaerts(10.0);
    EXPECT_EQ(gespeichert(), (Liste{{editorPid, e(), 1}}));
}

TEST_F(Wiederherstellen, AbgewaehlteNummernVerschwundenerFensterWerdenBeimStartVergessen) {
    autoAppsSpeichern({"com.example.chat"});
    QJsonArray ab{qint64(c()), qint64(999999)};
    ud.setze("abgewaehlt", ab);
    starte();
    EXPECT_EQ(s().abgewaehlt(), (std::set<std::int64_t>{c()}));
}

TEST_F(Wiederherstellen, AbgewaehlteNummernBleibenWennEineAppNichtAntwortet) {
    autoAppsSpeichern({"com.example.chat"});
    desktop.ax.baum(chatPid).haengt = true;
    ud.setze("abgewaehlt", QJsonArray{qint64(999999)});
    starte();
    EXPECT_EQ(s().abgewaehlt(), (std::set<std::int64_t>{999999}));
}

}  // namespace
}  // namespace klebwerk
