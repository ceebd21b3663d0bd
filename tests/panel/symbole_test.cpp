// The panel's own symbols: drawn for the pixel ratio asked for, in one colour.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "panel/symbole.h"

namespace klebwerk {
namespace {

TEST(Symbole, JedesIstEinfarbigUndScharfBeiDoppelterPixeldichte) {
    const QColor farbe(40, 200, 120);
    for (Symbol art : {Symbol::lautsprecherAn, Symbol::lautsprecherAus, Symbol::minus, Symbol::kreuz,
                       Symbol::pfeilRunter, Symbol::pfeilRechts, Symbol::verbindung}) {
        const QPixmap bild = symbol(art, 12, true, farbe).pixmap(QSize(12, 12), 2.0);
        ASSERT_EQ(bild.size(), QSize(24, 24)) << static_cast<int>(art);
        EXPECT_EQ(bild.devicePixelRatio(), 2.0);
        const QImage punkte = bild.toImage().convertToFormat(QImage::Format_ARGB32);
        int gedeckt = 0;
        for (int y = 0; y < punkte.height(); ++y) {
            for (int x = 0; x < punkte.width(); ++x) {
                const QColor c = punkte.pixelColor(x, y);
                if (c.alpha() < 255) continue;
                ++gedeckt;
                EXPECT_EQ(c.rgb(), farbe.rgb()) << static_cast<int>(art) << " at " << x << "," << y;
            }
        }
        EXPECT_GT(gedeckt, 8) << static_cast<int>(art);
    }
}

}  // namespace
}  // namespace klebwerk
