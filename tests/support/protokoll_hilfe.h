#pragma once

// Reading the log in tests: its entries without time stamps, and counting them.

#include <sstream>
#include <string>
#include <vector>

namespace klebwerk::test {

// The entries of a log's text, each without its "yyyy-MM-dd HH:mm:ss " stamp.
inline std::vector<std::string> protokollTexte(const std::string& protokoll) {
    std::istringstream zeilen(protokoll);
    std::vector<std::string> texte;
    for (std::string zeile; std::getline(zeilen, zeile);) texte.push_back(zeile.size() > 20 ? zeile.substr(20) : zeile);
    return texte;
}

// How many entries are exactly `text`.
inline int zaehle(const std::vector<std::string>& texte, const std::string& text) {
    int n = 0;
    for (const auto& t : texte) n += t == text;
    return n;
}

// How many entries begin with `anfang`.
inline int zaehleAnfaenge(const std::vector<std::string>& texte, const std::string& anfang) {
    int n = 0;
    for (const auto& t : texte) n += t.compare(0, anfang.size(), anfang) == 0;
    return n;
}

// How often `was` stands in `text` (overlapping places count).
inline int vorkommen(const std::string& text, const std::string& was) {
    int n = 0;
    for (size_t p = text.find(was); p != std::string::npos; p = text.find(was, p + 1)) ++n;
    return n;
}

}  // namespace klebwerk::test
