#pragma once

// Pairing an accessible top-level window with the desktop window it is: AT-SPI gives
// windows no number, the desktop's window id is that number.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QString>

#include "platform/atspi/atspi_antworten.h"
#include "platform/atspi/desktop_fenster.h"

namespace klebwerk::atspi {

// Whether a toolkit reports where its windows are on the screen (ToolkitName and
// Version of the application). As seen under Xvfb and openbox:
//  - Qt 6 ("Qt"): the window's client area in root coordinates.
//  - GTK 3 ("gtk", 3.24): the outer frame, the window manager's decorations included
//    (mousepad at client (1, 315) 640×480 with a 1/1/20/5 frame reported (0, 295) 642×505).
//  - GTK 4 ("GTK", 4.8): no screen positions at all: (0, 0) and a size 10 pixels
//    smaller each way than its X window (gnome-text-editor).
// Other toolkits are taken to report them.
bool meldetBildschirmlage(const QString& werkzeug, const QString& version);

// What the accessibility side tells of a top-level window.
struct ZugaenglichesFenster {
    int pid = 0;
    std::string titel;
    std::optional<Rechteck> lage;  // only where the toolkit reports screen positions
};

// The desktop window of `z` among `kandidaten`: of the same process with the same title
// when that is unique; among several such, the one whose client area or outer frame
// lies nearest to `lage` (only with a known `lage`, and only when one is clearly the
// nearest). Windows in `vergeben` belong to another accessible window already.
std::optional<std::int64_t> waehlePaar(const ZugaenglichesFenster& z, const std::vector<FensterFakten>& kandidaten,
                                       const std::set<std::int64_t>& vergeben);

// The pairs made so far. A pair is kept until its desktop window is gone (destroyed or no
// longer managed; a minimised window keeps its pair); the accessible side's end shows
// as the defunct state or an object that no longer answers.
class Fensterpaare {
public:
    explicit Fensterpaare(DesktopFenster& desktop) : desktop_(desktop) {}

    enum class Stand { keins, lebt, weg };
    // Whether `a` was paired, and whether that desktop window is still there.
    Stand stand(const Adresse& a, std::int64_t* nummer = nullptr);
    // The pair of `a`: the kept one, else a new one by `waehlePaar`.
    std::optional<std::int64_t> paare(const Adresse& a, const ZugaenglichesFenster& z);
    // The desktop windows that are paired with an accessible window and still there.
    std::set<std::int64_t> gepaarte();
    // The accessible window paired with desktop window `nummer`; absent when none is.
    std::optional<Adresse> zugaenglichesVon(std::int64_t nummer);

private:
    DesktopFenster& desktop_;
    std::mutex sperre_;
    std::map<std::pair<QString, QString>, std::int64_t> paare_;
};

}  // namespace klebwerk::atspi
