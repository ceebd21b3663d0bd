// One command text through the command channel into a running controller on the
// simulated desktop. After every command: the log holds exactly one command line (or
// the refusal of an overlong text) that gives back the command's parts, every entry is
// one line with its time stamp, and the settings and status files are JSON objects.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>

#include "basis/prozesswerte.h"
#include "basis/protokoll.h"
#include "diagnostics/befehlstext.h"
#include "sim_aufbau.h"
#include "umgebung.h"

namespace klebwerk::fuzz {
namespace {

constexpr const char* grundEinstellungen = R"({"testBefehle": true})";
constexpr const char* chatAlsZiel = "ziel|Chat|Kleiner Chat";

SimAufbau& aufbau() {
    static SimAufbau* u = [] {
        starteQt();
        auto* neu = new SimAufbau;
        neu->setzeEinstellungsdatei(grundEinstellungen);
        neu->starte();
        return neu;
    }();
    return *u;
}

// Back to the state every input starts from: the chat window the one target, no mode,
// no dictation or watch, the first settings, an empty log.
void zuruecksetzen(SimAufbau& u) {
    Steuerung& s = *u.steuerung;
    if (s.modus != Modus::keiner || s.kuerzelLernen) s.beendeModus();
    s.stoppeDiktat();
    s.stoppeWache();
    u.setzeEinstellungsdatei(grundEinstellungen);
    const bool nurChat = s.verbunden.size() == 1 && s.ziel == s.verbunden[0] &&
                         s.ziel->fenster == u.chat->element() && s.ziel->gueltig();
    if (!nurChat) {
        for (auto z : std::vector(s.verbunden)) s.entferne(z, true);
        s.testBefehl(chatAlsZiel);
        u.setzeEinstellungsdatei(grundEinstellungen);
    }
    leereProtokoll();
    u.leereAufzeichnungen();
}

// The parts of a logged list ["a", "b"], or none when it is not one.
std::optional<std::vector<std::string>> listenTeile(const std::string& liste) {
    std::vector<std::string> teile;
    size_t i = 0;
    auto ist = [&](char c) { return i < liste.size() && liste[i] == c; };
    if (!ist('[')) return std::nullopt;
    ++i;
    while (true) {
        if (!ist('"')) return std::nullopt;
        ++i;
        std::string teil;
        while (!ist('"')) {
            if (i >= liste.size()) return std::nullopt;
            char c = liste[i++];
            if (c != '\\') {
                teil += c;
                continue;
            }
            if (i >= liste.size()) return std::nullopt;
            c = liste[i++];
            if (c == 'n') teil += '\n';
            else if (c == 'r') teil += '\r';
            else if (c == 't') teil += '\t';
            else if (c == '"' || c == '\\') teil += c;
            else if (c == 'u' && ist('{')) {
                const size_t ende = liste.find('}', i);
                if (ende == std::string::npos) return std::nullopt;
                teil += static_cast<char>(std::stoi(liste.substr(i + 1, ende - i - 1), nullptr, 16));
                i = ende + 1;
            } else {
                return std::nullopt;
            }
        }
        ++i;
        teile.push_back(std::move(teil));
        if (ist(']') && i + 1 == liste.size()) return teile;
        if (liste.compare(i, 2, ", ") != 0) return std::nullopt;
        i += 2;
    }
}

void pruefe(SimAufbau& u, const std::string& text) {
    const auto zeilen = protokollZeilen(u.heim.protokoll(), text);
    const std::string befehl = "Testbefehl: ", abgewiesen = "Testbefehl abgewiesen: ";
    int gefunden = 0;
    for (const std::string& z : zeilen) {
        if (z.rfind(befehl, 0) == 0) {
            ++gefunden;
            if (text.size() > befehlHoechstlaenge) verletzt("überlanger Befehl nicht abgewiesen", text);
            if (z.size() < hoechsteProtokollZeile) {
                auto teile = listenTeile(z.substr(befehl.size()));
                if (!teile) verletzt("Befehlszeile ist keine Liste: " + z.substr(0, 300), text);
                std::string zusammen;
                for (size_t i = 0; i < teile->size(); ++i) zusammen += (i ? "|" : "") + (*teile)[i];
                if (zusammen != text) verletzt("Befehlszeile gibt den Befehl nicht wieder: " + z.substr(0, 300), text);
            }
        } else if (z.rfind(abgewiesen, 0) == 0) {
            ++gefunden;
            if (text.size() <= befehlHoechstlaenge) verletzt("Befehl abgewiesen, obwohl kurz genug", text);
        }
    }
    if (gefunden != 1) verletzt(std::to_string(gefunden) + " Befehlszeilen statt einer", text);
    const std::string einstellungen = test::TempHeim::lies(u.einstellungsdatei());
    if (!einstellungen.empty() && !istJsonObjekt(einstellungen)) verletzt("Einstellungen kein JSON-Objekt", text);
    if (!istJsonObjekt(test::TempHeim::lies(u.heim.daten("status.json"))))
        verletzt("status.json kein JSON-Objekt", text);
}

}  // namespace
}  // namespace klebwerk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    using namespace klebwerk::fuzz;
    SimAufbau& u = aufbau();
    zuruecksetzen(u);
    const std::string text(reinterpret_cast<const char*>(daten), groesse);
    u.desktop.befehle.sende(text);
    // The command, then what it set going: delayed steps, timers, the background lane.
    u.desktop.uhr.laufeFaelliges();
    u.desktop.uhr.vorwaerts(2.5);
    QApplication::processEvents();
    pruefe(u, text);
    leereProtokoll();
    u.desktop.uhr.vorwaerts(10.0);
    const auto leerlauf = protokollZeilen(u.heim.protokoll(), text);
    if (static_cast<int>(leerlauf.size()) > hoechstensLeerlaufZeilen)
        verletzt("das Protokoll wächst im Leerlauf: " + leerlauf.back(), text);
    return 0;
}
