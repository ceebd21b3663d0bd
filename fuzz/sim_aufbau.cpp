#include "sim_aufbau.h"

#include <filesystem>
#include <fstream>

#include "basis/ordner.h"
#include "support/sim_szenario.h"
#include "support/szenario.h"

namespace klebwerk::fuzz {

SimAufbau::SimAufbau() {
    test::starteApp(desktop, chatPid, "Chat", "com.example.chat");
    chat = &test::baueFenster(desktop, chatPid, test::chatFenster());
    test::starteApp(desktop, editorPid, "Editor", "org.example.editor");
    editor = &desktop.oeffneFenster(editorPid, "notizen.txt", {600, 120, 400, 300});
}

void SimAufbau::starte() {
    steuerung = std::make_unique<Steuerung>(plattform, ud);
    steuerung->starte();
    desktop.uhr.laufeFaelliges();
}

void SimAufbau::leereAufzeichnungen() {
    desktop.journal.leere();
    desktop.eingabe.gepostet.clear();
    desktop.eingabe.einfuegungen.clear();
    desktop.klang.gespielt.clear();
    desktop.arbeitsplatz.geoeffnet.clear();
    desktop.arbeitsplatz.papierkorb.clear();
}

std::string SimAufbau::einstellungsdatei() const { return ud.datei(); }

void SimAufbau::setzeEinstellungsdatei(std::string_view inhalt) {
    std::error_code ignoriert;
    std::filesystem::remove(ud.datei(), ignoriert);
    std::filesystem::remove(ud.datei() + ".defekt", ignoriert);
    ud.wert("");  // the store sees the file gone and forgets what it had read
    legeOrdnerAn(std::filesystem::path(ud.datei()).parent_path().string());
    std::ofstream(ud.datei(), std::ios::binary).write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
}

}  // namespace klebwerk::fuzz
