#pragma once

#include <array>
#include <string>

namespace klebwerk {

// The interface sounds, in their fixed order.
enum class KlangArt { klick, an, aus, zu, auf, aktivAn, aktivAus };

inline constexpr std::array<KlangArt, 7> alleKlangArten{KlangArt::klick, KlangArt::an,      KlangArt::aus,
                                                         KlangArt::zu,    KlangArt::auf,     KlangArt::aktivAn,
                                                         KlangArt::aktivAus};

// The name a sound's file carries: "klick", "an", …, "aktivAus".
std::string klangName(KlangArt art);

}  // namespace klebwerk
