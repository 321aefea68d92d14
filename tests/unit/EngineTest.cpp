// The engine's chain around the reverb: FIFO timing, predelay glide, filters,
// mix, and what it does with hosts and inputs that misbehave.
#include "AllocationCounter.h"
#include "RenderHelpers.h"
#include "dsp/PassThroughAlgorithm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
constexpr double rate = 48000.0;

/** A processor whose reverb slot passes its 32-sample chunks through unchanged. */
struct PassThroughProcessor : SonarisAudioProcessor
{
    PassThroughProcessor()
    {
        getEngine().replaceAlgorithm(
            std::make_unique<PassThroughAlgorithm<float, 2, 8, 8>>(getEngine().getParameterHandlerPointer()));
    }

    void set(const char* id, float plain) { setPlainValue(getValueTreeState(), id, plain); }
};

juce::AudioBuffer<float> impulse(int channels, int samples)
{
    juce::AudioBuffer<float> buffer(channels, samples);
    buffer.clear();
    for (int c = 0; c < channels; ++c)
        buffer.setSample(c, 0, 1.0f);
    return buffer;
}

float delayOf(const FractionalDelay<float>& predelay)
{
    const auto d = predelay.getDelay();
    return (float) d.samples + d.fraction;
}
} // namespace

TEST(Engine, HostBlockSizeDoesNotChangeTheOutput)
{
    const auto input = makeNoise(2, 6000, 11);

    auto render = [&](int maxBlock, const std::function<int(int)>& sizes)
    {
        SonarisAudioProcessor processor;
        processor.setRandomSeed(5);
        setPlainValue(processor.getValueTreeState(), "mix", 0.7f);
        processor.prepareToPlay(rate, maxBlock);
        return renderThrough(processor, input, sizes);
    };

    const auto reference = render(6000, [](int) { return 6000; });
    for (const int size : { 1, 31, 32, 33, 100, 512 })
        EXPECT_TRUE(bitIdentical(render(size, [size](int) { return size; }), reference)) << "blocks of " << size;

    juce::Random random(3);
    EXPECT_TRUE(bitIdentical(render(512, [&](int) { return 1 + random.nextInt(512); }), reference)) << "random sizes";
}

TEST(Engine, WetPathIsTheInputDelayedBy32SamplesPlusThePredelay)
{
    struct Case { float predelayMs; int expectedFirst; };
    for (const auto& c : { Case { 0.0f, 32 }, Case { 10.0f, 32 + 480 }, Case { 250.0f, 32 + 12000 } })
    {
        PassThroughProcessor processor;
        processor.set("mix", 1.0f);
        processor.set("predelayMs", c.predelayMs);
        processor.prepareToPlay(rate, 256);
        const auto out = renderThrough(processor, impulse(2, 13000), [](int) { return 256; });
        EXPECT_EQ(firstNonZero(out, 0), c.expectedFirst) << c.predelayMs << " ms";
        EXPECT_EQ(firstNonZero(out, 1), c.expectedFirst) << c.predelayMs << " ms";
    }
}

TEST(Engine, MixRules)
{
    const auto input = makeNoise(2, 32, 4);
    const auto dryGainAtHalf = (float) std::sin(0.25 * juce::MathConstants<double>::pi);
    struct Case { float mix; float dryGain; };
    for (const auto& c : { Case { 0.0f, 1.0f }, Case { 0.5f, dryGainAtHalf }, Case { 1.0f, 0.0f } })
    {
        SonarisAudioProcessor processor;
        setPlainValue(processor.getValueTreeState(), "mix", c.mix);
        processor.prepareToPlay(rate, 32);
        // The first 32 samples hold no wet signal: only the dry part shows.
        const auto out = renderThrough(processor, input, [](int) { return 32; });
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 32; ++i)
                ASSERT_EQ(out.getSample(ch, i), input.getSample(ch, i) * c.dryGain) << "mix " << c.mix << " sample " << i;
    }

    // Mix 0 is the input, bit for bit, also once the reverb runs.
    SonarisAudioProcessor processor;
    setPlainValue(processor.getValueTreeState(), "mix", 0.0f);
    processor.prepareToPlay(rate, 512);
    const auto longInput = makeNoise(2, 20000, 9);
    EXPECT_TRUE(bitIdentical(renderThrough(processor, longInput, [](int) { return 512; }), longInput));
}

TEST(Engine, MixChangeRampsOver50Milliseconds)
{
    // The longest predelay keeps the wet path silent, so the output is the dry gain.
    PassThroughProcessor processor;
    processor.set("mix", 0.0f);
    processor.set("predelayMs", 250.0f);
    processor.prepareToPlay(rate, 480);

    juce::AudioBuffer<float> ones(2, 480 * 8);
    for (int c = 0; c < 2; ++c)
        juce::FloatVectorOperations::fill(ones.getWritePointer(c), 1.0f, ones.getNumSamples());

    juce::MidiBuffer midi;
    juce::AudioBuffer<float> first(2, 480);
    first.makeCopyOf(juce::AudioBuffer<float>(ones.getArrayOfWritePointers(), 2, 480));
    processor.processBlock(first, midi);
    EXPECT_EQ(first.getSample(0, 479), 1.0f);

    processor.set("mix", 1.0f);
    const auto out = renderThrough(processor, ones, [](int) { return 480; });
    EXPECT_LT(out.getSample(0, 0), 1.0f);
    EXPECT_NEAR(out.getSample(0, 1199), 0.5f, 1e-3f); // halfway through 2400 samples
    EXPECT_NEAR(out.getSample(1, 1199), 0.5f, 1e-3f);
    EXPECT_NEAR(out.getSample(0, 2398), 0.0f, 1e-3f);
    EXPECT_EQ(out.getSample(0, 2400), 0.0f);
}

TEST(Engine, PredelayGlidesSampleBySampleOnBothChannels)
{
    PassThroughProcessor processor;
    processor.prepareToPlay(rate, 1);
    EXPECT_FLOAT_EQ(delayOf(processor.getEngine().getPredelay(0)), 960.0f);

    processor.set("predelayMs", 200.0f);
    juce::AudioBuffer<float> sample(2, 1);
    juce::MidiBuffer midi;
    std::vector<float> delays;
    for (int i = 0; i < 14400 + 100; ++i)
    {
        sample.clear();
        processor.processBlock(sample, midi);
        const float left = delayOf(processor.getEngine().getPredelay(0));
        ASSERT_EQ(left, delayOf(processor.getEngine().getPredelay(1))) << "sample " << i;
        delays.push_back(left);
    }

    // 20 -> 200 ms is 960 -> 9600 samples in 14400 steps: 0.6 samples per sample.
    for (size_t i = 1; i < 14400; ++i)
        ASSERT_NEAR(delays[i] - delays[i - 1], 0.6f, 2e-3f) << "step " << i;
    EXPECT_FLOAT_EQ(delays[14399], 9600.0f);
    for (size_t i = 14400; i < delays.size(); ++i)
        ASSERT_EQ(delays[i], 9600.0f); // arrived: it stays put
}

TEST(Engine, FilterCoefficientsFollowTheirParameters)
{
    PassThroughProcessor processor;
    processor.set("highCut", 20.0f);
    processor.prepareToPlay(rate, 64);
    juce::AudioBuffer<float> block(2, 64);
    juce::MidiBuffer midi;

    // A 4-step ramp from 20 to 10010 Hz passes 2517.5 Hz first: designed as 2517 Hz.
    processor.set("highCut", 10010.0f);
    block.clear();
    processor.processBlock(block, midi);
    const auto expected = juce::dsp::IIR::Coefficients<float>::makeFirstOrderLowPass(rate, 2517.0f);
    const auto& highCut = processor.getEngine().getHighCutFilter().state->coefficients;
    ASSERT_EQ(highCut.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(highCut[i], expected->coefficients[i]) << i;

    // Low cut at 20 Hz: (1, -1, 1.0013090, -0.9986910) normalised by a0.
    const auto& lowCut = processor.getEngine().getLowCutFilter().state->coefficients;
    EXPECT_NEAR(lowCut[0], 1.0 / 1.0013090, 1e-6);
    EXPECT_NEAR(lowCut[1], -1.0 / 1.0013090, 1e-6);
    EXPECT_NEAR(lowCut[2], -0.9986910 / 1.0013090, 1e-6);
}

TEST(Engine, TiltControlMiddleIsTheRoomsDefaultTilt)
{
    struct Case { float control, tilt; };
    for (const auto& c : { Case { 0.5f, 0.56f }, Case { 0.25f, 0.3136f }, Case { 0.75f, 0.7861f }, Case { 0.0f, 0.0f },
                           Case { 1.0f, 1.0f } })
    {
        PassThroughProcessor processor;
        processor.set("tilt", c.control);
        processor.prepareToPlay(rate, 64);
        EXPECT_NEAR(processor.getEngine().getTiltFilter().getTilt(), c.tilt, 1e-4f) << c.control;
    }
}

TEST(Engine, KeepsRunningAcrossPreparationsAndLayouts)
{
    SonarisAudioProcessor processor;
    juce::MidiBuffer midi;
    struct Step { double rate; int maxBlock; int block; int channels; };
    for (const auto& s : { Step { 48000, 64, 64, 2 }, Step { 44100, 100, 100, 2 }, Step { 96000, 33, 17, 2 },
                           Step { 48000, 512, 512, 1 } })
    {
        if (s.channels == 1)
        {
            ASSERT_TRUE(processor.setBusesLayout({ { juce::AudioChannelSet::mono() }, { juce::AudioChannelSet::mono() } }));
        }
        processor.prepareToPlay(s.rate, s.maxBlock);
        auto buffer = makeNoise(s.channels, s.block, 2);
        for (int b = 0; b < 50; ++b)
        {
            processor.processBlock(buffer, midi);
            for (int c = 0; c < s.channels; ++c)
                for (int i = 0; i < s.block; ++i)
                    ASSERT_TRUE(std::isfinite(buffer.getSample(c, i)));
        }
    }
    // Every parameter keeps one callback (the engine's or the room's), however often prepared.
    for (const auto* id : { "mix", "predelayMs", "decay", "highCut", "lowCut", "tilt", "size", "diffusion",
                            "dampingFreq_room_er", "dampingFreq_room_tl", "dampingIntensity" })
        EXPECT_EQ(processor.getEngine().getParameterHandler().getNumUpdateFunctions(id), 1u) << id;
}

TEST(Engine, MonoLayoutProcessesOneChannel)
{
    PassThroughProcessor processor;
    ASSERT_TRUE(processor.setBusesLayout({ { juce::AudioChannelSet::mono() }, { juce::AudioChannelSet::mono() } }));
    processor.set("mix", 1.0f);
    processor.set("predelayMs", 0.0f);
    processor.prepareToPlay(rate, 128);
    const auto out = renderThrough(processor, impulse(1, 256), [](int) { return 128; });
    EXPECT_EQ(firstNonZero(out, 0), 32);
}

TEST(Engine, OversizedHostBlocksAreProcessedInPreparedPieces)
{
    const auto input = makeNoise(2, 4000, 21);
    auto render = [&](int blockSize)
    {
        SonarisAudioProcessor processor;
        processor.setRandomSeed(8);
        processor.prepareToPlay(rate, 64);
        return renderThrough(processor, input, [blockSize](int) { return blockSize; });
    };
    EXPECT_TRUE(bitIdentical(render(1000), render(64)));
}

TEST(Engine, NonFiniteInputIsSilenceForTheWholeChain)
{
    auto input = makeNoise(2, 8000, 31);
    auto cleaned = input;
    const float bad[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity() };
    for (int i = 100; i < 400; ++i)
    {
        input.setSample(i % 2, i, bad[i % 3]);
        cleaned.setSample(i % 2, i, 0.0f);
    }

    auto render = [](const juce::AudioBuffer<float>& in)
    {
        SonarisAudioProcessor processor;
        processor.setRandomSeed(1);
        setPlainValue(processor.getValueTreeState(), "mix", 0.5f);
        processor.prepareToPlay(rate, 256);
        return renderThrough(processor, in, [](int) { return 256; });
    };
    const auto out = render(input);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < out.getNumSamples(); ++i)
            ASSERT_TRUE(std::isfinite(out.getSample(c, i))) << c << ":" << i;
    EXPECT_TRUE(bitIdentical(out, render(cleaned)));
}

TEST(Engine, InvalidPreparationGivesSilenceUntilAValidOne)
{
    SonarisAudioProcessor processor;
    juce::MidiBuffer midi;
    auto buffer = makeNoise(2, 64, 3);

    processor.processBlock(buffer, midi); // never prepared
    EXPECT_EQ(buffer.getMagnitude(0, 64), 0.0f);

    for (const auto& [sr, block] : { std::pair { 0.0, 64 }, std::pair { -48000.0, 64 }, std::pair { 48000.0, 0 },
                                     std::pair { 48000.0, -5 } })
    {
        processor.prepareToPlay(sr, block);
        buffer = makeNoise(2, 64, 3);
        processor.processBlock(buffer, midi);
        EXPECT_EQ(buffer.getMagnitude(0, 64), 0.0f) << sr << " Hz, " << block;
    }

    processor.prepareToPlay(48000.0, 64);
    buffer = makeNoise(2, 64, 3);
    processor.processBlock(buffer, midi);
    EXPECT_GT(buffer.getMagnitude(0, 64), 0.0f);
}

TEST(Engine, BlocksWithoutParameterChangesAllocateNothing)
{
    SonarisAudioProcessor processor;
    setPlainValue(processor.getValueTreeState(), "predelayMs", 250.0f); // the top of the predelay's range
    processor.prepareToPlay(rate, 512);
    auto buffer = makeNoise(2, 512, 6);
    juce::MidiBuffer midi;

    const auto lineSize = processor.getEngine().getPredelay(0).getLine().getBufferSize();
    std::size_t allocations = 0;
    for (int b = 0; b < 100; ++b) // the first block after preparation included
    {
        AllocationCounter counter;
        processor.processBlock(buffer, midi);
        allocations += counter.count();
    }
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(processor.getEngine().getPredelay(0).getLine().getBufferSize(), lineSize);

    // A glide to the top of the range does not grow the line either.
    setPlainValue(processor.getValueTreeState(), "predelayMs", 0.0f);
    for (int b = 0; b < 40; ++b)
        processor.processBlock(buffer, midi);
    setPlainValue(processor.getValueTreeState(), "predelayMs", 250.0f);
    for (int b = 0; b < 40; ++b)
    {
        AllocationCounter counter;
        processor.processBlock(buffer, midi);
        allocations += counter.count();
    }
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(processor.getEngine().getPredelay(0).getLine().getBufferSize(), lineSize);
}
