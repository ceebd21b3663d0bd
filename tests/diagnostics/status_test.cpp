#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

#include "diagnostics/status.h"
#include "support/sim_steuerung.h"

namespace klebwerk {
namespace {

TEST(Status, OhneZielFehltZielUndVerbundenIstLeer) {
    QJsonObject o = statusObjekt(StatusDaten{});
    EXPECT_FALSE(o.contains("ziel"));
    EXPECT_FALSE(o.contains("knopf"));
    EXPECT_FALSE(o.contains("diktatKnopf"));
    EXPECT_TRUE(o.value("verbunden").isArray());
    EXPECT_TRUE(o.value("verbunden").toArray().isEmpty());
    EXPECT_EQ(o.value("autoVorlesen"), QJsonValue(false));
    EXPECT_EQ(o.value("modus"), QJsonValue("keiner"));
    EXPECT_EQ(o.value("kuerzel").toObject(), (QJsonObject{{"diktat", ""}, {"senden", ""}}));
    const QStringList alle = {"absenden", "aufnahmen", "autoVorlesen", "diktat", "diktatLaeuft", "diktatSenden",
                              "feldSichtbar", "freigabe", "kuerzel", "kuerzelLernen", "letzteZustellung", "modus",
                              "ordner", "papierkorb", "pausiert", "verbunden", "wacheLaeuft"};
    EXPECT_EQ(o.keys(), alle);
}

TEST(Status, ZielUndKnoepfeStehenAlsObjekte) {
    StatusDaten d;
    d.ziel = StatusDaten::Zielangabe{"Chat", "Neue Unterhaltung", 4242, "Chat – Neue Unterhaltung"};
    d.verbunden = {"Chat – Neue Unterhaltung", "Browser"};
    d.diktatKnopf = KnopfMerkmal{"AXButton", "Diktieren", "btn mic"};
    QJsonObject o = statusObjekt(d);
    EXPECT_EQ(o.value("ziel").toObject(), (QJsonObject{{"app", "Chat"},
                                                        {"titel", "Neue Unterhaltung"},
                                                        {"pid", 4242},
                                                        {"name", "Chat – Neue Unterhaltung"}}));
    EXPECT_EQ(o.value("verbunden").toArray(), (QJsonArray{"Chat – Neue Unterhaltung", "Browser"}));
    EXPECT_EQ(o.value("diktatKnopf").toObject(),
              (QJsonObject{{"rolle", "AXButton"}, {"label", "Diktieren"}, {"klassen", "btn mic"}}));
}

TEST(Status, DateiIstEingeruecktUndSortiert) {
    QByteArray json = statusJson(StatusDaten{});
    EXPECT_TRUE(json.startsWith("{\n    \"absenden\": false,\n    \"aufnahmen\": false,"));
    EXPECT_TRUE(QJsonDocument::fromJson(json).isObject());
}

TEST(Status, LiestKnopfUndKuerzelInIhrerGespeichertenForm) {
    test::SimUmgebung u;
    u.starte();
    u.ud.setzeText("knopfRolle", "AXButton");  // label and classes absent: empty texts
    u.ud.setze("kuerzel.senden", QJsonArray{36, 4096, "⌃↩"});
    u.ud.setze("kuerzel.diktat", QJsonArray{36, 4096});  // two elements: no shortcut
    u.ud.setzeText("diktatLabel", "Diktieren");          // no role: no signature
    u.steuerung->schreibeStatus();
    QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(u.status())).object();
    EXPECT_EQ(o.value("knopf").toObject(), (QJsonObject{{"rolle", "AXButton"}, {"label", ""}, {"klassen", ""}}));
    EXPECT_FALSE(o.contains("diktatKnopf"));
    EXPECT_EQ(o.value("kuerzel").toObject(), (QJsonObject{{"diktat", ""}, {"senden", "⌃↩"}}));
    EXPECT_EQ(o.value("aufnahmen"), QJsonValue(true));
}

}  // namespace
}  // namespace klebwerk
