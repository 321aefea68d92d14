#pragma once

#include "core/PluginProcessor.h"
#include "TestProcessor.h"

#include <functional>
#include <vector>

/** Drives a processor like a host: prepare, then blocks whose sizes come from
    `nextBlockSize` (never above the prepared maximum unless a test wants that). */
inline juce::AudioBuffer<float> renderThrough(SonarisAudioProcessor& processor,
                                              const juce::AudioBuffer<float>& input,
                                              const std::function<int(int done)>& nextBlockSize)
{
    juce::AudioBuffer<float> output(input);
    juce::MidiBuffer midi;
    for (int done = 0; done < output.getNumSamples();)
    {
        const int n = juce::jmin(nextBlockSize(done), output.getNumSamples() - done);
        juce::AudioBuffer<float> view(output.getArrayOfWritePointers(), output.getNumChannels(), done, n);
        processor.processBlock(view, midi);
        done += n;
    }
    return output;
}

inline juce::AudioBuffer<float> makeNoise(int channels, int samples, juce::int64 seed, float level = 0.5f)
{
    juce::AudioBuffer<float> buffer(channels, samples);
    juce::Random random(seed);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < samples; ++i)
            buffer.setSample(c, i, (random.nextFloat() * 2.0f - 1.0f) * level);
    return buffer;
}

inline bool bitIdentical(const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int c = 0; c < a.getNumChannels(); ++c)
        if (std::memcmp(a.getReadPointer(c), b.getReadPointer(c), sizeof(float) * (size_t) a.getNumSamples()) != 0)
            return false;
    return true;
}

inline int firstNonZero(const juce::AudioBuffer<float>& buffer, int channel)
{
    for (int i = 0; i < buffer.getNumSamples(); ++i)
        if (buffer.getSample(channel, i) != 0.0f)
            return i;
    return -1;
}
