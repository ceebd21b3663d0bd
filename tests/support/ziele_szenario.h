#pragma once

// Applications with windows on the simulated desktop and a controller that is started
// once a test has written the stored target settings it wants.

#include <memory>
#include <string>
#include <vector>

#include <QJsonArray>

#include "support/sim_steuerung.h"
#include "support/sim_szenario.h"

namespace klebwerk::test {

class ZieleSzenario {
public:
    static constexpr int chatPid = 501;
    static constexpr int editorPid = 620;

    TempHeim heim;
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
    Einstellungen ud{einstellungsDatei()};
    std::unique_ptr<Steuerung> steuerung;

    sim::SimKnoten& app(int pid, const std::string& name, const std::string& kennung) {
        return starteApp(desktop, pid, name, kennung);
    }
    sim::SimKnoten& fenster(int pid, const std::string& titel) {
        const double y = 50.0 + 40.0 * static_cast<double>(++fensterZahl_);
        return desktop.oeffneFenster(pid, titel, {100, y, 400, 300});
    }
    // The standard pair: a chat and an editor with one window each.
    void chatUndEditor() {
        app(chatPid, "Chat", "com.example.chat");
        chat = &fenster(chatPid, "Gespräch");
        app(editorPid, "Editor", "org.example.editor");
        editor = &fenster(editorPid, "notizen.txt");
    }

    static QJsonArray eintraege(const std::vector<std::vector<qint64>>& liste) {
        QJsonArray a;
        for (const auto& e : liste) {
            QJsonArray innen;
            for (auto n : e) innen.append(n);
            a.append(innen);
        }
        return a;
    }
    static QJsonArray texte(const std::vector<std::string>& liste) {
        QJsonArray a;
        for (const auto& t : liste) a.append(QString::fromStdString(t));
        return a;
    }

    void autoAppsSpeichern(const std::vector<std::string>& kennungen) { ud.setze("autoApps", texte(kennungen)); }

    void starte() {
        steuerung = std::make_unique<Steuerung>(plattform, ud);
        steuerung->starte();
        desktop.uhr.laufeFaelliges();
    }
    Steuerung& s() { return *steuerung; }
    void vorwaerts(double sekunden) { desktop.uhr.vorwaerts(sekunden); }

    // [pid, number, slot] of every connected target, in list order.
    std::vector<std::vector<std::int64_t>> liste() {
        std::vector<std::vector<std::int64_t>> l;
        for (const auto& z : s().verbunden) l.push_back({z->pid, z->nummer(), z->platz});
        return l;
    }
    std::vector<std::vector<std::int64_t>> gespeichert() { return ud.zahlenListen("ziele"); }
    bool imLog(const std::string& text) const { return heim.protokoll().find(text) != std::string::npos; }

    sim::SimKnoten* chat = nullptr;
    sim::SimKnoten* editor = nullptr;

private:
    int fensterZahl_ = 0;
};

}  // namespace klebwerk::test
