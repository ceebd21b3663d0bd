#pragma once

#include <optional>
#include <string>

struct wl_display;
struct wl_registry;
struct wl_registry_listener;

namespace klebwerk::wayland {

// Connects to the compositor `name` (WAYLAND_DISPLAY when empty), hands the registry's
// globals to `hoerer` with `daten`, and makes `runden` roundtrips (one for the globals,
// another for what binding them brings, such as the outputs' places). The reason when
// it failed; what was made by then is in `anzeige` and `reg` for `trenneVerbindung`.
std::optional<std::string> oeffneVerbindung(const std::string& name, const wl_registry_listener& hoerer, void* daten,
                                            int runden, wl_display*& anzeige, wl_registry*& reg);

// Lets go of the registry and the connection, after what is queued was sent; both null
// afterwards. Every other proxy of the connection must be gone before.
void trenneVerbindung(wl_display*& anzeige, wl_registry*& reg);

// Sends what is queued and takes in what the compositor sent meanwhile (a protocol
// error ends the connection), without waiting. The reason when the connection failed.
std::optional<std::string> tauscheAus(wl_display* anzeige);
// The same for a connection whose failure stays: false with the reason in `stoerung`
// and `fehler`.
bool tauscheAus(wl_display* anzeige, std::string& stoerung, std::string& fehler);

}  // namespace klebwerk::wayland
