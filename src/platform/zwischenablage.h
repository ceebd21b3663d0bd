#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace klebwerk {

// One pasteboard item: its data by type name, byte for byte.
using AblageEintrag = std::map<std::string, std::string>;

// The type names the system writes itself.
namespace ablagetyp {
inline const std::string png = "image/png";
inline const std::string dateiUrl = "text/uri-list";
// The desktop's file managers take copied files from this type too ("copy" and the URLs).
inline const std::string kopierteDateien = "x-special/gnome-copied-files";
}  // namespace ablagetyp

// The general pasteboard.
class Zwischenablage {
public:
    virtual ~Zwischenablage() = default;

    virtual std::vector<AblageEintrag> eintraege() = 0;
    virtual void leere() = 0;
    // Replaces the content; false when the pasteboard refused it.
    virtual bool schreibe(const std::vector<AblageEintrag>& eintraege) = 0;
    // Rises with every change, at once on this process's own writes.
    virtual std::int64_t aenderungen() = 0;
};

}  // namespace klebwerk
