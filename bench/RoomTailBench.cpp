// A silent block late in the reverb's tail must cost no more than a block of music: with
// denormals flushed, a decayed tail is plain zeros, not a crawl through subnormal numbers.
// Compare the two results of one run.
#include "core/PluginProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int blockSize = 512;

void setPlainValue(juce::AudioProcessorValueTreeState& state, const char* id, float plain)
{
    auto* parameter = state.getParameter(id);
    parameter->setValueNotifyingHost(parameter->convertTo0to1(plain));
}

void fillMusic(juce::AudioBuffer<float>& buffer, juce::Random& random, double& phase)
{
    // Two tones and some noise at about −12 dBFS: a stand-in for programme material.
    for (int i = 0; i < buffer.getNumSamples(); ++i, phase += 1.0)
    {
        const auto t = phase / 48000.0;
        const auto x = (float) (0.15 * std::sin(2.0 * 3.14159265 * 220.0 * t) + 0.1 * std::sin(2.0 * 3.14159265 * 587.0 * t))
                       + (random.nextFloat() - 0.5f) * 0.05f;
        buffer.setSample(0, i, x);
        buffer.setSample(1, i, x);
    }
}

void prepareLongestDecay(SonarisAudioProcessor& processor)
{
    processor.setRandomSeed(1);
    setPlainValue(processor.getValueTreeState(), "mix", 1.0f);
    setPlainValue(processor.getValueTreeState(), "decay", 1.0f);
    setPlainValue(processor.getValueTreeState(), "size", 1.0f);
    processor.prepareToPlay(48000.0, blockSize);
}
} // namespace

static void roomMusicBlock(benchmark::State& state)
{
    juce::ScopedJuceInitialiser_GUI juce;
    SonarisAudioProcessor processor;
    prepareLongestDecay(processor);
    juce::AudioBuffer<float> buffer(2, blockSize);
    juce::Random random(2);
    juce::MidiBuffer midi;
    double phase = 0.0;
    for (auto _ : state)
    {
        state.PauseTiming();
        fillMusic(buffer, random, phase);
        state.ResumeTiming();
        processor.processBlock(buffer, midi);
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
    }
}
BENCHMARK(roomMusicBlock);

static void roomSilentBlockLateInTail(benchmark::State& state)
{
    juce::ScopedJuceInitialiser_GUI juce;
    SonarisAudioProcessor processor;
    prepareLongestDecay(processor);
    juce::AudioBuffer<float> buffer(2, blockSize);
    juce::Random random(3);
    juce::MidiBuffer midi;

    // A full-scale burst, then 40 s of silence.
    for (int b = 0; b < 48; ++b)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < blockSize; ++i)
                buffer.setSample(c, i, random.nextBool() ? 1.0f : -1.0f);
        processor.processBlock(buffer, midi);
    }
    for (int b = 0; b < 40 * 48000 / blockSize; ++b)
    {
        buffer.clear();
        processor.processBlock(buffer, midi);
    }

    for (auto _ : state)
    {
        state.PauseTiming();
        buffer.clear();
        state.ResumeTiming();
        processor.processBlock(buffer, midi);
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
    }
}
BENCHMARK(roomSilentBlockLateInTail);
