// How the six room controls land in the rings: the worked 48 kHz example with every control
// in the middle, the ends of each range, and the modulation depth that follows the size.

#include <gtest/gtest.h>

#include "RoomHarness.h"

#include <cmath>

TEST(RoomMapping, MiddleSettingsAt48kHzGiveTheWorkedExample)
{
    RoomHarness h(48000.0, 3);
    h.settle();   // past the first switch, which applies the pending lengths

    const auto& er = h.room->getEarlyReflections();
    const auto& tail = h.room->getTail();

    EXPECT_EQ(er.lines[0]->getDelay().samples, 528);   // 11 ms
    EXPECT_FLOAT_EQ(er.ringDelay, 528.0f);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(tail.delays[i]->getDelay().samples, 1536) << i;   // 32 ms
    EXPECT_FLOAT_EQ(tail.modulatedBaseDelays[0], 1536.0f);
    EXPECT_FLOAT_EQ(tail.modulatedBaseDelays[1], 1536.0f);

    EXPECT_FLOAT_EQ(tail.diffusionRange, 2640.0f);
    EXPECT_EQ(tail.diffusor.delayRange, 2640);
    EXPECT_FLOAT_EQ(tail.halfDiffusionRange, 1320.0f);
    EXPECT_FLOAT_EQ(tail.loopDelay, 2856.0f);
    EXPECT_EQ(er.diffusor.delayRange, 720);   // (0.5 × 14 + 8) ms

    EXPECT_FLOAT_EQ(h.room->getDecayShape(), 0.25f);
    EXPECT_NEAR(tail.feedbackGain, 0.663, 0.0005);   // 0.001^(2856 / 48000)
    EXPECT_FLOAT_EQ(er.feedback, 0.4f);
    EXPECT_NEAR(tail.modulationDepth, 0.000503, 0.000001);

    // 1536 × 0.000503 < 1: the swept lines sit still on their base delay.
    EXPECT_EQ(tail.sineLfo.amplitude, 0.0f);
    EXPECT_EQ(tail.cosineLfo.amplitude, 0.0f);

    EXPECT_FLOAT_EQ(h.room->getEarlyReflectionsGain(), 0.89099997f);
    EXPECT_FLOAT_EQ(h.room->getOutputGain(), 0.64799994f);
}

TEST(RoomMapping, ModulationStartsAboutTwoThousandSamplesAndReachesEightTenthsAtFullSize)
{
    struct Case { float size; float baseDelay; float amplitude; float tolerance; };
    // Base delay (size × 52 + 6) ms at 48 kHz; amplitude 2 × base × 0.000503 − 2, floored at 0.
    const Case cases[] = {
        { 0.68f, 1985.28f, 0.0f, 0.0f },
        { 0.69f, 2010.24f, 0.022f, 0.003f },
        { 1.0f, 2784.0f, 0.80f, 0.005f },
    };
    for (const auto& c : cases)
    {
        RoomHarness h(48000.0, 3, { { "size", c.size } });
        h.settle();
        const auto& tail = h.room->getTail();
        EXPECT_NEAR(tail.modulatedBaseDelays[0], c.baseDelay, 0.01f) << c.size;
        EXPECT_NEAR(tail.sineLfo.amplitude, c.amplitude, c.tolerance) << c.size;
        EXPECT_NEAR(tail.cosineLfo.amplitude, c.amplitude, c.tolerance) << c.size;

        // The swept line never leaves base ± amplitude / 2.
        juce::AudioBuffer<float> buffer(2, RoomHarness::blockSize);
        float lowest = 1.0e9f, highest = 0.0f;
        for (int b = 0; b < 1500; ++b)   // one LFO cycle (0.5 s) and a bit
        {
            buffer.clear();
            h.processBlock(buffer);
            const auto d = tail.delays[tail.firstModulatedLine]->getDelay();
            const auto value = (float) d.samples + d.fraction;
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
        }
        EXPECT_GE(lowest, c.baseDelay - c.amplitude * 0.5f - 0.01f) << c.size;
        EXPECT_LE(highest, c.baseDelay + c.amplitude * 0.5f + 0.01f) << c.size;
        if (c.amplitude > 0.5f)
        {
            EXPECT_GT(highest - lowest, c.amplitude * 0.95f) << "a full swing within one cycle";
        }
    }
}

TEST(RoomMapping, RangeEndsOfEveryControl)
{
    struct Case
    {
        const char* what;
        std::vector<RoomHarness::Setting> settings;
        int erDelay, tailDelay, erRange, tailRange;
        int erCutoff, tailCutoff;
        float blend, erFeedback, decaySeconds;
    };
    const Case cases[] = {
        { "all at the bottom", { { "size", 0.0f }, { "diffusion", 1.0f }, { "decay", 0.0f },
                                 { "dampingFreq_room_er", 20.0f }, { "dampingFreq_room_tl", 20.0f }, { "dampingIntensity", 0.0f } },
          192, 288, 384, 1440, 11010, 20, 0.0f, 0.2f, 0.5f },
        { "all at the top", { { "size", 1.0f }, { "diffusion", 0.0f }, { "decay", 1.0f },
                              { "dampingFreq_room_er", 22000.0f }, { "dampingFreq_room_tl", 22000.0f }, { "dampingIntensity", 1.0f } },
          864, 2784, 1056, 3840, 22000, 22000, 1.0f, 0.6f, 2.5f },
        { "defaults", {}, 528, 1536, 720, 2640, 16500, 5000, 0.6f, 0.4f, 1.0f },
    };
    for (const auto& c : cases)
    {
        RoomHarness h(48000.0, 9, c.settings);
        h.settle();
        const auto& er = h.room->getEarlyReflections();
        const auto& tail = h.room->getTail();
        SCOPED_TRACE(c.what);

        EXPECT_EQ(er.lines[0]->getDelay().samples, c.erDelay);
        EXPECT_EQ(tail.delays[0]->getDelay().samples, c.tailDelay);
        EXPECT_EQ(er.diffusor.delayRange, c.erRange);
        EXPECT_EQ(tail.diffusor.delayRange, c.tailRange);
        EXPECT_EQ(er.dampingFrequency, c.erCutoff);
        EXPECT_EQ(tail.dampingFrequency, c.tailCutoff);
        EXPECT_NEAR(tail.dampingBlend, c.blend, 1.0e-5f);
        EXPECT_NEAR(er.feedback, c.erFeedback, 1.0e-6f);

        // The loop gain is the −60 dB rule over the set decay time.
        const auto expectedGain = std::pow(0.001, tail.loopDelay / (c.decaySeconds * 48000.0));
        EXPECT_NEAR(tail.feedbackGain, expectedGain, 1.0e-4);

        // The damping low-pass has unity gain at DC and its −3 dB point at the cutoff.
        const auto& coefficients = *er.dampingCoefficients;
        EXPECT_NEAR(coefficients.getMagnitudeForFrequency(0.0, 48000.0), 1.0, 1.0e-5);
        if (c.erCutoff < 20000)
        {
            EXPECT_NEAR(coefficients.getMagnitudeForFrequency(c.erCutoff, 48000.0), std::sqrt(0.5), 1.0e-3);
        }
        EXPECT_EQ(er.dampingFilters[7].coefficients.get(), er.dampingCoefficients.get()) << "one shared object";
        EXPECT_EQ(tail.dampingFilters[0].coefficients.get(), tail.dampingCoefficients.get());
    }
}

TEST(RoomMapping, DampingBelowNyquistStaysStableAtLowRates)
{
    // At 32 kHz the early cutoff (up to 22 kHz) lies above Nyquist; the filter must not blow up.
    RoomHarness h(32000.0, 4, { { "dampingFreq_room_er", 22000.0f }, { "decay", 1.0f } });
    auto [left, right] = h.impulseResponse(3.0);
    for (size_t i = 0; i < left.size(); ++i)
        ASSERT_TRUE(std::isfinite(left[i]) && std::abs(left[i]) < 10.0f) << i;
}

TEST(RoomMapping, NewSampleRateRetunesDampingAndKeepsTheLoopGain)
{
    RoomHarness h(44100.0, 4);
    h.room->prepare({ 96000.0, 32, 2 });
    const auto& tail = h.room->getTail();
    EXPECT_NEAR(tail.dampingCoefficients->getMagnitudeForFrequency(5000.0, 96000.0), std::sqrt(0.5), 1.0e-3);
    EXPECT_NEAR(tail.loopDelay, (1536.0f + 1320.0f) * 2.0f, 1.0f);
    EXPECT_NEAR(tail.feedbackGain, 0.663, 0.001);
}
