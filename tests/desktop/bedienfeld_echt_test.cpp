// The control panel on the real desktop, used with the real pointer: a switch and the
// point toggle and restore while the keyboard focus stays in the chat the user types
// in; the point is dragged, settles, and stands there again after a restart; a row of
// the target list outlines its window while the pointer rests on it.

#include <gtest/gtest.h>

#include <cstdio>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "ax/letztes_element.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/fenster_lage.h"
#include "desktop/klebwerk_lauf.h"
#include "support/protokoll_hilfe.h"

namespace klebwerk {
namespace {

using test::ausgabeVon;
using test::fuehreAus;
using test::Kindprozess;
using test::KlebwerkLauf;
using test::Lage;
using test::lageVonFenster;
using test::sichtbaresFenster;
using test::warteBis;

const std::string feldTitel = "Klebwerk Bedienfeld";
const std::string punktTitel = "Klebwerk Punkt";
const std::string rahmenTitel = "Klebwerk Rahmen";
const std::string chatTitel = "Kleiner Chat";

// Where the pointer rests when it is nowhere in particular: off the chat and the panel.
constexpr int ruheX = 640, ruheY = 760;

QJsonObject jsonAus(const std::string& pfad) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(test::liesDatei(pfad))).object();
}

// A stored window frame [x, y, width, height] as a place; none when it is not one.
std::optional<Lage> gespeicherteLage(const QJsonValue& wert) {
    const QJsonArray feld = wert.toArray();
    if (feld.size() != 4) return std::nullopt;
    return Lage{feld[0].toInt(), feld[1].toInt(), feld[2].toInt(), feld[3].toInt()};
}

class BedienfeldEcht : public ::testing::Test, public test::AtspiSicht {
protected:
    static void SetUpTestSuite() { test::sorgeFuerAnwendung(); }

    void SetUp() override {
        if (const std::string grund = fehlt(); !grund.empty()) GTEST_SKIP() << grund;
        ASSERT_TRUE(verbinde());
        ASSERT_TRUE(test::zeigerNach(ruheX, ruheY));
        // The panel is shown at start (its default), in German.
        lauf.schreibeEinstellungen(R"({"testBefehle": true, "sprache": "de"})");
        chat = std::make_unique<Kindprozess>(std::vector<std::string>{KLEBWERK_QT_CHAT},
                                             std::vector<std::string>{"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1",
                                                                      "QT_ACCESSIBILITY=1", "QT_QPA_PLATFORM=xcb"});
        ASSERT_TRUE(warteBis([&] { return !(chatFenster = sichtbaresFenster(chatTitel)).empty(); }));
        // The user types in the chat's text area, which has the focus.
        ASSERT_EQ(fuehreAus({"xdotool", "windowactivate", "--sync", chatFenster}), 0);
        ASSERT_TRUE(warteBis([&] { return std::to_string(test::aktivesFenster()) == chatFenster; }));
        tippe("a");
        ASSERT_TRUE(chatHat("textfeld a")) << chat->ausgabe();

        starteKlebwerk();
    }

    void starteKlebwerk() {
        ASSERT_TRUE(lauf.starte());
        ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
    }

    void befehl(const std::string& text) {
        const int vorher = test::vorkommen(lauf.protokoll(), " Testbefehl: ");
        ASSERT_EQ(test::sendeBefehl(text), 0);
        ASSERT_TRUE(warteBis([&] { return test::vorkommen(lauf.protokoll(), " Testbefehl: ") > vorher; })) << text;
    }

    // The point window's frame as Klebwerk itself has it ("punkt.txt").
    std::optional<Lage> punktRahmen() const {
        const std::string text = test::liesDatei(lauf.daten("punkt.txt"));
        Lage l;
        if (std::sscanf(text.c_str(), "punkt sichtbar=true rahmen={{%d, %d}, {%d, %d}}", &l.x, &l.y, &l.breite, &l.hoehe) != 4)
            return std::nullopt;
        return l;
    }

    static void tippe(const std::string& taste) { ASSERT_EQ(fuehreAus({"xdotool", "key", taste}), 0); }
    bool chatHat(const std::string& zeile) {
        return warteBis([&] { return chat->ausgabe().find("\n" + zeile + "\n") != std::string::npos ||
                                     chat->ausgabe().rfind(zeile + "\n", 0) == 0; },
                        5);
    }
    bool fokusImChat() const { return std::to_string(test::aktivesFenster()) == chatFenster; }

    QJsonObject status() const { return jsonAus(lauf.daten("status.json")); }
    QJsonObject einstellungen() const { return jsonAus(lauf.einstellungsDatei()); }

    // An element of Klebwerk's own accessible window of that title, by role and label.
    std::optional<Rechteck> elementRahmen(const std::string& fensterTitel, const std::string& rolle,
                                          const std::string& label) {
        std::optional<Rechteck> rahmen;
        warteBis([&] {
            auto fenster = test::fensterMitTitel(*ax, lauf.pid(), fensterTitel, 0.5);
            if (!fenster) return false;
            // A view's tool tip is its accessible description, which the label prefers:
            // the name is the title.
            auto e = letztesElement(*ax, *fenster, 500, [&](const Element& kandidat, const auto& r, const std::string& l) {
                return r == rolle && (l == label || ax->text(kandidat, "AXTitle") == label);
            });
            if (e) rahmen = ax->rahmen(*e);
            return rahmen && rahmen->breite > 0;
        }, 20);
        return rahmen;
    }

    static bool klicke(int x, int y) {
        return test::zeigerNach(x, y) && fuehreAus({"xdotool", "click", "1"}) == 0;
    }

    std::string bericht() const { return "chat:\n" + chat->ausgabe() + "\nlog:\n" + lauf.protokoll(); }

    KlebwerkLauf lauf;
    std::unique_ptr<Kindprozess> chat;
    std::string chatFenster;
};

TEST_F(BedienfeldEcht, KlicksAufSchalterUndPunktWirkenUndDerFokusBleibtImTextfeldDesChats) {
    ASSERT_TRUE(warteBis([&] { return lageVonFenster(feldTitel).has_value(); })) << bericht();
    const auto schalter = elementRahmen(feldTitel, "AXCheckBox", "Aktiv");
    ASSERT_TRUE(schalter) << "the switch \"Aktiv\" is not on the accessibility bus";
    ASSERT_FALSE(status().value("pausiert").toBool());

    ASSERT_TRUE(klicke(int(schalter->x + schalter->breite / 2), int(schalter->y + schalter->hoehe / 2)));
    EXPECT_TRUE(warteBis([&] {
        return status().value("pausiert").toBool() && einstellungen().value("pausiert") == QJsonValue(true);
    })) << bericht();
    EXPECT_TRUE(fokusImChat());
    tippe("b");
    EXPECT_TRUE(chatHat("textfeld ab")) << bericht();

    // Shrunk to the point: a click on it brings the panel back.
    befehl("mini|1");
    std::optional<Lage> punkt;
    ASSERT_TRUE(warteBis([&] { return (punkt = lageVonFenster(punktTitel)) && !lageVonFenster(feldTitel); }))
        << bericht();
    ASSERT_TRUE(klicke(punkt->mitteX(), punkt->mitteY()));
    EXPECT_TRUE(warteBis([&] {
        return lageVonFenster(feldTitel) && !lageVonFenster(punktTitel) &&
               einstellungen().value("feldMini") == QJsonValue(false);
    })) << bericht();
    EXPECT_TRUE(fokusImChat());
    tippe("c");
    EXPECT_TRUE(chatHat("textfeld abc")) << bericht();
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_F(BedienfeldEcht, GezogenerPunktBleibtLiegenWoErZurRuheKamAuchNachNeustart) {
    // Shrunk as soon as the panel shows: the point goes beside the panel's top-left
    // corner, never to the screen's, while the window manager is still taking the panel.
    std::optional<Lage> feld;
    ASSERT_TRUE(warteBis([&] { return (feld = lageVonFenster(feldTitel)) && feld->x > 0; })) << bericht();
    befehl("mini|1");
    // Where the point stands, once the window manager has placed it where Klebwerk put it.
    std::optional<Lage> start;
    ASSERT_TRUE(warteBis([&] {
        befehl("punktbild");
        return (start = lageVonFenster(punktTitel)) && punktRahmen() == start;
    })) << bericht();
    EXPECT_EQ(start->x, feld->x + 2) << bericht();
    EXPECT_EQ(start->y, feld->y - 4) << bericht();
    ASSERT_TRUE(einstellungen().value("rahmen.Punkt").isUndefined());

    // Pressed, moved in steps, held: the point follows the pointer.
    const int dx = -420, dy = 260;
    ASSERT_TRUE(test::zeigerNach(start->mitteX(), start->mitteY()));
    ASSERT_EQ(fuehreAus({"xdotool", "mousedown", "1"}), 0);
    // A failure below must not leave the button held for the tests after this one.
    struct Loslassen {
        bool gehalten = true;
        void operator()() {
            if (gehalten) fuehreAus({"xdotool", "mouseup", "1"});
            gehalten = false;
        }
        ~Loslassen() { (*this)(); }
    } loslassen;
    for (int schritt = 1; schritt <= 12; ++schritt)
        ASSERT_TRUE(test::zeigerNach(start->mitteX() + dx * schritt / 12, start->mitteY() + dy * schritt / 12));
    const Lage ziel{start->x + dx, start->y + dy, start->breite, start->hoehe};
    std::optional<Lage> jetzt;
    EXPECT_TRUE(warteBis([&] { return (jetzt = lageVonFenster(punktTitel)) == ziel; }, 5))
        << "the point stands at " << (jetzt ? *jetzt : Lage{}) << ", the pointer at " << test::zeigerOrt();
    EXPECT_TRUE(einstellungen().value("rahmen.Punkt").isUndefined()) << "stored while still held";

    // Let go: it rests there, and its place is stored.
    loslassen();
    EXPECT_TRUE(warteBis([&] { return gespeicherteLage(einstellungen().value("rahmen.Punkt")) == ziel; }))
        << test::liesDatei(lauf.einstellungsDatei());
    EXPECT_EQ(lageVonFenster(punktTitel), ziel);
    EXPECT_TRUE(lageVonFenster(feldTitel) == std::nullopt) << "a drag is no click: the panel stays shrunk";

    ASSERT_EQ(lauf.beende(), 0);
    ASSERT_TRUE(warteBis([&] { return !lageVonFenster(punktTitel); }));
    starteKlebwerk();
    EXPECT_TRUE(warteBis([&] { return lageVonFenster(punktTitel) == ziel; })) << bericht();
    EXPECT_FALSE(lageVonFenster(feldTitel).has_value());
    EXPECT_EQ(lauf.beende(), 0);
}

TEST_F(BedienfeldEcht, ZeileUnterDemZeigerUmrandetIhrFensterBisDerZeigerSieVerlaesst) {
    befehl("ziel|klebwerk_qt_chat|" + chatTitel);
    ASSERT_TRUE(warteBis([&] { return status().value("verbunden").toArray().contains(QJsonValue("Kleiner Chat")); }))
        << bericht();
    befehl("liste|1");
    // The green frame of the new choice has gone by itself.
    ASSERT_TRUE(warteBis([&] { return !lageVonFenster(rahmenTitel); }, 10)) << bericht();
    const auto zeile = elementRahmen(feldTitel, "AXButton", "Ziel aktivieren: " + chatTitel);
    ASSERT_TRUE(zeile) << "the list's row is not on the accessibility bus";

    ASSERT_TRUE(test::zeigerNach(int(zeile->x + 40), int(zeile->y + zeile->hoehe / 2)));
    std::optional<Lage> umriss;
    ASSERT_TRUE(warteBis([&] { return (umriss = lageVonFenster(rahmenTitel)).has_value(); }, 5)) << bericht();
    // On the chat's window: inside it as the user sees it (with the window manager's
    // decoration) and as large as its content.
    const Lage inhalt = *test::lageVon(chatFenster);
    const Lage ganz = test::mitDekoration(chatFenster, inhalt);
    EXPECT_GE(umriss->x, ganz.x) << *umriss << " on " << ganz;
    EXPECT_GE(umriss->y, ganz.y) << *umriss << " on " << ganz;
    EXPECT_LE(umriss->x + umriss->breite, ganz.x + ganz.breite) << *umriss << " on " << ganz;
    EXPECT_LE(umriss->y + umriss->hoehe, ganz.y + ganz.hoehe) << *umriss << " on " << ganz;
    EXPECT_GE(umriss->breite, inhalt.breite) << *umriss << " on " << inhalt;
    EXPECT_GE(umriss->hoehe, inhalt.hoehe) << *umriss << " on " << inhalt;

    ASSERT_TRUE(test::zeigerNach(ruheX, ruheY));
    EXPECT_TRUE(warteBis([&] { return !lageVonFenster(rahmenTitel); }, 5))
        << "the outline stayed at " << *lageVonFenster(rahmenTitel) << ", the pointer at " << test::zeigerOrt() << "\n"
        << bericht();
    EXPECT_EQ(lauf.beende(), 0);
}

}  // namespace
}  // namespace klebwerk
