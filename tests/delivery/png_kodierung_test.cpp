#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "delivery/png_kodierung.h"

namespace klebwerk {
namespace {

// Every pixel different from its neighbours, and alpha varying where there is alpha.
QImage muster(int breite, int hoehe, QImage::Format format) {
    QImage bild(breite, hoehe, QImage::Format_ARGB32);
    for (int y = 0; y < hoehe; ++y)
        for (int x = 0; x < breite; ++x)
            bild.setPixel(x, y, qRgba((x * 7 + y) % 256, (y * 13) % 256, (x * y) % 256, (x + 3 * y) % 256));
    return bild.convertToFormat(format);
}

QImage dekodiert(const std::string& png) {
    QImage b;
    b.loadFromData(QByteArray(png.data(), static_cast<qsizetype>(png.size())), "PNG");
    return b;
}

TEST(SchnellesPng, DekodiertZuGenauDenPixelnDesBildesInJedemFormatUndJederTeilung) {
    struct Fall {
        QImage::Format format;
        int breite, hoehe, teile;
    };
    const Fall faelle[] = {
        {QImage::Format_RGB32, 257, 131, 1},
        {QImage::Format_RGB32, 257, 131, 2},
        {QImage::Format_RGB32, 640, 401, 3},  // rows not divisible among the parts
        {QImage::Format_ARGB32, 300, 200, 2},
        {QImage::Format_ARGB32_Premultiplied, 64, 64, 1},
        {QImage::Format_RGB888, 129, 65, 2},
        {QImage::Format_Grayscale8, 100, 150, 2},
        {QImage::Format_Indexed8, 90, 70, 1},
        {QImage::Format_RGBA64, 80, 140, 2},  // 16 bits a channel: kept through Qt's writer
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(testing::Message() << "format " << f.format << " " << f.breite << "x" << f.hoehe << " in "
                                        << f.teile);
        const QImage bild = muster(f.breite, f.hoehe, f.format);
        auto png = schnellesPng(bild, f.teile);
        ASSERT_TRUE(png);
        const QImage zurueck = dekodiert(*png);
        ASSERT_FALSE(zurueck.isNull());
        ASSERT_EQ(zurueck.size(), bild.size());
        if (f.format == QImage::Format_RGBA64) {
            EXPECT_EQ(zurueck.convertToFormat(QImage::Format_RGBA64), bild);
            continue;
        }
        const QImage soll = bild.convertToFormat(bild.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        const QImage ist = zurueck.convertToFormat(soll.format());
        int abweichend = 0;
        for (int y = 0; y < soll.height(); ++y)
            for (int x = 0; x < soll.width(); ++x) abweichend += soll.pixel(x, y) != ist.pixel(x, y);
        EXPECT_EQ(abweichend, 0);
    }
}

TEST(SchnellesPng, LeeresBildGibtNichts) { EXPECT_FALSE(schnellesPng(QImage())); }

}  // namespace
}  // namespace klebwerk
