#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "basis/prozesswerte.h"
#include "support/protokoll_hilfe.h"

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

// The entries of the data folder's log, without their time stamps.
inline std::vector<std::string> protokollTexte() {
    std::ifstream f(datenOrdner() + "/log.txt");
    std::stringstream inhalt;
    inhalt << f.rdbuf();
    return protokollTexte(inhalt.str());
}

}  // namespace klebwerk::test
