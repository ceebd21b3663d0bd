#pragma once

#include <string>
#include <vector>

namespace klebwerk {

// Names that a desktop's own screenshot and recording tools give their files,
// beyond the ones every platform shares: name beginnings and extensions (lower case,
// without the dot).
struct AufnahmeNamen {
    std::vector<std::string> bildAnfaenge;
    std::vector<std::string> videoAnfaenge;
    std::vector<std::string> bildEndungen;
    std::vector<std::string> videoEndungen;
};

// The system's screenshot tool, as far as the capture names go.
class Aufnahmewerkzeug {
public:
    virtual ~Aufnahmewerkzeug() = default;
    virtual AufnahmeNamen namen() = 0;
};

}  // namespace klebwerk
