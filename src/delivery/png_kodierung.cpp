#include "delivery/png_kodierung.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <thread>
#include <vector>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <zlib.h>

namespace klebwerk {

namespace {

// The lightest level: screen content, filtered, still shrinks many times over.
constexpr int stufe = 1;
constexpr int strategie = Z_DEFAULT_STRATEGY;
// Below this many rows one part is enough.
constexpr int zeilenJeTeilMindestens = 64;

void haengeAn32(std::string& s, std::uint32_t v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
    s.append(b, 4);
}

void schreibeBlock(std::string& aus, const char typ[4], const char* daten, std::size_t laenge) {
    haengeAn32(aus, static_cast<std::uint32_t>(laenge));
    const std::size_t anfang = aus.size();
    aus.append(typ, 4);
    aus.append(daten, laenge);
    const auto crc = crc32(0L, reinterpret_cast<const Bytef*>(aus.data() + anfang), static_cast<uInt>(laenge + 4));
    haengeAn32(aus, static_cast<std::uint32_t>(crc));
}

// One run of rows, filtered and deflated as raw deflate data. All but the last part
// end on a byte boundary without the final bit, so that the parts follow one another
// as one stream.
struct Teil {
    int von = 0;
    int bis = 0;
    bool letzter = false;
    std::string daten;
    uLong adler = 0;
    uLong laenge = 0;
    bool gut = false;
};

// The row as PNG bytes (RGB or RGBA), unfiltered.
void leseZeile(const QImage& bild, int y, bool alpha, unsigned char* z) {
    const auto* px = reinterpret_cast<const std::uint32_t*>(bild.constScanLine(y));
    const int w = bild.width();
    for (int x = 0; x < w; ++x) {
        const std::uint32_t p = px[x];
        *z++ = static_cast<unsigned char>(p >> 16);
        *z++ = static_cast<unsigned char>(p >> 8);
        *z++ = static_cast<unsigned char>(p);
        if (alpha) *z++ = static_cast<unsigned char>(p >> 24);
    }
}

// The row filtered for the compressor: "Sub" (each byte minus the same byte of the
// pixel to its left) or "Up" (minus the byte above), whichever leaves the smaller sum
// of differences, as the usual heuristic of PNG writers does.
void filtereZeile(const unsigned char* roh, const unsigned char* oben, std::size_t n, std::size_t bpp,
                  unsigned char* sub, unsigned char* up, std::vector<unsigned char>*& gewaehlt,
                  std::vector<unsigned char>& subZeile, std::vector<unsigned char>& upZeile) {
    unsigned long summeSub = 0, summeUp = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto s = static_cast<unsigned char>(roh[i] - (i >= bpp ? roh[i - bpp] : 0));
        const auto u = static_cast<unsigned char>(roh[i] - (oben ? oben[i] : 0));
        sub[i] = s;
        up[i] = u;
        summeSub += s < 128 ? s : 256 - s;
        summeUp += u < 128 ? u : 256 - u;
    }
    gewaehlt = summeUp < summeSub ? &upZeile : &subZeile;
}

void komprimiere(const QImage& bild, bool alpha, Teil& t) {
    z_stream s{};
    if (deflateInit2(&s, stufe, Z_DEFLATED, -15, 9, strategie) != Z_OK) return;
    const std::size_t bpp = alpha ? 4 : 3;
    const std::size_t n = static_cast<std::size_t>(bild.width()) * bpp;
    const std::size_t zeilenLaenge = 1 + n;
    const std::size_t roh = zeilenLaenge * static_cast<std::size_t>(t.bis - t.von);
    t.daten.resize(deflateBound(&s, static_cast<uLong>(roh)) + 16);
    s.next_out = reinterpret_cast<Bytef*>(t.daten.data());
    s.avail_out = static_cast<uInt>(t.daten.size());
    std::vector<unsigned char> diese(n), vorige(n), subZeile(zeilenLaenge), upZeile(zeilenLaenge);
    subZeile[0] = 1;  // filter type Sub
    upZeile[0] = 2;   // filter type Up
    if (t.von > 0) leseZeile(bild, t.von - 1, alpha, vorige.data());
    t.adler = adler32(0L, Z_NULL, 0);
    bool gut = true;
    for (int y = t.von; y < t.bis && gut; ++y) {
        leseZeile(bild, y, alpha, diese.data());
        std::vector<unsigned char>* zeile = nullptr;
        filtereZeile(diese.data(), y > 0 ? vorige.data() : nullptr, n, bpp, subZeile.data() + 1, upZeile.data() + 1,
                     zeile, subZeile, upZeile);
        t.adler = adler32(t.adler, zeile->data(), static_cast<uInt>(zeilenLaenge));
        s.next_in = zeile->data();
        s.avail_in = static_cast<uInt>(zeilenLaenge);
        const int flush = y + 1 < t.bis ? Z_NO_FLUSH : (t.letzter ? Z_FINISH : Z_SYNC_FLUSH);
        const int r = deflate(&s, flush);
        gut = s.avail_in == 0 && (flush == Z_FINISH ? r == Z_STREAM_END : r == Z_OK);
        diese.swap(vorige);
    }
    t.daten.resize(s.total_out);
    t.laenge = static_cast<uLong>(roh);
    deflateEnd(&s);
    t.gut = gut;
}

// The same image as 8-bit RGB32 or ARGB32 (straight alpha), which the rows are read
// from; nothing for images of more than 8 bits per channel.
std::optional<QImage> alsAchtBit(const QImage& bild) {
    switch (bild.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
            return bild;
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB:
        case QImage::Format_Indexed8:
        case QImage::Format_Grayscale8:
        case QImage::Format_Alpha8:
        case QImage::Format_RGB888:
        case QImage::Format_BGR888:
        case QImage::Format_RGBX8888:
        case QImage::Format_RGBA8888:
        case QImage::Format_RGBA8888_Premultiplied:
        case QImage::Format_ARGB32_Premultiplied:
        case QImage::Format_RGB16:
        case QImage::Format_RGB555:
        case QImage::Format_RGB444:
        case QImage::Format_ARGB4444_Premultiplied:
            return bild.convertToFormat(bild.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        default:
            return std::nullopt;
    }
}

std::optional<std::string> mitQt(const QImage& bild) {
    QByteArray png;
    QBuffer puffer(&png);
    puffer.open(QIODevice::WriteOnly);
    if (!bild.save(&puffer, "PNG") || png.isEmpty()) return std::nullopt;
    return png.toStdString();
}

}  // namespace

std::optional<std::string> schnellesPng(const QImage& eingabe, int teile) {
    if (eingabe.isNull() || eingabe.width() <= 0 || eingabe.height() <= 0) return std::nullopt;
    const auto bild = alsAchtBit(eingabe);
    if (!bild) return mitQt(eingabe);
    const bool alpha = bild->format() == QImage::Format_ARGB32;
    const int h = bild->height();

    if (teile <= 0) teile = static_cast<int>(std::max(1u, std::min(4u, std::thread::hardware_concurrency())));
    teile = std::max(1, std::min(teile, h / zeilenJeTeilMindestens));
    std::vector<Teil> stuecke(static_cast<std::size_t>(teile));
    for (int i = 0; i < teile; ++i) {
        stuecke[static_cast<std::size_t>(i)].von = static_cast<int>(static_cast<long long>(h) * i / teile);
        stuecke[static_cast<std::size_t>(i)].bis = static_cast<int>(static_cast<long long>(h) * (i + 1) / teile);
    }
    stuecke.back().letzter = true;
    {
        std::vector<std::jthread> helfer;
        for (std::size_t i = 1; i < stuecke.size(); ++i)
            helfer.emplace_back([&, i] { komprimiere(*bild, alpha, stuecke[i]); });
        komprimiere(*bild, alpha, stuecke[0]);
    }  // the helpers are joined here

    uLong adler = adler32(0L, Z_NULL, 0);
    std::size_t groesse = 64;
    for (const Teil& t : stuecke) {
        if (!t.gut) return std::nullopt;
        adler = adler32_combine(adler, t.adler, static_cast<z_off_t>(t.laenge));
        groesse += t.daten.size() + 12;
    }

    std::string png;
    png.reserve(groesse);
    png.append("\x89PNG\r\n\x1a\n", 8);
    std::string kopf;
    haengeAn32(kopf, static_cast<std::uint32_t>(bild->width()));
    haengeAn32(kopf, static_cast<std::uint32_t>(h));
    const std::array<char, 5> art{8, static_cast<char>(alpha ? 6 : 2), 0, 0, 0};  // depth, colour type, methods
    kopf.append(art.data(), art.size());
    schreibeBlock(png, "IHDR", kopf.data(), kopf.size());
    // The zlib stream across the image data chunks: its header, the parts, the checksum.
    schreibeBlock(png, "IDAT", "\x78\x01", 2);
    for (const Teil& t : stuecke) schreibeBlock(png, "IDAT", t.daten.data(), t.daten.size());
    std::string pruefsumme;
    haengeAn32(pruefsumme, static_cast<std::uint32_t>(adler));
    schreibeBlock(png, "IDAT", pruefsumme.data(), pruefsumme.size());
    schreibeBlock(png, "IEND", "", 0);
    return png;
}

std::optional<std::string> pngAusDatei(const std::string& pfad) {
    QFile f(QString::fromStdString(pfad));
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray daten = f.readAll();
    if (f.error() != QFileDevice::NoError) return std::nullopt;
    QImage bild;
    if (!bild.loadFromData(daten)) return std::nullopt;
    return schnellesPng(bild);
}

}  // namespace klebwerk
