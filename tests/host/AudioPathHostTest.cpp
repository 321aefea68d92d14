// The built plug-in, in a host, delays, filters and mixes audio as it should.
#include "HostHelpers.h"

using namespace host;

namespace
{
class AudioPath : public testing::TestWithParam<Format>
{
protected:
    void SetUp() override
    {
        plugin = loadPlugin(GetParam());
        ASSERT_NE(plugin, nullptr);
    }

    /** Sets normalised values and lets them reach the plug-in over a second of
        silence, so that gain ramps have settled and the FIFO holds only silence.
        (The framework's LV2 host re-creates its plug-in on a new preparation, so
        the values must be applied after preparing, not before.) */
    void configure(const std::map<juce::String, float>& normalised)
    {
        plugin->setRateAndBufferSizeDetails(rate, block);
        plugin->prepareToPlay(rate, block);
        for (const auto& [id, value] : normalised)
            findParameter(*plugin, id)->setValueNotifyingHost(value);
        juce::AudioBuffer<float> silence(2, block);
        juce::MidiBuffer midi;
        for (int b = 0; b < 20; ++b)
        {
            silence.clear();
            plugin->processBlock(silence, midi);
        }
    }

    juce::AudioBuffer<float> process(const juce::AudioBuffer<float>& input)
    {
        juce::AudioBuffer<float> output(input);
        juce::MidiBuffer midi;
        for (int start = 0; start < output.getNumSamples(); start += block)
        {
            juce::AudioBuffer<float> view(output.getArrayOfWritePointers(), 2, start,
                                          juce::jmin(block, output.getNumSamples() - start));
            plugin->processBlock(view, midi);
        }
        return output;
    }

    static juce::AudioBuffer<float> noise(int samples, float level = 0.5f)
    {
        juce::AudioBuffer<float> buffer(2, samples);
        juce::Random random(17);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < samples; ++i)
                buffer.setSample(c, i, (random.nextFloat() * 2.0f - 1.0f) * level);
        return buffer;
    }

    static constexpr double rate = 48000.0;
    static constexpr int block = 512;
    std::unique_ptr<juce::AudioPluginInstance> plugin;
};
} // namespace

TEST_P(AudioPath, MixZeroPassesTheInputUntouched)
{
    configure({ { "mix", 0.0f } });
    const auto input = noise(48000);
    const auto output = process(input);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < input.getNumSamples(); ++i)
            ASSERT_EQ(output.getSample(c, i), input.getSample(c, i)) << c << ":" << i;
}

TEST_P(AudioPath, WetSignalStartsAfterTheBlockFifo)
{
    configure({ { "mix", 1.0f }, { "predelayMs", 0.0f } });
    const auto output = process(noise(4096));
    for (int c = 0; c < 2; ++c)
    {
        for (int i = 0; i < 32; ++i)
            ASSERT_EQ(output.getSample(c, i), 0.0f) << c << ":" << i;
        EXPECT_GT(output.getRMSLevel(c, 32, 4000), 1.0e-3f);
    }
}

TEST_P(AudioPath, HighCutAtItsBottomRemovesAlmostEverything)
{
    configure({ { "mix", 1.0f }, { "highCut", 1.0f } });
    const auto open = process(noise(24000));
    configure({ { "mix", 1.0f }, { "highCut", 0.0f } });
    const auto closed = process(noise(24000));
    const float ratioDb = juce::Decibels::gainToDecibels(closed.getRMSLevel(0, 0, 24000) / open.getRMSLevel(0, 0, 24000));
    EXPECT_LT(ratioDb, -20.0f);
}

INSTANTIATE_TEST_SUITE_P(BuiltBinaries, AudioPath, testing::Values(Format::vst3, Format::lv2), formatName);

TEST(AudioPathVst3, PredelayShiftsTheWetSignal)
{
    auto plugin = loadPlugin(Format::vst3);
    ASSERT_NE(plugin, nullptr);
    auto* predelay = findParameter(*plugin, "predelayMs");
    findParameter(*plugin, "mix")->setValueNotifyingHost(1.0f);
    predelay->setValueNotifyingHost(predelay->getValueForText("10"));
    processIsFinite(*plugin, 48000.0, 512, 2);
    plugin->prepareToPlay(48000.0, 512);

    juce::AudioBuffer<float> buffer(2, 1024);
    buffer.clear();
    buffer.setSample(0, 0, 1.0f);
    buffer.setSample(1, 0, 1.0f);
    juce::MidiBuffer midi;
    juce::AudioBuffer<float> first(buffer.getArrayOfWritePointers(), 2, 0, 512);
    juce::AudioBuffer<float> second(buffer.getArrayOfWritePointers(), 2, 512, 512);
    plugin->processBlock(first, midi);
    plugin->processBlock(second, midi);

    for (int i = 0; i < 32 + 480; ++i)
        ASSERT_EQ(buffer.getSample(0, i), 0.0f) << i;
}
