#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/marke.h"

namespace klebwerk {

// One pasteboard item: its types in the order its owner gave them, each with its
// data byte for byte.
using AblageEintrag = std::vector<std::pair<std::string, std::string>>;

// The data the item holds under `typ`, or none.
const std::string* datenVon(const AblageEintrag& eintrag, const std::string& typ);

// The type names the system writes itself.
namespace ablagetyp {
inline const std::string png = "image/png";
inline const std::string dateiUrl = "text/uri-list";
// The desktop's file managers take copied files from this type too ("copy" and the URLs).
inline const std::string kopierteDateien = "x-special/gnome-copied-files";
}  // namespace ablagetyp

// What a read of the pasteboard found: its items (none when it is empty), or the
// reason it could not be read. A failed read says nothing about the contents.
struct AblageLesung {
    std::vector<AblageEintrag> eintraege;
    std::optional<std::string> fehler;

    bool gelesen() const { return !fehler; }
};

// What became of handing the contents to the desktop's clipboard manager.
struct AblageUebergabe {
    bool uebergeben = false;
    // Why not: empty when there was nothing to hand over (not the owner, no manager).
    std::string fehler;
};

// The general pasteboard.
class Zwischenablage {
public:
    virtual ~Zwischenablage() = default;

    // Starts reading every item. `fertig` runs once on the main thread with the result,
    // never inside this call and never after the token is dropped. A read takes as
    // long as the owner keeps delivering; an owner that stops answering fails it.
    virtual Marke lies(std::function<void(AblageLesung)> fertig) = 0;
    virtual void leere() = 0;
    // Replaces the content; false when the pasteboard refused it.
    virtual bool schreibe(const std::vector<AblageEintrag>& eintraege) = 0;
    // Rises with every change, at once on this process's own writes.
    virtual std::int64_t aenderungen() = 0;
    // Before this process ends: hands the contents it owns to a running clipboard
    // manager, so that they outlive it. Waits at most `frist` seconds.
    virtual AblageUebergabe uebergib(double frist) = 0;
};

}  // namespace klebwerk
