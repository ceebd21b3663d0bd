#include <cstring>

#include <gtest/gtest.h>

#include "platform/wayland/sway_baum.h"
#include "platform/wayland/sway_ipc.h"

namespace klebwerk::wayland {
namespace {

// A tree as sway gives it, cut to the fields that matter: a shown workspace with a
// floating window over two tiled ones (the right one focused last), a tabbed container
// hiding one of its tabs, a second output, the scratchpad, and an X program.
const char* const baum = R"({
  "id": 1, "type": "root", "name": "root", "focus": [3, 20, 2],
  "nodes": [
    {"id": 2, "type": "output", "name": "__i3", "focus": [9], "nodes": [
      {"id": 9, "type": "workspace", "name": "__i3_scratch", "focus": [90], "nodes": [],
       "floating_nodes": [{"id": 90, "type": "floating_con", "pid": 900, "name": "Versteckt",
                           "app_id": "x", "visible": false,
                           "rect": {"x": 0, "y": 0, "width": 10, "height": 10},
                           "window_rect": {"x": 0, "y": 0, "width": 10, "height": 10}}]}]},
    {"id": 3, "type": "output", "name": "HEADLESS-1", "focus": [4], "nodes": [
      {"id": 4, "type": "workspace", "name": "1", "focus": [7, 6, 5, 8],
       "floating_nodes": [
         {"id": 7, "type": "floating_con", "pid": 700, "name": "Schwebt", "app_id": "schwebe",
          "focused": false, "visible": true,
          "rect": {"x": 100, "y": 120, "width": 300, "height": 200},
          "window_rect": {"x": 2, "y": 24, "width": 296, "height": 174}}],
       "nodes": [
         {"id": 5, "type": "con", "pid": 500, "name": "Links", "app_id": "links", "visible": true,
          "rect": {"x": 0, "y": 0, "width": 640, "height": 800},
          "window_rect": {"x": 0, "y": 25, "width": 640, "height": 775}},
         {"id": 8, "type": "con", "name": "Reiter", "layout": "tabbed", "focus": [81, 82], "nodes": [
           {"id": 82, "type": "con", "pid": 820, "name": "Hinten", "app_id": "hinten", "visible": false,
            "rect": {"x": 640, "y": 0, "width": 640, "height": 800},
            "window_rect": {"x": 0, "y": 25, "width": 640, "height": 775}},
           {"id": 81, "type": "con", "pid": 810, "name": "Vorn", "app_id": null, "visible": true,
            "window_properties": {"class": "XTerm", "instance": "xterm"},
            "rect": {"x": 640, "y": 0, "width": 640, "height": 800},
            "window_rect": {"x": 0, "y": 25, "width": 640, "height": 775}}]},
         {"id": 6, "type": "con", "pid": 600, "name": "Rechts", "app_id": "rechts", "focused": true,
          "visible": true,
          "rect": {"x": 640, "y": 0, "width": 640, "height": 800},
          "window_rect": {"x": 1, "y": 25, "width": 638, "height": 774}}]}]},
    {"id": 20, "type": "output", "name": "HEADLESS-2", "focus": [21], "nodes": [
      {"id": 21, "type": "workspace", "name": "2", "focus": [22], "nodes": [
        {"id": 22, "type": "con", "pid": 220, "name": "Anderer Schirm", "app_id": "zwei", "visible": true,
         "rect": {"x": 1280, "y": 0, "width": 800, "height": 600},
         "window_rect": {"x": 0, "y": 0, "width": 800, "height": 600}}]}]}
  ]
})";

TEST(SwayBaum, FensterVonVornMitProzessTitelAppIdUndInhaltsflaeche) {
    auto fenster = fensterAusBaum(baum);
    ASSERT_TRUE(fenster);
    std::vector<std::int64_t> reihe;
    for (const auto& f : *fenster) reihe.push_back(f.conId);
    // Floating over tiled, tiled in focus order, the tab group's shown tab first, the
    // other output after the focused one, the scratchpad nowhere.
    EXPECT_EQ(reihe, (std::vector<std::int64_t>{7, 6, 5, 81, 82, 22}));

    const SwayFenster& schwebt = (*fenster)[0];
    EXPECT_EQ(schwebt, (SwayFenster{7, 700, "Schwebt", "schwebe", {102, 144, 296, 174}, false, true, true, {100, 120, 300, 200}}));
    const SwayFenster& rechts = (*fenster)[1];
    EXPECT_EQ(rechts, (SwayFenster{6, 600, "Rechts", "rechts", {641, 25, 638, 774}, true, true, false, {640, 0, 640, 800}}));
    EXPECT_EQ((*fenster)[3].appId, "XTerm");  // an X program: its window class
    EXPECT_FALSE((*fenster)[4].sichtbar);     // the hidden tab
}

TEST(SwayBaum, KeinBaumIstKeineLeereListe) {
    for (const char* text : {"", "{", "[]", R"({"type": "output"})"}) EXPECT_FALSE(fensterAusBaum(text)) << text;
    auto leer = fensterAusBaum(R"({"id": 1, "type": "root", "nodes": []})");
    ASSERT_TRUE(leer);
    EXPECT_TRUE(leer->empty());
}

TEST(SwayBaum, FensterereignisNenntArtBehaelterUndTitel) {
    auto e = fensterEreignis(R"({"change": "title", "container": {"id": 42, "name": "Neu", "pid": 7}})");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->art, "title");
    EXPECT_EQ(e->conId, 42);
    EXPECT_EQ(e->titel, "Neu");
    for (const char* kaputt : {"", R"({"change": "close"})", R"({"container": {"id": 1}})"})
        EXPECT_FALSE(fensterEreignis(kaputt)) << kaputt;
}

TEST(SwayBaum, BefehlsantwortNenntDenErstenFehler) {
    struct Fall {
        const char* antwort;
        bool gelungen;
        std::string fehler;
    };
    const Fall faelle[] = {
        {R"([{"success": true}])", true, ""},
        {R"([{"success": true}, {"success": false, "error": "No matching node."}])", false, "No matching node."},
        {R"([{"success": false}])", false, "sway refused the command"},
        {R"([])", false, "sway ran no command"},
        {"kaputt", false, "sway's reply to a command was unreadable"},
    };
    for (const auto& f : faelle) {
        std::string fehler;
        EXPECT_EQ(befehlGelungen(f.antwort, fehler), f.gelungen) << f.antwort;
        EXPECT_EQ(fehler, f.fehler) << f.antwort;
    }
}

TEST(SwayIpc, RahmenTraegtMagieLaengeUndArtVorDerNutzlast) {
    std::string r = ipcRahmen(IpcArt::befehl, "focus");
    ASSERT_EQ(r.size(), 14u + 5u);
    EXPECT_EQ(r.substr(0, 6), "i3-ipc");
    std::uint32_t laenge = 0, art = 99;
    std::memcpy(&laenge, r.data() + 6, 4);
    std::memcpy(&art, r.data() + 10, 4);
    EXPECT_EQ(laenge, 5u);
    EXPECT_EQ(art, 0u);
    EXPECT_EQ(r.substr(14), "focus");
}

TEST(SwayIpc, OhneCompositorEinFehlerNichtsLeeres) {
    SwayIpc ipc("/nonexistent/sway-ipc.sock");
    IpcAntwort a = ipc.anfrage(IpcArt::baum, {}, 0.2);
    EXPECT_FALSE(a.gelungen());
    EXPECT_NE(a.fehler.find("cannot reach sway"), std::string::npos) << a.fehler;
}

}  // namespace
}  // namespace klebwerk::wayland
