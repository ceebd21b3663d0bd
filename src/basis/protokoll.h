#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace klebwerk {

// Appends one line to "log.txt" in the data folder: "yyyy-MM-dd HH:mm:ss", a space,
// the text, a line feed. Failures are silent. Safe from any thread: each line
// reaches the file whole.
void protokoll(std::string_view text);

// Longer texts are cut (at a character boundary, with "…").
inline constexpr std::size_t hoechsteProtokollZeile = 4000;

// The line for `text` at `zeit` (local time), line feed included. Control characters
// in the text (a file name or window title with a line break) are written as escapes,
// so that one entry is always one line and no outside text can forge another.
std::string protokollZeile(std::chrono::system_clock::time_point zeit, std::string_view text);

// `text` with backslash escapes for control characters: \n, \r, \t, \u{1b}; with
// `anfuehrung` also for the double quote and the backslash itself.
void haengeMaskiertAn(std::string& ziel, std::string_view text, bool anfuehrung);

}  // namespace klebwerk
