// How combinations are written for the user, and the system's screenshot shortcuts
// read once until the desktop's setting changes.

#include <gtest/gtest.h>

#include "app/steuerung.h"
#include "basis/prozesswerte.h"
#include "input/kuerzel_anzeige.h"
#include "input/system_kuerzel_speicher.h"
#include "platform/sim/sim_desktop.h"
#include "support/protokoll_hilfe.h"
#include "support/temp_heim.h"

namespace klebwerk {
namespace {

constexpr std::uint64_t shift = flagge::umschalt, ctrl = flagge::control, alt = flagge::option, cmd = flagge::befehl;

// Switches the interface language for one test.
class Sprache {
public:
    explicit Sprache(bool en) : vorher_(englisch()) { setzeEnglisch(en); }
    ~Sprache() { setzeEnglisch(vorher_); }

private:
    bool vorher_;
};

TEST(KuerzelAnzeige, ModifikatorenInFesterFolgeDannDieTaste) {
    sim::SimDesktop d;
    // A German layout: the key at the US "y" position gives z, ";" gives ö.
    d.eingabe.belegung = {{2, "d"}, {0x10, "z"}, {0x29, "ö"}, {0x12, "1"}, {0x4C, "\r"}, {0x35, "\x1b"}};
    struct Fall {
        std::uint16_t code;
        std::uint64_t flaggen;
        const char* de;
        const char* en;
    };
    const Fall faelle[] = {
        {2, ctrl | alt, "⌃⌥D", "⌃⌥D"},
        {2, cmd | shift | alt | ctrl, "⌃⌥⇧⌘D", "⌃⌥⇧⌘D"},
        {0x10, cmd, "⌘Z", "⌘Z"},                       // the layout's character, not the US one
        {0x29, ctrl, "⌃Ö", "⌃Ö"},                      // upper case beyond ASCII
        {0x12, alt, "⌥1", "⌥1"},
        {49, shift | cmd, "⇧⌘Leertaste", "⇧⌘Space"},  // the Space bar follows the language
        {36, cmd, "⌘↩", "⌘↩"},
        {48, ctrl, "⌃⇥", "⌃⇥"},
        {123, alt, "⌥←", "⌥←"},
        {126, 0, "↑", "↑"},
        {96, 0, "F5", "F5"},
        {122, shift, "⇧F1", "⇧F1"},
        {80, 0, "F19", "F19"},
        {0x73, ctrl, "⌃↖", "⌃↖"},   // keys without a character get a name, not "?"
        {0x79, ctrl, "⌃⇟", "⌃⇟"},
        {0x4C, ctrl, "⌃⌤", "⌃⌤"},   // a control character is no character to show
        {0x72, ctrl, "⌃Einfg", "⌃Insert"},
        {0x5A, ctrl, "⌃F20", "⌃F20"},
        {0x0A, ctrl, "⌃?", "⌃?"},   // nothing known about the key
    };
    for (const Fall& f : faelle) {
        {
            Sprache s(false);
            EXPECT_EQ(kuerzelAnzeige(f.code, f.flaggen, d.eingabe), f.de) << f.code;
        }
        Sprache s(true);
        EXPECT_EQ(kuerzelAnzeige(f.code, f.flaggen, d.eingabe), f.en) << f.code;
    }
}

TEST(KuerzelAnzeige, FunktionstastenSindGenauF1BisF19) {
    std::vector<std::uint16_t> gefunden;
    for (std::uint16_t c = 0; c < 200; ++c)
        if (istFunktionstaste(c)) gefunden.push_back(c);
    EXPECT_EQ(gefunden, (std::vector<std::uint16_t>{64, 79, 80, 96, 97, 98, 99, 100, 101, 103, 105, 106, 107, 109, 111,
                                                     113, 118, 120, 122}));
}

SystemKuerzelLesung gesetzt(std::uint64_t flaggen, std::optional<std::uint16_t> code, std::string name = {}) {
    SystemKuerzelLesung l;
    l.stand = SystemKuerzelLesung::Stand::gesetzt;
    l.flaggen = flaggen;
    l.code = code;
    l.name = std::move(name);
    return l;
}

SystemKuerzelLesung mitStand(SystemKuerzelLesung::Stand s, std::string fehler = {}) {
    SystemKuerzelLesung l;
    l.stand = s;
    l.fehler = std::move(fehler);
    return l;
}

TEST(SystemKuerzel, TexteDerLesungen) {
    sim::SimDesktop d;
    d.eingabe.belegung = {{21, "4"}, {23, "5"}};
    struct Fall {
        SystemKuerzelLesung l;
        const char* de;
        const char* en;
    };
    const Fall faelle[] = {
        {gesetzt(shift | cmd, 21), "⇧⌘4", "⇧⌘4"},
        {gesetzt(ctrl | shift | cmd, 23), "⌃⇧⌘5", "⌃⇧⌘5"},
        {gesetzt(0, std::nullopt, "Print"), "Druck", "Print"},
        {gesetzt(shift, std::nullopt, "Print"), "⇧Druck", "⇧Print"},
        {gesetzt(ctrl | alt | shift, std::nullopt, "R"), "⌃⌥⇧R", "⌃⌥⇧R"},
        {gesetzt(0, std::nullopt, "Scroll Lock"), "Rollen", "Scroll Lock"},
        {gesetzt(cmd, 49), "⌘Leertaste", "⌘Space"},
        {gesetzt(cmd, std::nullopt), "⌘?", "⌘?"},
        {mitStand(SystemKuerzelLesung::Stand::aus), "aus", "aus"},
        {mitStand(SystemKuerzelLesung::Stand::unbekannt), "–", "–"},
        {mitStand(SystemKuerzelLesung::Stand::fehler, "kaputt"), "–", "–"},
    };
    for (const Fall& f : faelle) {
        {
            Sprache s(false);
            EXPECT_EQ(systemKuerzelText(f.l, d.eingabe), f.de);
        }
        Sprache s(true);
        EXPECT_EQ(systemKuerzelText(f.l, d.eingabe), f.en);
    }
}

TEST(SystemKuerzel, EinmalGelesenBisSichDieEinstellungAendert) {
    test::TempHeim heim;
    sim::SimDesktop d;
    Plattform p = d.plattform();
    Einstellungen ud{einstellungsDatei()};
    Steuerung s(p, ud);
    d.systemkuerzel.werte[30] = gesetzt(0, std::nullopt, "Print");
    d.systemkuerzel.werte[184] = mitStand(SystemKuerzelLesung::Stand::aus);

    EXPECT_EQ(s.systemKuerzel(30), "Druck");
    EXPECT_EQ(s.systemKuerzel(184), "aus");
    EXPECT_EQ(s.systemKuerzel(28), "–");
    for (int i = 0; i < 50; ++i) s.systemKuerzel(30);  // the panel refreshes
    EXPECT_EQ(d.systemkuerzel.lesungen, 3);

    // A change the desktop has not yet marked is not seen; once it is, it is read again.
    d.systemkuerzel.werte[30] = gesetzt(shift, std::nullopt, "Print");
    EXPECT_EQ(s.systemKuerzel(30), "Druck");
    d.systemkuerzel.stand = "2";
    EXPECT_EQ(s.systemKuerzel(30), "⇧Druck");
    EXPECT_EQ(s.systemKuerzel(184), "aus");
    EXPECT_EQ(d.systemkuerzel.lesungen, 5);
    // The caller can drop what was read.
    s.systemKuerzelSpeicher.vergiss();
    s.systemKuerzel(30);
    EXPECT_EQ(d.systemkuerzel.lesungen, 6);
}

TEST(SystemKuerzel, EinFehlschlagWirdEinmalProtokolliertUndBeimNaechstenMalNeuGelesen) {
    test::TempHeim heim;
    sim::SimDesktop d;
    SystemKuerzelSpeicher speicher(d.systemkuerzel, d.eingabe);
    d.systemkuerzel.werte[30] = mitStand(SystemKuerzelLesung::Stand::fehler, "GNOME: keine Textliste");
    EXPECT_EQ(speicher.text(30), "–");
    EXPECT_EQ(speicher.text(30), "–");
    EXPECT_EQ(d.systemkuerzel.lesungen, 2) << "a failure is not kept";
    EXPECT_EQ(test::zaehle(test::protokollTexte(heim.protokoll()), "Systemkürzel 30 nicht lesbar: GNOME: keine Textliste"),
              1);
    d.systemkuerzel.werte[30] = gesetzt(cmd | shift, std::nullopt, "S");
    EXPECT_EQ(speicher.text(30), "⇧⌘S") << "read again without any change of the mark";
}

}  // namespace
}  // namespace klebwerk
