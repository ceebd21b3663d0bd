#include "platform/linux/wav_lesen.h"

namespace klebwerk::linuxdesk {
namespace {

std::uint32_t zahl(std::string_view b, size_t stelle, int bytes) {
    std::uint32_t wert = 0;
    for (int i = bytes - 1; i >= 0; --i) wert = (wert << 8) | static_cast<unsigned char>(b[stelle + i]);
    return wert;
}

}  // namespace

std::optional<WavInhalt> leseWav(std::string_view datei) {
    if (datei.size() < 12 || datei.substr(0, 4) != "RIFF" || datei.substr(8, 4) != "WAVE") return std::nullopt;
    std::optional<WavInhalt> format;
    size_t stelle = 12;
    while (stelle + 8 <= datei.size()) {
        std::string_view name = datei.substr(stelle, 4);
        const size_t groesse = zahl(datei, stelle + 4, 4);
        const size_t anfang = stelle + 8;
        const size_t vorhanden = std::min(groesse, datei.size() - anfang);
        if (name == "fmt " && vorhanden >= 16) {
            const auto art = zahl(datei, anfang, 2), kanaele = zahl(datei, anfang + 2, 2);
            const auto rate = zahl(datei, anfang + 4, 4), bits = zahl(datei, anfang + 14, 2);
            if (art != 1 || bits != 16 || kanaele < 1 || kanaele > 8 || rate < 1000 || rate > 384000)
                return std::nullopt;
            format = WavInhalt{rate, static_cast<std::uint8_t>(kanaele), {}};
        } else if (name == "data") {
            if (!format) return std::nullopt;
            const size_t rahmen = 2u * format->kanaele;
            format->proben = datei.substr(anfang, vorhanden - vorhanden % rahmen);
            return format;
        }
        // Chunks are padded to an even length.
        stelle = anfang + groesse + (groesse & 1);
    }
    return std::nullopt;
}

}  // namespace klebwerk::linuxdesk
