// Modulation oscillators: start values, table size and the heard rate (0.5 Hz setting,
// two calls per sample → 2 Hz at any host rate).

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "dsp/TrigonometricLfo.h"

namespace
{
using SineLfo = TrigonometricLfo<float, TrigonometricFunctionTypes::sine>;
using CosineLfo = TrigonometricLfo<float, TrigonometricFunctionTypes::cosine>;

TEST (TrigonometricLfo, FirstCallHoldsZeroSecondReadsWaveformAtMinusPi)
{
    SineLfo sine;
    CosineLfo cosine;
    sine.prepare (48000.0, 512);
    cosine.prepare (48000.0, 512);

    EXPECT_EQ (sine.getNextLFOValue(), 0.0f);
    EXPECT_EQ (cosine.getNextLFOValue(), 0.0f);

    // Amplitude after preparation is 21, so the cosine starts at −21/2.
    EXPECT_NEAR (sine.getNextLFOValue(), 0.0f, 1.0e-4f);
    EXPECT_NEAR (cosine.getNextLFOValue(), -10.5f, 1.0e-4f);
}

TEST (TrigonometricLfo, ZeroAmplitudeIsSilent)
{
    CosineLfo lfo;
    lfo.prepare (48000.0, 512);
    lfo.setRunningFrequency();
    lfo.amplitude = 0.0f;
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ (lfo.getNextLFOValue(), 0.0f);
}

TEST (TrigonometricLfo, UnpreparedLfoHoldsZero)
{
    SineLfo lfo;
    EXPECT_EQ (lfo.getNextLFOValue(), 0.0f);
    EXPECT_EQ (lfo.getNextLFOValue(), 0.0f);
}

struct RateCase
{
    double sampleRate;
    size_t tableSize;
};

std::ostream& operator<< (std::ostream& os, const RateCase& c) { return os << c.sampleRate << " Hz"; }

class TrigonometricLfoRate : public ::testing::TestWithParam<RateCase> {};

TEST_P (TrigonometricLfoRate, TableMatchesRateAndOneCycleTakesHalfASecond)
{
    const auto sampleRate = GetParam().sampleRate;
    const auto period = (int) (sampleRate / 2.0);   // 2 Hz heard

    SineLfo sine;
    CosineLfo cosine;
    sine.prepare (sampleRate, 512);
    cosine.prepare (sampleRate, 512);
    EXPECT_EQ (sine.tableSize, GetParam().tableSize);
    EXPECT_EQ (cosine.tableSize, GetParam().tableSize);

    sine.setRunningFrequency();
    cosine.setRunningFrequency();
    sine.amplitude = 2.0f;   // unit swing
    cosine.amplitude = 2.0f;

    std::vector<float> s, c;
    for (int n = 0; n <= period; ++n)
    {
        sine.getNextLFOValue();
        cosine.getNextLFOValue();
        s.push_back (sine.getNextLFOValue());
        c.push_back (cosine.getNextLFOValue());
    }

    // Sample n reads the waveform at 2π·n/period − π.
    const auto quarter = period / 4;
    EXPECT_NEAR (s[0], 0.0f, 1.0e-3f);
    EXPECT_NEAR (s[(size_t) quarter], -1.0f, 1.0e-3f);
    EXPECT_NEAR (s[(size_t) (3 * quarter)], 1.0f, 1.0e-3f);
    EXPECT_NEAR (c[0], -1.0f, 1.0e-3f);
    EXPECT_NEAR (c[(size_t) (2 * quarter)], 1.0f, 1.0e-3f);

    // After exactly one period both are back where they started: one full cycle.
    EXPECT_NEAR (s[(size_t) period], s[0], 2.0e-3f);
    EXPECT_NEAR (c[(size_t) period], c[0], 2.0e-3f);

    // Sine and cosine run in quadrature: the pair stays on the unit circle.
    for (int n = 0; n <= period; ++n)
        ASSERT_NEAR (s[(size_t) n] * s[(size_t) n] + c[(size_t) n] * c[(size_t) n], 1.0f, 2.0e-3f) << n;
}

INSTANTIATE_TEST_SUITE_P (TrigonometricLfo, TrigonometricLfoRate, ::testing::Values (RateCase { 48000.0, 9600 },
                                                                                RateCase { 44100.0, 8820 }));
} // namespace
