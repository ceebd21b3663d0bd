#include "input/kuerzel_anzeige.h"

#include <map>
#include <set>

#include <QString>

#include "app/sprache.h"

namespace klebwerk {
namespace {

const std::set<std::uint16_t> funktionstasten{122, 120, 99, 118, 96, 97, 98, 100, 101, 109,
                                              103, 111, 105, 107, 113, 106, 64, 79, 80};

// The key-name table: keys whose name is the same in both languages.
const std::map<std::uint16_t, const char*> tastenNamen{
    {36, "↩"},   {48, "⇥"},   {123, "←"},  {124, "→"},  {126, "↑"},  {125, "↓"},  {122, "F1"},
    {120, "F2"}, {99, "F3"},  {118, "F4"}, {96, "F5"},  {97, "F6"},  {98, "F7"},  {100, "F8"},
    {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"}, {105, "F13"}, {107, "F14"}, {113, "F15"},
    {106, "F16"}, {64, "F17"}, {79, "F18"}, {80, "F19"},
};
constexpr std::uint16_t leertaste = 49;

// Keys that give no character (or only a control character), by the symbols the
// system's menus use for them.
const std::map<std::uint16_t, const char*> zeichenloseTasten{
    {0x73, "↖"}, {0x77, "↘"}, {0x74, "⇞"}, {0x79, "⇟"}, {0x75, "⌦"}, {0x33, "⌫"},
    {0x35, "⎋"}, {0x4C, "⌤"}, {0x47, "⌧"}, {0x5A, "F20"},
};
constexpr std::uint16_t einfuegen = 0x72;  // Help on Apple keyboards, Insert on the others

// A text with at least one printable character: control characters (Return gives
// "\r", Escape "\x1b") are no text to show.
bool druckbar(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x20 && c != 0x7F) return true;
    return false;
}

}  // namespace

std::string modifikatorZeichen(std::uint64_t flaggen) {
    std::string s;
    if (flaggen & flagge::control) s += "⌃";
    if (flaggen & flagge::option) s += "⌥";
    if (flaggen & flagge::umschalt) s += "⇧";
    if (flaggen & flagge::befehl) s += "⌘";
    return s;
}

bool istFunktionstaste(std::uint16_t code) { return funktionstasten.count(code) > 0; }

std::string tastenText(std::uint16_t code, Eingabe& eingabe) {
    if (code == leertaste) return L("Leertaste", "Space");
    if (auto it = tastenNamen.find(code); it != tastenNamen.end()) return it->second;
    std::string zeichen = eingabe.zeichen(code);
    if (druckbar(zeichen)) return QString::fromStdString(zeichen).toUpper().toStdString();
    if (auto it = zeichenloseTasten.find(code); it != zeichenloseTasten.end()) return it->second;
    if (code == einfuegen) return L("Einfg", "Insert");
    return "?";
}

std::string benannteTaste(const std::string& englisch) {
    if (englisch == "Print") return L("Druck", "Print");
    if (englisch == "Scroll Lock") return L("Rollen", "Scroll Lock");
    if (englisch == "Menu") return L("Menü", "Menu");
    if (englisch == "Insert") return L("Einfg", "Insert");
    if (englisch == "Delete") return L("Entf", "Delete");
    if (englisch == "Escape") return "⎋";
    return englisch;
}

std::string kuerzelAnzeige(std::uint16_t code, std::uint64_t flaggen, Eingabe& eingabe) {
    return modifikatorZeichen(flaggen) + tastenText(code, eingabe);
}

}  // namespace klebwerk
