#pragma once

#include <string>
#include <vector>

namespace klebwerk {

// The user's preferred languages as language tags ("de-DE", "en-GB"), most preferred first.
class Sprachen {
public:
    virtual ~Sprachen() = default;
    virtual std::vector<std::string> bevorzugt() = 0;
};

}  // namespace klebwerk
