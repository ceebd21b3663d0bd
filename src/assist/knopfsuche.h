#pragma once

#include <optional>

#include "ax/ax.h"
#include "ax/knopf_merkmal.h"

namespace klebwerk {

// The last element of the window that matches the learned button (at most 60000
// elements). Needs nothing but the accessibility layer: runs on the background lane.
std::optional<Element> sucheKnopfIn(const AX& ax, const Element& fenster, const KnopfMerkmal& merkmal);

// Whether the window shows a stop button (a button whose label holds "stop",
// "anhalten" or "abbrechen"): the target is writing an answer. At most 60000 elements;
// absent when none was found and the window no longer answers, so that a window too
// slow to read never counts as a finished answer.
std::optional<bool> stoppKnopfIn(const AX& ax, const Element& fenster);

}  // namespace klebwerk
