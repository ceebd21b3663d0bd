#include "basis/ordner.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <pwd.h>
#include <unistd.h>

#include "basis/prozesswerte.h"

namespace klebwerk {
namespace {

std::string variableOder(const char* name, const std::string& ersatz) {
    const char* wert = std::getenv(name);
    if (wert && wert[0] == '/') return wert;
    return ersatz;
}

}  // namespace

std::string heimOrdner() {
    if (const char* heim = std::getenv("HOME"); heim && heim[0]) return heim;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string xdgDatenOrdner() { return variableOder("XDG_DATA_HOME", heimOrdner() + "/.local/share"); }
std::string xdgConfigOrdner() { return variableOder("XDG_CONFIG_HOME", heimOrdner() + "/.config"); }
std::string xdgCacheOrdner() { return variableOder("XDG_CACHE_HOME", heimOrdner() + "/.cache"); }

bool legeOrdnerAn(const std::string& pfad) {
    std::error_code fehler;
    std::filesystem::create_directories(pfad, fehler);
    return std::filesystem::is_directory(pfad, fehler);
}

std::string legeDatenOrdnerAn() {
    std::string ordner = xdgDatenOrdner() + "/Klebwerk";
    legeOrdnerAn(ordner);
    return ordner;
}

std::string einstellungsDatei() { return xdgConfigOrdner() + "/" + kennung + "/einstellungen.json"; }

}  // namespace klebwerk
