// Recording the dictation and send shortcuts through the kuerzel mode, their stored
// form and their registration, on the simulated desktop and the virtual clock.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "app/steuerung.h"
#include "basis/ordner.h"
#include "input/kuerzel.h"
#include "platform/sim/sim_desktop.h"
#include "support/protokoll_hilfe.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

constexpr std::uint64_t shift = flagge::umschalt, ctrl = flagge::control, alt = flagge::option, cmd = flagge::befehl;
constexpr std::uint32_t ctrlAlt = 0x1800;
constexpr int vergeben = sim::SimTastenkuerzel::vergeben;

// Key codes of the keys the tests press.
constexpr std::uint16_t tA = 0, tS = 1, tD = 2, tX = 7, tJ = 38, tK = 40, tF5 = 96, tF20 = 90, tLeer = 49,
                        tReturn = 36, tLoeschen = 51, tEntfernen = 117, tEscape = 53;

// A controller on the simulated desktop with a US layout; `gespeichert` is written into
// the settings file before the controller starts.
struct Lauf {
    test::TempHeim heim;
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
    std::unique_ptr<Einstellungen> ud;
    std::unique_ptr<Steuerung> s;

    explicit Lauf(const QJsonObject& gespeichert = {}) {
        desktop.eingabe.belegung = {{tA, "a"}, {tS, "s"}, {tD, "d"}, {tX, "x"}, {tJ, "j"}, {tK, "k"}};
        legeOrdnerAn(heim.pfad() + "/.config/" + kennung);
        ud = std::make_unique<Einstellungen>(einstellungsDatei());
        for (auto it = gespeichert.begin(); it != gespeichert.end(); ++it) ud->setze(it.key().toStdString(), *it);
        s = std::make_unique<Steuerung>(plattform, *ud);
        s->starte();
        desktop.uhr.laufeFaelliges();
    }
    // The user presses a key while the tap is there.
    void druecke(std::uint16_t code, std::uint64_t flaggen = 0) {
        desktop.abgriff.simuliere({EreignisArt::tasteRunter, code, flaggen, {}});
        desktop.uhr.laufeFaelliges();
    }
    void nimmAuf(KuerzelArt art) {
        s->kuerzelAufnehmen(art);
        desktop.uhr.laufeFaelliges();
    }
    std::optional<Kuerzel> gespeichert(KuerzelArt art) const { return gespeichertesKuerzel(*ud, art); }
    // The registration of a hot-key id on the desktop, as (code, mask).
    std::optional<std::pair<std::uint16_t, std::uint32_t>> registriert(std::uint32_t id) const {
        auto it = desktop.kuerzel.registriert.find(id);
        if (it == desktop.kuerzel.registriert.end()) return std::nullopt;
        return std::pair{it->second.code, it->second.mods};
    }
    std::string status() const { return test::TempHeim::lies(heim.daten("status.json")); }
    std::vector<std::string> log() const { return test::protokollTexte(heim.protokoll()); }
};

QJsonArray form(std::uint32_t code, std::uint32_t mods, const char* text) {
    return speicherform(Kuerzel{code, mods, text});
}

const std::string kombinieren = "Bitte mit ⌃, ⌥ oder ⌘ kombinieren  ·  esc bricht ab";

TEST(KuerzelAufnahme, JedeTasteNachDenRegelnDerAufnahme) {
    struct Fall {
        const char* was;
        std::uint16_t code;
        std::uint64_t flaggen;
        std::optional<Kuerzel> gespeichert;  // none: refused, the recording goes on
        std::string hinweis;
    };
    const std::string inApp = " ist schon in dieser App belegt – andere Kombination drücken";
    const Fall faelle[] = {
        {"⇧ alone is no combination", tA, shift, std::nullopt, kombinieren},
        {"a plain letter", tA, 0, std::nullopt, kombinieren},
        {"F20 is no function key of the rule", tF20, 0, std::nullopt, kombinieren},
        {"F5 alone", tF5, 0, Kuerzel{tF5, 0, "F5"}, "✓ Diktat starten: F5"},
        {"⇧F5", tF5, shift, Kuerzel{tF5, 0x200, "⇧F5"}, "✓ Diktat starten: ⇧F5"},
        {"⌃⌥D", tD, ctrl | alt, Kuerzel{tD, ctrlAlt, "⌃⌥D"}, "✓ Diktat starten: ⌃⌥D"},
        {"caps lock and fn are left out", tD, ctrl | 0x10000 | 0x800000, Kuerzel{tD, 0x1000, "⌃D"},
         "✓ Diktat starten: ⌃D"},
        {"⇧⌘Space", tLeer, shift | cmd, Kuerzel{tLeer, 0x300, "⇧⌘Leertaste"}, "✓ Diktat starten: ⇧⌘Leertaste"},
        {"⌃⌥S belongs to choosing", tS, ctrl | alt, std::nullopt, "⌃⌥S" + inApp},
        {"the send shortcut's combination", tX, ctrl | alt, std::nullopt, "⌃⌥X" + inApp},
        {"the send key with one more modifier", tX, ctrl | alt | shift, Kuerzel{tX, 0x1A00, "⌃⌥⇧X"},
         "✓ Diktat starten: ⌃⌥⇧X"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.was);
        Lauf l(QJsonObject{{"kuerzel.senden", form(tX, ctrlAlt, "⌃⌥X")}});
        l.nimmAuf(KuerzelArt::diktat);
        l.druecke(f.code, f.flaggen);
        EXPECT_EQ(l.gespeichert(KuerzelArt::diktat), f.gespeichert);
        EXPECT_EQ(l.s->hinweis.text(), f.hinweis);
        EXPECT_TRUE(l.s->hinweis.sichtbar());
        EXPECT_EQ(l.gespeichert(KuerzelArt::senden), (Kuerzel{tX, ctrlAlt, "⌃⌥X"})) << "the other kind stays";
        if (f.gespeichert) {
            EXPECT_EQ(l.s->modus, Modus::keiner);
            EXPECT_FALSE(l.s->kuerzelLernen);
            EXPECT_FALSE(l.desktop.abgriff.regel) << "the tap is gone";
            EXPECT_EQ(l.registriert(2), std::pair(static_cast<std::uint16_t>(f.code), f.gespeichert->mods));
            EXPECT_NE(l.status().find("\"diktat\": \"" + f.gespeichert->text + "\""), std::string::npos) << l.status();
            l.desktop.uhr.vorwaerts(2.1);
            EXPECT_FALSE(l.s->hinweis.sichtbar()) << "the confirmation goes after 2 s";
        } else {
            EXPECT_EQ(l.s->modus, Modus::kuerzel);
            EXPECT_EQ(l.s->kuerzelLernen, KuerzelArt::diktat);
            EXPECT_FALSE(l.registriert(2));
            l.desktop.uhr.vorwaerts(600);
            EXPECT_TRUE(l.s->hinweis.sichtbar()) << "a refusal stays until the next press";
        }
    }
}

TEST(KuerzelAufnahme, EineFremdBelegteKombinationLaesstDasVorigeKuerzelGespeichertUndAngemeldet) {
    Lauf l(QJsonObject{{"kuerzel.diktat", form(tD, ctrlAlt, "⌃⌥D")}});
    ASSERT_EQ(l.registriert(2), std::pair(tD, ctrlAlt));
    l.desktop.kuerzel.belegt.insert({tK, ctrlAlt});
    l.nimmAuf(KuerzelArt::diktat);
    l.druecke(tK, ctrl | alt);
    EXPECT_EQ(l.s->hinweis.text(), "⌃⌥K ist von einem anderen Programm belegt – andere Kombination drücken");
    EXPECT_EQ(l.s->modus, Modus::kuerzel);
    EXPECT_EQ(l.gespeichert(KuerzelArt::diktat), (Kuerzel{tD, ctrlAlt, "⌃⌥D"}));
    EXPECT_EQ(l.registriert(2), std::pair(tD, ctrlAlt)) << "the previous registration is back";
    EXPECT_EQ(test::zaehle(l.log(), "Kürzel diktat ⌃⌥K angemeldet: " + std::to_string(vergeben)), 1);
    EXPECT_EQ(test::zaehle(l.log(), "Kürzel diktat ⌃⌥D angemeldet: 0"), 2) << "at start-up and restored";

    // The recording goes on: the next combination is taken.
    l.druecke(tJ, ctrl | alt);
    EXPECT_EQ(l.gespeichert(KuerzelArt::diktat), (Kuerzel{tJ, ctrlAlt, "⌃⌥J"}));
    EXPECT_EQ(l.registriert(2), std::pair(tJ, ctrlAlt));
    EXPECT_EQ(l.desktop.kuerzel.registriert.size(), 2u) << "⌃⌥S and one registration for the kind";
    EXPECT_EQ(l.s->modus, Modus::keiner);
}

TEST(KuerzelAufnahme, EineFremdBelegteKombinationOhneVorigesKuerzelLaesstNichtsGespeichert) {
    Lauf l;
    l.desktop.kuerzel.belegt.insert({tK, ctrlAlt});
    l.nimmAuf(KuerzelArt::senden);
    l.druecke(tK, ctrl | alt);
    EXPECT_TRUE(l.ud->wert("kuerzel.senden").isUndefined()) << "the key is removed again, not left empty";
    EXPECT_FALSE(l.registriert(3));
    EXPECT_EQ(l.s->modus, Modus::kuerzel);
}

TEST(KuerzelAufnahme, LoeschtastenEntfernenKuerzelUndAnmeldungAuchWoKeinesWar) {
    for (std::uint16_t taste : {tLoeschen, tEntfernen}) {
        Lauf l(QJsonObject{{"kuerzel.diktat", form(tD, ctrlAlt, "⌃⌥D")}});
        l.nimmAuf(KuerzelArt::diktat);
        l.druecke(taste);
        EXPECT_TRUE(l.ud->wert("kuerzel.diktat").isUndefined());
        EXPECT_FALSE(l.registriert(2));
        EXPECT_FALSE(l.desktop.kuerzel.druecke(tD, ctrlAlt)) << "the combination reaches the front application again";
        EXPECT_EQ(l.s->modus, Modus::keiner);
        EXPECT_FALSE(l.s->kuerzelLernen);
        EXPECT_EQ(l.s->hinweis.text(), "Kürzel für „Diktat starten“ gelöscht");
        EXPECT_NE(l.status().find("\"kuerzelLernen\": \"\""), std::string::npos);
        l.desktop.uhr.vorwaerts(1.7);
        EXPECT_TRUE(l.s->hinweis.sichtbar());
        l.desktop.uhr.vorwaerts(0.2);
        EXPECT_FALSE(l.s->hinweis.sichtbar()) << "shown for 1.8 s";

        // On a kind without a shortcut the same hint.
        l.nimmAuf(KuerzelArt::senden);
        l.druecke(taste);
        EXPECT_EQ(l.s->hinweis.text(), "Kürzel für „Senden“ gelöscht");
        EXPECT_EQ(l.s->modus, Modus::keiner);
    }
}

TEST(KuerzelAufnahme, EscapeBrichtAbOhneZuSpeichernUndOhneHinweis) {
    Lauf l(QJsonObject{{"kuerzel.senden", form(tReturn, 0x100, "⌘↩")}});
    l.nimmAuf(KuerzelArt::senden);
    l.druecke(tA);  // refused first: the combine hint shows
    l.druecke(tEscape);
    EXPECT_EQ(l.s->modus, Modus::keiner);
    EXPECT_FALSE(l.s->kuerzelLernen);
    EXPECT_FALSE(l.s->hinweis.sichtbar());
    EXPECT_FALSE(l.desktop.abgriff.regel);
    EXPECT_EQ(l.gespeichert(KuerzelArt::senden), (Kuerzel{tReturn, 0x100, "⌘↩"}));
    EXPECT_EQ(l.registriert(3), std::pair(tReturn, 0x100u));
    EXPECT_NE(l.status().find("\"modus\": \"keiner\""), std::string::npos);
}

TEST(KuerzelAufnahme, AufnehmenStartetDenModusMitHinweisUndNimmtJedeTaste) {
    Lauf l;
    l.s->zielWahlStarten();
    ASSERT_EQ(l.s->modus, Modus::wahl);
    l.s->testBefehl("kuerzellernen|senden");
    l.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(l.s->modus, Modus::kuerzel) << "the choice ends and the recording starts";
    EXPECT_EQ(l.s->kuerzelLernen, KuerzelArt::senden);
    EXPECT_EQ(l.s->hinweis.text(), "Kürzel für „Senden“ drücken  ·  esc bricht ab  ·  ⌫ löscht");
    ASSERT_TRUE(l.desktop.abgriff.regel);
    EXPECT_EQ(l.desktop.abgriff.regel->linkeTaste, AbgriffRegel::Umgang::durchlassen);
    EXPECT_TRUE(nimmt(*l.desktop.abgriff.regel, EreignisArt::tasteRunter, tEscape));
    EXPECT_TRUE(nimmt(*l.desktop.abgriff.regel, EreignisArt::tasteRunter, tD));
    EXPECT_NE(l.status().find("\"kuerzelLernen\": \"senden\""), std::string::npos);
    EXPECT_NE(l.status().find("\"modus\": \"kuerzel\""), std::string::npos);

    // The other kind, and words that are no kind.
    l.s->testBefehl("kuerzellernen|diktat");
    EXPECT_EQ(l.s->kuerzelLernen, KuerzelArt::diktat);
    EXPECT_EQ(l.s->hinweis.text(), "Kürzel für „Diktat starten“ drücken  ·  esc bricht ab  ·  ⌫ löscht");
    for (const char* b : {"kuerzellernen|Diktat", "kuerzellernen|", "kuerzellernen"}) {
        l.s->testBefehl(b);
        EXPECT_EQ(l.s->kuerzelLernen, KuerzelArt::diktat) << b;
        EXPECT_EQ(l.s->modus, Modus::kuerzel) << b;
    }
}

TEST(KuerzelAufnahme, OhneFreigabeOeffnetSieDieEinstellungenStattAufzunehmen) {
    test::TempHeim heim;
    sim::SimDesktop desktop;
    desktop.ax.freigabe = false;
    Plattform p = desktop.plattform();
    Einstellungen ud{einstellungsDatei()};
    Steuerung s(p, ud);
    s.starte();
    s.kuerzelAufnehmen(KuerzelArt::diktat);
    EXPECT_EQ(s.modus, Modus::keiner);
    EXPECT_FALSE(s.kuerzelLernen);
    EXPECT_FALSE(desktop.abgriff.regel);
    EXPECT_EQ(desktop.arbeitsplatz.geoeffnet,
              std::vector<std::string>{"x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"});
}

TEST(KuerzelAufnahme, EineTasteOhneTastencodeWirdUebergangen) {
    Lauf l;
    l.nimmAuf(KuerzelArt::diktat);
    const std::string start = l.s->hinweis.text();
    l.druecke(0xFFFF, ctrl);
    EXPECT_EQ(l.s->modus, Modus::kuerzel);
    EXPECT_EQ(l.s->hinweis.text(), start);
    EXPECT_TRUE(l.ud->wert("kuerzel.diktat").isUndefined());
}

TEST(KuerzelSpeicherform, HinUndZurueckUndFalscheFormenSindKeinKuerzel) {
    test::TempHeim heim;
    Einstellungen ud{einstellungsDatei()};
    const Kuerzel k{tReturn, 0x1900, "⌃⌥⌘↩"};
    ud.setze("kuerzel.senden", speicherform(k));
    EXPECT_EQ(gespeichertesKuerzel(ud, KuerzelArt::senden), k);
    EXPECT_EQ(QJsonDocument(ud.wert("kuerzel.senden").toArray()).toJson(QJsonDocument::Compact).toStdString(),
              "[36,6400,\"⌃⌥⌘↩\"]");
    EXPECT_FALSE(gespeichertesKuerzel(ud, KuerzelArt::diktat)) << "no defaults";

    const std::pair<const char*, QJsonValue> falsch[] = {
        {"two elements", QJsonArray{2, 6144}},
        {"four elements", QJsonArray{2, 6144, "⌃⌥D", 1}},
        {"code as text", QJsonArray{"2", 6144, "⌃⌥D"}},
        {"mask as text", QJsonArray{2, "6144", "⌃⌥D"}},
        {"text as number", QJsonArray{2, 6144, 5}},
        {"fractional code", QJsonArray{2.5, 6144, "⌃⌥D"}},
        {"negative code", QJsonArray{-1, 6144, "⌃⌥D"}},
        {"code beyond any key event", QJsonArray{70000, 6144, "⌃⌥D"}},
        {"mask beyond 32 bits", QJsonArray{2, 4294967296.0, "⌃⌥D"}},
        {"a Boolean code", QJsonArray{true, 6144, "⌃⌥D"}},
        {"an object", QJsonObject{{"code", 2}}},
        {"a text", QJsonValue("⌃⌥D")},
        {"empty", QJsonArray{}},
    };
    for (const auto& [was, wert] : falsch) {
        ud.setze("kuerzel.diktat", wert);
        EXPECT_FALSE(gespeichertesKuerzel(ud, KuerzelArt::diktat)) << was;
    }
}

TEST(KuerzelAnmeldung, BeimStartWerdenBeideGespeichertenKuerzelNebenCtrlOptSAngemeldet) {
    Lauf l(QJsonObject{{"kuerzel.diktat", form(tD, ctrlAlt, "⌃⌥D")}, {"kuerzel.senden", form(tReturn, 0x100, "⌘↩")}});
    EXPECT_EQ(l.registriert(1), std::pair(tS, ctrlAlt));
    EXPECT_EQ(l.registriert(2), std::pair(tD, ctrlAlt));
    EXPECT_EQ(l.registriert(3), std::pair(tReturn, 0x100u));
    EXPECT_EQ(l.s->kuerzelRefs, (std::set<std::uint32_t>{2, 3}));
    auto log = l.log();
    EXPECT_EQ(test::zaehle(log, "Kürzel diktat ⌃⌥D angemeldet: 0"), 1);
    EXPECT_EQ(test::zaehle(log, "Kürzel senden ⌘↩ angemeldet: 0"), 1);
    EXPECT_NE(l.status().find("\"senden\": \"⌘↩\""), std::string::npos);

    // The send shortcut pressed without a target: the hint, dispatched on the main queue.
    ASSERT_TRUE(l.desktop.kuerzel.druecke(tReturn, 0x100));
    EXPECT_FALSE(l.s->hinweis.sichtbar());
    l.desktop.uhr.laufeFaelliges();
    EXPECT_EQ(l.s->hinweis.text(), "Kein Zielfenster gewählt");
}

TEST(KuerzelAnmeldung, FalscheGespeicherteWerteMeldenNichtsAnUndStoerenNichts) {
    Lauf l(QJsonObject{{"kuerzel.diktat", QJsonArray{"2", 6144, "⌃⌥D"}}, {"kuerzel.senden", QJsonArray{36, 256}}});
    EXPECT_EQ(l.desktop.kuerzel.registriert.size(), 1u) << "⌃⌥S only";
    EXPECT_TRUE(l.s->kuerzelRefs.empty());
    EXPECT_EQ(test::zaehleAnfaenge(l.log(), "Kürzel diktat"), 0);
    EXPECT_NE(l.status().find("\"diktat\": \"\""), std::string::npos);
    // Recording over a broken value replaces it.
    l.nimmAuf(KuerzelArt::diktat);
    l.druecke(tD, ctrl | alt);
    EXPECT_EQ(l.gespeichert(KuerzelArt::diktat), (Kuerzel{tD, ctrlAlt, "⌃⌥D"}));
}

TEST(KuerzelAnmeldung, EineBeimStartAbgewieseneKombinationWirdProtokolliertUndNichtGemerkt) {
    test::TempHeim heim;
    sim::SimDesktop desktop;
    desktop.kuerzel.belegt.insert({tD, ctrlAlt});
    Plattform p = desktop.plattform();
    legeOrdnerAn(heim.pfad() + "/.config/" + kennung);
    Einstellungen ud{einstellungsDatei()};
    ud.setze("kuerzel.diktat", form(tD, ctrlAlt, "⌃⌥D"));
    Steuerung s(p, ud);
    s.starte();
    EXPECT_TRUE(s.kuerzelRefs.empty());
    EXPECT_EQ(test::zaehle(test::protokollTexte(heim.protokoll()),
                           "Kürzel diktat ⌃⌥D angemeldet: " + std::to_string(vergeben)),
              1);
    EXPECT_EQ(s.kurzbefehl, 1u) << "⌃⌥S is not affected";
}

TEST(KuerzelAnmeldung, KuerzeldruckGibtGueltigeNummernWeiter) {
    Lauf l;
    l.s->testBefehl("kuerzeldruck|3");
    EXPECT_EQ(l.s->hinweis.text(), "Kein Zielfenster gewählt");
    l.s->hinweis.weg();
    for (const char* b : {"kuerzeldruck|-1", "kuerzeldruck|4294967297", "kuerzeldruck|1.5", "kuerzeldruck|abc",
                          "kuerzeldruck|1e300", "kuerzeldruck"}) {
        l.s->testBefehl(b);
        EXPECT_EQ(l.s->modus, Modus::keiner) << b;
        EXPECT_FALSE(l.s->hinweis.sichtbar()) << b;
    }
    l.s->testBefehl("kuerzeldruck|4294967295");
    EXPECT_EQ(l.s->modus, Modus::keiner) << "an id no shortcut has";
    l.s->testBefehl("kuerzeldruck|1");
    EXPECT_EQ(l.s->modus, Modus::wahl);
}

}  // namespace
}  // namespace klebwerk
