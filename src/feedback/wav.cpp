#include "feedback/wav.h"

#include <algorithm>

namespace klebwerk {
namespace {

void haengeAn(std::string& ziel, std::uint32_t wert, int bytes) {
    for (int i = 0; i < bytes; ++i) ziel.push_back(static_cast<char>((wert >> (8 * i)) & 0xff));
}

}  // namespace

std::int16_t alsPcm(double probe) {
    return static_cast<std::int16_t>(std::clamp(probe, -1.0, 1.0) * 32000.0);
}

std::string wav(const std::vector<double>& proben) {
    const auto datenGroesse = static_cast<std::uint32_t>(2 * proben.size());
    std::string bytes;
    bytes.reserve(44 + datenGroesse);
    bytes += "RIFF";
    haengeAn(bytes, 36 + datenGroesse, 4);
    bytes += "WAVEfmt ";
    haengeAn(bytes, 16, 4);     // format block size
    haengeAn(bytes, 1, 2);      // PCM
    haengeAn(bytes, 1, 2);      // mono
    haengeAn(bytes, 44100, 4);  // sample rate
    haengeAn(bytes, 88200, 4);  // bytes per second
    haengeAn(bytes, 2, 2);      // bytes per sample frame
    haengeAn(bytes, 16, 2);     // bits per sample
    bytes += "data";
    haengeAn(bytes, datenGroesse, 4);
    for (double p : proben) haengeAn(bytes, static_cast<std::uint16_t>(alsPcm(p)), 2);
    return bytes;
}

}  // namespace klebwerk
