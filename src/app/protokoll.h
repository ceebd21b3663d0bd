#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace klebwerk {

// Appends one line to "log.txt" in the data folder: "yyyy-MM-dd HH:mm:ss", a space,
// the text, a line feed. Failures are silent. Safe from any thread: each line
// reaches the file whole.
void protokoll(std::string_view text);

// The line for `text` at `zeit` (local time), line feed included.
std::string protokollZeile(std::chrono::system_clock::time_point zeit, std::string_view text);

}  // namespace klebwerk
