// The room inside the plug-in's processor: a snare-like burst leaves a decaying reverb
// behind, and the processor's seed makes the whole output repeatable.

#include "core/PluginProcessor.h"

#include "TestProcessor.h"

#include <gtest/gtest.h>

namespace
{
std::vector<float> renderSnare(juce::int64 seed, double rate = 48000.0)
{
    SonarisAudioProcessor processor;
    processor.setRandomSeed(seed);
    setPlainValue(processor.getValueTreeState(), "mix", 1.0f);
    processor.prepareToPlay(rate, 512);

    // 30 ms of noise with a fast decay, then silence: 3 s in all.
    juce::Random random(7);
    const int length = (int) (rate * 3.0);
    juce::AudioBuffer<float> signal(2, length);
    signal.clear();
    for (int i = 0; i < (int) (rate * 0.03); ++i)
    {
        const auto x = (random.nextFloat() * 2.0f - 1.0f) * std::exp(-(float) i / (float) (rate * 0.008));
        signal.setSample(0, i, x);
        signal.setSample(1, i, x);
    }

    juce::MidiBuffer midi;
    for (int start = 0; start < length; start += 512)
    {
        juce::AudioBuffer<float> block(signal.getArrayOfWritePointers(), 2, start, std::min(512, length - start));
        processor.processBlock(block, midi);
    }
    return { signal.getReadPointer(0), signal.getReadPointer(0) + length };
}

double energy(const std::vector<float>& x, double rate, double fromSeconds, double toSeconds)
{
    double e = 0;
    for (auto i = (size_t) (fromSeconds * rate); i < (size_t) (toSeconds * rate); ++i)
        e += (double) x[i] * x[i];
    return e;
}
} // namespace

TEST(RoomInProcessor, SnareBurstLeavesADecayingReverb)
{
    const auto out = renderSnare(3);
    const auto burst = energy(out, 48000.0, 0.0, 0.1);
    const auto early = energy(out, 48000.0, 0.3, 0.6);
    const auto late = energy(out, 48000.0, 1.2, 1.5);
    ASSERT_GT(burst, 0.0);
    // Default decay (1 s): 0.3 s after the burst ended the reverb is still well audible…
    EXPECT_GT(early, burst * 1.0e-3);
    // …and 0.9 s later it has fallen by tens of dB, not vanished.
    EXPECT_LT(late, early * 0.1);
    EXPECT_GT(late, 0.0);
    for (const auto x : out)
        ASSERT_TRUE(std::isfinite(x));
}

TEST(RoomInProcessor, SameSeedRepeatsBitForBitAnotherSeedDoesNot)
{
    const auto a = renderSnare(11), b = renderSnare(11), c = renderSnare(12);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
}
