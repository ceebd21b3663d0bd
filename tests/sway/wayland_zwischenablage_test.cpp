#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <random>

#include <QBuffer>
#include <QImage>
#include <QProcess>

#include "desktop/x11_hilfe.h"
#include "platform/wayland/wayland_zwischenablage.h"

namespace klebwerk::wayland {
namespace {

using test::TestSchleife;
using test::warteBis;

std::string bytes(const QByteArray& b) { return std::string(b.constData(), static_cast<std::size_t>(b.size())); }

// A real PNG of noise: megabytes that compress badly, so the transfer is large.
std::string grossesPng() {
    QImage bild(1200, 900, QImage::Format_RGB32);
    std::mt19937 zufall(7);
    for (int y = 0; y < bild.height(); ++y) {
        auto* zeile = reinterpret_cast<quint32*>(bild.scanLine(y));
        for (int x = 0; x < bild.width(); ++x) zeile[x] = zufall();
    }
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "PNG");
    return bytes(daten);
}

// What another application reads: wl-paste's bytes of one type, or its list of types.
std::string wlPaste(const QStringList& argumente) {
    QProcess p;
    p.start("wl-paste", argumente);
    p.waitForFinished(30000);
    return bytes(p.readAllStandardOutput());
}

class WaylandZwischenablageTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no Wayland session (WAYLAND_DISPLAY is not set)";
        ablage_ = std::make_unique<WaylandZwischenablage>(schleife_);
    }

    AblageLesung liesJetzt(double frist = 30.0) {
        std::optional<AblageLesung> ergebnis;
        Marke m = ablage_->lies([&](AblageLesung l) { ergebnis = std::move(l); });
        warteBis([&] {
            schleife_.abarbeiten();
            return ergebnis.has_value();
        }, frist);
        return ergebnis.value_or(AblageLesung{{}, "no result in the test"});
    }

    // Another client takes the clipboard: wl-copy, in the foreground so that it ends with the test.
    void wlCopy(QProcess& p, const QStringList& argumente, const std::string& daten) {
        const auto vorher = ablage_->aenderungen();
        p.start("wl-copy", QStringList{"--foreground"} + argumente);
        ASSERT_TRUE(p.waitForStarted(5000));
        p.write(daten.data(), static_cast<qint64>(daten.size()));
        while (p.bytesToWrite() > 0 && p.waitForBytesWritten(5000)) {
        }
        p.closeWriteChannel();
        ASSERT_TRUE(warteBis([&] { return ablage_->aenderungen() > vorher; })) << "wl-copy never took the clipboard";
    }

    TestSchleife schleife_;
    std::unique_ptr<WaylandZwischenablage> ablage_;
};

TEST_F(WaylandZwischenablageTest, EigenerInhaltKommtBeiAnderenByteFuerByteAn) {
    const std::string png = grossesPng();
    ASSERT_GT(png.size(), 1000000u);
    const AblageEintrag eintrag{
        {"image/png", png},
        {"text/plain;charset=utf-8", "Grüße aus Klebwerk"},
        {"application/x-klebwerk-roh", std::string("\0\x01\xff\r\n", 5)},
    };
    const auto vorher = ablage_->aenderungen();
    ASSERT_TRUE(ablage_->schreibe({eintrag}));
    EXPECT_EQ(ablage_->aenderungen(), vorher + 1);  // at once, not when the compositor answers

    EXPECT_EQ(wlPaste({"--list-types"}), "image/png\ntext/plain;charset=utf-8\napplication/x-klebwerk-roh\n");
    for (const auto& [typ, daten] : eintrag)
        EXPECT_TRUE(wlPaste({"--no-newline", "--type", QString::fromStdString(typ)}) == daten) << typ;
    // Its own selection coming back from the compositor is not a second change.
    EXPECT_EQ(ablage_->aenderungen(), vorher + 1);

    // Reading back its own contents gives the same item.
    AblageLesung l = liesJetzt();
    ASSERT_TRUE(l.gelesen()) << *l.fehler;
    ASSERT_EQ(l.eintraege.size(), 1u);
    EXPECT_TRUE(l.eintraege[0] == eintrag);

    ablage_->leere();
    EXPECT_EQ(ablage_->aenderungen(), vorher + 2);
    l = liesJetzt();
    ASSERT_TRUE(l.gelesen()) << *l.fehler;
    EXPECT_TRUE(l.eintraege.empty());
    EXPECT_EQ(wlPaste({"--list-types"}), "");
}

TEST_F(WaylandZwischenablageTest, FremderInhaltWirdByteFuerByteGelesen) {
    struct Fall {
        QStringList argumente;
        std::string daten;
        std::string typ;  // the type that must hold the data
    };
    const Fall faelle[] = {
        {{"--type", "image/png"}, grossesPng(), "image/png"},
        {{}, "Text mit Umlauten: äöü\nund zwei Zeilen", "text/plain;charset=utf-8"},
    };
    for (const Fall& f : faelle) {
        QProcess besitzer;
        wlCopy(besitzer, f.argumente, f.daten);
        AblageLesung l = liesJetzt();
        ASSERT_TRUE(l.gelesen()) << *l.fehler;
        ASSERT_EQ(l.eintraege.size(), 1u);
        const std::string* gelesen = datenVon(l.eintraege[0], f.typ);
        ASSERT_TRUE(gelesen) << f.typ;
        EXPECT_TRUE(*gelesen == f.daten) << f.typ << ": " << gelesen->size() << " of " << f.daten.size() << " bytes";
        // The owner's end empties the clipboard: a change of its own, seen before the next case.
        const auto vorher = ablage_->aenderungen();
        besitzer.kill();
        besitzer.waitForFinished(5000);
        ASSERT_TRUE(warteBis([&] { return ablage_->aenderungen() > vorher; }));
    }
}

TEST_F(WaylandZwischenablageTest, StummerBesitzerLaesstDieLesungNachFristScheitern) {
    QProcess besitzer;
    wlCopy(besitzer, {"--type", "image/png"}, "bild");
    const auto pid = static_cast<pid_t>(besitzer.processId());
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    ablage_->stillefrist = 0.3;
    AblageLesung l = liesJetzt(10.0);
    kill(pid, SIGCONT);
    ASSERT_FALSE(l.gelesen());
    EXPECT_EQ(*l.fehler, "the clipboard's owner stopped answering");

    // The clipboard works again afterwards.
    ASSERT_TRUE(ablage_->schreibe({{{"text/plain", "weiter"}}}));
    EXPECT_EQ(wlPaste({"--no-newline", "--type", "text/plain"}), "weiter");
    besitzer.kill();
    besitzer.waitForFinished(5000);
}

TEST(WaylandZwischenablageOhneCompositor, SagtWarumStattLeerZuLesen) {
    TestSchleife schleife;
    WaylandZwischenablage ablage(schleife, "/nonexistent/wayland-0");
    std::optional<AblageLesung> ergebnis;
    Marke m = ablage.lies([&](AblageLesung l) { ergebnis = std::move(l); });
    ASSERT_TRUE(warteBis([&] {
        schleife.abarbeiten();
        return ergebnis.has_value();
    }));
    ASSERT_FALSE(ergebnis->gelesen());
    EXPECT_EQ(*ergebnis->fehler, "no Wayland compositor to connect to");
    EXPECT_FALSE(ablage.schreibe({{{"text/plain", "x"}}}));
}

}  // namespace
}  // namespace klebwerk::wayland
