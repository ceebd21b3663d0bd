#pragma once

#include <optional>

#include "ax/ax.h"
#include "ax/knopf_merkmal.h"

namespace klebwerk {

// The last element of the window that matches the learned button (at most 60000
// elements). Needs nothing but the accessibility layer: runs on the background lane.
std::optional<Element> sucheKnopfIn(const AX& ax, const Element& fenster, const KnopfMerkmal& merkmal);

}  // namespace klebwerk
