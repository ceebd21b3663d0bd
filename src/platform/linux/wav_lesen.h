#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace klebwerk::linuxdesk {

// The playable part of a WAV file: 16-bit signed little-endian PCM samples.
struct WavInhalt {
    std::uint32_t rate = 0;
    std::uint8_t kanaele = 0;
    std::string_view proben;  // into the file's bytes; whole frames only
};

// Reads the "fmt " and "data" chunks of a RIFF/WAVE file. None when it is not one, or
// not 16-bit PCM with one to eight channels at a sane rate. A data chunk that claims
// more bytes than the file holds is cut to what is there.
std::optional<WavInhalt> leseWav(std::string_view datei);

}  // namespace klebwerk::linuxdesk
