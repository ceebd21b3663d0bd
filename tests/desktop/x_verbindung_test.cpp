// The X side's window tracking against real windows under the private session.

#include <gtest/gtest.h>

#include <unistd.h>

#include "desktop/x11_hilfe.h"
#include "platform/x11/x_verbindung.h"

namespace klebwerk::x11 {
namespace {

using test::Probefenster;
using test::warteBis;

class XVerbindungTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        x = std::make_unique<XVerbindung>();
        ASSERT_TRUE(x->verbunden());
    }
    std::optional<XFenster> gefunden(std::uint32_t id) {
        x->gleicheAb(2);
        auto f = x->fensterMit(id);
        if (f && f->sichtbar) return f;
        return std::nullopt;
    }
    // The window list as text, for failure messages.
    std::string liste() {
        std::string text = "active " + std::to_string(x->aktivesFenster()) + " thread answers " +
                           std::to_string(x->gleicheAb(2)) + " stand " + std::to_string(x->stand()) + " direct " +
                           std::to_string(x->lies(x->wurzel(), x->atom("_NET_CLIENT_LIST_STACKING")).daten.size()) + "\n";
        for (auto& f : x->fenster(true))
            text += std::to_string(f.id) + " pid " + std::to_string(f.pid) + " sichtbar " + std::to_string(f.sichtbar) +
                    " abgebildet " + std::to_string(f.abgebildet) + " desktop " + std::to_string(f.desktop) + " '" +
                    f.titel + "'\n";
        return text;
    }
    std::unique_ptr<XVerbindung> x;
};

TEST_F(XVerbindungTest, FindetEinFensterMitPidTitelUndRahmen) {
    Probefenster p("Probe Eins äö", 200, 150, 320, 240);
    ASSERT_TRUE(warteBis([&] { return p.fensterId() != 0; }));
    std::uint32_t id = p.fensterId();
    ASSERT_TRUE(warteBis([&] { return gefunden(id).has_value(); })) << liste();
    ASSERT_TRUE(warteBis([&] { return gefunden(id)->rahmen.breite == 320; }));
    auto f = *gefunden(id);
    EXPECT_EQ(f.pid, p.pid());
    EXPECT_EQ(f.titel, "Probe Eins äö");
    EXPECT_EQ(f.art, "normal");
    EXPECT_EQ(f.schicht, 0);
    EXPECT_FALSE(f.eigenes);
    EXPECT_EQ(f.rahmen.breite, 320);
    EXPECT_EQ(f.rahmen.hoehe, 240);
    // The frame surrounds the client area.
    EXPECT_LE(f.aussen.x, f.rahmen.x);
    EXPECT_LE(f.aussen.y, f.rahmen.y);
    EXPECT_GE(f.aussen.breite, f.rahmen.breite);
}

TEST_F(XVerbindungTest, StapelVonVornUndAktivierung) {
    Probefenster a("Probe A", 100, 100, 300, 200);
    ASSERT_TRUE(warteBis([&] { return a.fensterId() && gefunden(a.fensterId()); })) << liste() << a.fensterId();
    Probefenster b("Probe B", 150, 150, 300, 200);
    ASSERT_TRUE(warteBis([&] { return b.fensterId() && gefunden(b.fensterId()); })) << liste() << b.fensterId();
    auto reihenfolge = [&] {
        std::vector<std::uint32_t> ids;
        for (const auto& f : x->fenster())
            if (f.id == a.fensterId() || f.id == b.fensterId()) ids.push_back(f.id);
        return ids;
    };
    // The window opened last is in front.
    ASSERT_TRUE(warteBis([&] { return x->aktivesFenster() == b.fensterId(); })) << liste() << b.fensterId();
    EXPECT_EQ(reihenfolge(), (std::vector<std::uint32_t>{b.fensterId(), a.fensterId()}));

    ASSERT_TRUE(x->aktiviereFenster(a.fensterId()));
    EXPECT_TRUE(warteBis([&] { return x->gleicheAb(1) && x->aktivesFenster() == a.fensterId(); })) << liste();
    EXPECT_TRUE(warteBis([&] {
        return reihenfolge() == std::vector<std::uint32_t>{a.fensterId(), b.fensterId()};
    }));
}

TEST_F(XVerbindungTest, TitelAenderungUndZerstoerungWerdenGemeldet) {
    std::mutex sperre;
    std::vector<std::pair<std::uint32_t, FensterAenderung>> gesehen;
    Marke m = x->beobachteFenster([&](std::uint32_t id, FensterAenderung a) {
        std::lock_guard lock(sperre);
        gesehen.emplace_back(id, a);
    });
    auto p = std::make_unique<Probefenster>("Probe C", 120, 120, 200, 100);
    ASSERT_TRUE(warteBis([&] { return p->fensterId() && gefunden(p->fensterId()); })) << liste() << p->fensterId();
    std::uint32_t id = p->fensterId();
    // A title set by another client is seen through PropertyNotify.
    std::string neu = "Neuer Titel";
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_intern_atom_reply_t* utf8 = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 11, "UTF8_STRING"), nullptr);
    xcb_intern_atom_reply_t* name = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 12, "_NET_WM_NAME"), nullptr);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, name->atom, utf8->atom, 8, neu.size(), neu.data());
    xcb_flush(c);
    free(utf8);
    free(name);
    EXPECT_TRUE(warteBis([&] { return gefunden(id) && gefunden(id)->titel == neu; }));
    xcb_disconnect(c);

    p->beende();
    EXPECT_TRUE(warteBis([&] {
        std::lock_guard lock(sperre);
        for (auto& [i, a] : gesehen)
            if (i == id && a == FensterAenderung::zerstoert) return true;
        return false;
    }));
    EXPECT_FALSE(x->fensterMit(id).has_value());
}

TEST_F(XVerbindungTest, MinimiertIstNichtSichtbarAberNichtZerstoert) {
    std::atomic<bool> zerstoert{false};
    Probefenster p("Probe Minimiert", 120, 120, 200, 100);
    ASSERT_TRUE(warteBis([&] { return p.fensterId() && gefunden(p.fensterId()); })) << liste();
    std::uint32_t id = p.fensterId();
    Marke m = x->beobachteFenster([&](std::uint32_t i, FensterAenderung a) {
        if (i == id && a == FensterAenderung::zerstoert) zerstoert = true;
    });
    ASSERT_EQ(QProcess::execute("xdotool", {"windowminimize", QString::number(id)}), 0);
    EXPECT_TRUE(warteBis([&] {
        x->gleicheAb(1);
        auto f = x->fensterMit(id);
        return f && !f->sichtbar && f->versteckt;
    })) << liste();
    EXPECT_FALSE(zerstoert);
    x->aktiviereFenster(id);
    EXPECT_TRUE(warteBis([&] { return gefunden(id).has_value(); })) << liste();
}

TEST_F(XVerbindungTest, XFehlerBeendenNichtsUndZeitstempelKommen) {
    // A request on a window that does not exist: an error reply, never the end.
    x->aufX([&] {
        std::uint32_t maske = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(x->xcb(), 0x1fffffe, XCB_CW_EVENT_MASK, &maske);
        xcb_map_window(x->xcb(), 0x1fffffd);
    });
    EXPECT_TRUE(warteBis([&] { return x->gleicheAb(1) && x->xFehler() >= 2; }));
    std::atomic<xcb_timestamp_t> zeit{0};
    x->zeitstempel([&](xcb_timestamp_t t) { zeit = t; });
    EXPECT_TRUE(warteBis([&] { return zeit != 0; }));
    EXPECT_TRUE(x->verbunden());
}

}  // namespace
}  // namespace klebwerk::x11
