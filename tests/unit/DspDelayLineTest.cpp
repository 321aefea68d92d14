// Delay-line primitives: the write-head convention, the allpass interpolator's 0.618 rule,
// the float-to-samples clamp, and buffer sizing.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

#include <juce_core/juce_core.h>

#include "dsp/Delay.h"
#include "dsp/DelayLine.h"
#include "dsp/FractionalDelay.h"
#include "dsp/FractionalDelayLine.h"

#include "AllocationCounter.h"

namespace
{
std::unique_ptr<AbstractDelayLine<float>> makeLine (bool fractional)
{
    if (fractional)
        return std::make_unique<FractionalDelayLine<float>>();
    return std::make_unique<DelayLine<float>>();
}

// Write-then-read response of a line to a unit impulse.
std::vector<float> impulseResponse (AbstractDelayLine<float>& line, size_t length)
{
    std::vector<float> out;
    for (size_t n = 0; n < length; ++n)
    {
        line.write (n == 0 ? 1.0f : 0.0f);
        out.push_back (line.get());
    }
    return out;
}

struct LineCase
{
    const char* name;
    bool fractional;
    DelayValue requested;
    DelayValue stored;
    float coefficient;              // allpass coefficient (fractional lines only)
    std::vector<float> response;    // first samples of the impulse response, by hand
};

std::ostream& operator<< (std::ostream& os, const LineCase& c) { return os << c.name; }

// Thiran responses by hand: y0 = c, y1 = 1 − c², y2 = −c(1 − c²) for a delay {M, f}
// shifted by M samples.
const LineCase lineCases[] = {
    { "IntegerZeroReturnsSampleJustWritten", false, { 0, 0.0f }, { 0, 0.0f }, 0.0f, { 1, 0, 0 } },
    { "IntegerThreeReturnsThreeWritesEarlier", false, { 3, 0.7f }, { 3, 0.7f }, 0.0f, { 0, 0, 0, 1, 0 } },
    { "FractionalZeroZeroIsNoDelay", true, { 0, 0.0f }, { 0, 0.0f }, 1.0f, { 1, 0, 0 } },
    { "FractionalIntegerBecomesPureDelay", true, { 4, 0.0f }, { 3, 1.0f }, 0.0f, { 0, 0, 0, 0, 1, 0, 0 } },
    { "FractionalBelowOneSampleIsNotAdjusted", true, { 0, 0.3f }, { 0, 0.3f }, 0.7f / 1.3f,
      { 0.53846154f, 0.71005917f, -0.38233955f } },
    { "FractionalHalfMovesIntoUpperRange", true, { 5, 0.5f }, { 4, 1.5f }, -0.2f,
      { 0, 0, 0, 0, -0.2f, 0.96f, 0.192f } },
};

class DelayLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P (DelayLineCases, StoresDelayAndRespondsAsComputedByHand)
{
    const auto& c = GetParam();
    auto line = makeLine (c.fractional);
    line->setMaximumDelay (16);
    line->setDelay (c.requested);

    EXPECT_EQ (line->getDelay().samples, c.stored.samples);
    EXPECT_FLOAT_EQ (line->getDelay().fraction, c.stored.fraction);

    if (c.fractional)
    {
        EXPECT_FLOAT_EQ (static_cast<FractionalDelayLine<float>&> (*line).getAllpassCoefficient(), c.coefficient);
    }

    const auto response = impulseResponse (*line, c.response.size());
    for (size_t n = 0; n < response.size(); ++n)
        EXPECT_NEAR (response[n], c.response[n], 1.0e-6f) << "sample " << n;
}

INSTANTIATE_TEST_SUITE_P (DelayLine, DelayLineCases, ::testing::ValuesIn (lineCases),
                          [] (const ::testing::TestParamInfo<LineCase>& p) { return std::string (p.param.name); });

TEST (DelayLine, FirstSetDelayOfEmptyLineMakesThreeSamples)
{
    for (bool fractional : { false, true })
    {
        auto line = makeLine (fractional);
        EXPECT_EQ (line->getBufferSize(), 0u);
        EXPECT_EQ (line->get(), 0.0f);  // reading an empty line is harmless

        line->setDelay ({ 0, 0.0f });
        EXPECT_EQ (line->getBufferSize(), 3u);
        EXPECT_EQ (line->getMaximumDelay(), 1);
    }
}

TEST (DelayLine, DelayAtMaximumGrowsAndBelowDoesNotAllocate)
{
    DelayLine<float> line;
    line.setMaximumDelay (10);
    ASSERT_EQ (line.getBufferSize(), 12u);

    {
        AllocationCounter allocations;
        line.setDelay ({ 9, 0.0f });
        line.write (1.0f);
        line.get();
        EXPECT_EQ (allocations.count(), 0u);
    }

    line.setDelay ({ 10, 0.0f });
    EXPECT_EQ (line.getMaximumDelay(), 11);
    EXPECT_EQ (line.getBufferSize(), 13u);
}

TEST (DelayLine, ShrinkingBelowWriteHeadBringsItBackIntoTheBuffer)
{
    DelayLine<float> line;
    line.setMaximumDelay (100);
    line.setDelay ({ 2, 0.0f });
    line.write (1.0f);  // the head wraps to the last element (101)
    ASSERT_EQ (line.getWriteIndex(), 101);

    line.setMaximumDelay (4);
    ASSERT_EQ (line.getBufferSize(), 6u);
    EXPECT_EQ (line.getWriteIndex(), 0);

    // The line still behaves as a delay of two samples.
    const auto response = impulseResponse (line, 4);
    EXPECT_EQ (response, (std::vector<float> { 0, 0, 1, 0 }));
}

TEST (DelayLine, ResetSilencesWithoutMovingTheHead)
{
    FractionalDelayLine<float> line;
    line.setMaximumDelay (8);
    line.setDelay ({ 3, 0.0f });
    for (int n = 0; n < 5; ++n)
        line.write (1.0f);
    const auto head = line.getWriteIndex();

    line.reset();
    EXPECT_EQ (line.getWriteIndex(), head);
    for (int n = 0; n < 10; ++n)
    {
        line.write (0.0f);
        EXPECT_EQ (line.get(), 0.0f);
    }
}

struct ClampCase
{
    float requested;   // delay in samples
    int samples;
    float fraction;
};

TEST (Delay, SetDelaySamplesSplitsAndClamps)
{
    // Buffer of 12 samples (maximum delay 10).
    const ClampCase cases[] = {
        { 3.25f, 3, 0.25f },
        { -2.5f, 0, 0.5f },      // floor −3 clamps to 0, fraction of the unclamped value
        { 0.75f, 0, 0.75f },
        { 12.5f, 12, 0.5f },     // equal to the size passes unchanged
        { 40.0f, 9, 0.0f },      // above the size clamps to size − 3
    };

    for (const auto& c : cases)
    {
        Delay<float> delay;
        delay.setMaximumDelay (10);
        delay.setDelaySamples (c.requested);
        EXPECT_EQ (delay.getDelay().samples, c.samples) << c.requested;
        EXPECT_FLOAT_EQ (delay.getDelay().fraction, c.fraction) << c.requested;
        EXPECT_EQ (delay.getLine().getDelay().samples, c.samples) << c.requested;
    }
}

TEST (Delay, DelayEqualToBufferSizeGrowsTheBuffer)
{
    Delay<float> delay;
    delay.setMaximumDelay (10);
    delay.setDelaySamples (12.0f);
    EXPECT_EQ (delay.getLine().getBufferSize(), 15u);
    EXPECT_EQ (delay.getLine().getMaximumDelay(), 13);
}

TEST (Delay, NonFiniteDelayTimeFallsBackToNoDelay)
{
    Delay<float> delay;
    delay.setMaximumDelay (10);
    for (float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        delay.setDelaySamples (bad);
        EXPECT_EQ (delay.getDelay().samples, 0);
        EXPECT_EQ (delay.getLine().getBufferSize(), 12u);
    }
}

TEST (Delay, FractionalDelayOfIntegerValueIsPureDelay)
{
    FractionalDelay<float> delay;
    delay.setMaximumDelay (64);
    delay.setDelaySamples (7.0f);

    juce::Random random (1234);
    std::vector<float> input (200);
    for (auto& x : input)
        x = random.nextFloat() * 2.0f - 1.0f;

    for (size_t n = 0; n < input.size(); ++n)
        EXPECT_EQ (delay.processSample (input[n]), n >= 7 ? input[n - 7] : 0.0f) << n;
}

TEST (Delay, FractionalDelayHasExpectedGroupDelayAtLowFrequency)
{
    // A slow sine through 10.3 samples of delay lags by 10.3 samples.
    FractionalDelay<double> delay;
    delay.setMaximumDelay (64);
    delay.setDelaySamples (10.3f);

    const double w = 2.0 * juce::MathConstants<double>::pi / 400.0;
    double maxError = 0.0;
    for (int n = 0; n < 2000; ++n)
    {
        const auto y = delay.processSample (std::sin (w * n));
        if (n > 400)
            maxError = std::max (maxError, std::abs (y - std::sin (w * (n - 10.3))));
    }
    EXPECT_LT (maxError, 1.0e-3);
}

TEST (Delay, FeedbackRecirculatesEveryDelayPlusOneSamples)
{
    // The feedback uses the previous output, so the loop is one sample longer than the line.
    Delay<float> delay;
    delay.setMaximumDelay (16);
    delay.setDelaySamples (3.0f);
    delay.setFeedback (0.5f);

    std::vector<float> out;
    for (int n = 0; n < 12; ++n)
        out.push_back (delay.processSample (n == 0 ? 1.0f : 0.0f));

    EXPECT_EQ (out, (std::vector<float> { 0, 0, 0, 1, 0, 0, 0, 0.5f, 0, 0, 0, 0.25f }));
}
} // namespace
