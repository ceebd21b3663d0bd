#pragma once

// One synthetic key press that never combines with a modifier the user still holds.

#include <cstdint>
#include <functional>
#include <optional>

namespace klebwerk {

class Eingabe;

// The keys a delivery presses, as virtual key codes: V (with ⌘ the paste) and Return.
inline constexpr std::uint16_t tasteV = 9;
inline constexpr std::uint16_t tasteReturn = 36;

// Runs work on the main thread after a delay (the controller's `nach`).
using Planer = std::function<void(double sekunden, std::function<void()> arbeit)>;

struct Tastendruck {
    std::uint16_t code = 0;
    std::uint64_t flaggen = 0;
    std::optional<int> pid;  // none: to the front application
};

// Between two looks at the user's modifiers, and how many looks after the first.
inline constexpr double loslassTakt = 0.02;
inline constexpr int loslassVersuche = 25;

// The modifiers the user holds that would change a key sent with `flaggen`: every
// held one that the backend does not press for that key itself.
std::uint64_t stoerendeFlaggen(Eingabe& eingabe, std::uint64_t flaggen);

// Posts `d` once the user holds nothing that would change it: looks at once, then
// every `loslassTakt`, at most `versuche` more times; when the bound runs out the
// key is posted all the same and that is logged. `gesendet` runs right after the key
// was posted, so that what follows the key counts from that moment.
void drueckeTaste(Eingabe& eingabe, const Planer& nach, Tastendruck d, std::function<void()> gesendet = {},
                  int versuche = loslassVersuche);

}  // namespace klebwerk
