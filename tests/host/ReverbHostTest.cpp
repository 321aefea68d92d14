// The built plug-in, in a host, makes a reverb: a short burst leaves a tail
// that outlasts it and dies away.
#include "HostHelpers.h"

using namespace host;

namespace
{
class Reverb : public testing::TestWithParam<Format>
{
};
} // namespace

TEST_P(Reverb, SnareBurstLeavesADecayingTail)
{
    constexpr double rate = 48000.0;
    constexpr int block = 512;
    auto plugin = loadPlugin(GetParam(), rate, block);
    ASSERT_NE(plugin, nullptr);

    plugin->setRateAndBufferSizeDetails(rate, block);
    plugin->prepareToPlay(rate, block);
    findParameter(*plugin, "mix")->setValueNotifyingHost(1.0f);

    // Let the value reach the plug-in and the mix ramp settle, in silence.
    juce::MidiBuffer midi;
    juce::AudioBuffer<float> buffer(2, block);
    for (int b = 0; b < 20; ++b)
    {
        buffer.clear();
        plugin->processBlock(buffer, midi);
    }

    // A snare-like burst: 50 ms of noise with a fast exponential decay, then 3 s of silence.
    const int total = (int) rate * 3;
    juce::AudioBuffer<float> signal(2, total);
    signal.clear();
    juce::Random random(42);
    for (int i = 0; i < (int) (0.05 * rate); ++i)
    {
        const float envelope = std::exp(-(float) i / (0.012f * (float) rate));
        for (int c = 0; c < 2; ++c)
            signal.setSample(c, i, (random.nextFloat() * 2.0f - 1.0f) * 0.8f * envelope);
    }
    for (int start = 0; start < total; start += block)
    {
        juce::AudioBuffer<float> view(signal.getArrayOfWritePointers(), 2, start, juce::jmin(block, total - start));
        plugin->processBlock(view, midi);
    }

    auto rmsDb = [&](double from, double to)
    {
        const int a = (int) (from * rate), n = (int) ((to - from) * rate);
        return juce::Decibels::gainToDecibels(juce::jmax(signal.getRMSLevel(0, a, n), signal.getRMSLevel(1, a, n)), -200.0f);
    };

    const float early = rmsDb(0.1, 0.3);   // after the burst has ended
    const float middle = rmsDb(0.8, 1.0);
    const float late = rmsDb(2.5, 3.0);
    EXPECT_GT(early, -50.0f) << "no reverb after the burst";
    EXPECT_LT(middle, early - 6.0f) << "the tail does not decay";
    EXPECT_LT(late, middle - 10.0f) << "the tail does not keep decaying";

    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < total; ++i)
            ASSERT_TRUE(std::isfinite(signal.getSample(c, i)));
}

INSTANTIATE_TEST_SUITE_P(BuiltBinaries, Reverb, testing::Values(Format::vst3, Format::lv2), formatName);
