#pragma once

#include <string>

namespace klebwerk {

// Plays WAV data from memory, without waiting for it to end.
class Klangspieler {
public:
    virtual ~Klangspieler() = default;
    virtual void spiele(const std::string& wav) = 0;
};

}  // namespace klebwerk
