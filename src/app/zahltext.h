#pragma once

#include <optional>
#include <string>

#include "platform/geometrie.h"

namespace klebwerk {

// A number in its shortest exact decimal form, always with a fractional part: 512.0, 300.5.
std::string dezimalText(double wert);
// A point as "(512.0, 300.5)".
std::string punktText(Punkt p);
// A rectangle as "{{x, y}, {width, height}}", each number in its shortest exact form
// without a needless fraction: "{{12, 30.5}, {44, 44}}".
std::string rechteckText(const Rechteck& r);
// A whole text read as a finite number ("12", "-3.5"); none otherwise.
std::optional<double> liesZahl(const std::string& text);

}  // namespace klebwerk
