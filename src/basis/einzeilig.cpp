#include "basis/einzeilig.h"

#include <algorithm>

namespace klebwerk {

std::string einzeilig(std::string_view text, std::size_t hoechstens) {
    std::string aus;
    aus.reserve(std::min(text.size(), hoechstens + 3));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // The UTF-8 forms of NEL, LINE SEPARATOR and PARAGRAPH SEPARATOR break lines too.
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x85) {
            aus += ' ';
            ++i;
        } else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
            aus += ' ';
            i += 2;
        } else {
            aus += (c < 0x20 || c == 0x7F) ? ' ' : static_cast<char>(c);
        }
    }
    return gekuerzt(std::move(aus), hoechstens);
}

std::string gekuerzt(std::string text, std::size_t hoechstens) {
    if (text.size() <= hoechstens) return text;
    std::size_t ende = hoechstens;
    // Never inside a character: back up over continuation bytes.
    while (ende > 0 && (static_cast<unsigned char>(text[ende]) & 0xC0) == 0x80) --ende;
    text.resize(ende);
    return text + "\u2026";
}

}  // namespace klebwerk
