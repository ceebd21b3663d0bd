#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace klebwerk {

// Outside text made fit for one line of a name or a log entry: control characters and
// line breaks become spaces, and more than `hoechstens` bytes are cut at a character
// boundary with "…".
std::string einzeilig(std::string_view text, std::size_t hoechstens);

// `text` cut to at most `hoechstens` bytes at a character boundary, with "…" when cut.
std::string gekuerzt(std::string text, std::size_t hoechstens);

}  // namespace klebwerk
