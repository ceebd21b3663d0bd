#include <gtest/gtest.h>

#include <cstdlib>

#include <unistd.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QWidget>

#include "desktop/x11_hilfe.h"
#include "platform/wayland/sway_eigene_fenster.h"

namespace klebwerk::wayland {
namespace {

using test::Probefenster;
using test::TestSchleife;
using test::warteBis;

// A window of this process's own that asks for the floating kind at its showing, as
// the panel does.
class EigenesFeld : public QWidget {
public:
    EigenesFeld(EigeneFenster& eigene, const QString& titel, QRect ort) : eigene_(eigene) {
        setWindowTitle(titel);
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setGeometry(ort);
    }

protected:
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        eigene_.schwebend(static_cast<std::uint64_t>(winId()));
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::darkCyan); }

private:
    EigeneFenster& eigene_;
};

// A window in sway's tree as the test reads it.
struct Knoten {
    std::int64_t id = 0;
    QString art;  // "con" tiled, "floating_con" floating
    bool klebend = false;
    QRect ort;
};

void sammle(const QJsonObject& k, int pid, const QString& titel, std::vector<Knoten>& treffer) {
    if (k.value("pid").toInt() == pid && k.value("name").toString() == titel) {
        const QJsonObject r = k.value("rect").toObject();
        treffer.push_back({k.value("id").toInteger(), k.value("type").toString(), k.value("sticky").toBool(),
                           QRect(r.value("x").toInt(), r.value("y").toInt(), r.value("width").toInt(),
                                 r.value("height").toInt())});
    }
    for (const char* feld : {"nodes", "floating_nodes"})
        for (const QJsonValue& v : k.value(feld).toArray()) sammle(v.toObject(), pid, titel, treffer);
}

class SwayEigeneFensterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ipc_ = SwayIpc::ausUmgebung();
        if (!ipc_ || !std::getenv("WAYLAND_DISPLAY")) GTEST_SKIP() << "no sway session";
        app_.emplace(argc_, argv_);
        eigene_.emplace(*ipc_, schleife_);
        ASSERT_TRUE(warteBis([&] { return eigene_->abonniert(); }));
    }

    std::vector<Knoten> knoten(int pid, const QString& titel) {
        std::vector<Knoten> treffer;
        auto antwort = ipc_->anfrage(IpcArt::baum, {});
        if (antwort.gelungen())
            sammle(QJsonDocument::fromJson(QByteArray::fromStdString(*antwort.daten)).object(), pid, titel, treffer);
        return treffer;
    }
    // What sway has of that window, for a failure's message.
    std::string beschreibe(int pid, const QString& titel) {
        std::string text;
        for (const Knoten& k : knoten(pid, titel))
            text += QStringLiteral("[%1 %2%3 %4,%5 %6x%7] ")
                        .arg(k.id)
                        .arg(k.art, k.klebend ? " sticky" : "")
                        .arg(k.ort.x())
                        .arg(k.ort.y())
                        .arg(k.ort.width())
                        .arg(k.ort.height())
                        .toStdString();
        return text.empty() ? "no such window" : text;
    }
    // Waits, with the event loops running, until the one window of that process and
    // title fulfils `bedingung`.
    bool wartetAuf(int pid, const QString& titel, const std::function<bool(const Knoten&)>& bedingung) {
        return warteBis([&] {
            QCoreApplication::processEvents();
            schleife_.abarbeiten();
            auto k = knoten(pid, titel);
            return k.size() == 1 && bedingung(k.front());
        });
    }

    int argc_ = 1;
    char name_[5] = "test";
    char* argv_[2] = {name_, nullptr};
    std::optional<SwayIpc> ipc_;
    std::optional<QApplication> app_;
    TestSchleife schleife_;
    std::optional<SwayEigeneFenster> eigene_;
};

TEST_F(SwayEigeneFensterTest, EigenesFensterSchwebtKlebtUndStehtBeiJederAnzeigeWoDasProgrammEsHinstellte) {
    const QString titel = QStringLiteral("Eigenes Feld");
    // A window of another process with the same title stays as sway laid it out.
    Probefenster fremdes(titel.toStdString(), 0, 0, 300, 200);
    ASSERT_TRUE(wartetAuf(fremdes.pid(), titel, [](const Knoten& k) { return k.art == "con"; }));

    const int pid = static_cast<int>(getpid());
    EigenesFeld feld(*eigene_, titel, QRect(200, 150, 240, 120));
    feld.show();
    EXPECT_TRUE(wartetAuf(pid, titel, [](const Knoten& k) {
        return k.art == "floating_con" && k.klebend && k.ort == QRect(200, 150, 240, 120);
    })) << beschreibe(pid, titel);

    // Hidden, the window leaves sway; shown again at another place (where Qt on Wayland
    // reports 0,0 for a window shown before), it floats there.
    const std::int64_t erstes = knoten(pid, titel).at(0).id;
    feld.hide();
    ASSERT_TRUE(warteBis([&] {
        QCoreApplication::processEvents();
        return knoten(pid, titel).empty();
    }));
    feld.setGeometry(500, 400, 240, 120);
    feld.show();
    EXPECT_TRUE(wartetAuf(pid, titel, [&](const Knoten& k) {
        return k.id != erstes && k.art == "floating_con" && k.klebend && k.ort == QRect(500, 400, 240, 120);
    })) << beschreibe(pid, titel);

    auto fremd = knoten(fremdes.pid(), titel);
    ASSERT_EQ(fremd.size(), 1u);
    EXPECT_EQ(fremd[0].art, "con");
    EXPECT_FALSE(fremd[0].klebend);
}

}  // namespace
}  // namespace klebwerk::wayland
