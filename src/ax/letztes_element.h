#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "ax/ax.h"

namespace klebwerk {

// Whether a visited element is the one sought: (element, role or absent, label).
using Passt = std::function<bool(const Element&, const std::optional<std::string>&, const std::string&)>;

// The first element for which `passt` holds, in a depth-first walk from `wurzel` that
// examines each element before its descendants and takes siblings from last to first;
// at most `grenze` elements are examined (none when it is 0 or negative). Each element's
// role, description, title and children come in one multi-attribute read; the label is
// the trimmed description, else the trimmed title, else "".
//
// `nurRollen`, when given, promises that `passt` holds for no element whose role is
// outside that set. The search may then ask the backend for the candidates with those
// roles, last first, and answers with exactly the element the walk would give (the
// topmost matching ancestor of the last match that the walk reaches, if it reaches it
// within `grenze`; a match below an element whose children do not read as a list, or
// that no longer matches when read again, is not reached); whenever that cannot be
// shown it walks.
std::optional<Element> letztesElement(const AX& ax, const Element& wurzel, long grenze, const Passt& passt,
                                      const std::optional<std::set<std::string>>& nurRollen = std::nullopt);

// The walk alone, reading one element at a time (no reads ahead, no candidate query).
std::optional<Element> letztesElementSchlicht(const AX& ax, const Element& wurzel, long grenze, const Passt& passt);

inline constexpr long standardGrenze = 60000;

}  // namespace klebwerk
