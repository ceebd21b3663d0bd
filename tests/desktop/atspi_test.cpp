// The AT-SPI accessibility backend against real applications under the private session:
// the project's Qt chat window and Chromium showing a local page.

#include <gtest/gtest.h>

#include <chrono>

#include <atomic>
#include <fstream>
#include <thread>

#include "ax/ax.h"
#include "ax/letztes_element.h"
#include "ax/rollen.h"
#include "desktop/atspi_hilfe.h"
#include "desktop/klebwerk_lauf.h"
#include "platform/atspi/atspi_status.h"
#include "platform/atspi/atspi_zugaenglichkeit.h"
#include "platform/x11/x11_desktopfenster.h"
#include "support/szenario.h"
#include "targets/fenster_suche.h"

namespace klebwerk {
namespace {

using test::warteBis;

class AtspiTest : public ::testing::Test, public test::AtspiSicht {
protected:
    static void SetUpTestSuite() { test::sorgeFuerAnwendung(); }
    void SetUp() override {
        if (const std::string grund = fehlt(); !grund.empty()) GTEST_SKIP() << grund;
        ASSERT_TRUE(verbinde());
        liste = std::make_unique<test::XFensterliste>(*x);
    }
    // The accessible windows of `pid`, once the application is on the bus.
    std::optional<Element> erstesFenster(int pid, const std::string& titelTeil, double frist = 15) {
        return test::fensterMitTitel(*ax, pid, titelTeil, frist);
    }
    std::unique_ptr<test::XFensterliste> liste;
};

Passt rolleIst(std::set<std::string> rollen) {
    return [rollen](const Element&, const std::optional<std::string>& r, const std::string&) {
        return r && rollen.count(*r);
    };
}

TEST_F(AtspiTest, QtFensterRollenLabelsPaarungUndSuche) {
    auto chat = test::starteQtChat();
    const int pid = chat->pid();
    arbeitsplatz.anwendungen.push_back({pid, "", "/proc/" + std::to_string(pid) + "/exe", "Qt-Chat",
                                        Aktivierungsart::regulaer});
    const test::SzFenster sz = test::chatFenster();
    auto fenster = erstesFenster(pid, sz.titel);
    ASSERT_TRUE(fenster) << "the Qt window did not appear on the accessibility bus";
    EXPECT_EQ(ax->text(*fenster, "AXRole"), "AXWindow");
    EXPECT_EQ(ax->text(*fenster, "AXTitle"), sz.titel);

    // Its number is the X window id of the same process and title.
    std::uint32_t nummer = 0;
    ASSERT_TRUE(warteBis([&] {
        nummer = ax->fensterNummer(*fenster).value_or(0);
        return nummer != 0;
    })) << "no X window paired";
    auto xf = x->fensterMit(nummer);
    ASSERT_TRUE(xf);
    EXPECT_EQ(xf->pid, pid);
    EXPECT_EQ(xf->titel, sz.titel);
    EXPECT_EQ(ax->text(*fenster, "AXSubrole"), "AXStandardWindow");
    EXPECT_EQ(axFenster(*ax, pid, nummer, {}), fenster);

    // Buttons with labels, the description winning over the name.
    std::vector<std::string> knoepfe;
    letztesElement(*ax, *fenster, 400, [&](const Element& e, const auto& rolle, const std::string& label) {
        if (rolle == "AXButton") knoepfe.push_back(label + "|" + ax->beschriftung(e));
        return false;
    });
    EXPECT_EQ(knoepfe, (std::vector<std::string>{"Vorlesen|Vorlesen", "Diktat starten|Diktat starten",
                                                 "Senden|Senden"}));
    // The last text input and the last text area.
    auto feld = letztesElement(*ax, *fenster, 6000, rolleIst({"AXTextArea", "AXTextField"}),
                               std::set<std::string>{"AXTextArea", "AXTextField"});
    ASSERT_TRUE(feld);
    EXPECT_EQ(ax->text(*feld, "AXRole"), "AXTextField");
    auto bereich = letztesElement(*ax, *fenster, 6000, rolleIst({"AXTextArea"}), std::set<std::string>{"AXTextArea"});
    ASSERT_TRUE(bereich);
    EXPECT_EQ(ax->element(*bereich, "AXWindow"), fenster);
    EXPECT_TRUE(ax->setze(*bereich, "AXFocused", true));
    EXPECT_TRUE(warteBis([&] { return ax->wahr(*bereich, "AXFocused") == true; }, 3));

    // The window under a point inside it, and in the menu's list of windows.
    auto rahmen = ax->rahmen(*fenster);
    ASSERT_TRUE(rahmen);
    auto treffer = fensterUnter(*liste, arbeitsplatz.eigenePid(), rahmen->mitte());
    ASSERT_TRUE(treffer);
    EXPECT_EQ(treffer->nummer, nummer);
    auto alle = alleFenster(*ax, arbeitsplatz);
    ASSERT_EQ(alle.size(), 1u);
    EXPECT_EQ(alle[0].titel, sz.titel);
    EXPECT_EQ(alle[0].appName, "Qt-Chat");
    auto unter = ax->elementBei(ax->systemweit(), {rahmen->x + 5, rahmen->y + 5});
    ASSERT_TRUE(unter);
    EXPECT_EQ(ax->element(*unter, "AXWindow").value_or(*unter), fenster);

    // A press on a button is an action of the application.
    auto senden = letztesElement(*ax, *fenster, 400, [](const Element&, const auto& r, const std::string& l) {
        return r == "AXButton" && l == "Senden";
    });
    ASSERT_TRUE(senden);
    EXPECT_TRUE(ax->aktion(*senden, "AXPress"));

    // A closed window is no longer valid.
    chat.reset();
    EXPECT_TRUE(warteBis([&] { return !ax->text(*fenster, "AXRole"); }, 5));
}

TEST_F(AtspiTest, EineAngehalteneAnwendungHaeltNurBisZurFrist) {
    auto chat = test::starteQtChat();
    const int pid = chat->pid();
    auto fenster = erstesFenster(pid, test::chatFenster().titel);
    ASSERT_TRUE(fenster);
    std::int64_t nummer = 0;
    ASSERT_TRUE(warteBis([&] { return (nummer = ax->fensterNummer(*fenster).value_or(0)) != 0; })) << "no X window paired";
    ASSERT_EQ(test::fuehreAus({"xdotool", "windowactivate", "--sync", std::to_string(nummer)}), 0);
    ASSERT_TRUE(warteBis([&] { return x->aktivesFenster() == nummer; }, 5));
    ::kill(pid, SIGSTOP);
    Element app = ax->anwendung(pid);
    ax->setzeZeitlimit(app, 0.3);
    auto anfang = std::chrono::steady_clock::now();
    EXPECT_FALSE(ax->elemente(app, "AXWindows"));
    double erste = std::chrono::duration<double>(std::chrono::steady_clock::now() - anfang).count();
    EXPECT_LT(erste, 1.0);
    // Not answering now: further calls fail at once, without waiting again.
    anfang = std::chrono::steady_clock::now();
    EXPECT_FALSE(ax->text(*fenster, "AXDescription"));
    EXPECT_TRUE(ax->mehrere(*fenster, {"AXRole", "AXTitle"})[0].fehlt());
    double danach = std::chrono::duration<double>(std::chrono::steady_clock::now() - anfang).count();
    EXPECT_LT(danach, 0.1);
    // The active window and a paired window's title come from the X side: the stopped
    // application is not asked, so they are there all the same.
    EXPECT_EQ(ax->element(app, "AXFocusedWindow"), fenster);
    EXPECT_EQ(ax->text(*fenster, "AXTitle"), test::chatFenster().titel);
    ::kill(pid, SIGCONT);
}

TEST_F(AtspiTest, ChromiumSeiteMitWebbereichAdresseKlassenUndTextbereich) {
    QTemporaryDir profil;
    const QString seite = QStringLiteral(KLEBWERK_TESTSEITEN) + "/seite.html";
    auto chromium = test::starteChromium(seite, profil.path());
    const int pid = chromium->pid();
    arbeitsplatz.anwendungen.push_back({pid, "", "/usr/lib/chromium/chromium", "Chromium", Aktivierungsart::regulaer});
    auto fenster = erstesFenster(pid, "Testseite Chat", 40);
    ASSERT_TRUE(fenster) << "Chromium's window did not appear on the accessibility bus";

    std::optional<Element> web;
    ASSERT_TRUE(warteBis(
        [&] {
            web = letztesElement(*ax, *fenster, 8000, rolleIst({"AXWebArea"}));
            return web && ax->text(*web, "AXURL").value_or("").find("seite.html") != std::string::npos;
        },
        20));
    EXPECT_EQ(ax->text(*web, "AXURL"), "file://" + seite.toStdString());

    // The last text area of the page, by the candidate query and by the walk alike.
    std::optional<Element> frage;
    ASSERT_TRUE(warteBis([&] {
        frage = letztesElement(*ax, *web, 8000, rolleIst({"AXTextArea"}), std::set<std::string>{"AXTextArea"});
        return frage.has_value();
    }));
    EXPECT_EQ(ax->beschriftung(*frage), "Frage");
    EXPECT_EQ(letztesElementSchlicht(*ax, *web, 8000, rolleIst({"AXTextArea"})), frage);
    auto suche = letztesElement(*ax, *web, 8000, rolleIst({"AXTextArea", "AXTextField"}),
                                std::set<std::string>{"AXTextArea", "AXTextField"});
    ASSERT_TRUE(suche);
    EXPECT_EQ(ax->beschriftung(*suche), "Suche");
    EXPECT_EQ(ax->text(*suche, "AXRole"), "AXTextField");

    // Buttons: labels and class lists.
    std::vector<std::string> knoepfe;
    letztesElementSchlicht(*ax, *web, 8000, [&](const Element& e, const auto& rolle, const std::string& label) {
        if (rolle && knopfRollen().count(*rolle)) knoepfe.push_back(label + "|" + ax->klassen(e));
        return false;
    });
    EXPECT_EQ(knoepfe, (std::vector<std::string>{"Senden|btn senden", "|btn mic", "Vorlesen|btn lesen"}));

    // The candidate query and its budget proof give the walk's result for every budget,
    // and the backend's count of later elements bounds the one of the full reverse list
    // (from above: ATK's bridge may count the trees after the root's child twice).
    auto alleElemente = zg->kandidatenRueckwaerts(*web, {}, 0, 1.0);
    ASSERT_TRUE(alleElemente);
    for (const Element& e : *alleElemente) {
        auto genau = zg->Zugaenglichkeit::elementeNach(*web, e, 1000, 1.0);
        auto gezaehlt = zg->elementeNach(*web, e, 1000, 1.0);
        ASSERT_TRUE(genau && gezaehlt);
        EXPECT_GE(*gezaehlt, *genau);
        EXPECT_LE(*gezaehlt, 2 * *genau + 1);
    }
    auto vorlesen = [](const Element&, const std::optional<std::string>& r, const std::string& l) {
        return r == "AXButton" && l == "Vorlesen";
    };
    const long n = static_cast<long>(alleElemente->size());
    for (long grenze = 1; grenze <= n + 2; ++grenze) {
        EXPECT_EQ(letztesElement(*ax, *web, grenze, vorlesen, std::set<std::string>{"AXButton"}),
                  letztesElementSchlicht(*ax, *web, grenze, vorlesen))
            << "grenze " << grenze;
        EXPECT_EQ(letztesElement(*ax, *web, grenze, rolleIst({"AXTextArea"}), std::set<std::string>{"AXTextArea"}),
                  letztesElementSchlicht(*ax, *web, grenze, rolleIst({"AXTextArea"})))
            << "grenze " << grenze;
    }

    // Its window: paired with its X window and listed.
    std::uint32_t nummer = 0;
    ASSERT_TRUE(warteBis([&] {
        nummer = ax->fensterNummer(*fenster).value_or(0);
        return nummer != 0;
    }));
    EXPECT_EQ(x->fensterMit(nummer)->pid, pid);
    auto alle = alleFenster(*ax, arbeitsplatz);
    ASSERT_FALSE(alle.empty());
    EXPECT_NE(alle[0].titel.find("Testseite Chat"), std::string::npos);
}

// A long background search floods the application with requests; the main thread's short
// reads of the same application still answer within their deadline, and the application
// is never taken for not answering.
TEST_F(AtspiTest, HauptfadenLiestNebenLangerHintergrundsuche) {
    QTemporaryDir ordner;
    const QString seite = ordner.path() + "/gross.html";
    {
        std::ofstream html(seite.toStdString());
        html << "<!DOCTYPE html><html><head><meta charset=utf-8><title>Grosse Seite</title></head><body>";
        for (int i = 0; i < 1000; ++i) {
            html << "<div><p>Absatz " << i << "</p><button aria-label=\"Knopf " << i << "\">K</button><span>s</span></div>";
        }
        html << "</body></html>";
    }
    auto chromium = test::starteChromium(seite, ordner.path() + "/profil");
    auto fenster = erstesFenster(chromium->pid(), "Grosse Seite", 40);
    ASSERT_TRUE(fenster);
    std::optional<Element> web;
    std::optional<std::vector<Element>> alle;
    ASSERT_TRUE(warteBis(
        [&] {
            web = letztesElement(*ax, *fenster, 8000, rolleIst({"AXWebArea"}));
            if (web) alle = zg->kandidatenRueckwaerts(*web, {}, 0, 1.0);
            return alle && alle->size() > 3000;
        },
        30));

    // The background: all elements' four attributes, in batches far larger than what
    // the application answers in 0.2 s.
    std::atomic<bool> halt{false};
    std::atomic<int> runden{0};
    std::thread hintergrund([&] {
        const std::vector<std::string> namen{"AXRole", "AXDescription", "AXTitle", "AXChildren"};
        for (size_t anfang = 0; !halt; anfang = (anfang + 2000) % alle->size()) {
            std::vector<Element> batch(alle->begin() + anfang, alle->begin() + std::min(alle->size(), anfang + 2000));
            zg->liesMehrereVon(batch, namen, 5.0);
            ++runden;
        }
    });
    // The main thread: short reads with the focus poll's deadline, while that runs.
    ax->setzeZeitlimit(*web, 0.2);
    // Reads until the background has done two whole batches; on a busy machine that may
    // take many reads, so the bound is a generous time, not a count.
    int gelesen = 0, beantwortet = 0;
    const auto bis = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (runden < 2 && std::chrono::steady_clock::now() < bis) {
        ++gelesen;
        if (ax->text(*web, "AXRole") == "AXWebArea") ++beantwortet;
    }
    halt = true;
    hintergrund.join();
    EXPECT_GE(runden.load(), 2) << "the background search did not finish";
    EXPECT_GT(gelesen, 10) << "too few reads overlapped the background search";
    EXPECT_EQ(beantwortet, gelesen);
    EXPECT_EQ(ax->text(*web, "AXRole"), "AXWebArea");
}

}  // namespace
}  // namespace klebwerk
