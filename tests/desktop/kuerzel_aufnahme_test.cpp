// build/klebwerk records the dictation shortcut from real key presses (XTest through
// xdotool) and holds it as a key grab; a combination another X client holds is
// refused and the previous shortcut stays.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include "desktop/klebwerk_lauf.h"
#include "desktop/x11_hilfe.h"

namespace klebwerk {
namespace {

using test::KlebwerkLauf;
using test::liesDatei;

bool bis(const std::function<bool()>& bedingung, double frist = 15.0) { return test::warteBis(bedingung, frist); }

int xdo(std::vector<std::string> a) {
    a.insert(a.begin(), "xdotool");
    return test::fuehreAus(a);
}

// Another X client, which tries to take a combination (Control+Alt with a key) for
// itself as a passive grab on the root window, as a second program's hot key would.
class AndererClient {
public:
    AndererClient() : c_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(c_)) return;
        wurzel_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        symbole_ = xcb_key_symbols_alloc(c_);
    }
    ~AndererClient() {
        if (symbole_) xcb_key_symbols_free(symbole_);
        xcb_disconnect(c_);
    }
    // True when the grab is now this client's (no other client held it).
    bool greifeCtrlAlt(xcb_keysym_t keysym) {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbole_, keysym);
        if (!codes) return false;
        xcb_keycode_t code = codes[0];
        free(codes);
        xcb_generic_error_t* f = xcb_request_check(
            c_, xcb_grab_key_checked(c_, 1, wurzel_, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, code, XCB_GRAB_MODE_ASYNC,
                                     XCB_GRAB_MODE_ASYNC));
        free(f);
        return f == nullptr;
    }
    void lasseCtrlAlt(xcb_keysym_t keysym) {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbole_, keysym);
        if (!codes) return;
        xcb_ungrab_key(c_, codes[0], wurzel_, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
        free(codes);
        xcb_flush(c_);
    }

private:
    xcb_connection_t* c_;
    xcb_window_t wurzel_ = 0;
    xcb_key_symbols_t* symbole_ = nullptr;
};

class KuerzelAufnahmeEcht : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::hatAnzeige()) GTEST_SKIP() << "no display";
    }
    std::string status() const { return liesDatei(lauf.daten("status.json")); }
    bool imStatus(const std::string& teil) const { return status().find(teil) != std::string::npos; }
    // The stored dictation shortcut as the settings file holds it.
    QJsonValue gespeichert() const {
        return QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(lauf.einstellungsDatei())))
            .object()
            .value("kuerzel.diktat");
    }
    void nimmAuf() {
        ASSERT_EQ(test::sendeBefehl("kuerzellernen|diktat"), 0);
        ASSERT_TRUE(bis([&] { return imStatus("\"kuerzelLernen\": \"diktat\"") && imStatus("\"modus\": \"kuerzel\""); }))
            << status() << lauf.protokoll();
    }
    KlebwerkLauf lauf;
};

TEST_F(KuerzelAufnahmeEcht, AufgenommenAusEchtenTastenGehaltenUndFremdBelegtAbgewiesen) {
    lauf.schreibeEinstellungen(R"({"testBefehle": true, "feldSichtbar": false})");
    test::Probefenster probe("Kuerzelprobe", 300, 200, 400, 300);
    ASSERT_TRUE(bis([&] { return probe.fensterId() != 0; }));
    ASSERT_TRUE(lauf.starte());
    ASSERT_TRUE(bis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: true\n"); })) << lauf.protokoll();
    EXPECT_FALSE(lauf.protokollEnthaelt(" Kürzel diktat")) << "nothing stored, nothing registered";

    // ⌃⌥D pressed while recording becomes the dictation shortcut.
    nimmAuf();
    ASSERT_EQ(xdo({"key", "ctrl+alt+d"}), 0);
    ASSERT_TRUE(bis([&] { return imStatus("\"diktat\": \"⌃⌥D\"") && imStatus("\"modus\": \"keiner\""); }))
        << status() << lauf.protokoll();
    EXPECT_TRUE(imStatus("\"kuerzelLernen\": \"\""));
    EXPECT_EQ(gespeichert(), QJsonValue(QJsonArray{2, 0x1800, "⌃⌥D"}));
    EXPECT_TRUE(lauf.protokollEnthaelt(" Kürzel diktat ⌃⌥D angemeldet: 0\n")) << lauf.protokoll();

    // Klebwerk holds it: no other client can take it, and the focused window never sees it.
    {
        AndererClient anderer;
        EXPECT_FALSE(anderer.greifeCtrlAlt(XKB_KEY_d));
    }
    const std::string id = std::to_string(probe.fensterId());
    ASSERT_EQ(xdo({"windowactivate", "--sync", id}), 0);
    ASSERT_TRUE(bis([&] { return probe.hat("fokus"); }));
    ASSERT_EQ(xdo({"key", "ctrl+alt+d"}), 0);
    ASSERT_EQ(xdo({"key", "a"}), 0);
    ASSERT_TRUE(bis([&] { return probe.hat("taste 65 0"); }));
    for (const auto& z : probe.zeilen()) EXPECT_NE(z.rfind("taste 68 ", 0), 0u) << "the window saw " << z;

    // With a target and a dictation button, ⌃⌥D starts the dictation.
    ASSERT_TRUE(bis([&] {
        test::sendeBefehl("ziel|klebwerk_probefenster|Kuerzelprobe");
        return bis([&] { return imStatus("\"titel\": \"Kuerzelprobe\""); }, 1.0);
    })) << status();
    ASSERT_EQ(test::sendeBefehl("dknopf|push button|Mikrofon"), 0);
    ASSERT_TRUE(bis([&] { return imStatus("\"diktatKnopf\""); })) << status();
    ASSERT_EQ(xdo({"key", "ctrl+alt+d"}), 0);
    EXPECT_TRUE(bis([&] { return lauf.protokollEnthaelt(" Kürzel: Diktat\n"); })) << lauf.protokoll();
    ASSERT_EQ(test::sendeBefehl("diktat|0"), 0);  // stops the dictation that started

    // A combination another client holds is refused; ⌃⌥D stays stored and held.
    AndererClient halter;
    ASSERT_TRUE(halter.greifeCtrlAlt(XKB_KEY_k));
    nimmAuf();
    ASSERT_EQ(xdo({"key", "ctrl+alt+k"}), 0);
    ASSERT_TRUE(bis([&] { return lauf.protokollEnthaelt(" Kürzel diktat ⌃⌥K angemeldet: -9878\n"); }))
        << lauf.protokoll();
    ASSERT_TRUE(bis([&] { return lauf.protokoll().find(" Kürzel diktat ⌃⌥D angemeldet: 0\n") !=
                                 lauf.protokoll().rfind(" Kürzel diktat ⌃⌥D angemeldet: 0\n"); }))
        << "registered again after the refusal\n" << lauf.protokoll();
    EXPECT_TRUE(imStatus("\"modus\": \"kuerzel\"")) << "the recording goes on";
    EXPECT_TRUE(imStatus("\"diktat\": \"⌃⌥D\""));
    EXPECT_EQ(gespeichert(), QJsonValue(QJsonArray{2, 0x1800, "⌃⌥D"}));
    {
        AndererClient anderer;
        EXPECT_FALSE(anderer.greifeCtrlAlt(XKB_KEY_d)) << "⌃⌥D is still Klebwerk's";
    }

    // Escape ends the recording; nothing changes.
    ASSERT_EQ(xdo({"key", "Escape"}), 0);
    ASSERT_TRUE(bis([&] { return imStatus("\"modus\": \"keiner\""); })) << status();
    EXPECT_EQ(gespeichert(), QJsonValue(QJsonArray{2, 0x1800, "⌃⌥D"}));

    // ⌫ clears it: the grab is gone, the window gets ⌃⌥D again.
    nimmAuf();
    ASSERT_EQ(xdo({"key", "BackSpace"}), 0);
    ASSERT_TRUE(bis([&] { return imStatus("\"diktat\": \"\"") && imStatus("\"modus\": \"keiner\""); })) << status();
    EXPECT_TRUE(gespeichert().isUndefined());
    {
        AndererClient anderer;
        EXPECT_TRUE(anderer.greifeCtrlAlt(XKB_KEY_d)) << "released";
    }
    ASSERT_EQ(xdo({"windowactivate", "--sync", id}), 0);
    ASSERT_EQ(xdo({"key", "ctrl+alt+d"}), 0);
    EXPECT_TRUE(bis([&] {
        for (const auto& z : probe.zeilen())
            if (z.rfind("taste 68 ", 0) == 0) return true;
        return false;
    })) << "the window receives the combination again";

    // ⌃⌥S while recording is refused as the choose shortcut: it starts no choice, and
    // the recording goes on to take the next combination.
    nimmAuf();
    ASSERT_EQ(xdo({"key", "ctrl+alt+s"}), 0);
    ASSERT_EQ(xdo({"key", "ctrl+alt+j"}), 0);
    ASSERT_TRUE(bis([&] { return imStatus("\"diktat\": \"⌃⌥J\"") && imStatus("\"modus\": \"keiner\""); }))
        << status() << lauf.protokoll();
    EXPECT_FALSE(lauf.protokollEnthaelt(" Auswahl gestartet\n")) << lauf.protokoll();
    EXPECT_EQ(lauf.beende(), 0);
}

}  // namespace
}  // namespace klebwerk
