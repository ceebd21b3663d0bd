#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace klebwerk {

// One of the system's own screenshot shortcuts, as the desktop keeps it.
struct SystemKuerzelLesung {
    enum class Stand {
        gesetzt,    // a combination: the modifiers and the key below
        aus,        // the user switched it off
        unbekannt,  // this desktop keeps no such shortcut (or none that can be found)
        fehler,     // the setting is there but could not be read
    };
    Stand stand = Stand::unbekannt;
    // The modifiers as event flags (shift 0x20000, control 0x40000, option 0x80000,
    // command 0x100000).
    std::uint64_t flaggen = 0;
    // The key: its virtual key code where it has one, else its English name ("Print").
    std::optional<std::uint16_t> code;
    std::string name;
    std::string fehler;  // what went wrong, with `fehler`
};

// The desktop whose settings keep the screenshot shortcuts: the session's own.
enum class KuerzelDesktop { gnome, kde, anderer };

// The system's screenshot shortcuts, by their symbolic hot-key numbers: 28 and 29
// (picture of the screen, saved or copied), 30 and 31 (picture of a selected area,
// saved or copied), 184 (screenshot and recording options). A system that keeps a
// shortcut's factory combination implicitly reports that combination.
class Systemkuerzel {
public:
    virtual ~Systemkuerzel() = default;
    // A mark of the settings behind `lies` that changes whenever they may have
    // changed; cheap, so that a caller can keep what it read until then.
    virtual std::string fassung() = 0;
    virtual SystemKuerzelLesung lies(int nummer) = 0;
    // Where the user changes them: the desktop of this session.
    virtual KuerzelDesktop desktop() = 0;
};

}  // namespace klebwerk
