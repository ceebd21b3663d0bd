// The desktop's screenshot shortcuts, which the panel asks for on every refresh: a
// read through GSettings (a compiled copy of GNOME's shell key-binding schema, a key
// file as backend) against the kept text, which costs only the look at the files'
// modification times.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include "input/system_kuerzel_speicher.h"
#include "platform/sim/sim_desktop.h"
#include "platform/linux/linux_systemkuerzel.h"

namespace klebwerk {
namespace {

struct GnomeOrte {
    QTemporaryDir ordner;
    linuxdesk::LinuxSystemkuerzel::Orte orte;
    bool bereit = false;

    GnomeOrte() {
        const std::string wurzel = ordner.path().toStdString();
        std::filesystem::create_directories(wurzel + "/schemas");
        std::filesystem::create_directories(wurzel + "/config/glib-2.0/settings");
        std::ofstream(wurzel + "/schemas/org.gnome.shell.gschema.xml")
            << R"(<schemalist><schema id="org.gnome.shell.keybindings" path="/org/gnome/shell/keybindings/">)"
            << R"(<key name="show-screenshot-ui" type="as"><default>['Print']</default></key>)"
            << R"(<key name="show-screen-recording-ui" type="as"><default>['&lt;Ctrl&gt;R']</default></key>)"
            << "</schema></schemalist>";
        std::ofstream(wurzel + "/config/glib-2.0/settings/keyfile")
            << "[org/gnome/shell/keybindings]\nshow-screenshot-ui=['<Shift><Super>s']\n";
        bereit = std::system(("glib-compile-schemas '" + wurzel + "/schemas'").c_str()) == 0;
        orte = {wurzel + "/config", "GNOME", wurzel + "/schemas", wurzel + "/config/glib-2.0/settings/keyfile"};
    }
};

void BM_SystemKuerzelGelesen(benchmark::State& state) {
    GnomeOrte g;
    if (!g.bereit) {
        state.SkipWithError("glib-compile-schemas failed");
        return;
    }
    linuxdesk::LinuxSystemkuerzel k(g.orte);
    for (auto _ : state) benchmark::DoNotOptimize(k.lies(30));
}
BENCHMARK(BM_SystemKuerzelGelesen);

void BM_SystemKuerzelBehalten(benchmark::State& state) {
    GnomeOrte g;
    if (!g.bereit) {
        state.SkipWithError("glib-compile-schemas failed");
        return;
    }
    linuxdesk::LinuxSystemkuerzel k(g.orte);
    sim::SimDesktop d;
    SystemKuerzelSpeicher speicher(k, d.eingabe);
    for (auto _ : state) benchmark::DoNotOptimize(speicher.text(30));
}
BENCHMARK(BM_SystemKuerzelBehalten);

}  // namespace
}  // namespace klebwerk
