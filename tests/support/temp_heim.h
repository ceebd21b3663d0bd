#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "basis/ordner.h"
#include "basis/prozesswerte.h"

namespace klebwerk::test {

// A fresh home folder for one test: HOME points at it, the XDG variables are unset
// (so their fallbacks inside the home are used), and the data folder lies in it.
// Everything is put back afterwards.
class TempHeim {
public:
    TempHeim() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
            const char* alt = std::getenv(name);
            vorher_.push_back({name, alt ? std::optional<std::string>(alt) : std::nullopt});
            unsetenv(name);
        }
        setenv("HOME", pfad().c_str(), 1);
        altDatenOrdner_ = datenOrdner();
        setzeDatenOrdner(legeDatenOrdnerAn());
    }
    ~TempHeim() {
        for (const auto& [name, wert] : vorher_) {
            if (wert) setenv(name.c_str(), wert->c_str(), 1);
            else unsetenv(name.c_str());
        }
        setzeDatenOrdner(altDatenOrdner_);
    }

    std::string pfad() const { return ordner_.path().toStdString(); }
    std::string daten(const std::string& name) const { return datenOrdner() + "/" + name; }

    static std::string lies(const std::string& datei) {
        std::ifstream in(datei, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string protokoll() const { return lies(daten("log.txt")); }

private:
    QTemporaryDir ordner_;
    std::vector<std::pair<std::string, std::optional<std::string>>> vorher_;
    std::string altDatenOrdner_;
};

}  // namespace klebwerk::test
