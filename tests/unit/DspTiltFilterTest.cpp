// Tilt filter: measured sine gains at both ends of the spectrum for the extreme and middle
// tilt values, against the shelf gains (+6/−12 dB, flat, −6/+12 dB).

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "dsp/TiltFilter.h"

namespace
{
constexpr double sampleRate = 48000.0;

// RMS gain in dB of a stereo sine after the filter has settled.
double measureGainDb (TiltFilter& filter, double hz)
{
    const int blockSize = 480;
    const int settleBlocks = 50;     // 0.5 s: far longer than the shelves ring
    const int measureBlocks = 100;   // 1 s: whole periods of both test tones

    juce::AudioBuffer<float> buffer (2, blockSize);
    double sumIn = 0.0, sumOut = 0.0;
    long long n = 0;

    for (int b = 0; b < settleBlocks + measureBlocks; ++b)
    {
        std::vector<double> input ((size_t) blockSize);
        for (int i = 0; i < blockSize; ++i, ++n)
        {
            input[(size_t) i] = std::sin (2.0 * juce::MathConstants<double>::pi * hz * (double) n / sampleRate);
            for (int ch = 0; ch < 2; ++ch)
                buffer.setSample (ch, i, (float) input[(size_t) i]);
        }

        juce::dsp::AudioBlock<float> block (buffer);
        filter.process (juce::dsp::ProcessContextReplacing<float> (block));

        if (b >= settleBlocks)
            for (int i = 0; i < blockSize; ++i)
            {
                sumIn += input[(size_t) i] * input[(size_t) i];
                // Both channels must be filtered alike.
                EXPECT_EQ (buffer.getSample (0, i), buffer.getSample (1, i));
                sumOut += (double) buffer.getSample (0, i) * buffer.getSample (0, i);
            }
    }

    return 10.0 * std::log10 (sumOut / sumIn);
}

struct TiltCase
{
    float tilt;
    double hz;
    double expectedDb;   // the shelf gain on that side of the pivot
};

std::ostream& operator<< (std::ostream& os, const TiltCase& c) { return os << "tilt " << c.tilt << " at " << c.hz << " Hz"; }

// 100 Hz and 10 kHz lie 3.3 octaves from the 1 kHz pivot, still inside the shelves'
// transition: measured 0.12 dB (100 Hz) and 0.09 dB (10 kHz) short of the plateau at
// tilt 0 and 1, so the shelf gain is checked to 0.25 dB; the analytic response must match
// the measurement to 0.01 dB.
const TiltCase tiltCases[] = {
    { 0.0f, 100.0, 6.0 },   { 0.0f, 10000.0, -12.0 },
    { 0.5f, 100.0, 0.0 },   { 0.5f, 10000.0, 0.0 },
    { 1.0f, 100.0, -6.0 },  { 1.0f, 10000.0, 12.0 },
};

class TiltFilterGain : public ::testing::TestWithParam<TiltCase> {};

TEST_P (TiltFilterGain, MeasuredSineGainMatchesShelfGain)
{
    const auto& c = GetParam();
    TiltFilter filter;
    filter.updateTilt (c.tilt);
    filter.prepare ({ sampleRate, 480, 2 });

    const auto measured = measureGainDb (filter, c.hz);
    EXPECT_NEAR (measured, c.expectedDb, 0.25) << "tilt " << c.tilt << " at " << c.hz << " Hz";
    EXPECT_NEAR (filter.magnitudeDb (c.hz), measured, 0.01);
}

INSTANTIATE_TEST_SUITE_P (TiltFilter, TiltFilterGain, ::testing::ValuesIn (tiltCases));

TEST (TiltFilter, MiddleTiltIsExactlyFlat)
{
    TiltFilter filter;
    filter.prepare ({ sampleRate, 480, 2 });
    filter.updateTilt (0.5f);

    for (double hz : { 20.0, 1000.0, 20000.0 })
        EXPECT_NEAR (filter.magnitudeDb (hz), 0.0, 1.0e-4) << hz;
}

TEST (TiltFilter, UpdateKeepsTheSharedCoefficientObjects)
{
    // The per-channel filters point at the shared state; a new tilt must reach them.
    TiltFilter filter;
    filter.prepare ({ sampleRate, 480, 2 });
    auto* lowState = filter.getLowShelf().state.get();
    auto* highState = filter.getHighShelf().state.get();

    filter.updateTilt (0.0f);
    EXPECT_EQ (filter.getLowShelf().state.get(), lowState);
    EXPECT_EQ (filter.getHighShelf().state.get(), highState);
    EXPECT_NEAR (filter.magnitudeDb (20.0), 6.0, 0.1);
    EXPECT_NEAR (filter.magnitudeDb (20000.0), -12.0, 0.1);
}

TEST (TiltFilter, TiltBeforePreparationIsAppliedAtPreparation)
{
    TiltFilter filter;
    filter.updateTilt (1.0f);   // no rate yet: must not design or assert
    EXPECT_FLOAT_EQ (filter.getGainDb(), 12.0f);

    filter.prepare ({ sampleRate, 480, 1 });
    EXPECT_NEAR (filter.magnitudeDb (20.0), -6.0, 0.1);
    EXPECT_NEAR (filter.magnitudeDb (20000.0), 12.0, 0.2);
}
} // namespace
