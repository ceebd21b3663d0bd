#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>

#include "ax/ax.h"

namespace klebwerk {

// Reads of a window's page and input field that need nothing but the accessibility
// layer, so that they can run on the background lane as well.

// How many elements of a page are searched for its input field.
inline constexpr long browserFeldGrenze = 8000;
// How many elements of a window are searched for its input field.
inline constexpr long fensterFeldGrenze = 6000;

// Visits the tree below `wurzel` (itself first) breadth first with each element's role
// (absent when unreadable), until `besuche` says true; at most `grenze` elements are
// ever queued, so a wide window costs no more memory than a deep one. The element at
// which it stopped, if any.
std::optional<Element> breitensuche(const AX& ax, const Element& wurzel, long grenze,
                                    const std::function<bool(const Element&, const std::string* rolle)>& besuche);

// The roles of a field a capture is pasted into.
const std::set<std::string>& textFelder();

// The window's web area: breadth first from the window, at most 3000 elements (queued
// ones included); through the backend's role query where it answers one.
std::optional<Element> webBereichVon(const AX& ax, const Element& fenster);

// Whether `element` is `behaelter` or one of its first 59 ancestors is.
bool liegtIn(const AX& ax, const Element& element, const Element& behaelter);

// The trimmed text of the input field: the focused one when it belongs to the page (a
// browser) or is an input of the window, else the last text field of the page or window.
std::string eingabeTextVon(const AX& ax, const Element& app, const Element& fenster, bool browser);

}  // namespace klebwerk
