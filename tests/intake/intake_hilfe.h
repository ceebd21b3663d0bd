#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "basis/prozesswerte.h"

namespace klebwerk::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
struct TempOrdner {
    std::string pfad;
    TempOrdner() {
        std::string muster = (std::filesystem::temp_directory_path() / "klebwerk-XXXXXX").string();
        pfad = ::mkdtemp(muster.data());
    }
    ~TempOrdner() {
        std::error_code f;
        std::filesystem::permissions(pfad, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, f);
        std::filesystem::remove_all(pfad, f);
    }
};

// The lines of the log, without their time stamps.
inline std::vector<std::string> protokollTexte() {
    std::ifstream f(datenOrdner() + "/log.txt");
    std::vector<std::string> texte;
    std::string zeile;
    while (std::getline(f, zeile)) texte.push_back(zeile.size() > 20 ? zeile.substr(20) : zeile);
    return texte;
}

inline int zaehle(const std::vector<std::string>& texte, const std::string& text) {
    int n = 0;
    for (const auto& t : texte) n += t == text;
    return n;
}

}  // namespace klebwerk::test
