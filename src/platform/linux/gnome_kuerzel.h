#pragma once

#include <string>
#include <vector>

#include "platform/systemkuerzel.h"

namespace klebwerk::linuxdesk {

// GNOME keeps its shell's key bindings as GSettings string lists of GTK accelerators
// ("<Shift>Print", "<Ctrl><Shift><Alt>R"); an empty list switches a binding off.

// One accelerator as a combination; `fehler` when it cannot be understood.
SystemKuerzelLesung gtkKuerzel(const std::string& text);
// A binding's list: the first accelerator counts; an empty list (or only empty and
// "disabled" entries) is off.
SystemKuerzelLesung gtkBelegung(const std::vector<std::string>& liste);

// A string list read from GSettings.
struct GnomeListe {
    enum class Stand { da, keinSchema, fehler };
    Stand stand = Stand::keinSchema;
    std::vector<std::string> werte;
    std::string fehler;
};

// Reads GSettings: the system's installed schemas through the desktop's own backend
// (dconf), or, for tests, the schemas compiled in a folder and a key file as backend.
class GnomeEinstellungen {
public:
    GnomeEinstellungen(std::string schemaOrdner = {}, std::string schluesselDatei = {});
    ~GnomeEinstellungen();
    GnomeEinstellungen(const GnomeEinstellungen&) = delete;
    GnomeEinstellungen& operator=(const GnomeEinstellungen&) = delete;

    // A key of type "as"; `keinSchema` when the schema or the key is not installed
    // (that desktop is not here), `fehler` when the key has another type.
    GnomeListe liesListe(const std::string& schema, const std::string& schluessel);

private:
    struct Innen;
    Innen* innen_ = nullptr;
};

}  // namespace klebwerk::linuxdesk
