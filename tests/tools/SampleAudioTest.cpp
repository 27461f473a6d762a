#include "tools/SampleAudio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t LittleEndian(const Bytes& b, std::size_t at, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | b.at(at + i);
    return value;
}

std::string Tag(const Bytes& b, std::size_t at)
{
    return std::string(b.begin() + at, b.begin() + at + 4);
}

}  // namespace

TEST(SampleWave, HeaderDescribesMonoSixteenBitPcmOfTheTunesLength)
{
    const Bytes wave = MelodyWave();
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(Tag(wave, 0), "RIFF");
    EXPECT_EQ(LittleEndian(wave, 4, 4), wave.size() - 8);
    EXPECT_EQ(Tag(wave, 8), "WAVE");
    EXPECT_EQ(Tag(wave, 12), "fmt ");
    EXPECT_EQ(LittleEndian(wave, 16, 4), 16u);
    EXPECT_EQ(LittleEndian(wave, 20, 2), 1u);
    EXPECT_EQ(LittleEndian(wave, 22, 2), 1u);
    EXPECT_EQ(LittleEndian(wave, 24, 4), std::uint32_t(kMelodySampleRate));
    EXPECT_EQ(LittleEndian(wave, 28, 4), std::uint32_t(kMelodySampleRate * 2));
    EXPECT_EQ(LittleEndian(wave, 32, 2), 2u);
    EXPECT_EQ(LittleEndian(wave, 34, 2), 16u);
    EXPECT_EQ(Tag(wave, 36), "data");
    const std::uint32_t dataBytes = LittleEndian(wave, 40, 4);
    EXPECT_EQ(dataBytes, wave.size() - 44);
    EXPECT_NEAR(dataBytes / 2.0 / kMelodySampleRate, MelodySeconds(), 1e-3);
}

TEST(SampleWave, EveryBeatIsAudible)
{
    const Bytes wave = MelodyWave();
    const std::size_t samples = (wave.size() - 44) / 2;
    const std::size_t beat = static_cast<std::size_t>(kMelodySampleRate * 60 / 160);
    ASSERT_GT(samples, beat);
    for (std::size_t start = 0; start + beat <= samples; start += beat) {
        double energy = 0;
        for (std::size_t i = start; i < start + beat; ++i) {
            const auto s = static_cast<std::int16_t>(LittleEndian(wave, 44 + 2 * i, 2));
            energy += double(s) * s;
        }
        EXPECT_GT(std::sqrt(energy / beat), 1000.0) << "beat starting at sample " << start;
    }
}
