#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPushButton>

#include "panel/feld_panel.h"
#include "platform/sim/sim_desktop.h"

namespace klebwerk {
namespace {

struct FeldPanelTest : ::testing::Test {
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
};

// A press, a move by `weg` and a release at `ziel`, as the window system delivers them:
// all three to the widget under the pointer at the press (its implicit grab), from where
// Qt passes what it does not take on to its parents.
void ziehe(QWidget& ziel, QPoint stelle, QPoint weg) {
    const QPointF global = ziel.mapToGlobal(QPointF(stelle));
    const QPointF ende = QPointF(stelle + weg);
    // Each event made just before it is sent: mouse events of one device share their
    // point, so a later one would move an earlier one that is not sent yet.
    QMouseEvent druck(QEvent::MouseButtonPress, QPointF(stelle), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&ziel, &druck);
    QMouseEvent zug(QEvent::MouseMove, ende, global + QPointF(weg), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ziel, &zug);
    QMouseEvent los(QEvent::MouseButtonRelease, ende, global + QPointF(weg), Qt::LeftButton, Qt::NoButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&ziel, &los);
}

// Only the background moves the window: a press on a button is never the start of a drag.
TEST_F(FeldPanelTest, NurDerHintergrundVerschiebtDasFenster) {
    enum class Treffer { hintergrund, beschriftung, knopf };
    struct Fall {
        Treffer treffer;
        bool verschiebt;
    };
    for (const Fall& f : {Fall{Treffer::hintergrund, true}, Fall{Treffer::beschriftung, true},
                          Fall{Treffer::knopf, false}}) {
        SCOPED_TRACE(static_cast<int>(f.treffer));
        FeldPanel panel(plattform, QStringLiteral("Probe"), true);
        panel.setzeRahmen({100, 100, 200, 120});
        auto* inhalt = new QWidget(&panel);
        inhalt->setGeometry(0, 0, 200, 120);
        auto* beschriftung = new QLabel(QStringLiteral("Klebwerk"), inhalt);
        beschriftung->setGeometry(10, 10, 80, 20);
        auto* knopf = new QPushButton(QStringLiteral("Los"), inhalt);
        knopf->setGeometry(10, 40, 80, 30);
        int verschoben = 0;
        panel.verschoben = [&] { ++verschoben; };
        panel.vorne();

        QWidget* ziel = &panel;
        QPoint stelle(150, 10);
        switch (f.treffer) {
            case Treffer::hintergrund:
                ziel = inhalt;
                break;
            case Treffer::beschriftung:
                ziel = beschriftung;
                stelle = QPoint(5, 5);
                break;
            case Treffer::knopf:
                ziel = knopf;
                stelle = QPoint(5, 5);
                break;
        }
        ziehe(*ziel, stelle, QPoint(30, 40));
        const Rechteck r = panel.rahmen();
        EXPECT_EQ(r.x, f.verschiebt ? 130 : 100);
        EXPECT_EQ(r.y, f.verschiebt ? 140 : 100);
        EXPECT_EQ(verschoben, f.verschiebt ? 1 : 0);
    }
}

TEST_F(FeldPanelTest, EinDruckOhneBewegungMeldetKeinVerschieben) {
    FeldPanel panel(plattform, QStringLiteral("Probe"), true);
    panel.setzeRahmen({100, 100, 200, 120});
    int verschoben = 0;
    panel.verschoben = [&] { ++verschoben; };
    panel.vorne();
    ziehe(panel, QPoint(20, 20), QPoint(0, 0));
    EXPECT_EQ(verschoben, 0);
    EXPECT_EQ(panel.rahmen().x, 100);
}

// The window manager forgets such states when a window is hidden: they are asked for
// at every showing, for this very window.
TEST_F(FeldPanelTest, JedesZeigenMachtDasFensterSchwebend) {
    FeldPanel panel(plattform, QStringLiteral("Probe"), false);
    panel.setzeRahmen({10, 10, 44, 44});
    panel.vorne();
    panel.vorne();  // already shown: nothing new
    panel.weg();
    panel.vorne();
    const auto id = static_cast<std::uint64_t>(panel.winId());
    EXPECT_EQ(desktop.eigeneFenster.schwebende, std::vector<std::uint64_t>(2, id));
}

// Without a compositor the window is cut to its outline, so that its corners never
// show black; with one the outline is drawn translucent and the window stays whole.
TEST_F(FeldPanelTest, OhneZusammensetzerWirdDasFensterAufSeinenUmrissZugeschnitten) {
    for (bool zusammengesetzt : {true, false}) {
        SCOPED_TRACE(zusammengesetzt);
        desktop.bildschirme.zusammengesetzt = zusammengesetzt;
        FeldPanel panel(plattform, QStringLiteral("Probe"), false);
        panel.umriss = [](QSize g) {
            QPainterPath p;
            p.addEllipse(QRectF(0, 0, g.width(), g.height()));
            return p;
        };
        panel.setzeRahmen({10, 10, 44, 44});
        panel.vorne();
        EXPECT_EQ(panel.mask().isEmpty(), zusammengesetzt);
        if (!zusammengesetzt) {
            EXPECT_FALSE(panel.mask().contains(QPoint(1, 1))) << "a corner";
            EXPECT_TRUE(panel.mask().contains(QPoint(22, 22))) << "the middle";
        }
    }
}

}  // namespace
}  // namespace klebwerk
