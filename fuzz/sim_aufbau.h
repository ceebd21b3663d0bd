#pragma once

// A controller on the simulated desktop for the fuzz targets: made once per process,
// with a chat and an editor that each show one window, and cheap ways back to a
// known state between inputs.

#include <memory>
#include <string>
#include <string_view>

#include "app/einstellungen.h"
#include "app/steuerung.h"
#include "platform/sim/sim_desktop.h"
#include "support/temp_heim.h"

namespace klebwerk::fuzz {

struct SimAufbau {
    static constexpr int chatPid = 501;
    static constexpr int editorPid = 620;

    test::TempHeim heim;
    sim::SimDesktop desktop;
    Plattform plattform = desktop.plattform();
    Einstellungen ud{einstellungsDatei()};
    std::unique_ptr<Steuerung> steuerung;
    sim::SimKnoten* chat = nullptr;
    sim::SimKnoten* editor = nullptr;

    // The desktop with its two applications; the controller is not made yet.
    SimAufbau();
    // Makes and starts the controller with the settings file as it stands.
    void starte();

    // Replaces the settings file with `inhalt`, so that the next read sees exactly it
    // (the store notices changes by size and time, which two quick writes can share).
    void setzeEinstellungsdatei(std::string_view inhalt);
    std::string einstellungsdatei() const;

    // Forgets what the desktop recorded (posted events, pastes, sounds, its journal),
    // so that a long run does not grow without end.
    void leereAufzeichnungen();
};

}  // namespace klebwerk::fuzz
