#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace klebwerk {

// One sample as 16-bit PCM: clamped to [−1, 1], scaled by 32000 (not 32767), cut
// toward zero.
std::int16_t alsPcm(double probe);

// Samples as a 16-bit mono 44100 Hz WAV file: the 44-byte header, then the samples,
// all little-endian.
std::string wav(const std::vector<double>& proben);

}  // namespace klebwerk
