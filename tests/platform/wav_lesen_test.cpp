#include <gtest/gtest.h>

#include <string>

#include "feedback/wav.h"
#include "platform/linux/wav_lesen.h"

namespace klebwerk::linuxdesk {
namespace {

std::string zahl(std::uint32_t wert, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((wert >> (8 * i)) & 0xff));
    return s;
}

std::string fmt(std::uint32_t art, std::uint32_t kanaele, std::uint32_t rate, std::uint32_t bits) {
    return "fmt " + zahl(16, 4) + zahl(art, 2) + zahl(kanaele, 2) + zahl(rate, 4) +
           zahl(rate * kanaele * bits / 8, 4) + zahl(kanaele * bits / 8, 2) + zahl(bits, 2);
}

std::string riff(const std::string& bloecke) { return "RIFF" + zahl(4 + bloecke.size(), 4) + "WAVE" + bloecke; }

TEST(WavLesen, LiestDieEigenenKlaenge) {
    const std::string datei = wav({0.5, -0.5, 0.25});
    auto inhalt = leseWav(datei);
    ASSERT_TRUE(inhalt);
    EXPECT_EQ(inhalt->rate, 44100u);
    EXPECT_EQ(inhalt->kanaele, 1);
    EXPECT_EQ(inhalt->proben, std::string_view(datei).substr(44));
}

TEST(WavLesen, UeberspringtFremdeBloeckeSamtFuellbyte) {
    // A "LIST" chunk of odd length is padded to an even one before "data".
    const std::string daten = zahl(1000, 2) + zahl(2000, 2) + zahl(3000, 2) + zahl(4000, 2);
    const std::string datei =
        riff(fmt(1, 2, 48000, 16) + "LIST" + zahl(3, 4) + "abc" + '\0' + "data" + zahl(daten.size(), 4) + daten);
    auto inhalt = leseWav(datei);
    ASSERT_TRUE(inhalt);
    EXPECT_EQ(inhalt->rate, 48000u);
    EXPECT_EQ(inhalt->kanaele, 2);
    EXPECT_EQ(inhalt->proben, daten);
}

TEST(WavLesen, KurzeDatenWerdenAufGanzeRahmenGekuerzt) {
    // Claims 100 bytes, holds 7: three whole mono frames of 2 bytes, one byte left over.
    const std::string datei = riff(fmt(1, 1, 44100, 16) + "data" + zahl(100, 4) + "1234567");
    auto inhalt = leseWav(datei);
    ASSERT_TRUE(inhalt);
    EXPECT_EQ(inhalt->proben, "123456");
}

TEST(WavLesen, WeistAllesAbWasKein16BitPcmIst) {
    const std::string daten = "data" + zahl(4, 4) + "abcd";
    const std::pair<const char*, std::string> faelle[] = {
        {"leer", ""},
        {"kein RIFF", "RIFX" + riff(fmt(1, 1, 44100, 16) + daten).substr(4)},
        {"Fließkomma", riff(fmt(3, 1, 44100, 32) + daten)},
        {"8 Bit", riff(fmt(1, 1, 44100, 8) + daten)},
        {"keine Kanäle", riff(fmt(1, 0, 44100, 16) + daten)},
        {"Rate 0", riff(fmt(1, 1, 0, 16) + daten)},
        {"Daten vor dem Format", riff(daten + fmt(1, 1, 44100, 16))},
        {"ohne Daten", riff(fmt(1, 1, 44100, 16))},
        {"Format abgeschnitten", riff(fmt(1, 1, 44100, 16).substr(0, 14))},
    };
    for (const auto& [name, datei] : faelle) EXPECT_FALSE(leseWav(datei)) << name;
}

}  // namespace
}  // namespace klebwerk::linuxdesk
