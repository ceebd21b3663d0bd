#pragma once

#include "platform/sim/sim_desktop.h"
#include "support/szenario.h"

namespace klebwerk::test {

// Builds the window in the simulated desktop: its element (role "AXWindow") with one
// child per described element, laid out top to bottom inside the window.
sim::SimKnoten& baueFenster(sim::SimDesktop& d, int pid, const SzFenster& f);

// A regular application with a bundle identifier, started on the simulated desktop.
sim::SimKnoten& starteApp(sim::SimDesktop& d, int pid, const std::string& name,
                          const std::string& kennung = "", const std::string& pfad = "");

}  // namespace klebwerk::test
