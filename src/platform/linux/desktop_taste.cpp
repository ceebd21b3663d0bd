#include "platform/linux/desktop_taste.h"

#include <map>

#include <QList>
#include <QString>

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/linux/tastencodes.h"

namespace klebwerk::linuxdesk {

namespace {

// Qt's key names (KDE's settings) that are no keysym names.
const std::map<std::string, std::uint32_t> qtNamen{
    {"Esc", XKB_KEY_Escape},       {"Backspace", XKB_KEY_BackSpace}, {"Enter", XKB_KEY_KP_Enter},
    {"Ins", XKB_KEY_Insert},       {"Del", XKB_KEY_Delete},          {"PgUp", XKB_KEY_Prior},
    {"PgDown", XKB_KEY_Next},      {"ScrollLock", XKB_KEY_Scroll_Lock}, {"SysReq", XKB_KEY_Sys_Req},
    {"Space", XKB_KEY_space},      {"NumLock", XKB_KEY_Num_Lock},    {"CapsLock", XKB_KEY_Caps_Lock},
};

// English names of keys without a virtual key code.
const std::map<std::uint32_t, const char*> englischeNamen{
    {XKB_KEY_Print, "Print"}, {XKB_KEY_Sys_Req, "Print"}, {XKB_KEY_Scroll_Lock, "Scroll Lock"},
    {XKB_KEY_Pause, "Pause"}, {XKB_KEY_Break, "Pause"},   {XKB_KEY_Menu, "Menu"},
};

}  // namespace

std::optional<std::uint32_t> keysymAusName(const std::string& name) {
    if (name.empty()) return std::nullopt;
    if (auto it = qtNamen.find(name); it != qtNamen.end()) return it->second;
    // A key written as its character ("+", "ö").
    const QList<uint> zeichen = QString::fromStdString(name).toUcs4();
    if (zeichen.size() == 1 && !QChar::isLetterOrNumber(zeichen[0])) {
        xkb_keysym_t k = xkb_utf32_to_keysym(zeichen[0]);
        if (k != XKB_KEY_NoSymbol) return k;
    }
    xkb_keysym_t k = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
    if (k == XKB_KEY_NoSymbol) k = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_CASE_INSENSITIVE);
    if (k == XKB_KEY_NoSymbol) return std::nullopt;
    return k;
}

SystemKuerzelLesung gesetzt(std::uint64_t flaggen, std::uint32_t keysym) {
    SystemKuerzelLesung l;
    l.stand = SystemKuerzelLesung::Stand::gesetzt;
    l.flaggen = flaggen;
    char puffer[16];
    int laenge = keysym == XKB_KEY_space ? 0 : xkb_keysym_to_utf8(xkb_keysym_to_upper(keysym), puffer, sizeof puffer);
    // Control characters (Return, Tab, Escape, Delete) are no character to show.
    if (laenge > 1 && !(laenge == 2 && (static_cast<unsigned char>(puffer[0]) < 0x20 || puffer[0] == 0x7F))) {
        l.name.assign(puffer, static_cast<size_t>(laenge - 1));
        return l;
    }
    l.code = codeFuerKeysym(keysym);
    if (auto it = englischeNamen.find(keysym); it != englischeNamen.end()) {
        l.name = it->second;
    } else {
        char name[64];
        if (xkb_keysym_get_name(keysym, name, sizeof name) > 0) l.name = name;
        for (char& c : l.name)
            if (c == '_') c = ' ';
    }
    return l;
}

}  // namespace klebwerk::linuxdesk
