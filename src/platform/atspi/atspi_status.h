#pragma once

#include <optional>

#include <QString>

namespace klebwerk::atspi {

// The session's accessibility switch (org.a11y.Status IsEnabled); absent when the
// accessibility bus does not answer.
std::optional<bool> zugaenglichkeitAn();
// Switches it on; false when that failed.
bool schalteZugaenglichkeitEin();
// The address of the accessibility bus; absent when its launcher does not answer.
std::optional<QString> zugaenglichkeitsBusAdresse();

}  // namespace klebwerk::atspi
