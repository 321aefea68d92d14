// Cost of one host block through the whole plug-in, at common block sizes.
#include "core/PluginProcessor.h"

#include <benchmark/benchmark.h>

static void processBlock(benchmark::State& state)
{
    juce::ScopedJuceInitialiser_GUI juce;
    const int blockSize = (int) state.range(0);
    SonarisAudioProcessor processor;
    processor.prepareToPlay(48000.0, blockSize);

    juce::AudioBuffer<float> buffer(2, blockSize);
    juce::Random random(1);
    juce::MidiBuffer midi;
    for (auto _ : state)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < blockSize; ++i)
                buffer.setSample(c, i, random.nextFloat() * 0.5f - 0.25f);
        processor.processBlock(buffer, midi);
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
    }
    state.SetItemsProcessed(state.iterations() * blockSize);
}
BENCHMARK(processBlock)->Arg(32)->Arg(512);

BENCHMARK_MAIN();
