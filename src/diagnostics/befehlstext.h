#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace klebwerk {

// Command texts from outside are refused above this size.
inline constexpr std::size_t befehlHoechstlaenge = 8192;

// Splits a command text at every "|"; empty parts are kept.
std::vector<std::string> teileBefehl(std::string_view text);
// Splits at every `trenner`; empty parts are kept.
std::vector<std::string> teileBei(std::string_view text, char trenner);

// The parts in list notation, each quoted, with quotes, backslashes and control
// characters escaped so that a command can never break or forge a log line:
// ["pause", "1"].
std::string befehlsListe(const std::vector<std::string>& teile);

// A Boolean argument is true exactly when it is "1".
inline bool istEins(const std::string& teil) { return teil == "1"; }

}  // namespace klebwerk
