#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "basis/einzeilig.h"

namespace klebwerk {

// A known AI chat service: the host of its web app and the name shown for it.
struct KiSeite {
    std::string host;
    std::string name;
};

// The known services, searched in order.
const std::vector<KiSeite>& kiSeiten();
// Names recognised in a window title when no page address can be read, in order.
const std::vector<std::string>& titelNamen();

// Whether `host` (lower case) is one of the search engine's own hosts:
// "google.<country domain>" or "www.google.<country domain>".
bool istGoogleSuchhost(std::string_view host);

// What a page address says. `gelesen` is false when no URL can be made from the text.
struct Adressbefund {
    bool gelesen = false;
    std::optional<std::string> kiName;  // the AI chat the address belongs to
};

// The AI chat of a page address: a local test page ("browsertest…" → "Testchat"), the
// chat of the model hub under its "/chat" path, the search engine's AI mode, or a host
// of `kiSeiten` itself or below it.
Adressbefund kiSeiteVonAdresse(const std::string& adresse);

// The AI chat a window title names: it begins with a name of `titelNamen`, or holds an
// en dash, a space and the name. Compared in lower case.
std::optional<std::string> kiSeiteVonTitel(const std::string& titel);

// The page's host without a leading "www." label, cut to a sane length; absent when the
// address has none.
std::optional<std::string> hostVonAdresse(const std::string& adresse);

}  // namespace klebwerk
