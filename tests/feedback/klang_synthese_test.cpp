#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "feedback/klang_synthese.h"
#include "feedback/wav.h"

namespace klebwerk {
namespace {

std::uint32_t feld(const std::string& b, size_t stelle, int bytes) {
    std::uint32_t wert = 0;
    for (int i = bytes - 1; i >= 0; --i) wert = (wert << 8) | static_cast<unsigned char>(b[stelle + i]);
    return wert;
}

std::vector<std::int16_t> probenAus(const std::string& wavBytes) {
    std::vector<std::int16_t> proben;
    for (size_t i = 44; i + 1 < wavBytes.size(); i += 2)
        proben.push_back(static_cast<std::int16_t>(feld(wavBytes, i, 2)));
    return proben;
}

const Zufall ohneRauschen = [](double) { return 0.0; };

// The sound's formula once more, written out from its description: per segment the
// phase starts at 0 and moves on by 2π·f/44100 before each sample, the envelope is
// the decay times a 3 ms linear attack and a 10 ms linear release, the waveform a sine
// and a quarter of its octave.
struct Teil {
    long anfang, laenge;
    double D, f0, f1, k, g;
};
std::vector<double> nachgerechnet(const std::vector<Teil>& teile, long gesamt) {
    std::vector<double> summe(static_cast<size_t>(gesamt), 0.0);
    for (const Teil& s : teile) {
        double phi = 0;
        for (long i = 0; i < s.laenge; ++i) {
            double t = i / 44100.0;
            phi += 2 * std::numbers::pi * (s.f0 * std::pow(s.f1 / s.f0, t / s.D)) / 44100.0;
            double anstieg = t < 0.003 ? t / 0.003 : 1.0;
            double ausklang = s.D - t < 0.01 ? (s.D - t) / 0.01 : 1.0;
            summe[static_cast<size_t>(s.anfang + i)] +=
                std::exp(-s.k * t) * anstieg * ausklang * (std::sin(phi) + 0.25 * std::sin(2 * phi)) * s.g;
        }
    }
    return summe;
}

struct Fall {
    KlangArt art;
    long proben;
    std::vector<Teil> teile;  // the tonal part, noise left out
};

const std::vector<Fall> faelle = {
    {KlangArt::klick, 2205, {{0, 2205, 0.05, 1500, 650, 90, 0.22}}},
    {KlangArt::an, 3969, {{0, 3969, 0.09, 620, 1180, 38, 0.24}}},
    {KlangArt::aus, 3969, {{0, 3969, 0.09, 900, 470, 38, 0.22}}},
    {KlangArt::zu, 13671, {{0, 12348, 0.28, 1150, 170, 9, 0.24}, {11025, 2646, 0.06, 420, 260, 60, 0.20}}},
    {KlangArt::auf, 14553, {{0, 2646, 0.06, 260, 420, 60, 0.18}, {1323, 13230, 0.30, 190, 1050, 8, 0.22}}},
    {KlangArt::aktivAn, 9261, {{0, 3528, 0.08, 660, 700, 35, 0.22}, {3969, 5292, 0.12, 990, 1050, 25, 0.22}}},
    {KlangArt::aktivAus, 10143, {{0, 3528, 0.08, 990, 940, 35, 0.22}, {3969, 6174, 0.14, 520, 470, 22, 0.22}}},
};

TEST(KlangSynthese, JederKlangIstEinWavMitSeinerLaengeUndDemFestenKopf) {
    for (const Fall& f : faelle) {
        SCOPED_TRACE(klangName(f.art));
        const std::string b = wav(synthetisiere(segmenteVon(f.art), systemZufall()));
        const auto n = static_cast<std::uint32_t>(f.proben);
        ASSERT_EQ(b.size(), 44 + 2 * n);
        EXPECT_EQ(b.substr(0, 4), "RIFF");
        EXPECT_EQ(feld(b, 4, 4), 36 + 2 * n);
        EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(feld(b, 16, 4), 16u);
        EXPECT_EQ(feld(b, 20, 2), 1u);
        EXPECT_EQ(feld(b, 22, 2), 1u);
        EXPECT_EQ(feld(b, 24, 4), 44100u);
        EXPECT_EQ(feld(b, 28, 4), 88200u);
        EXPECT_EQ(feld(b, 32, 2), 2u);
        EXPECT_EQ(feld(b, 34, 2), 16u);
        EXPECT_EQ(b.substr(36, 4), "data");
        EXPECT_EQ(feld(b, 40, 4), 2 * n);
    }
    // The two figures the sound table gives outright.
    EXPECT_EQ(wav(synthetisiere(segmenteVon(KlangArt::klick), ohneRauschen)).size(), 4454u);
    EXPECT_EQ(feld(wav(synthetisiere(segmenteVon(KlangArt::klick), ohneRauschen)), 4, 4), 4446u);
    EXPECT_EQ(wav(synthetisiere(segmenteVon(KlangArt::auf), ohneRauschen)).size(), 29150u);
}

TEST(KlangSynthese, ProbeWirdBegrenztMit32000MalgenommenUndZurNullHinAbgeschnitten) {
    const std::vector<std::pair<double, std::int16_t>> tabelle = {
        {1.3, 32000},       {-1.3, -32000},   {0.5, 16000},     {1.0, 32000},    {-1.0, -32000},
        {0.0, 0},           {0.99999, 31999},  // 31999.68: cut, not rounded
        {-0.99999, -31999}, {0.00003, 0},      // 0.96 → 0
        {-0.00003, 0},      // −0.96 → 0, not −1
        {1e300, 32000},     {-1e300, -32000},
    };
    for (const auto& [probe, erwartet] : tabelle) EXPECT_EQ(alsPcm(probe), erwartet) << probe;
    // Written little-endian in the data block.
    const std::string b = wav({1.3, -1.3, 0.5});
    EXPECT_EQ(probenAus(b), (std::vector<std::int16_t>{32000, -32000, 16000}));
    EXPECT_EQ(static_cast<unsigned char>(b[44]), 0x00);
    EXPECT_EQ(static_cast<unsigned char>(b[45]), 0x7d);
}

TEST(KlangSynthese, TonanteilJedesKlangsFolgtProbeFuerProbeDerFormel) {
    // aktivAn and aktivAus have no noise at all; the others are compared with their
    // noise source silenced, which leaves exactly the tonal part.
    for (const Fall& f : faelle) {
        SCOPED_TRACE(klangName(f.art));
        const bool rauschfrei = f.art == KlangArt::aktivAn || f.art == KlangArt::aktivAus;
        const std::string b = wav(synthetisiere(segmenteVon(f.art), rauschfrei ? systemZufall() : ohneRauschen));
        const std::vector<std::int16_t> ist = probenAus(b);
        const std::vector<double> soll = nachgerechnet(f.teile, f.proben);
        ASSERT_EQ(ist.size(), soll.size());
        int abweichend = 0;
        for (size_t i = 0; i < ist.size(); ++i) {
            // Truncation of the same value computed in another order can land one step apart.
            if (std::abs(ist[i] - alsPcm(soll[i])) > 1) ++abweichend;
        }
        EXPECT_EQ(abweichend, 0);
        // A sound that is there at all: its loudest sample well above silence.
        int lautest = 0;
        for (auto p : ist) lautest = std::max(lautest, std::abs(static_cast<int>(p)));
        EXPECT_GT(lautest, 3000);
    }
}

TEST(KlangSynthese, UeberlappendeSegmenteAddierenSich) {
    // In `zu` the second segment starts at 0.25 s while the first runs until 0.28 s.
    const auto segmente = segmenteVon(KlangArt::zu);
    const auto beide = synthetisiere(segmente, ohneRauschen);
    const auto erstes = synthetisiere({segmente[0]}, ohneRauschen);
    auto zweites = segmente[1];
    zweites.start = 0;
    const auto nurZweites = synthetisiere({zweites}, ohneRauschen);
    for (long i = 11025; i < 12348; i += 97) {
        EXPECT_DOUBLE_EQ(beide[static_cast<size_t>(i)],
                         erstes[static_cast<size_t>(i)] + nurZweites[static_cast<size_t>(i - 11025)]);
    }
    // Past the first segment's end only the second one sounds.
    EXPECT_DOUBLE_EQ(beide[13000], nurZweites[13000 - 11025]);
}

// The noise burst: with the source fixed at its top (+L) the sound differs from the
// silenced one by exactly e·g·(1 − t/0.012)·L during the first 12 ms of each noisy
// segment, and not at all afterwards.
TEST(KlangSynthese, RauschstossFolgtSeinerRampeUndEndetNach12ms) {
    for (KlangArt art : {KlangArt::klick, KlangArt::an, KlangArt::aus, KlangArt::zu, KlangArt::auf}) {
        SCOPED_TRACE(klangName(art));
        const auto segmente = segmenteVon(art);
        const auto oben = synthetisiere(segmente, [](double L) { return L; });
        const auto still = synthetisiere(segmente, ohneRauschen);
        std::vector<double> erwartet(still.size(), 0.0);
        for (const KlangSegment& s : segmente) {
            if (!s.rauschen) continue;
            const long o = probenZahl(s.start);
            for (long i = 0; i < probenZahl(s.dauer); ++i) {
                const double t = i / 44100.0;
                if (t >= 0.012) break;
                const double e = std::exp(-s.abfall * t) * std::min(t / 0.003, 1.0) * std::min((s.dauer - t) / 0.01, 1.0);
                erwartet[static_cast<size_t>(o + i)] += e * s.verstaerkung * (1 - t / 0.012) * *s.rauschen;
            }
        }
        for (size_t i = 0; i < still.size(); ++i) ASSERT_NEAR(oben[i] - still[i], erwartet[i], 1e-12) << i;
    }
}

TEST(KlangSynthese, ZufaelligesRauschenIstDaUndBleibtInSeinenGrenzen) {
    for (KlangArt art : {KlangArt::klick, KlangArt::an, KlangArt::aus, KlangArt::zu, KlangArt::auf}) {
        SCOPED_TRACE(klangName(art));
        const auto segmente = segmenteVon(art);
        const auto grenze = synthetisiere(segmente, [](double L) { return L; });
        const auto still = synthetisiere(segmente, ohneRauschen);
        const auto laut = synthetisiere(segmente, systemZufall());
        int verrauscht = 0;
        for (size_t i = 0; i < still.size(); ++i) {
            const double rauschen = laut[i] - still[i];
            ASSERT_LE(std::abs(rauschen), std::abs(grenze[i] - still[i]) + 1e-12) << i;
            verrauscht += std::abs(rauschen) > 1e-4;
        }
        // Most of the ramp's samples carry noise you can see in 16 bits.
        EXPECT_GT(verrauscht, 300);
    }
}

TEST(KlangSynthese, ZufallsquelleTrifftDasGanzeGeschlosseneIntervall) {
    Zufall z = systemZufall();
    double kleinste = 1, groesste = -1;
    for (int i = 0; i < 20000; ++i) {
        double r = z(0.35);
        ASSERT_GE(r, -0.35);
        ASSERT_LE(r, 0.35);
        kleinste = std::min(kleinste, r);
        groesste = std::max(groesste, r);
    }
    EXPECT_LT(kleinste, -0.34);
    EXPECT_GT(groesste, 0.34);
}

}  // namespace
}  // namespace klebwerk
