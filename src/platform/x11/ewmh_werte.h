#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/fensterklasse.h"

// What the window manager's and the clients' window properties say, read from the
// raw property bytes. No X connection here, so that tests can feed any bytes.
namespace klebwerk::x11 {

// Latin-1 bytes (the STRING type of the protocol) as UTF-8.
std::string latin1AlsUtf8(std::string_view latin1);

// The bytes without a trailing NUL and with invalid UTF-8 sequences replaced by U+FFFD.
std::string gueltigesUtf8(std::string_view bytes);

// A window's title: `_NET_WM_NAME` (UTF-8) when it is set and not empty, else `WM_NAME`,
// which is Latin-1 when its type is STRING and taken as UTF-8 otherwise
// (UTF8_STRING, or COMPOUND_TEXT that holds plain ASCII in practice).
std::string fenstertitel(std::string_view netWmName, bool netWmNameGesetzt, std::string_view wmName,
                         bool wmNameLatin1);

using linuxdesk::FensterKlasse;

// `WM_CLASS`: two NUL-terminated strings, the instance name and the class name.
FensterKlasse fensterklasse(std::string_view bytes);

// The window's kind from `_NET_WM_WINDOW_TYPE`: the first type of the list this code
// knows, in the client's order of preference, without the "_NET_WM_WINDOW_TYPE_" prefix
// and in lower case ("normal", "dialog", "dock", …). A window without a known type is a
// dialog when it is transient for another window, else normal.
std::string fensterart(const std::vector<std::string>& typAtome, bool transient);

// Whether a window is a standard document window (one a user works in and connects):
// of kind "normal" and transient for no other window (a secondary window of a dialog,
// a palette that marks itself normal, is not).
bool istStandardfenster(std::string_view art, std::uint32_t transientFuer);

// The window level of a kind, in the numbers the window server of the interface uses:
// 0 for normal windows only; floating utility windows 3, modal dialogs 8, docks 20,
// notifications 25, menus 101, tooltips 200, the desktop far below everything.
int schichtFuer(std::string_view art);

// `_NET_CLIENT_LIST_STACKING` lists bottom to top; the window list is front to back.
std::vector<std::uint32_t> vonVorn(const std::vector<std::uint32_t>& stapelVonUnten);

// Whether a window is on screen: mapped, not minimised (`_NET_WM_STATE_HIDDEN`), and on
// the current desktop or on all of them (`_NET_WM_DESKTOP` 0xFFFFFFFF). Without
// desktops (no `_NET_CURRENT_DESKTOP`) only the first two count.
bool aufBildschirm(bool abgebildet, bool versteckt, std::int64_t fensterDesktop, std::int64_t aktuellerDesktop);

}  // namespace klebwerk::x11
