// The workspace and window list of the x11 backend against real windows.

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

#include <xcb/shape.h>

#include "desktop/x11_hilfe.h"
#include "platform/x11/x11_arbeitsplatz.h"
#include "platform/x11/x11_fensterliste.h"

namespace klebwerk::x11 {
namespace {

using test::Probefenster;
using test::warteBis;

class X11ArbeitsplatzTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
        x = std::make_unique<XVerbindung>();
        ASSERT_TRUE(x->verbunden());
        platz = std::make_unique<X11Arbeitsplatz>(*x, schleife);
        liste = std::make_unique<X11Fensterliste>(*x, *platz);
    }
    void TearDown() override {
        liste.reset();
        platz.reset();
        x.reset();
    }
    std::optional<FensterInfo> gelistet(std::int64_t nummer) {
        for (const auto& f : liste->fenster())
            if (f.nummer == nummer) return f;
        return std::nullopt;
    }
    std::optional<Anwendung> laufend(int pid) {
        for (const auto& a : platz->laufende())
            if (a.pid == pid) return a;
        return std::nullopt;
    }
    void wartetBisGelistet(Probefenster& p) {
        ASSERT_TRUE(warteBis([&] { return p.fensterId() && gelistet(p.fensterId()); })) << "window never listed";
    }
    test::TestSchleife schleife;
    std::unique_ptr<XVerbindung> x;
    std::unique_ptr<X11Arbeitsplatz> platz;
    std::unique_ptr<X11Fensterliste> liste;
};

TEST_F(X11ArbeitsplatzTest, ListetFensterUndAnwendung) {
    Probefenster p("Arbeitsplatz Probe", 300, 200, 350, 250);
    wartetBisGelistet(p);
    ASSERT_TRUE(warteBis([&] { return gelistet(p.fensterId())->rahmen.breite == 350; }));
    auto f = *gelistet(p.fensterId());
    EXPECT_EQ(f.pid, p.pid());
    EXPECT_EQ(f.titel, "Arbeitsplatz Probe");
    EXPECT_EQ(f.schicht, 0);
    EXPECT_EQ(f.rahmen.hoehe, 250);
    EXPECT_EQ(f.besitzer, "klebwerk_probefenster");

    auto a = laufend(p.pid());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->pfad, KLEBWERK_PROBEFENSTER);
    EXPECT_EQ(a->art, Aktivierungsart::regulaer);
    // No desktop entry: its window class names it, not the executable alone.
    EXPECT_EQ(a->kennung, "wmclass:klebwerk_probefenster/klebwerk_probefenster");
    // This process is listed, never as a regular application, and has its key.
    auto selbst = laufend(getpid());
    ASSERT_TRUE(selbst);
    EXPECT_EQ(selbst->art, Aktivierungsart::zubehoer);
    EXPECT_EQ(selbst->kennung, "de.quenmoral.klebwerk");
    EXPECT_EQ(platz->eigenePid(), getpid());
}

// The lookup by pid answers from what the X thread keeps, as the full list would.
TEST_F(X11ArbeitsplatzTest, AnwendungNachPidIstDieDerListe) {
    Probefenster p("Nachschlagen Probe", 300, 200, 350, 250);
    wartetBisGelistet(p);
    ASSERT_TRUE(warteBis([&] { return platz->anwendung(p.pid()) == laufend(p.pid()) && laufend(p.pid()); }));
    EXPECT_EQ(platz->anwendung(p.pid())->pfad, KLEBWERK_PROBEFENSTER);
    EXPECT_EQ(platz->anwendung(getpid()), laufend(getpid())) << "this process, which has no window of its own here";
    p.beende();
    EXPECT_TRUE(warteBis([&] { return !platz->anwendung(p.pid()); })) << "an ended application is gone";
    EXPECT_FALSE(platz->anwendung(0));
}

TEST_F(X11ArbeitsplatzTest, AktivierungBringtNachVorn) {
    Probefenster a("Vorn A", 100, 100, 300, 200);
    wartetBisGelistet(a);
    Probefenster b("Vorn B", 140, 140, 300, 200);
    wartetBisGelistet(b);
    auto vorn = [&] {
        auto v = platz->vorderste();
        return v ? v->pid : 0;
    };
    ASSERT_TRUE(warteBis([&] { return vorn() == b.pid(); }));
    ASSERT_TRUE(platz->aktiviere(a.pid(), false));
    EXPECT_TRUE(warteBis([&] { return vorn() == a.pid(); }));
    // Front to back: the activated window first.
    EXPECT_TRUE(warteBis([&] {
        auto l = liste->fenster();
        auto ia = std::find_if(l.begin(), l.end(), [&](auto& f) { return f.nummer == a.fensterId(); });
        auto ib = std::find_if(l.begin(), l.end(), [&](auto& f) { return f.nummer == b.fensterId(); });
        return ia != l.end() && ib != l.end() && ia < ib;
    }));
    EXPECT_FALSE(platz->aktiviere(999999, false));
}

// Everything that can take a click is listed, front to back: a popup that bypasses the
// window manager on a layer of its own, this process's own windows too; a window that
// takes no pointer input is not.
TEST_F(X11ArbeitsplatzTest, UeberlagerungenUndEigeneFensterStehenInDerListe) {
    Probefenster p("Unter dem Menue", 200, 200, 300, 200);
    wartetBisGelistet(p);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_screen_t* schirm = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    auto neues = [&](std::int16_t x, std::int16_t y, bool umgeht) {
        xcb_window_t w = xcb_generate_id(c);
        std::uint32_t werte[] = {schirm->white_pixel, umgeht ? 1u : 0u};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, schirm->root, x, y, 80, 60, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          schirm->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, werte);
        std::uint32_t pid = static_cast<std::uint32_t>(getpid());
        xcb_intern_atom_reply_t* a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 11, "_NET_WM_PID"), nullptr);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, a->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
        free(a);
        xcb_map_window(c, w);
        xcb_flush(c);
        return w;
    };
    const xcb_window_t menue = neues(250, 250, true);
    const xcb_window_t durchlaessig = neues(260, 260, true);
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, durchlaessig, 0, 0, 0,
                         nullptr);
    const xcb_window_t eigenes = neues(600, 300, false);
    xcb_flush(c);
    auto stelle = [&](std::uint32_t nummer) -> long {
        auto l = liste->fenster();
        for (size_t i = 0; i < l.size(); ++i)
            if (l[i].nummer == nummer) return static_cast<long>(i);
        return -1;
    };
    EXPECT_TRUE(warteBis([&] { return stelle(menue) >= 0 && stelle(menue) < stelle(p.fensterId()); }))
        << "the popup lies over the window below it";
    EXPECT_EQ(gelistet(menue)->schicht, ueberlagerungsSchicht);
    EXPECT_EQ(gelistet(menue)->pid, getpid());
    EXPECT_EQ(gelistet(menue)->rahmen, (Rechteck{250, 250, 80, 60}));
    EXPECT_TRUE(warteBis([&] { return stelle(eigenes) >= 0; })) << "this process's managed window";
    EXPECT_EQ(stelle(durchlaessig), -1) << "no pointer input: a click goes through it";
    xcb_unmap_window(c, menue);
    xcb_flush(c);
    EXPECT_TRUE(warteBis([&] { return stelle(menue) < 0; }));
    xcb_disconnect(c);
}

TEST_F(X11ArbeitsplatzTest, BeendeteAnwendungWirdGemeldet) {
    std::vector<Anwendung> beendet;
    Marke m = platz->beiBeendet([&](const Anwendung& a) { beendet.push_back(a); });
    Probefenster p("Wird beendet", 200, 200, 200, 150);
    wartetBisGelistet(p);
    int pid = p.pid();
    // The watch is in place once the window was seen by the workspace.
    ASSERT_TRUE(warteBis([&] { return laufend(pid).has_value(); }));
    x->gleicheAb(1);
    p.beende();
    EXPECT_TRUE(warteBis([&] {
        schleife.abarbeiten();
        return std::any_of(beendet.begin(), beendet.end(), [&](auto& a) { return a.pid == pid; });
    }));
    auto a = std::find_if(beendet.begin(), beendet.end(), [&](auto& a) { return a.pid == pid; });
    ASSERT_NE(a, beendet.end());
    EXPECT_EQ(a->pfad, KLEBWERK_PROBEFENSTER);
    EXPECT_EQ(std::count_if(beendet.begin(), beendet.end(), [&](auto& a) { return a.pid == pid; }), 1);
    EXPECT_FALSE(laufend(pid).has_value());

    // A dropped token hears of nothing more.
    m.aufheben();
    Probefenster q("Noch eins", 200, 200, 200, 150);
    wartetBisGelistet(q);
    x->gleicheAb(1);
    int qpid = q.pid();
    q.beende();
    ASSERT_TRUE(warteBis([&] { return !laufend(qpid).has_value(); }));
    schleife.abarbeiten();
    EXPECT_TRUE(std::none_of(beendet.begin(), beendet.end(), [&](auto& a) { return a.pid == qpid; }));
}

}  // namespace
}  // namespace klebwerk::x11
